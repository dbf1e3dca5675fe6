# Sourced by e2e.sh tray: an XEmbed tray host (trayer) and real clicks on the
# icon (xdotool); pixels read with ImageMagick's import.
trayer_start() {
    trayer --edge top --align left --height 32 --widthtype pixel --width 200 --transparent false \
        --tint 0x404040 --SetDockType true &
    trayer=$!
    pids+=("$trayer")
}
pixels() { import -window root -crop "$1" +repage rgb:- | md5sum | cut -d' ' -f1; }
tray_changed() { [ "$(pixels 200x32+0+0)" != "$empty" ]; }
# The icon: the program's window embedded in the tray host (top left).
find_icon() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if [ "$Y" -lt 32 ] && [ "$X" -lt 200 ] && [ "$WIDTH" -le 32 ] && [ "$WIDTH" -gt 1 ]; then
            icon_x=$((X + WIDTH / 2)) icon_y=$((Y + HEIGHT / 2))
            return 0
        fi
    done
    return 1
}
icon_comes() { wait_for 10 tray_changed && wait_for 5 find_icon || fail "$1"; }
icon_pixels() { pixels 24x24+"$((icon_x - 12))"+"$((icon_y - 12))"; }
icon_is() { [ "$(icon_pixels)" = "$1" ]; }
icon_is_not() { [ "$(icon_pixels)" != "$1" ]; }
# The program's shown popup menus: its windows other than the main window,
# larger than an icon.
popups() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null || echo WIDTH=0)"
        [ "$w" = "$window" ] || [ "$WIDTH" -le 40 ] || echo "$w"
    done
}
menu_closed() { [ -z "$(popups)" ]; }
# A right press on the icon; sets X, Y, WIDTH, HEIGHT to the menu's.
open_menu() {
    xdotool mousemove "$icon_x" "$icon_y" click 3
    wait_for 5 eval '! menu_closed' || fail "no menu after a right press on the icon"
    menu=$(popups | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    sleep 0.3
}
# A key (or a click at a height in the menu) again until the menu closes:
# it takes the keyboard and pointer a moment after it shows.
menu_press() {
    local tries=20
    while ! menu_closed && [ "$tries" -gt 0 ]; do
        [ "$1" = at ] && xdotool mousemove "$((X + WIDTH / 2))" "$((Y + $2))" click 1 || xdotool key "$1"
        sleep 0.3
        tries=$((tries - 1))
    done
    menu_closed || fail "the menu stayed open"
}
double_click() { xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 60 1; }

echo "-- tray host and start"
trayer_start
wait_for 10 xdotool search --classname trayer || fail "trayer did not start"
empty=$(pixels 200x32+0+0)
start_program
window_opens
xdotool windowmove "$window" 300 200 # no window manager: off the tray
icon_comes "no icon appeared in the tray"
sleep 0.5

echo "-- right press on the icon opens the menu of the shown window"
open_menu
# &Hide, &About, &Options, separator, &Help, &ReadMe, Home&page, separator, E&xit.
[ "$HEIGHT" -gt 100 ] || fail "the menu is only $HEIGHT pixels high"
menu_press Escape

echo "-- double click hides the window"
double_click
wait_for 5 no_main_window || fail "a double click did not hide the window"
running || fail "the program ended"

echo "-- the third picture of the submenu becomes the wallpaper"
open_menu
xdotool mousemove "$((X + WIDTH / 2))" "$((Y + 10))" # "&Change Wallpaper", the first entry
wait_for 5 eval '[ "$(popups | wc -l)" -ge 2 ]' || fail "the picture submenu did not open"
eval "$(xdotool getwindowgeometry --shell "$(popups | grep -vx "$menu" | head -n 1)")"
[ "$HEIGHT" -gt 50 ] || fail "the submenu is only $HEIGHT pixels high for three pictures"
# Along the submenu's top row first, so that the pointer stays in it.
xdotool mousemove "$((X + WIDTH / 2))" "$((Y + 10))" sleep 0.2 mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 10))" sleep 0.2 click 1
wait_for 10 wallpaper_is "${pictures[2]}" || fail "the third picture did not become the wallpaper"
wait_for 5 menu_closed || fail "the menu stayed open after choosing a picture"

echo "-- &Disable Tavorin swaps the icon; showing the window enables again"
sleep 0.5 # the icon's see-through parts show the new wallpaper
normal_icon=$(icon_pixels)
open_menu
menu_press d
wait_for 5 icon_is_not "$normal_icon" || fail "disabling left the icon as it was"
double_click
wait_for 5 main_window || fail "a double click did not show the window"
wait_for 5 icon_is "$normal_icon" || fail "showing the window did not bring the normal icon back"
# Nothing of the window is kept while hidden: it is drawn whole again.
window_drawn() { [ "$(import -window "$(main_window)" -format %k info: 2>/dev/null || echo 0)" -gt 1000 ]; }
wait_for 5 window_drawn || fail "the window came back undrawn"

echo "-- the tray host comes back; E&xit from the menu ends the program"
kill "$trayer"
wait "$trayer" 2>/dev/null || true
trayer_start
icon_comes "the icon did not come back into the new tray"
open_menu
menu_press at "$((HEIGHT - 8))" # E&xit, the last entry
ends_cleanly "E&xit"
finish
