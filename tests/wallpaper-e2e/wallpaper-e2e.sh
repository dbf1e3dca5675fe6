#!/usr/bin/env bash
# End-to-end on real desktops: the real program, from a copy of the built
# program folder, changes the wallpaper at a log-on start (mode "Startup",
# automatic shutdown) by the desktop's own method ("Machine" = "1") and by
# the classic method with conversion ("Machine" = "2"), twice, so that the
# second "Temp.bmp" must replace the first on the screen. After each change
# the screen is read back where the user looks, and the desktop's own
# store where it has one.
#   wallpaper-e2e.sh <built program folder> <desktop>
# desktop: gnome, kde, xfce, mate, lxqt, sway, two-monitors (bare X).
# TAVORIN_DESKTOP_SHOT=<file.png>: keep the screen after the last change
# (or at the failure).
set -euo pipefail

keep_shot() { [ -z "${TAVORIN_DESKTOP_SHOT:-}" ] || convert "$work/screen.ppm" "$TAVORIN_DESKTOP_SHOT"; }
fail() {
    echo "FAIL ($desktop): $*" >&2
    [ ! -s "${work:-}/screen.ppm" ] || keep_shot || true
    exit 1
}

here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != --inside ]; then
    desktop=${2:-} size=800x600
    [ -d "${1:-}" ] && [ -n "$desktop" ] || fail "usage: wallpaper-e2e.sh <program folder> <desktop>"
    [ "$desktop" != two-monitors ] || size=1600x600
    [ "$desktop" != sway ] || exec bash "$0" --inside "$@"
    exec xvfb-run -a -s "-screen 0 ${size}x24 -noreset" dbus-run-session -- bash "$0" --inside "$@"
fi
built=$2 desktop=$3 width=800 height=600
[ "$desktop" != two-monitors ] || width=1600
trap 'fail "a step failed at line $LINENO"' ERR

source "$here/../support/e2e-sandbox.sh"
e2e_sandbox "$built" "Program Folder"
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY SWAYSOCK
# Services the bus starts (dconf, xfconfd, kactivitymanagerd) keep their
# settings in the sandbox too.
if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME \
        XDG_RUNTIME_DIR
fi

source "$here/../support/gnome-session.sh"
on_bus() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner "string:$1" | grep -q true; }
started() { "$@" >>"$work/desktop.log" 2>&1 & pids+=("$!"); } # ended at exit

