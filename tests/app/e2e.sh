#!/usr/bin/env bash
# End-to-end: the real program from a copy of the built program folder, on its
# own X server and session bus, with a temporary home.
#   e2e.sh start|tray|openbox|gnome|xfce|sway <built program folder>
set -euo pipefail
mode=$1
support="$(cd "$(dirname "$0")/../support" && pwd)"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
source "$support/e2e-sandbox.sh"
[ "$mode" = sway ] || e2e_in_x 1024x768 "$@"
trap 'fail "a step failed at line $LINENO"' ERR
e2e_sandbox "$2" "Program Folder$([ "$mode" != start ] || echo ' $x 100%')"
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION # the wallpaper goes on the X root
version=$("$copy/Tavorin" --version | sed 's/^Tavorin //')
pictures=("$copy/Skins/Dusk.jpg" "$copy/Skins/Forest.jpg" "$copy/Skins/Ocean.jpg")

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
wallpaper_is() { grep -qxF "Wallpaper=$1" "$XDG_CONFIG_HOME/Tavorin/Desktop.INI" 2>/dev/null; }
# A later start writes "Systray" = "1" and ends at once.
second_start() {
    set_setting Systray 0
    "$@" "$copy/Tavorin" || fail "the second start failed"
    grep -qx 'Systray=1' "$settings" || fail "the second start did not write Systray=1"
    running || fail "the first copy ended"
}

if [ "$mode" = start ]; then
    # The first start: the stored first-run settings and the autostart entry.
    start_program
    window_opens
    actual=$(grep -v '^[[:space:]]*$' "$settings" | head -n 7)
    [ "$actual" = "$(printf '[Settings]\nSystray=1\nSplash=1\nStartup=1\nConvert=1\nMachine=1\nVersion=%s' "$version")" ] ||
        fail "Settings.INI begins with:"$'\n'"$actual"
    autostart="$XDG_CONFIG_HOME/autostart/Tavorin.desktop"
    # The first copy ends without letting go of its lock.
    kill -KILL "$program"
    wait "$program" 2>/dev/null || true
    wait_for 10 no_main_window || fail "the window stayed after the program was killed"
    # The log-on start from the autostart entry, as the desktop does it. Mode
    # "Startup" changes the wallpaper only at a start through Loader.exe, whose
    # start-up Apply writes Loader=0 again; method 2 records the picture.
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
    kill -TERM "$program" # a log-out ends it as E&xit does
    wait_for 10 eval '! kill -0 "$program"' || fail "a log-out did not end the program"
    exit 0
fi

# No splash, no log-on entry, no change at start; three pictures in the list.
printf '[Settings]\nSystray=1\nSplash=0\nStartup=0\nConvert=0\nMachine=2\nVersion=%s\nchange=Never (manually only)\nSkin=\nListCount=3\n' \
    "$version" >"$settings"
write_list "${pictures[@]}"

if [ "$mode" = tray ]; then
    # The program's shown windows (id x y width height): the icon, embedded in
    # the tray host (top left), and popup menus, larger than an icon.
    shown() {
        local w
        for w in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" && echo "$w $X $Y $WIDTH $HEIGHT"
        done
    }
    icon() { shown | awk '$2 < 200 && $3 < 32 && $4 > 1 && $4 <= 32 { print $2 + int($4 / 2), $3 + int($5 / 2) }' | grep .; }
    popup() { shown | awk '$4 > 40' | grep .; }
    trayer --edge top --align left --height 32 --widthtype pixel --width 200 --transparent false \
        --tint 0x404040 --SetDockType true &
    pids+=($!)
    wait_for 10 xdotool search --classname trayer || fail "trayer did not start"
    start_program
    window_opens
    xdotool windowmove "$window" 300 200 # no window manager: off the tray
    wait_for 10 icon || fail "no icon appeared in the tray"
    read -r icon_x icon_y <<<"$(icon)"
    sleep 0.5
    xdotool mousemove "$icon_x" "$icon_y" click --repeat 2 --delay 60 1
    wait_for 5 no_main_window || fail "a double click did not hide the window"
    running || fail "the program ended"
    xdotool mousemove "$icon_x" "$icon_y" click 3
    wait_for 5 popup || fail "no menu after a right press on the icon"
    read -r _ X Y WIDTH HEIGHT <<<"$(popup)"
    # A click on E&xit, the last entry, again until the program ends: the menu
    # takes the pointer a moment after it shows.
    for _ in $(seq 20); do
        ended && break
        xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT - 8))" click 1 sleep 0.3
    done
    ends_cleanly "E&xit"
    exit 0
