#!/bin/bash
# Applying a 4000 x 3000 JPEG as the classic wallpaper (the X11 root window)
# on a 1920 x 1080 Xvfb screen, against hsetroot -fill and feh --bg-scale on
# the same file:
#   off  = without conversion: decoded at reduced scale straight to the screen
#   on   = with conversion: decoded once, written as a full-size 24-bit
#          Temp.bmp on a second thread while the same decoded picture is
#          stretched to the screen
# Goals: off <= 0.6 x hsetroot's time, on <= 1.1 x hsetroot's time.
#
# usage: bench/wallpaper/run.sh [build folder] [runs]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
source "$source_dir/scripts/common.sh"
tavorin_install_packages runtime build bench
build=$(cd "${1:-$source_dir/build}" && pwd)
runs=${2:-15}
tavorin_configure "$build" -DTAVORIN_BENCH=ON >/dev/null
cmake --build "$build" --target bench_wallpaper >/dev/null
driver="$build/bench/wallpaper/bench_wallpaper"

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

export HOME="$work/home" # feh writes ~/.fehbg without --no-fehbg; keep it here
mkdir -p "$HOME"
photo="$work/photo 4000x3000.jpg"
"$driver" generate "$photo" 4000 3000
echo "corpus: 4000 x 3000 JPEG, $(stat -c %s "$photo") bytes"

Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
echo "screen: Xvfb $DISPLAY 1920x1080x24"

names=(off on hsetroot feh)
commands=("$driver off '$photo'"
          "$driver on '$photo' '$work/Temp.bmp'"
          "hsetroot -fill '$photo'"
          "feh --no-fehbg --bg-scale '$photo'")
available=()
for i in "${!names[@]}"; do
    program=${commands[$i]%% *}
    if command -v "$program" >/dev/null; then available+=("$i"); else echo "missing: $program"; fi
done

# Sanity: our runs really set the root and write the bitmap.
eval "${commands[0]}"
xprop -root _XROOTPMAP_ID | grep -q "pixmap id" || { echo "off did not set the root"; exit 1; }
eval "${commands[1]}"
[ "$(head -c 2 "$work/Temp.bmp")" = BM ] || { echo "on wrote no bitmap"; exit 1; }
echo "Temp.bmp: $(stat -c %s "$work/Temp.bmp") bytes"

# Peak memory: the largest of a few runs.
declare -A rss
for i in "${available[@]}"; do
    peak=0
    for _ in 1 2 3; do
        kb=$(eval "/usr/bin/time -f %M ${commands[$i]}" 2>&1 >/dev/null | tail -1)
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    rss[${names[$i]}]=$peak
done

# Times (ms): wall-clock mean and minimum; CPU = user + system of the
# program itself (the X server's share is not in it, for any of them).
declare -A mean minimum cpu
if command -v hyperfine >/dev/null; then
    args=()
    for i in "${available[@]}"; do args+=(-n "${names[$i]}" "${commands[$i]}"); done
    hyperfine -N --warmup 3 --runs "$runs" --export-csv "$work/times.csv" "${args[@]}" >/dev/null
    while IFS=, read -r name m _ _ user system lo _; do
        mean[$name]=$(awk -v s="$m" 'BEGIN { printf "%.1f", s * 1000 }')
        cpu[$name]=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.1f", (u + s) * 1000 }')
        minimum[$name]=$(awk -v s="$lo" 'BEGIN { printf "%.1f", s * 1000 }')
    done < <(tail -n +2 "$work/times.csv")
else
    for i in "${available[@]}"; do
        : >"$work/t"
        for _ in $(seq "$runs"); do
            eval "/usr/bin/time -a -o '$work/t' -f %e ${commands[$i]}" >/dev/null 2>&1
        done
        mean[${names[$i]}]=$(awk '{ s += $1 } END { printf "%.1f", s / NR * 1000 }' "$work/t")
        minimum[${names[$i]}]=$(sort -n "$work/t" | head -1 | awk '{ printf "%.1f", $1 * 1000 }')
        cpu[${names[$i]}]=-
    done
fi

echo
printf "%-10s %10s %10s %12s %12s %12s %14s\n" what "mean ms" "min ms" "x hsetroot" "(by min)" "CPU ms" "peak RSS KB"
for i in "${available[@]}"; do
    n=${names[$i]}
    ratio=- ratio_min=-
    if [ -n "${mean[hsetroot]:-}" ]; then
        ratio=$(awk -v a="${mean[$n]}" -v b="${mean[hsetroot]}" 'BEGIN { printf "%.2f", a / b }')
        ratio_min=$(awk -v a="${minimum[$n]}" -v b="${minimum[hsetroot]}" 'BEGIN { printf "%.2f", a / b }')
    fi
    printf "%-10s %10s %10s %12s %12s %12s %14s\n" "$n" "${mean[$n]}" "${minimum[$n]}" "$ratio" "$ratio_min" "${cpu[$n]}" "${rss[$n]}"
done
if [ -n "${mean[hsetroot]:-}" ]; then
    echo
    awk -v off="${mean[off]}" -v on="${mean[on]}" -v h="${mean[hsetroot]}" 'BEGIN {
        printf "goal off <= 0.60 x hsetroot: %.2f %s\n", off / h, (off / h <= 0.6 ? "met" : "NOT met")
        printf "goal on  <= 1.10 x hsetroot: %.2f %s\n", on / h, (on / h <= 1.1 ? "met" : "NOT met")
    }'
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