# ---- the desktops -----------------------------------------------------------
# start_<desktop>: starts it and waits until it paints; store_<desktop>:
# prints the wallpaper the desktop itself holds.
run_as=()
start_two-monitors() {
    # The first takes the place of the one monitor the screen had.
    xrandr --setmonitor left 800/211x600/158+0+0 screen >/dev/null
    xrandr --setmonitor right 800/211x600/158+800+0 none >/dev/null
    [ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 2" ] || fail "no two monitors"
}
store_two-monitors() { xprop -root _XROOTPMAP_ID | grep -q 'pixmap id' && echo root; }

plasma_script() {
    dbus-send --session --print-reply=literal --dest=org.kde.plasmashell /PlasmaShell \
        org.kde.PlasmaShell.evaluateScript "string:$1" | sed 's/^ *//'
}
plasma_has_desktop() { [ "$(plasma_script 'print(desktops().length)')" -gt 0 ]; }
start_kde() {
    export XDG_CURRENT_DESKTOP=KDE QT_QPA_PLATFORM=xcb
    # Xvfb has no OpenGL to speak of: Qt Quick draws in software.
    QT_QUICK_BACKEND=software started plasmashell --no-respawn
    # On the bus before its desktops exist.
    wait_for 30 plasma_has_desktop || fail "plasmashell did not start"
}
store_kde() {
    plasma_script 'var d = desktops()[0];
d.currentConfigGroup = ["Wallpaper", "org.kde.image", "General"];
print(d.readConfig("Image"));' | sed 's|^file://||'
}

start_xfce() {
    export XDG_CURRENT_DESKTOP=XFCE
    started xfdesktop --disable-wm-check
    wait_for 30 on_bus org.xfce.xfdesktop || fail "xfdesktop did not start"
}
store_xfce() {
    local property
    for property in $(xfconf-query -c xfce4-desktop -l | grep 'last-image$'); do
        xfconf-query -c xfce4-desktop -p "$property"
    done | sort -u
}

start_mate() {
    export XDG_CURRENT_DESKTOP=MATE
    started caja -n --force-desktop
    wait_for 30 xdotool search --class caja || fail "caja did not start"
}
store_mate() { gsettings get org.mate.background picture-filename | tr -d "'"; }

start_lxqt() {
    export XDG_CURRENT_DESKTOP=LXQt
    started pcmanfm-qt --desktop
    wait_for 30 xdotool search --class pcmanfm-qt || fail "pcmanfm-qt did not start"
}
store_lxqt() { sed -n 's/^Wallpaper=//p' "$XDG_CONFIG_HOME"/pcmanfm-qt/*/settings.conf; }

start_gnome() {
    export XDG_CURRENT_DESKTOP=GNOME
    gnome_session_start 60 || fail "gnome-shell did not start"
}
store_gnome() {
    python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1][8:-1]))' \
        "$(gsettings get org.gnome.desktop.background picture-uri)"
}

start_sway() {
    source "$here/../support/sway-session.sh"
    export XDG_CURRENT_DESKTOP=sway
    sway_session_start 800x600
    unset DISPLAY
    sway_give "$work"
    run_as=(sway_run)
}
# sway keeps no store; the background program it started names the picture.
store_sway() { ps -o args= -C swaybg | sed -n 's/.* -i \(.*\) -m .*/\1/p'; }

# ---- reading the screen -----------------------------------------------------
screenshot() { # the screen as a binary PPM in $work/screen.ppm
    if [ "$desktop" = sway ]; then
        sway_run grim -t ppm - >"$work/screen.ppm"
    else
        import -window root -depth 8 ppm:- >"$work/screen.ppm"
    fi
}
colour_at() { # colour_at <x> <y>: red, green, blue, yellow or the r,g,b values
    local header r g b
    header=$(printf 'P6\n%s %s\n255\n' "$width" "$height" | wc -c)
    read -r r g b < <(od -An -tu1 -N3 -j $((header + ($2 * width + $1) * 3)) "$work/screen.ppm")
    if [ "$b" -lt 80 ] && [ "$r" -gt 180 ] && [ "$g" -gt 180 ]; then echo yellow
    elif [ "$g" -lt 80 ] && [ "$b" -lt 80 ] && [ "$r" -gt 180 ]; then echo red
    elif [ "$r" -lt 80 ] && [ "$b" -lt 80 ] && [ "$g" -gt 180 ]; then echo green
    elif [ "$r" -lt 80 ] && [ "$g" -lt 80 ] && [ "$b" -gt 180 ]; then echo blue
    else echo "$r,$g,$b"; fi
}
# seen: each monitor's colour at the middle of the picture's left and
# right halves.
seen() {
    local x
    screenshot
    for ((x = 0; x < width; x += 800)); do
        printf '%s %s ' "$(colour_at $((x + 200)) 300)" "$(colour_at $((x + 600)) 300)"
    done
}
# shows <left> <right>: every monitor shows the picture, its left half in
# one colour, its right half in the other.
shows() {
    local x expected=
    for ((x = 0; x < width; x += 800)); do expected+="$1 $2 "; done
    [ "$(seen)" = "$expected" ]
}
expect_screen() {
    wait_for 15 shows "$1" "$2" || fail "$3: the screen shows $(seen)"
}

# ---- the program ------------------------------------------------------------
picture() { # picture <name> <left colour> <right colour>
    declare -A hex=([red]='#ff0000' [green]='#00ff00' [blue]='#0000ff' [yellow]='#ffff00')
    convert -size 400x300 "xc:${hex[$2]}" \( -size 400x300 "xc:${hex[$3]}" \) +append \
        -quality 95 "$work/pictures/$1"
    echo "$work/pictures/$1"
}
write_list() { # write_list <path>: a one-picture automatic list
    python3 - "$copy/Tavorin.tl" "$1" <<'PY'
import struct, sys
data = sys.argv[2].encode()
open(sys.argv[1], "wb").write(struct.pack("<H", len(data)) + data.ljust(198, b"\0"))
PY
}
setting() { sed -n "s/^$1=//p" "$2" | tr -d '\r' | head -n 1; }
# change <machine> <picture> [env argument...]: a log-on start in mode
# "Startup" with automatic shutdown changes the wallpaper once and ends.
change() {
    write_list "$2"
    printf '%s\n' '[Settings]' Systray=0 Splash=0 Startup=1 "Machine=$1" Convert=1 \
        Version=1.2.35 change=Startup shutdown=1 random=0 ListCount=1 Wallpaper=1 Loader=1 \
        >"$settings"
    [ ${#run_as[@]} -eq 0 ] || sway_give "$copy"
    "${run_as[@]}" env "${@:3}" timeout 30 "$copy/Tavorin" >>"$work/program.log" 2>&1
}
changed() {
    change "$@" || fail "the program did not end by itself: $(cat "$work/program.log")"
    [ "$(setting Loader "$settings")" = 0 ] || fail "the change did not run"
}

mkdir -p "$work/pictures"
first=$(picture "first.jpg" red green)
second=$(picture "second picture.png" blue yellow)
third=$(picture "third.gif" green red)
record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI"
temp_bmp="$copy/Temp.bmp"

echo "-- $desktop starts"
"start_$desktop"

echo "-- the desktop's own method"
changed 1 "$first"
expect_screen red green "method 1"
[ "$(store_$desktop)" = "$first" ] || [ "$desktop" = two-monitors ] ||
    fail "the desktop holds $(store_$desktop), not $first"

echo "-- the classic method, converted"
for picture in "$second" "$third"; do
    changed 2 "$picture"
    [ "$(head -c 2 "$temp_bmp")" = BM ] || fail "no Temp.bmp"
    # Every other change names it through a link (the desktop reads it again).
    [ "$(realpath -m "$(setting Wallpaper "$record")")" = "$temp_bmp" ] ||
        fail "Temp.bmp was not recorded"
done
expect_screen green red "the classic method"
case $desktop in
    two-monitors) store_two-monitors >/dev/null || fail "no root pixmap" ;;
    *) [ "$(realpath -m "$(store_$desktop)")" = "$temp_bmp" ] ||
        fail "the desktop holds $(store_$desktop)" ;;
esac

if [ "$desktop" = xfce ]; then
    echo "-- xfdesktop --reload keeps it"
    xfdesktop --reload
    # Answered once the reload has been handled; the repaint follows.
    dbus-send --session --print-reply --dest=org.xfce.xfdesktop / org.freedesktop.DBus.Peer.Ping \
        >/dev/null
    expect_screen green red "after xfdesktop --reload"
fi
if [ "$desktop" = sway ]; then
    echo "-- a Wayland desktop it does not know: the error, nothing recorded"
    cp "$record" "$work/record"
    change 2 "$first" -u XDG_CURRENT_DESKTOP -u SWAYSOCK &
    in_sway_tree() { sway_run swaymsg -t get_tree | grep -q '"name": "Tavorin"'; }
    wait_for 20 in_sway_tree || fail "no message box"
    grep -q "no desktop this program knows runs in this Wayland session" "$work/program.log" ||
        fail "no reason given: $(cat "$work/program.log")"
    cmp -s "$record" "$work/record" || fail "the failed change was recorded"
fi
keep_shot
# Ended before the sandbox goes, so that nothing writes into it meanwhile.
if [ ${#pids[@]} -gt 0 ]; then
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
fi
echo "PASS: $desktop"
