#!/usr/bin/env bash
# End-to-end: the real program on today's desktops, from their Debian parts
# on a private session bus. openbox, gnome: no tray; hiding minimises to the
# task bar, a later start brings the window back. xfce: XFCE's panel with
# only its notification area (a StatusNotifierItem host), which the test
# plays over the bus. sway: no X server; the window opens natively.
#   reach-e2e.sh openbox|gnome|xfce|sway <built program folder>
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mode=$1
support="$(cd "$(dirname "$0")/../support" && pwd)"
if [ "$mode" != sway ] && [ -z "${TAVORIN_E2E_INSIDE:-}" ]; then
    export TAVORIN_E2E_INSIDE=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "$0" "$@"
fi
trap 'fail "a step failed at line $LINENO"' ERR
source "$support/e2e-sandbox.sh"
source "$support/gnome-session.sh"
e2e_sandbox "$2" "Program Folder"
# No desktop of its own: the wallpaper goes onto the X root window.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=1.2.35\nchange=Never (manually only)\nSkin=\nListCount=3\n' >"$settings"
pictures=("$copy/Skins/Dusk.jpg" "$copy/Skins/Forest.jpg" "$copy/Skins/Ocean.jpg")
# The automatic list: one 200-byte record a picture (16-bit length, path).
python3 -c 'import struct, sys; open(sys.argv[1], "wb").write(b"".join(struct.pack("<H", len(p))
    + p.ljust(198, b"\0") for p in map(str.encode, sys.argv[2:])))' "$copy/Tavorin.tl" "${pictures[@]}"

running() { kill -0 "$program" 2>/dev/null; }
start_program() {
    "$@" "$copy/Tavorin" &
    program=$!
    pids+=("$program")
}
# The started programs end before the sandbox goes (they write into it).
finish() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null && { wait "$p" 2>/dev/null || true; }; done
    echo "PASS: reach-e2e $mode" && exit 0
}
# A later start writes "Systray" = "1" and ends at once.
second_start() {
    sed -i 's/^Systray=1/Systray=0/' "$settings"
    "$@" "$copy/Tavorin" || fail "the second start failed"
    grep -qx 'Systray=1' "$settings" || fail "the second start did not write Systray=1"
    running || fail "the first copy ended"
}

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
    echo "-- start under sway, no X server"
    start_program sway_run
    wait_for 20 native_main_window || fail "no native main window: $(sway_run swaymsg -t get_tree)"
    echo "-- a second start writes Systray and ends"
    second_start sway_run
    native_main_window || fail "the window went away"
    finish
fi

# The window manager's WM_STATE: Normal, Iconic, or nothing once withdrawn.
wm_state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
state_is() { [ "$(wm_state)" = "$1" ]; }
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
window_opens() {
    wait_for 20 main_window || fail "no main window within 20 s"
    window=$(main_window)
}

gnome_bus_environment || fail "the session bus took no environment"
if [ "$mode" = gnome ]; then
    echo "-- GNOME Shell, no tray"
    gnome_session_start 90 || fail "GNOME Shell did not come up"
else
    echo "-- openbox"
    openbox &
    pids+=($!)
fi
wait_for 30 wm_ready || fail "no window manager"

