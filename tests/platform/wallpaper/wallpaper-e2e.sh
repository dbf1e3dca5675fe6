#!/usr/bin/env bash
# The real program on a real desktop changes the wallpaper at a log-on start by the desktop's own
# method ("Machine" = "1"), then twice by the classic one with conversion ("Machine" = "2"); the
# screen and the desktop's own store are read back after each.
#   wallpaper-e2e.sh <built program folder> gnome|kde|xfce|mate|lxqt|sway|two-monitors
set -euo pipefail
fail() { echo "FAIL ($desktop): $*" >&2 && exit 1; }
desktop=${2:-} support=$(cd "$(dirname "$0")/../../support" && pwd)
[ -d "${1:-}" ] && [ -n "$desktop" ] || fail "usage: wallpaper-e2e.sh <program folder> <desktop>"
width=800 && [ "$desktop" != two-monitors ] || width=1600
source "$support/e2e-sandbox.sh"
[ "$desktop" = sway ] || e2e_in_x "${width}x600" "$@"
trap 'fail "a step failed at line $LINENO"' ERR
source "$support/gnome-session.sh"
e2e_sandbox "$1" "Program Folder"
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION WAYLAND_DISPLAY SWAYSOCK
[ "$desktop" = sway ] || gnome_bus_environment # dconf, xfconfd, kactivitymanagerd: sandboxed
declare -A hex=([red]=FF0000 [green]=00FF00 [blue]=0000FF [yellow]=FFFF00)
# Each monitor's colour in the middle of the picture's left and right halves.
seen() {
    local x format=
    if [ "$desktop" = sway ]; then sway_run grim -t ppm - >"$work/screen.ppm"
    else import -window root -depth 8 ppm:- >"$work/screen.ppm"; fi
    for ((x = 0; x < width; x += 800)); do format+="%[hex:p{$((x + 200)),300}] %[hex:p{$((x + 600)),300}] "; done
    convert "$work/screen.ppm" -channel RGB -threshold 50% -depth 8 -format "$format" info:
}
# expect_screen <left> <right> <step>: every monitor shows the picture, its halves in those colours.
expect_screen() {
    local x expected=
    for ((x = 0; x < width; x += 800)); do expected+="${hex[$1]} ${hex[$2]} "; done
    wait_for 30 eval '[ "$(seen)" = "$expected" ]' || fail "$3: the screen shows $(seen)"
}
picture() { # picture <name> <left colour> <right colour>
    convert -size 400x300 "xc:#${hex[$2]}" -size 400x300 "xc:#${hex[$3]}" +append -quality 95 "$work/$1"
    echo "$work/$1"
}
setting() { sed -n "s/^$1=//p" "$2" | tr -d '\r' | head -n 1; }
# changed <machine> <picture>: a log-on start with a one-picture automatic list, ended by itself.
changed() {
    python3 -c 'import struct, sys; d = sys.argv[2].encode()
open(sys.argv[1], "wb").write(struct.pack("<H", len(d)) + d.ljust(198, b"\0"))' "$copy/Tavorin.tl" "$2"
    printf '%s\n' '[Settings]' Systray=0 Splash=0 Startup=1 "Machine=$1" Convert=1 Version=1.2.35 \
        change=Startup shutdown=1 random=0 ListCount=1 Wallpaper=1 Loader=1 >"$settings"
    [ ${#run_as[@]} -eq 0 ] || sway_give "$copy"
    "${run_as[@]}" timeout 30 "$copy/Tavorin" >>"$work/program.log" 2>&1 ||
        fail "the program did not end by itself: $(cat "$work/program.log")"
    [ "$(setting Loader "$settings")" = 0 ] || fail "the change did not run"
}
first=$(picture first.jpg red green) second=$(picture "second picture.png" blue yellow)
third=$(picture third.gif green red)
# launch <XDG_CURRENT_DESKTOP> <ready test> <desktop program...>: ended at exit.
launch() {
    export XDG_CURRENT_DESKTOP=$1
    "${@:3}" >>"$work/desktop.log" 2>&1 &
    pids+=("$!")
    wait_for 60 eval "$2" || fail "$3 did not start"
}
plasma() {
    dbus-send --session --print-reply=literal --dest=org.kde.plasmashell /PlasmaShell \
        org.kde.PlasmaShell.evaluateScript "string:$1" | sed 's/^ *//'
}
run_as=()
case $desktop in
    two-monitors) # the first takes the place of the one monitor the screen had
        xrandr --setmonitor left 800/211x600/158+0+0 screen >/dev/null
        xrandr --setmonitor right 800/211x600/158+800+0 none >/dev/null
        [ "$(xrandr --listmonitors | head -n 1)" = "Monitors: 2" ] || fail "no two monitors" ;;
    kde) # Xvfb has no OpenGL to speak of: Qt Quick draws in software; on the bus before its desktops
        export QT_QPA_PLATFORM=xcb && QT_QUICK_BACKEND=software launch KDE \
            '[ "$(plasma "print(desktops().length)")" -gt 0 ]' plasmashell --no-respawn ;;
    xfce) launch XFCE 'gnome_bus_has org.xfce.xfdesktop' xfdesktop --disable-wm-check ;;
    mate) launch MATE 'xdotool search --class caja' caja -n --force-desktop ;;
    lxqt) launch LXQt 'xdotool search --class pcmanfm-qt' pcmanfm-qt --desktop ;;
    gnome) export XDG_CURRENT_DESKTOP=GNOME && gnome_session_start 60 || fail "gnome-shell did not start" ;;
    sway) source "$support/sway-session.sh"
        export XDG_CURRENT_DESKTOP=sway && sway_session_start 800x600 && unset DISPLAY
        sway_give "$work"
        run_as=(sway_run) ;;
