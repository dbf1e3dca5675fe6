#!/bin/sh
# Skin loading: scaled decode, full decode, refused huge header.
# Usage: bench/skins/run.sh BUILD_DIR
set -eu
bench="${1:-build}/bench/skins/bench_skins"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
"$bench" make "$work/big.jpg" 6000 4000
"$bench" makehuge "$work/huge.jpg"
for i in 1 2 3; do
  "$bench" scaled "$work/big.jpg"
  "$bench" full "$work/big.jpg"
  "$bench" scaled "$work/huge.jpg"
done
