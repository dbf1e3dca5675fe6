#!/usr/bin/env bash
# The image browser's folder scan against vipsthumbnail on the same folder.
# Run by hand (not in CI):
#   bench/browser/run.sh [build-folder] [corpus-folder] [rounds]
# Needs libvips-tools (vipsthumbnail). The corpus (310 pictures: 200 JPEGs of
# 4000x3000, 50 JPEGs of 1920x1080, 30 BMPs, 30 GIFs) is generated once.
set -euo pipefail
source "$(dirname "$0")/../../scripts/common.sh"
tavorin_install_packages bench

build=${1:-build}
corpus=${2:-/tmp/tavorin-browser-corpus}
rounds=${3:-3}
driver="$build/bench/browser/bench_browser"
export QT_QPA_PLATFORM=offscreen

command -v vipsthumbnail >/dev/null || { echo "vipsthumbnail missing: apt-get install libvips-tools" >&2; exit 2; }
[ -x "$driver" ] || { echo "build $driver first" >&2; exit 2; }

"$driver" generate "$corpus"
count=$(find "$corpus" -maxdepth 1 -type f \( -name '*.jpg' -o -name '*.bmp' -o -name '*.gif' \) | wc -l)
cat "$corpus"/* >/dev/null # both read from the page cache

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
half=$(((count + 1) / 2))
TIMEFORMAT='%R %U %S'

ours=()
vips=()
ours_cpu=()
vips_cpu=()
for round in $(seq "$rounds"); do
    line=$( { time "$driver" scan "$corpus" 2>/dev/null >"$out/ours.txt"; } 2>&1 )
    ours+=("$(echo "$line" | awk '{print $1}')")
    ours_cpu+=("$(echo "$line" | awk '{print $2 + $3}')")
    echo "round $round  browser : $(cat "$out/ours.txt")  cpu_user+sys $(echo "$line" | awk '{print $2 + $3}') s"

    rm -f "$out"/*.jpg
    line=$( { time (find "$corpus" -maxdepth 1 -type f | sort | xargs -n "$half" -P2 \
        vipsthumbnail --size 102x77 -o "$out/%s.jpg" 2>/dev/null); } 2>&1 )
    vips+=("$(echo "$line" | awk '{print $1}')")
    vips_cpu+=("$(echo "$line" | awk '{print $2 + $3}')")
    echo "round $round  vipsthumbnail x2: seconds $(echo "$line" | awk '{print $1}') pictures_per_second $(echo "$line $count" | awk '{printf "%.1f", $4 / $1}')  cpu_user+sys $(echo "$line" | awk '{print $2 + $3}') s"
done

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
o=$(median "${ours[@]}")
v=$(median "${vips[@]}")
echo "median over $rounds rounds, $count pictures:"
echo "  browser scan      $(echo "$o $count" | awk '{printf "%.2f s  %.1f pictures/s", $1, $2 / $1}')"
echo "  vipsthumbnail x2  $(echo "$v $count" | awk '{printf "%.2f s  %.1f pictures/s", $1, $2 / $1}')"
echo "  ratio             $(echo "$o $v" | awk '{printf "%.2fx (goal >= 1.2x)", $2 / $1}')"
# On a machine shared with other work the wall clock depends on the others;
# the processor time each side spends is steadier.
oc=$(median "${ours_cpu[@]}")
vc=$(median "${vips_cpu[@]}")
echo "  processor time    browser $oc s, vipsthumbnail $vc s: $(echo "$oc $vc $count" | awk '{printf "%.1f vs %.1f pictures per processor-second, %.2fx", $3 / $1, $3 / $2, $2 / $1}')"
echo "  load average now  $(cut -d' ' -f1-3 /proc/loadavg)"