esac
# The wallpaper the desktop itself holds (sway keeps none: the program it started names it).
store() {
    case $desktop in
        two-monitors) xprop -root _XROOTPMAP_ID | grep -q 'pixmap id' && echo root ;;
        kde) plasma 'var d = desktops()[0]; d.currentConfigGroup = ["Wallpaper", "org.kde.image",
"General"]; print(d.readConfig("Image"));' | sed 's|^file://||' ;;
        xfce) for p in $(xfconf-query -c xfce4-desktop -l | grep 'last-image$'); do
            xfconf-query -c xfce4-desktop -p "$p"; done | sort -u ;;
        mate) gsettings get org.mate.background picture-filename | tr -d "'" ;;
        lxqt) sed -n 's/^Wallpaper=//p' "$XDG_CONFIG_HOME"/pcmanfm-qt/*/settings.conf ;;
        gnome) python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(sys.argv[1][8:-1]))' \
            "$(gsettings get org.gnome.desktop.background picture-uri)" ;;
        sway) ps -o args= -C swaybg | sed -n 's/.* -i \(.*\) -m .*/\1/p' ;;
    esac
}

record="$XDG_CONFIG_HOME/Tavorin/Desktop.INI" temp_bmp="$copy/Temp.bmp"
changed 1 "$first"
expect_screen red green "method 1"
[ "$(store)" = "$first" ] || [ "$desktop" = two-monitors ] || fail "the desktop holds $(store)"
for picture in "$second" "$third"; do
    changed 2 "$picture"
    [ "$(head -c 2 "$temp_bmp")" = BM ] || fail "no Temp.bmp"
    # Every other change names it through a link (the desktop reads it again).
    [ "$(realpath -m "$(setting Wallpaper "$record")")" = "$temp_bmp" ] || fail "Temp.bmp not recorded"
done
expect_screen green red "the classic method"
if [ "$desktop" = two-monitors ]; then store >/dev/null || fail "no root pixmap"
elif [ "$(realpath -m "$(store)")" != "$temp_bmp" ]; then fail "the desktop holds $(store)"; fi
echo "PASS: $desktop"