if [ "$mode" != xfce ]; then
    start_program
    window_opens
    wait_for 10 state_is Normal || fail "the window is $(wm_state), not Normal"
    echo "-- &Hide minimises to the task bar"
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+h
    wait_for 10 state_is Iconic || fail "&Hide left the window $(wm_state), not Iconic"
    echo "-- a second start brings the window back"
    second_start
    wait_for 10 state_is Normal || fail "the second start left the window $(wm_state)"
    wait_for 5 main_window || fail "the window is Normal but not shown"
    echo "-- minimising from the title bar keeps it in the task bar as well"
    xdotool windowminimize --sync "$window"
    wait_for 10 state_is Iconic || fail "minimising left the window $(wm_state)"
    second_start
    wait_for 10 state_is Normal || fail "the second start left the window $(wm_state)"
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
watcher() {
    bus get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher "$1"
}
host_ready() { watcher IsStatusNotifierHostRegistered | grep -q true; }
# The item's bus name and object path, from the watcher's list (the
# program's is the only item in this session).
item_registered() {
    local entry
    entry=$(watcher RegisteredStatusNotifierItems | json 'd[0] if d else ""')
    [ -n "$entry" ] || return 1
    service=${entry%%/*}
    item_path=/${entry#*/}
    [ "$entry" != "$service" ] || item_path=/StatusNotifierItem
}
item_comes() { wait_for 20 item_registered || fail "$1"; }
panel_start() {
    xfce4-panel --disable-wm-check >/dev/null 2>&1 &
    panel=$!
    pids+=("$panel")
    wait_for 30 host_ready || fail "the panel's notification area did not come up"
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
about_to_show() { menu_call AboutToShow i "${1:-0}"; }
click() {
    local id
    id=$(entry_id "$1")
    [ -n "$id" ] || fail "no entry $1 in the menu: $(menu)"
    menu_call Event isvu "$id" clicked i 0 0
}
activate() { bus call "$service" "$item_path" org.kde.StatusNotifierItem Activate ii 0 0 >/dev/null; }
wallpaper_is() {
    grep -qxF "Wallpaper=$1" "$XDG_CONFIG_HOME/Tavorin/Desktop.INI" 2>/dev/null &&
        xprop -root _XROOTPMAP_ID | grep -q 'pixmap id'
}

echo "-- XFCE's panel; the item registers with its menu"
panel_start
start_program
window_opens
item_comes "the program's item did not register with the watcher"
menu_path=$(bus get-property "$service" "$item_path" org.kde.StatusNotifierItem Menu | json d)
[ "$menu_path" != /NO_DBUSMENU ] || fail "the item exports no menu"
about_to_show
for label in _Hide _About _Options _Help _ReadMe Home_page E_xit; do
    shows "$label" || fail "the menu lacks $label: $(menu)"
done
! shows "_Change Wallpaper" || fail "the picture submenu shows while the window is shown"

echo "-- a click on the icon hides the window; the menu is the background's"
activate
wait_for 10 no_main_window || fail "Activate did not hide the window"
running || fail "the program ended"
about_to_show
for label in _Show "_Disable Tavorin" "_Change Wallpaper"; do
    shows "$label" || fail "the menu lacks $label in the background: $(menu)"
done

echo "-- the third picture of the submenu becomes the wallpaper"
about_to_show "$(entry_id "_Change Wallpaper")"
shows "1. Dusk.jpg" && shows "2. Forest.jpg" || fail "the submenu lacks pictures: $(menu)"
click "3. Ocean.jpg"
wait_for 10 wallpaper_is "${pictures[2]}" || fail "the third picture did not become the wallpaper"

echo "-- the panel restarts while the window is hidden"
panel_stop
panel_start
item_comes "the icon did not come back into the new panel"
no_main_window || fail "the window showed when the panel came back"

echo "-- the panel goes for good while the window is hidden: it is minimised"
panel_stop
wait_for 15 state_is Iconic || fail "the window stayed $(wm_state) without a tray"
second_start
wait_for 10 state_is Normal || fail "a second start left the window $(wm_state)"

echo "-- the icon's click shows the window; E&xit ends the program"
panel_start
item_comes "the icon did not come into the panel"
about_to_show
click _Hide
wait_for 10 no_main_window || fail "_Hide did not hide the window"
activate
wait_for 10 main_window || fail "Activate did not show the window"
about_to_show
click E_xit
ended() { ! ps -o stat= -p "$program" | grep -qv Z; }
wait_for 10 ended || fail "E_xit did not end the program"
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status"
finish
