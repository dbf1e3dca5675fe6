#!/usr/bin/env bash
# The search benchmark, run by hand (never in CI):
#   bench/search/run.sh [build folder] [corpus folder] [runs]
# Generates the corpus once (about a minute), then runs the search engine and
# its anchors on the same files, warm caches, and prints every figure with the
# goal beside it. Needs: fd-find, imagemagick, libvips-tools, hyperfine
# (scripts/packages/bench.txt).
set -eu
. "$(dirname "$0")/../../scripts/common.sh"
tavorin_install_packages bench
BUILD=${1:-build}
CORPUS=${2:-/tmp/tavorin-search-corpus}
RUNS=${3:-7}
BENCH=$BUILD/bench/search/search_bench
MAKE=$BUILD/bench/search/search_make_corpus
for tool in find fdfind identify vipsthumbnail hyperfine python3; do
    command -v $tool >/dev/null || { echo "missing: $tool (see scripts/packages/bench.txt)"; exit 1; }
done
[ -x "$BENCH" ] || { echo "build search_bench first: cmake --build $BUILD --target search_bench search_make_corpus"; exit 1; }
[ -f "$CORPUS/pictures.lst" ] || "$MAKE" "$CORPUS"
TREE=$CORPUS/tree
BIG=$CORPUS/big
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# hyperfine <name> <command>: min and median seconds, user+system seconds.
anchor() {
    hyperfine --style none --warmup 1 --runs "$RUNS" --export-json "$OUT/$1.json" "$2" >/dev/null 2>&1
    python3 - "$OUT/$1.json" "$1" <<'PY'
import json, sys, statistics
r = json.load(open(sys.argv[1]))["results"][0]
name = sys.argv[2]
print(f"{name}_ms_min={min(r['times'])*1e3:.2f}")
print(f"{name}_ms_median={statistics.median(r['times'])*1e3:.2f}")
print(f"{name}_cpu_ms_mean={(r['user']+r['system'])*1e3:.2f}")
PY
}

{
    echo "load_before=$(cut -d' ' -f1 /proc/loadavg)"
    "$BENCH" walk "$TREE" "$RUNS" 2>/dev/null
    anchor find "find $TREE -iname '*.bmp' -o -iname '*.jpg' -o -iname '*.gif'"
    anchor fdfind "fdfind -u -e bmp -e jpg -e gif . $TREE"
    "$BENCH" equal "$TREE" "$RUNS" 2>/dev/null
    anchor identify "xargs -a $CORPUS/pictures.lst -d '\n' identify -ping -format '%w %h\n'"
    "$BENCH" thumbs "$BIG" 3 2>/dev/null
    mkdir -p "$OUT/vips"
    RUNS=3 anchor vips "ls $BIG/*.jpg | xargs -P2 -n100 vipsthumbnail --size 102x77 -o $OUT/vips/%s.jpg"
    "$BENCH" memory "$TREE" 2>/dev/null
    echo "load_after=$(cut -d' ' -f1 /proc/loadavg)"
} > "$OUT/figures"

python3 - "$OUT/figures" <<'PY'
import sys
f = {}
for line in open(sys.argv[1]):
    if "=" in line:
        k, v = line.strip().split("=", 1)
        f[k] = v
n = lambda k: float(f[k])
print(f"machine load: {f['load_before']} before, {f['load_after']} after (2 cores)")
print()
print("walk, \"Any\", names only ({} hits in {} folders):".format(f['walk_hits'], f['walk_folders']))
print(f"  engine   min {n('walk_ms_min'):8.1f} ms  median {n('walk_ms_median'):8.1f} ms  cpu {n('walk_cpu_ms_median'):7.1f} ms")
print(f"  find     min {n('find_ms_min'):8.1f} ms  median {n('find_ms_median'):8.1f} ms  cpu {n('find_cpu_ms_mean'):7.1f} ms")
print(f"  fdfind   min {n('fdfind_ms_min'):8.1f} ms  median {n('fdfind_ms_median'):8.1f} ms  cpu {n('fdfind_cpu_ms_mean'):7.1f} ms")
print(f"  engine / find: {n('walk_ms_min')/n('find_ms_min'):.2f}x (min), {n('walk_ms_median')/n('find_ms_median'):.2f}x (median), {n('walk_cpu_ms_median')/n('find_cpu_ms_mean'):.2f}x (cpu)   goal <= 0.75x")
print()
print("\"Equal To\" 1 x 1, every picture measured ({} pictures, {} hits):".format(f['equal_files'], f['equal_hits']))
print(f"  engine   min {n('equal_ms_min'):8.1f} ms  median {n('equal_ms_median'):8.1f} ms  cpu {n('equal_cpu_ms_median'):7.1f} ms")
print(f"  identify min {n('identify_ms_min'):8.1f} ms  median {n('identify_ms_median'):8.1f} ms  cpu {n('identify_cpu_ms_mean'):7.1f} ms")
print(f"  identify / engine: {n('identify_ms_min')/n('equal_ms_min'):.2f}x faster (min), {n('identify_ms_median')/n('equal_ms_median'):.2f}x (median)   goal >= 2x")
print()
ours = 200 / (n('thumbs_ms_min') / 1e3)
ours_med = 200 / (n('thumbs_ms_median') / 1e3)
vips = 200 / (n('vips_ms_min') / 1e3)
vips_med = 200 / (n('vips_ms_median') / 1e3)
print(f"thumbnails of 200 JPEGs of 4000 x 3000 ({f['thumbs_hits']} made):")
print(f"  engine          {ours:6.1f} pictures/s (best)  {ours_med:6.1f} (median)  cpu {n('thumbs_cpu_ms_median')/1e3:.2f} s")
print(f"  vipsthumbnail   {vips:6.1f} pictures/s (best)  {vips_med:6.1f} (median)  cpu {n('vips_cpu_ms_mean')/1e3:.2f} s  two processes")
print(f"  engine / vipsthumbnail: {ours/vips:.2f}x (best), {ours_med/vips_med:.2f}x (median), {n('vips_cpu_ms_mean')/n('thumbs_cpu_ms_median'):.2f}x (cpu per picture)   goal >= 1.2x")
print()
print(f"memory, {f['memory_hits']} hits listed in the window (search took {n('memory_search_ms')/1e3:.1f} s):")
print(f"  empty window {n('memory_empty_rss_kb')/1024:.1f} MB, listed {n('memory_listed_rss_kb')/1024:.1f} MB, peak {n('memory_peak_kb')/1024:.1f} MB")
print(f"  peak above the empty window: {n('memory_peak_above_empty_mb'):.1f} MB   goal < 64 MB")
PY
