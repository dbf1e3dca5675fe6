#!/usr/bin/env bash
# End-to-end: the real program from a copy of the built program folder,
# on its own X server and session bus, with a temporary home.
#   e2e.sh <built program folder>
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "${1:-}" != "--inside" ]; then
    [ -d "${1:-}" ] || fail "usage: e2e.sh <program folder>"
    command -v xvfb-run >/dev/null || fail "xvfb-run is missing (Debian: xvfb)"
    command -v xdotool >/dev/null || fail "xdotool is missing (Debian: xdotool)"
    bus=()
    if command -v dbus-run-session >/dev/null; then
        bus=(dbus-run-session --)
    fi
    exec xvfb-run -a -s "-screen 0 1280x800x24 -noreset" "${bus[@]}" bash "$0" --inside "$1"
fi
built=$2

source "$(dirname "$0")/../../support/e2e-sandbox.sh"
e2e_sandbox "$built" "Program Folder \$x 100%"
autostart="$XDG_CONFIG_HOME/autostart/Tavorin.desktop"

# Windows of the program: the main window is "Tavorin"; so is the splash
# (a window without its own title carries the program's name), which is
# told apart by its window type.
is_splash() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q SPLASH; }
main_window() {
    local w found=1
    for w in $(xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null); do
        if ! is_splash "$w"; then
            echo "$w"
            found=0
        fi
    done
    return $found
}
running() { kill -0 "$1" 2>/dev/null; }
not_shown() { ! xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null | grep -qx "$1"; }
setting() { sed -n "s/^$1=//p" "$settings" | tr -d '\r' | head -n 1; }

echo "-- first start"
"$copy/Tavorin" &
first=$!
pids+=("$first")
wait_for 20 main_window || fail "no window named Tavorin within 20 s"
running "$first" || fail "the program ended"
window=$(main_window | head -n 1)
[ "$(xdotool getwindowpid "$window")" = "$first" ] || fail "the window is not the program's"

# TAVORIN_SCREENSHOT=<file.png>: keep a picture of the main window (needs
# ImageMagick's import; not part of the test).
if [ -n "${TAVORIN_SCREENSHOT:-}" ] && command -v import >/dev/null; then
    sleep 1
    import -window "$window" "$TAVORIN_SCREENSHOT" || echo "no screenshot taken" >&2
fi

echo "-- first-run settings"
expected=$'[Settings]\nSystray=1\nSplash=1\nStartup=1\nConvert=1\nMachine=1\nVersion=1.2.35'
actual=$(grep -v '^[[:space:]]*$' "$settings" | head -n 7)
[ "$actual" = "$expected" ] || fail "Settings.INI begins with:"$'\n'"$actual"

echo "-- autostart entry"
[ -f "$autostart" ] || fail "no $autostart"
exec_line=$(grep '^Exec=' "$autostart")
quoted=$(printf '%s' "$copy/Loader.exe" | sed -e 's/[\\"`$]/\\&/g' -e 's/%/%%/g' -e 's/\\/\\\\/g')
# The quoted path is the last argument (after a fixed starter when the
# path holds a "%").
case "$exec_line" in
    Exec=*" \"$quoted\"" | "Exec=\"$quoted\"") ;;
    *) fail "autostart entry says $exec_line" ;;
esac
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$autostart" || fail "the autostart entry is not valid"
fi

echo "-- the first copy ends without letting go of its lock"
kill -KILL "$first"
wait "$first" 2>/dev/null || true
wait_for 10 not_shown "$window" || fail "the window stayed after the program was killed"

echo "-- log-on start through Loader.exe"
# Mode "Startup" changes the wallpaper only when the program was started
# through Loader.exe, and the start-up Apply then writes Loader=0 again: a
# change of wallpaper is what shows that the signal reached the program.
# Method 2 without conversion records the picture in Desktop.INI.
set_setting() { # set_setting <key> <value>, in [Settings]
    local rest
    rest=$(grep -v "^$1=" "$settings" | sed '/^\[Settings\]/d')
    printf '[Settings]\n%s=%s\n%s\n' "$1" "$2" "$rest" >"$settings"
}
write_list() { # write_list <path>: a one-picture automatic list
    local length
    length=$(LC_ALL=C printf '%s' "$1" | wc -c)
    {
        printf "\\x$(printf %02x $((length & 255)))\\x$(printf %02x $((length >> 8)))"
        printf '%s' "$1"
        head -c $((198 - length)) /dev/zero
    } >"$copy/Tavorin.tl"
}
picture="$copy/Skins/Metalic.jpg"
write_list "$picture"
for pair in change=Startup Machine=2 Convert=0 shutdown=0 random=0 ListCount=1 Loader=0 Splash=0; do
    set_setting "${pair%%=*}" "${pair#*=}"
done
record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI"
rm -f "$record"
wallpaper_recorded() { grep -qxF "Wallpaper=$picture" "$record"; }
if command -v gio >/dev/null; then
    # As the desktop does it: from the autostart entry.
    gio launch "$autostart" || fail "the desktop could not start the autostart entry"
else
    "$copy/Loader.exe" || fail "Loader.exe ended with $?"
fi
wait_for 20 wallpaper_recorded || fail "the log-on start did not change the wallpaper"
wait_for 10 grep -qx "Loader=0" "$settings" || fail "the start-up Apply did not write Loader=0"
wait_for 20 main_window || fail "Loader.exe did not start the program"
started=$(xdotool getwindowpid "$(main_window | head -n 1)")
pids+=("$started")
[ "$(readlink "/proc/$started/exe")" = "$copy/Tavorin" ] || fail "Loader.exe started another program"
kill "$started"

echo "PASS: e2e"
