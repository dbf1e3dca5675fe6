#!/usr/bin/env bash
# End-to-end: the real program where there is no notification area at all,
# under a real window manager: openbox, or stock GNOME Shell. Hiding must
# minimise the window to the task bar (never withdraw it), and starting the
# program again must bring the running copy's window back.
#   notray-e2e.sh openbox|gnome <built program folder>
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "${1:-}" != "--inside" ]; then
    [ -d "${2:-}" ] || fail "usage: notray-e2e.sh openbox|gnome <program folder>"
    case $1 in
    openbox) wm=openbox ;;
    gnome) wm=gnome-shell ;;
    *) fail "unknown window manager $1" ;;
    esac
    for tool in xvfb-run xdotool xprop dbus-run-session "$wm"; do
        command -v "$tool" >/dev/null || fail "$tool is missing"
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "$0" --inside "$@"
fi
wm=$2
built=$3
trap 'fail "a step failed at line $LINENO"' ERR

support="$(dirname "$0")/../support"
source "$support/e2e-sandbox.sh"
source "$support/gnome-session.sh"
e2e_sandbox "$built" "Program Folder"
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=1.2.35\nchange=Never (manually only)\nSkin=\n' >"$settings"

wait_for() { gnome_poll "$@"; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
# The main window: the program's visible window named Tavorin that is
# larger than an icon.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$WIDTH" -gt 300 ]; then
            echo "$w"
            return 0
        fi
    done
    return 1
}
# The ICCCM state the window manager keeps on the window: Normal, Iconic,
# or nothing once the window is withdrawn.
wm_state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
state_is() { [ "$(wm_state)" = "$1" ]; }

echo "-- $wm as the window manager, no tray"
if [ "$wm" = gnome ]; then
    gnome_session_start 90 || fail "GNOME Shell did not come up"
else
    openbox &
    pids+=($!)
fi
wait_for 30 wm_ready || fail "no window manager"

echo "-- start"
"$copy/Tavorin" &
program=$!
pids+=("$program")
wait_for 20 main_window || fail "no main window within 20 s"
window=$(main_window)
wait_for 10 state_is Normal || fail "the window is $(wm_state), not Normal"

echo "-- &Hide minimises to the task bar"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+h ||
    fail "could not press &Hide"
wait_for 10 state_is Iconic || fail "&Hide left the window $(wm_state), not Iconic"
kill -0 "$program" || fail "the program ended"

echo "-- a second start brings the window back"
sed -i 's/^Systray=1/Systray=0/' "$settings"
"$copy/Tavorin" || fail "the second start failed"
grep -qx 'Systray=1' "$settings" || fail "the second start did not write Systray=1"
wait_for 10 state_is Normal || fail "the second start left the window $(wm_state)"
wait_for 5 main_window || fail "the window is Normal but not shown"
kill -0 "$program" || fail "the first copy ended"

echo "-- minimising from the title bar keeps it in the task bar as well"
xdotool windowminimize --sync "$window"
wait_for 10 state_is Iconic || fail "minimising left the window $(wm_state)"
"$copy/Tavorin"
wait_for 10 state_is Normal || fail "the second start left the window $(wm_state)"

echo "PASS: notray-e2e $wm"
