#!/usr/bin/env bash
# End-to-end: the real program with a real notification area. An XEmbed
# tray host (trayer) on its own X server, the program from a copy of the
# built program folder inside its own session bus, and real clicks on the
# icon (xdotool).
#   tray-e2e.sh <built program folder>
# TAVORIN_TRAY_SHOT / TAVORIN_SKIN_SHOT=<file.png>: keep pictures of the
# tray with its open menu and of the main window (not part of the test).
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    # TAVORIN_FAIL_SHOT=<file.png>: the screen at the failure.
    if [ -n "${TAVORIN_FAIL_SHOT:-}" ] && [ -n "${DISPLAY:-}" ]; then
        import -window root "$TAVORIN_FAIL_SHOT" 2>/dev/null || true
    fi
    exit 1
}

if [ "${1:-}" != "--inside" ]; then
    [ -d "${1:-}" ] || fail "usage: tray-e2e.sh <program folder>"
    for tool in xvfb-run xdotool trayer import dbus-run-session; do
        if ! command -v "$tool" >/dev/null; then
            echo "SKIP: $tool is missing"
            exit 77
        fi
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "$0" --inside "$1"
fi
built=$2
trap 'fail "a step failed at line $LINENO"' ERR

source "$(dirname "$0")/../support/e2e-sandbox.sh"
e2e_sandbox "$built" "Program Folder"
# No splash, no log-on entry, no wallpaper change at start ("Never").
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=1.2.35\nchange=Never (manually only)\nSkin=\nListCount=3\n' >"$settings"
# The automatic list: three pictures, one 200-byte record each (16-bit
# little-endian length, then the path).
pictures=("$copy/Skins/Dusk.jpg" "$copy/Skins/Forest.jpg" "$copy/Skins/Ocean.jpg")
python3 - "$copy/Tavorin.tl" "${pictures[@]}" <<'PY'
import struct, sys
with open(sys.argv[1], "wb") as out:
    for path in sys.argv[2:]:
        data = path.encode()
        out.write(struct.pack("<H", len(data)) + data.ljust(198, b"\0"))
PY
desktop_record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI"
wallpaper_is() { grep -qxF "Wallpaper=$1" "$desktop_record" 2>/dev/null; }

setting() { sed -n "s/^$1=//p" "$settings" | tr -d '\r' | head -n 1; }
# The icon: the program's window embedded in the tray host (top left).
find_icon() {
    local w
    icon_window=""
    for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$Y" -lt 32 ] && [ "$X" -lt 200 ] && [ "$WIDTH" -le 32 ] && [ "$HEIGHT" -le 32 ] &&
            [ "$WIDTH" -gt 1 ]; then
            icon_window=$w
            icon_x=$((X + WIDTH / 2))
            icon_y=$((Y + HEIGHT / 2))
            return 0
        fi
    done
    return 1
}
# The popup menus of the program that are shown: its top-level windows
# other than the main window and larger than an icon (an icon window can
# land on the root for a moment when its tray host goes away).
popups() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        [ "$w" != "$window" ] || continue
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
        if [ "$WIDTH" -gt 40 ]; then
            echo "$w"
        fi
    done
}
menu_open() { [ -n "$(popups)" ]; }
menu_closed() { [ -z "$(popups)" ]; }
# A checksum of the pixels where the icon sits.
icon_pixels() { import -window root -crop 24x24+"$((icon_x - 12))"+"$((icon_y - 12))" +repage rgb:- | md5sum | cut -d' ' -f1; }
icon_is() { [ "$(icon_pixels)" = "$1" ]; }
icon_is_not() { [ "$(icon_pixels)" != "$1" ]; }
# A key for the open menu; it is pressed again until the menu closes (the
# menu takes the keyboard a moment after it shows).
menu_key() {
    local tries=20
    while [ -n "$(popups)" ] && [ "$tries" -gt 0 ]; do
        xdotool key "$1"
        sleep 0.25
        tries=$((tries - 1))
    done
    [ -z "$(popups)" ]
}

echo "-- tray host"
trayer --edge top --align left --height 32 --widthtype pixel --width 200 \
    --transparent false --tint 0x404040 --SetDockType true &
pids+=($!)
wait_for 10 xdotool search --classname trayer || fail "trayer did not start"
empty=$(import -window root -crop 200x32+0+0 +repage rgb:- | md5sum | cut -d' ' -f1)

echo "-- start"
"$copy/Tavorin" &
program=$!
pids+=("$program")
wait_for 20 main_window || fail "no main window within 20 s"
window=$(main_window)
# No window manager here: the window opens at the top left, over the tray.
xdotool windowmove "$window" 300 200
sleep 0.3
tray_changed() { [ "$(import -window root -crop 200x32+0+0 +repage rgb:- | md5sum | cut -d' ' -f1)" != "$empty" ]; }
wait_for 10 tray_changed || fail "no icon appeared in the tray"
wait_for 5 find_icon || fail "the icon's window was not found in the tray"
sleep 0.5
normal_icon=$(icon_pixels)

if [ -n "${TAVORIN_SKIN_SHOT:-}" ]; then
    import -window "$window" "$TAVORIN_SKIN_SHOT" || echo "no screenshot of the window" >&2
