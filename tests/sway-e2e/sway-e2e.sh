#!/usr/bin/env bash
# End-to-end: the real program in a Wayland session, headless sway (as a
# throw-away unprivileged user when run as root). With no X server in
# reach, the main window must open natively on Qt's Wayland plugin.
#   sway-e2e.sh <built program folder>
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    [ -z "${sway_session_log:-}" ] || tail -n 20 "$sway_session_log" >&2 || true
    exit 1
}

[ -d "${1:-}" ] || fail "usage: sway-e2e.sh <program folder>"
for tool in sway swaymsg python3 setpriv; do
    command -v "$tool" >/dev/null || fail "$tool is missing"
done
trap 'fail "a step failed at line $LINENO"' ERR

support="$(dirname "$0")/../support"
source "$support/e2e-sandbox.sh"
source "$support/sway-session.sh"
source "$support/gnome-session.sh" # gnome_poll
e2e_sandbox "$1" "Program Folder"
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=1.2.35\nchange=Never (manually only)\nSkin=\n' >"$settings"
sway_session_start 1024x768 || fail "sway did not start"
sway_give "$work"
unset DISPLAY

# The program's windows as sway lists them: shell, app id, name, size.
windows() {
    sway_run swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("pid") and node.get("name") is not None:
        rect = node["rect"]
        print(node.get("shell"), node.get("app_id"), node["name"], rect["width"], rect["height"], sep="\t")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}
native_main_window() { windows | awk -F'\t' '$1 == "xdg_shell" && $3 == "Tavorin" && $4 > 300 { found = 1 } END { exit !found }'; }

echo "-- start under sway, no X server"
sway_run "$copy/Tavorin" >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")
gnome_poll 20 native_main_window ||
    fail "no native main window: $(windows) $(cat "$work/program.log")"
kill -0 "$program" || fail "the program ended"
! grep -qi 'xcb' "$work/program.log" || fail "the program tried X: $(cat "$work/program.log")"

echo "-- a second start writes Systray and ends, the first copy runs on"
sed -i 's/^Systray=1/Systray=0/' "$settings"
sway_run "$copy/Tavorin" || fail "the second start failed"
grep -qx 'Systray=1' "$settings" || fail "the second start did not write Systray=1"
native_main_window || fail "the window went away"

echo "PASS: sway-e2e"
