#!/usr/bin/env bash
# End-to-end: the real program with a real StatusNotifierItem host, XFCE's
# panel holding only its notification area, under openbox. The test plays
# the host over the session bus the way hosts do: the watcher's registered
# items, the item's Menu, com.canonical.dbusmenu AboutToShow, GetLayout and
# Event "clicked", the item's Activate.
#   sni-e2e.sh <built program folder>
# TAVORIN_SNI_SHOT=<file.png>: keep a picture of the panel showing the
# exported menu with the picture submenu open (not part of the test).
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "${1:-}" != "--inside" ]; then
    [ -d "${1:-}" ] || fail "usage: sni-e2e.sh <program folder>"
    for tool in xvfb-run xdotool xprop dbus-run-session busctl xfce4-panel openbox python3; do
        command -v "$tool" >/dev/null || fail "$tool is missing"
    done
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" dbus-run-session -- bash "$0" --inside "$1"
fi
built=$2
trap 'fail "a step failed at line $LINENO"' ERR

support="$(dirname "$0")/../support"
source "$support/e2e-sandbox.sh"
source "$support/gnome-session.sh"
e2e_sandbox "$built" "Program Folder"
# No desktop of its own: the wallpaper goes onto the X root window.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=1.2.35\nchange=Never (manually only)\nSkin=\nListCount=3\n' >"$settings"
pictures=("$copy/Skins/Dusk.jpg" "$copy/Skins/Forest.jpg" "$copy/Skins/Ocean.jpg")
python3 - "$copy/Tavorin.tl" "${pictures[@]}" <<'PY'
import struct, sys
with open(sys.argv[1], "wb") as out:
    for path in sys.argv[2:]:
        data = path.encode()
        out.write(struct.pack("<H", len(data)) + data.ljust(198, b"\0"))
PY
# One panel along the top holding only the notification area.
channel="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
mkdir -p "$channel"
cat >"$channel/xfce4-panel.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
XML

