#!/usr/bin/env bash
# Draws the program's icons and skins with ImageMagick's `convert`.
# The results are kept in data/program/, so a build needs no ImageMagick;
# run this again only to change the artwork.
set -euo pipefail
out=$(cd "$(dirname "$0")/../program" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---- Icons: a framed landscape (sky, sun, hills), 16, 32 and 48 pixels.
draw_icon() { # size file
    local s=$1 f=$2
    local r=$((s / 8)) b=$((s / 16 > 0 ? s / 16 : 1))
    convert -size "${s}x${s}" xc:none \
        \( -size "${s}x${s}" gradient:'#1d4f9c-#8cc8ff' \) -compose over -composite \
        -fill '#ffd23f' -draw "circle $((s * 7 / 10)),$((s * 3 / 10)) $((s * 7 / 10 + s / 8)),$((s * 3 / 10))" \
        -fill '#3f8f3a' -draw "polygon 0,$((s * 7 / 10)) $((s * 3 / 10)),$((s * 9 / 20)) $((s * 6 / 10)),$((s * 3 / 4)) $((s - 1)),$((s * 11 / 20)) $((s - 1)),$((s - 1)) 0,$((s - 1))" \
        -fill '#2a6b27' -draw "polygon 0,$((s * 17 / 20)) $((s / 2)),$((s * 13 / 20)) $((s - 1)),$((s * 9 / 10)) $((s - 1)),$((s - 1)) 0,$((s - 1))" \
        \( -size "${s}x${s}" xc:none -fill white -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r" \) \
        -compose DstIn -composite \
        -fill none -stroke '#3a2a12' -strokewidth "$b" \
        -draw "roundrectangle $((b / 2)),$((b / 2)) $((s - 1 - b / 2)),$((s - 1 - b / 2)) $r,$r" \
        "PNG32:$f"
}
for s in 16 32 48; do
    draw_icon "$s" "$work/icon-$s.png"
    # Disabled: grey, washed out, half transparent.
    convert "$work/icon-$s.png" -colorspace Gray -fill white -colorize 45% \
        -channel A -evaluate multiply 0.7 +channel "PNG32:$work/disabled-$s.png"
done
mkdir -p "$out/Icon"
convert "$work"/icon-16.png "$work"/icon-32.png "$work"/icon-48.png "$out/Icon/Tavorin icon.ico"
convert "$work"/disabled-16.png "$work"/disabled-32.png "$work"/disabled-48.png \
    "$out/Icon/Tavorin disabled.ico"

# ---- Skins: 450 x 273, dark enough for the light green and cyan labels.
mkdir -p "$out/Skins"
W=450
H=273
# Metalic: brushed steel, light at the top, dark at the foot.
convert -size 650x${H} xc:gray50 -seed 11 +noise Gaussian -colorspace Gray \
    -motion-blur 0x40+0 -gravity center -crop ${W}x${H}+0+0 +repage -level 35%,65% \
    \( -size ${W}x${H} gradient:'#5f6770-#1c2025' \) +swap -compose overlay -composite \
    \( -size ${W}x${H} gradient:'#b0b0b0-#404040' \) -compose softlight -composite \
    -quality 88 "$out/Skins/Metalic.jpg"
# Ocean: deep blue with soft waves.
convert -size ${W}x${H} gradient:'#0b2a55-#02101f' \
    \( -size ${W}x${H} xc: -fx '0.5+0.25*sin(j/9+sin(i/37)*2)' -blur 0x2 \) \
    -compose softlight -composite \
    -quality 88 "$out/Skins/Ocean.jpg"
# Forest: dark green with blurred leaf light.
convert -size ${W}x${H} gradient:'#1e3b1a-#071407' \
    \( -size ${W}x${H} xc:black -seed 5 +noise Random -channel G -separate +channel \
       -threshold 97% -blur 0x6 -level 0,40% -fill '#9be36b' -tint 100 \) \
    -compose screen -composite \
    -quality 88 "$out/Skins/Forest.jpg"
# Dusk: violet to deep orange, a sunset glow low on the right.
convert -size ${H}x${W} gradient:'#2b1344-#7a2d1c' -rotate -90 \
    \( -size 900x546 radial-gradient:'#c05a1f-#000000' -crop ${W}x${H}+130+80 +repage \) \
    -compose screen -composite \
    -quality 88 "$out/Skins/Dusk.jpg"
