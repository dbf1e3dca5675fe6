#!/usr/bin/env bash
# End-to-end: the real program from a copy of the built program folder, on its
# own X server and session bus, with a temporary home.
#   e2e.sh start|tray|openbox|gnome|xfce|sway <built program folder>
# start: the first run, the autostart entry, the log-on start through it.
# tray: a real XEmbed tray host (trayer) and real clicks on the icon.
# openbox, gnome: no tray; hiding minimises, a later start brings the window
# back. xfce: XFCE's panel holding only its notification area (a
# StatusNotifierItem host), played over the bus. sway: Wayland, no X server.
set -euo pipefail
mode=$1
support="$(cd "$(dirname "$0")/../support" && pwd)"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
if [ "$mode" != sway ] && [ -z "${TAVORIN_E2E_INSIDE:-}" ]; then
    export TAVORIN_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "$0" "$@"
fi
trap 'fail "a step failed at line $LINENO"' ERR
source "$support/e2e-sandbox.sh"
e2e_sandbox "$2" "Program Folder$([ "$mode" != start ] || echo ' $x 100%')"
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION # the wallpaper goes on the X root
version=$("$copy/Tavorin" --version)
version=${version#Tavorin }
record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI"
pictures=("$copy/Skins/Dusk.jpg" "$copy/Skins/Forest.jpg" "$copy/Skins/Ocean.jpg")

# The main window: visible, named Tavorin, larger than an icon, not the splash.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -le 300 ] || xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q SPLASH || { echo "$w" && return 0; }
    done
    return 1
}
running() { kill -0 "$program" 2>/dev/null; }
ended() { ! ps -o stat= -p "$program" | grep -qv Z; } # gone, or a zombie
start_program() {
    "$@" "$copy/Tavorin" &
    program=$!
    pids+=("$program")
}
window_opens() {
    wait_for 20 main_window || fail "no main window within 20 s"
    window=$(main_window)
}
ends_cleanly() {
    wait_for 10 ended || fail "$1 did not end the program"
    local status=0
    wait "$program" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with $status"
}
# The automatic list: one 200-byte record a picture (16-bit length, path).
write_list() {
    python3 -c 'import struct, sys; open(sys.argv[1], "wb").write(b"".join(struct.pack("<H", len(p))
        + p.ljust(198, b"\0") for p in map(str.encode, sys.argv[2:])))' "$copy/Tavorin.tl" "$@"
}
set_setting() { sed -i -e "/^$1=/d" -e "/^\[Settings\]/a $1=$2" "$settings"; }
wallpaper_is() { grep -qxF "Wallpaper=$1" "$record" 2>/dev/null; }
# A later start writes "Systray" = "1" and ends at once.
second_start() {
    set_setting Systray 0
    "$@" "$copy/Tavorin" || fail "the second start failed"
    grep -qx 'Systray=1' "$settings" || fail "the second start did not write Systray=1"
    running || fail "the first copy ended"
}
finish() {
    echo "PASS: e2e $mode"
    exit 0
}

if [ "$mode" = start ]; then
    echo "-- first start: the stored first-run settings and the autostart entry"
    start_program
    window_opens
    [ "$(xdotool getwindowpid "$window")" = "$program" ] || fail "the window is not the program's"
    actual=$(grep -v '^[[:space:]]*$' "$settings" | head -n 7)
    [ "$actual" = "$(printf '[Settings]\nSystray=1\nSplash=1\nStartup=1\nConvert=1\nMachine=1\nVersion=%s' "$version")" ] ||
        fail "Settings.INI begins with:"$'\n'"$actual"
    autostart="$XDG_CONFIG_HOME/autostart/Tavorin.desktop"
    quoted=$(printf '%s' "$copy/Loader.exe" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g' -e 's/\\/\\\\/g')
    exec_line=$(grep '^Exec=' "$autostart")
    # The quoted path is the last argument (after a fixed starter when it holds a "%").
    [[ "$exec_line" == "Exec=\"$quoted\"" || "$exec_line" == Exec=*" \"$quoted\"" ]] || fail "autostart says $exec_line"
    desktop-file-validate "$autostart" || fail "the autostart entry is not valid"
    echo "-- the first copy ends without letting go of its lock"
    kill -KILL "$program"
    wait "$program" 2>/dev/null || true
    wait_for 10 no_main_window || fail "the window stayed after the program was killed"
    echo "-- log-on start from the autostart entry, as the desktop does it"
    # Mode "Startup" changes the wallpaper only at a start through Loader.exe,
    # whose start-up Apply writes Loader=0 again; method 2 records the picture.
    write_list "${pictures[0]}"
    for pair in change=Startup Machine=2 Convert=0 shutdown=0 random=0 ListCount=1 Loader=0 Splash=0; do
        set_setting "${pair%%=*}" "${pair#*=}"
    done
    gio launch "$autostart" || fail "the desktop could not start the autostart entry"
    wait_for 20 wallpaper_is "${pictures[0]}" || fail "the log-on start did not change the wallpaper"
    wait_for 10 grep -qx "Loader=0" "$settings" || fail "the start-up Apply did not write Loader=0"
    window_opens
    program=$(xdotool getwindowpid "$window")
    pids+=("$program")
    [ "$(readlink "/proc/$program/exe")" = "$copy/Tavorin" ] || fail "Loader.exe started another program"
    finish
fi

# No splash, no log-on entry, no change at start; three pictures in the list.
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=%s\nchange=Never (manually only)\nSkin=\nListCount=3\n' \
    "$version" >"$settings"
write_list "${pictures[@]}"
source "$(dirname "$0")/e2e-$([ "$mode" = tray ] && echo tray || echo reach).sh"