fi

echo "-- right press on the icon opens the menu"
xdotool mousemove "$icon_x" "$icon_y" click 3
wait_for 5 menu_open || fail "no menu after a right press on the icon"
menu=$(popups | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$menu")"
# Shown window: &Hide, &About, &Options, separator, &Help, &ReadMe,
# Home&page, separator, E&xit; eight to nine entries' height at least.
[ "$HEIGHT" -gt 100 ] || fail "the menu is only $HEIGHT pixels high"
if [ -n "${TAVORIN_TRAY_SHOT:-}" ]; then
    sleep 0.3
    right=$((X + WIDTH + 20))
    bottom=$((Y + HEIGHT + 20))
    import -window root -crop "${right}x${bottom}+0+0" +repage "$TAVORIN_TRAY_SHOT" ||
        echo "no screenshot of the tray" >&2
fi
menu_key Escape || fail "the menu stayed open"

echo "-- double click hides and shows the window"
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 60 1
wait_for 5 no_main_window || fail "a double click did not hide the window"
running() { kill -0 "$program" 2>/dev/null; }
running || fail "the program ended"

echo "-- the third picture of the submenu becomes the wallpaper"
xdotool mousemove "$icon_x" "$icon_y" click 3
wait_for 5 menu_open || fail "no menu in the background"
menu=$(popups | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$menu")"
sleep 0.3
# "&Change Wallpaper" is the first entry; its submenu opens beside it.
xdotool mousemove "$((X + WIDTH / 2))" "$((Y + 10))"
sub_open() { [ "$(popups | wc -l)" -ge 2 ]; }
wait_for 5 sub_open || fail "the picture submenu did not open"
submenu=$(popups | grep -vx "$menu" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$submenu")"
[ "$HEIGHT" -gt 50 ] || fail "the submenu is only $HEIGHT pixels high for three pictures"
if [ -n "${TAVORIN_SUBMENU_SHOT:-}" ]; then
    import -window root -crop "$((X + WIDTH + 20))x$((Y + HEIGHT + 20))+0+0" +repage \
        "$TAVORIN_SUBMENU_SHOT" || true
fi
# Along the submenu's top row first, so the pointer stays in the submenu.
xdotool mousemove "$((X + WIDTH / 2))" "$((Y + 10))"
sleep 0.2
xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 10))"
sleep 0.2
xdotool click 1
wait_for 10 wallpaper_is "${pictures[2]}" ||
    fail "the third picture did not become the wallpaper: $(cat "$desktop_record" 2>/dev/null)"
wait_for 5 menu_closed || fail "the menu stayed open after choosing a picture"

echo "-- &Disable Tavorin from the menu swaps the icon"
# The icon's see-through parts show the new wallpaper: look at it afresh.
sleep 0.5
normal_icon=$(icon_pixels)
xdotool mousemove "$icon_x" "$icon_y" click 3
wait_for 5 menu_open || fail "no menu in the background"
menu_key d || fail "the menu stayed open after d"
wait_for 5 icon_is_not "$normal_icon" || fail "disabling left the icon as it was"
disabled_icon=$(icon_pixels)

echo "-- showing the window enables again"
xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 60 1
wait_for 5 main_window || fail "a double click did not show the window"
wait_for 5 icon_is "$normal_icon" || fail "showing the window did not bring the normal icon back"
# Nothing of the window is kept while it is hidden: it must be drawn
# whole again (the skin alone has thousands of colours).
window_colours() { import -window "$(main_window)" -format %k info: 2>/dev/null || echo 0; }
window_drawn() { [ "$(window_colours)" -gt 1000 ]; }
wait_for 5 window_drawn || fail "the window came back undrawn ($(window_colours) colours)"
[ "$disabled_icon" != "$normal_icon" ] || fail "the disabled icon looks like the normal one"

echo "-- the tray host comes back"
kill "${pids[0]}" 2>/dev/null || true
wait "${pids[0]}" 2>/dev/null || true
trayer --edge top --align left --height 32 --widthtype pixel --width 200 \
    --transparent false --tint 0x404040 --SetDockType true &
pids+=($!)
wait_for 10 tray_changed || fail "the icon did not come back into the new tray"
wait_for 5 find_icon || fail "the icon's window was not found in the new tray"

echo "-- E&xit from the menu ends the program"
xdotool mousemove "$icon_x" "$icon_y" click 3
wait_for 5 menu_open || fail "no menu in the new tray"
# E&xit is the menu's last entry: a click on it, again until the menu
# takes it (it takes the pointer a moment after it shows).
tries=10
while menu=$(popups | head -n 1) && [ -n "$menu" ] && [ "$tries" -gt 0 ]; do
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    sleep 0.3
    xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 8))" click 1
    sleep 0.3
    tries=$((tries - 1))
done
# Ended: gone, or a zombie waiting for this script.
ended() { ! ps -o stat= -p "$program" | grep -qv Z; }
wait_for 10 ended || fail "E&xit did not end the program (menus open: $(popups | wc -l), state $(ps -o stat= -p "$program"), main window: $(main_window || echo none))"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"

echo "PASS: tray-e2e"