wait_for() { gnome_poll "$@"; }
gnome_bus_environment || fail "the session bus took no environment"
# The panel without the accessibility bus and the virtual file systems.
export NO_AT_BRIDGE=1 GTK_A11Y=none GIO_USE_VFS=local
bus() { busctl --address="$DBUS_SESSION_BUS_ADDRESS" --json=short -- "$@"; }
watcher() {
    bus get-property org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
        org.kde.StatusNotifierWatcher "$1"
}
host_ready() { watcher IsStatusNotifierHostRegistered | grep -q true; }
# The program's item as the watcher lists it: "service/path" or "service".
item() {
    watcher RegisteredStatusNotifierItems |
        python3 -c 'import json,sys; print("\n".join(json.load(sys.stdin)["data"]))' |
        while read -r entry; do
            service=${entry%%/*}
            pid=$(bus call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
                GetConnectionUnixProcessID s "$service" | python3 -c 'import json,sys; print(json.load(sys.stdin)["data"][0])')
            [ "$pid" = "$program" ] && echo "$entry"
        done | grep .
}
panel_start() {
    xfce4-panel --disable-wm-check >/dev/null 2>&1 &
    panel=$!
    pids+=("$panel")
    wait_for 30 host_ready || fail "the panel's notification area did not come up"
}
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
no_main_window() { ! main_window; }
wm_state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
state_is() { [ "$(wm_state)" = "$1" ]; }
running() { kill -0 "$program" 2>/dev/null; }
# The exported menu, one entry a line: id, label, visible (1/0), depth.
menu() {
    bus call "$service" "$menu_path" com.canonical.dbusmenu GetLayout iias 0 -1 0 | python3 -c '
import json, sys
def walk(node, depth):
    id_, props, children = node
    visible = props.get("visible", {"data": True})["data"]
    label = props.get("label", {"data": ""})["data"]
    if id_ != 0:
        print(f"{id_}\t{label}\t{int(visible)}\t{depth}")
    for child in children:
        walk(child["data"], depth + 1)
walk(json.load(sys.stdin)["data"][1], 0)'
}
shows() { menu | awk -F'\t' -v l="$1" '$2 == l && $3 == 1 { found = 1 } END { exit !found }'; }
hides() { ! shows "$1"; }
entry_id() { menu | awk -F'\t' -v l="$1" '$2 == l && $3 == 1 { print $1; exit }'; }
about_to_show() { bus call "$service" "$menu_path" com.canonical.dbusmenu AboutToShow i "${1:-0}" >/dev/null; }
click() {
    local id
    id=$(entry_id "$1")
    [ -n "$id" ] || fail "no entry $1 in the menu: $(menu)"
    bus call "$service" "$menu_path" com.canonical.dbusmenu Event isvu "$id" clicked i 0 0 >/dev/null
}
activate() { bus call "$service" "$item_path" org.kde.StatusNotifierItem Activate ii 0 0 >/dev/null; }
desktop_record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI"
wallpaper_is() {
    grep -qxF "Wallpaper=$1" "$desktop_record" 2>/dev/null &&
        xprop -root _XROOTPMAP_ID | grep -q 'pixmap id'
}

echo "-- openbox and the panel"
openbox &
pids+=($!)
panel_start

echo "-- the item registers with its menu"
"$copy/Tavorin" &
program=$!
pids+=("$program")
wait_for 20 main_window || fail "no main window within 20 s"
window=$(main_window)
wait_for 20 item || fail "the program's item did not register with the watcher"
entry=$(item)
service=${entry%%/*}
item_path=/${entry#*/}
[ "$entry" != "$service" ] || item_path=/StatusNotifierItem
menu_path=$(bus get-property "$service" "$item_path" org.kde.StatusNotifierItem Menu |
    python3 -c 'import json,sys; print(json.load(sys.stdin)["data"])')
[ "$menu_path" != /NO_DBUSMENU ] || fail "the item exports no menu"
about_to_show
for label in _Hide _About _Options _Help _ReadMe Home_page E_xit; do
    shows "$label" || fail "the menu lacks $label: $(menu)"
done
hides "_Change Wallpaper" || fail "the picture submenu shows while the window is shown"

echo "-- a click on the icon hides and shows the window"
activate
wait_for 10 no_main_window || fail "Activate did not hide the window"
running || fail "the program ended"
about_to_show
shows _Show || fail "the menu offers no _Show in the background: $(menu)"
shows "_Disable Tavorin" || fail "the menu offers no _Disable Tavorin: $(menu)"
shows "_Change Wallpaper" || fail "no picture submenu in the background: $(menu)"

echo "-- the third picture of the submenu becomes the wallpaper"
about_to_show "$(entry_id "_Change Wallpaper")"
shows "1. Dusk.jpg" && shows "2. Forest.jpg" || fail "the submenu lacks pictures: $(menu)"
click "3. Ocean.jpg"
wait_for 10 wallpaper_is "${pictures[2]}" ||
    fail "the third picture did not become the wallpaper: $(cat "$desktop_record" 2>/dev/null)"

if [ -n "${TAVORIN_SNI_SHOT:-}" ]; then
    # The panel's only icon sits at its left end: a right click opens the
    # exported menu, the pointer on its first entry the picture submenu.
    xdotool mousemove 16 16 click 3
    sleep 2
    xdotool mousemove 80 48
    sleep 2
    import -window root -crop 560x300+0+0 +repage "$TAVORIN_SNI_SHOT" || true
    xdotool key Escape sleep 0.3 key Escape
fi

echo "-- the panel restarts while the window is hidden"
kill "$panel"
wait "$panel" 2>/dev/null || true
panel_start
wait_for 20 item || fail "the icon did not come back into the new panel"
no_main_window || fail "the window showed when the panel came back"

echo "-- the panel goes for good while the window is hidden: it is minimised"
kill "$panel"
wait "$panel" 2>/dev/null || true
wait_for 15 state_is Iconic || fail "the window stayed $(wm_state) without a tray"
"$copy/Tavorin"
wait_for 10 state_is Normal || fail "a second start left the window $(wm_state)"

echo "-- the icon's click shows the window; E&xit ends the program"
panel_start
wait_for 20 item || fail "the icon did not come into the panel"
entry=$(item)
service=${entry%%/*}
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

echo "PASS: sni-e2e"