fi

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
    start_program sway_run
    wait_for 20 native_main_window || fail "no native main window: $(sway_run swaymsg -t get_tree)"
    second_start sway_run
    native_main_window || fail "the window went away"
    exit 0
fi

source "$support/gnome-session.sh"
# The window manager's WM_STATE: Normal, Iconic, or nothing once withdrawn.
wm_state() { xprop -id "$window" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }
state_is() { [ "$(wm_state)" = "$1" ]; }
becomes() { wait_for "$1" state_is "$2" || fail "$3 left the window $(wm_state), not $2"; }
gnome_bus_environment || fail "the session bus took no environment"
if [ "$mode" = gnome ]; then
    gnome_session_start 90 || fail "GNOME Shell did not come up"
else
    openbox &
    pids+=($!)
fi
wait_for 30 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "no window manager"

if [ "$mode" != xfce ]; then
    # &Hide minimises to the task bar; a second start brings the window back.
    start_program
    window_opens
    becomes 10 Normal "the start"
    xdotool windowactivate --sync "$window" key --clearmodifiers alt+h
    becomes 10 Iconic "&Hide"
    second_start
    becomes 10 Normal "the second start"
    wait_for 5 main_window || fail "the window is Normal but not shown"
    exit 0
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
# Opens the menu (0) or a submenu ($2) and prints the id of its shown entry $1.
entry_id() {
    bus call "$service" "$menu_path" com.canonical.dbusmenu AboutToShow i "$2" >/dev/null
    bus call "$service" "$menu_path" com.canonical.dbusmenu GetLayout iias 0 -1 0 | python3 -c 'import json, sys
def find(id_, props, children):
    if props.get("label", {}).get("data") == sys.argv[1] and props.get("visible", {"data": 1})["data"]: print(id_)
    [find(*child["data"]) for child in children]
find(*json.load(sys.stdin)["data"][1])' "$1" | grep -m1 . || fail "no entry $1 in the menu"
}
click() { bus call "$service" "$menu_path" com.canonical.dbusmenu Event isvu "$1" clicked i 0 0 >/dev/null; }

# The item registers with its menu; a click on the icon hides the window,
# and the menu becomes the background's.
xfce4-panel --disable-wm-check >/dev/null 2>&1 &
panel=$! && pids+=("$panel")
wait_for 30 eval 'watcher IsStatusNotifierHostRegistered | grep -q true' || fail "the panel's notification area did not come up"
start_program
window_opens
wait_for 20 item_registered || fail "the program's item did not register with the watcher"
menu_path=$(bus get-property "$service" "$item_path" org.kde.StatusNotifierItem Menu | json d)
entry_id _Hide 0 >/dev/null
bus call "$service" "$item_path" org.kde.StatusNotifierItem Activate ii 0 0 >/dev/null
wait_for 10 no_main_window || fail "Activate did not hide the window"
entry_id "_Disable Tavorin" 0 >/dev/null
# The third picture of the submenu becomes the wallpaper.
pictures_menu=$(entry_id "_Change Wallpaper" 0)
click "$(entry_id "3. Ocean.jpg" "$pictures_menu")"
wait_for 10 eval 'wallpaper_is "${pictures[2]}" && xprop -root _XROOTPMAP_ID | grep -q "pixmap id"' ||
    fail "the third picture did not become the wallpaper"
# With the panel gone for good the window is minimised; a log-out ends the program.
kill "$panel"
becomes 15 Iconic "the panel's end"
second_start
becomes 10 Normal "a second start"
kill -TERM "$program"
ends_cleanly SIGTERM
