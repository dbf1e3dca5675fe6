# Sourced by e2e.sh openbox|gnome|xfce|sway: the program on today's desktops,
# from their Debian parts.
if [ "$mode" = sway ]; then
    source "$support/sway-session.sh"
    sway_session_start 1024x768 || fail "sway did not start: $(cat "$sway_session_log")"
    sway_give "$work"
    unset DISPLAY
    # The main window as sway lists it: a native window named Tavorin.
    native_main_window() {
        sway_run swaymsg -t get_tree | python3 -c 'import json, sys
walk = lambda n: (n.get("shell") == "xdg_shell" and n.get("name") == "Tavorin" and n["rect"]["width"] > 300
    ) or any(map(walk, n.get("nodes", []) + n.get("floating_nodes", [])))
sys.exit(not walk(json.load(sys.stdin)))'
    }
    echo "-- start under sway, no X server; a second start writes Systray and ends"
    start_program sway_run
    wait_for 20 native_main_window || fail "no native main window: $(sway_run swaymsg -t get_tree)"
    second_start sway_run
    native_main_window || fail "the window went away"
    finish
fi

source "$support/gnome-session.sh"
# The window manager's WM_STATE: Normal, Iconic, or nothing once withdrawn.
wm_state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
state_is() { [ "$(wm_state)" = "$1" ]; }
becomes() { wait_for "$1" state_is "$2" || fail "$3 left the window $(wm_state), not $2"; }
gnome_bus_environment || fail "the session bus took no environment"
if [ "$mode" = gnome ]; then
    echo "-- GNOME Shell, no tray"
    gnome_session_start 90 || fail "GNOME Shell did not come up"
else
    echo "-- openbox"
    openbox &
    pids+=($!)
fi
wait_for 30 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "no window manager"

if [ "$mode" != xfce ]; then
    start_program
    window_opens
    becomes 10 Normal "the start"
    echo "-- &Hide minimises to the task bar; a second start brings the window back"
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+h
    becomes 10 Iconic "&Hide"
    second_start
    becomes 10 Normal "the second start"
    wait_for 5 main_window || fail "the window is Normal but not shown"
    echo "-- minimised from the title bar: in the task bar as well"
    xdotool windowminimize --sync "$window"
    becomes 10 Iconic "minimising"
    second_start
    becomes 10 Normal "the second start"
    finish
fi

# One panel along the top holding only the notification area; the panel
# without the accessibility bus and the virtual file systems.
channel="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
mkdir -p "$channel"
cat >"$channel/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0"><property name="configver" type="int" value="2"/>
  <property name="panels" type="array"><value type="int" value="1"/>
    <property name="panel-1" type="empty"><property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/><property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property></property></property>
  <property name="plugins" type="empty"><property name="plugin-1" type="string" value="systray"/></property>
</channel>
XML
export NO_AT_BRIDGE=1 GTK_A11Y=none GIO_USE_VFS=local
bus() { busctl --address="$DBUS_SESSION_BUS_ADDRESS" --json=short -- "$@"; }
json() { python3 -c "import json,sys; d = json.load(sys.stdin)['data']; print($1)"; }
watcher() { bus get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher "$1"; }
# The item's bus name and object path, from the watcher's list (the
# program's is the only item in this session).
item_registered() {
    local entry
    entry=$(watcher RegisteredStatusNotifierItems | json 'd[0] if d else ""')
    [ -n "$entry" ] || return 1
    service=${entry%%/*} item_path=/${entry#*/}
    [ "$entry" != "$service" ] || item_path=/StatusNotifierItem
}
item_comes() { wait_for 20 item_registered || fail "$1"; }
panel_start() {
    xfce4-panel --disable-wm-check >/dev/null 2>&1 &
    panel=$!
    pids+=("$panel")
    wait_for 30 eval 'watcher IsStatusNotifierHostRegistered | grep -q true' || fail "the panel's notification area did not come up"
}
panel_stop() {
    kill "$panel"
    wait "$panel" 2>/dev/null || true
}
# The exported menu, one entry a line: id, label, visible (1/0).
menu() {
    bus call "$service" "$menu_path" com.canonical.dbusmenu GetLayout iias 0 -1 0 | python3 -c 'import json, sys
def walk(id_, props, children):
    print(id_, props.get("label", {"data": ""})["data"], int(props.get("visible", {"data": 1})["data"]), sep="\t")
    [walk(*child["data"]) for child in children]
walk(*json.load(sys.stdin)["data"][1])'
}
entry_id() { menu | awk -F'\t' -v l="$1" '$2 == l && $3 == 1 { print $1; exit }'; }
shows() { [ -n "$(entry_id "$1")" ]; }
menu_call() { bus call "$service" "$menu_path" com.canonical.dbusmenu "$@" >/dev/null; }
# Opens the menu (or the submenu of an entry) and checks its entries.
opened_shows() {
    menu_call AboutToShow i "$1"
    shift
    for label in "$@"; do shows "$label" || fail "the menu lacks $label: $(menu)"; done
}
click() {
    shows "$1" || fail "no entry $1 in the menu: $(menu)"
    menu_call Event isvu "$(entry_id "$1")" clicked i 0 0
}
activate() { bus call "$service" "$item_path" org.kde.StatusNotifierItem Activate ii 0 0 >/dev/null; }

echo "-- XFCE's panel; the item registers with its menu"
panel_start
start_program
window_opens
item_comes "the program's item did not register with the watcher"
menu_path=$(bus get-property "$service" "$item_path" org.kde.StatusNotifierItem Menu | json d)
[ "$menu_path" != /NO_DBUSMENU ] || fail "the item exports no menu"
opened_shows 0 _Hide _About _Options _Help _ReadMe Home_page E_xit
! shows "_Change Wallpaper" || fail "the picture submenu shows while the window is shown"

echo "-- a click on the icon hides the window; the menu is the background's"
activate
wait_for 10 no_main_window || fail "Activate did not hide the window"
running || fail "the program ended"
opened_shows 0 _Show "_Disable Tavorin" "_Change Wallpaper"

echo "-- the third picture of the submenu becomes the wallpaper"
opened_shows "$(entry_id "_Change Wallpaper")" "1. Dusk.jpg" "2. Forest.jpg"
click "3. Ocean.jpg"
wait_for 10 eval 'wallpaper_is "${pictures[2]}" && xprop -root _XROOTPMAP_ID | grep -q "pixmap id"' ||
    fail "the third picture did not become the wallpaper"

echo "-- the panel restarts while the window is hidden, then goes for good"
panel_stop
panel_start
item_comes "the icon did not come back into the new panel"
no_main_window || fail "the window showed when the panel came back"
panel_stop
becomes 15 Iconic "the panel's end"
second_start
becomes 10 Normal "a second start"

echo "-- the icon's click shows the window; E&xit ends the program"
panel_start
item_comes "the icon did not come into the panel"
opened_shows 0
click _Hide
wait_for 10 no_main_window || fail "_Hide did not hide the window"
activate
wait_for 10 main_window || fail "Activate did not show the window"
opened_shows 0
click E_xit
ends_cleanly E_xit
finish
