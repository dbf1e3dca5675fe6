# Shared by scripts/run and scripts/test: install what is missing, build.
# Sourced, not run.

TAVORIN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TAVORIN_JOBS=${TAVORIN_JOBS:-$(nproc 2>/dev/null || echo 2)}
# Let ccache share results between clones of the project in other folders.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$TAVORIN_ROOT}
export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

# The packages named in the lists scripts/packages/<list>.txt (one a line,
# # comments): runtime, build, tests, bench; a list name may be a pattern
# (tests-* for the lists of the desktops the tests start).
tavorin_wanted_packages() {
    local list file files=()
    for list in "$@"; do
        for file in "$TAVORIN_ROOT"/scripts/packages/$list.txt; do
            [ -f "$file" ] && files+=("$file")
        done
    done
    sed -e 's/#.*//' -e 's/[[:space:]]//g' "${files[@]}" | grep -v '^$' | sort -u
}

tavorin_missing_packages() {
    local pkg
    for pkg in $(tavorin_wanted_packages "$@"); do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$pkg"
        fi
    done
}

# tavorin_install_packages <list...>
tavorin_install_packages() {
    local missing sudo=()
    missing=$(tavorin_missing_packages "$@")
    if [ -z "$missing" ]; then
        return 0
    fi
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages and no sudo to install them:" $missing >&2
            return 1
        fi
        sudo=(sudo)
    fi
    echo "Installing:" $missing
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    # shellcheck disable=SC2086
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y --no-install-recommends $missing
}

# tavorin_configure <build folder> [cmake options...]
tavorin_configure() {
    local dir=$1
    shift
    cmake -S "$TAVORIN_ROOT" -B "$dir" -G Ninja "$@"
}

# tavorin_build_program <build folder> [targets...]: configure, build the
# program folder (and the targets named) only. A new build folder is a
# Release build (as scripts/test's, which can then reuse it) without the
# tests and the benchmarks (they need packages of their own); one that
# scripts/test made keeps its choices.
tavorin_build_program() {
    local dir=$1 options=()
    shift
    [ -f "$dir/CMakeCache.txt" ] ||
        options=(-DCMAKE_BUILD_TYPE=Release -DTAVORIN_TESTS=OFF -DTAVORIN_BENCH=OFF)
    tavorin_configure "$dir" "${options[@]}"
    cmake --build "$dir" -j "$TAVORIN_JOBS" --target tavorin_program "$@"
}

# tavorin_build <build folder> [cmake options...]: configure, build everything.
tavorin_build() {
    tavorin_configure "$@"
    cmake --build "$1" -j "$TAVORIN_JOBS"
}

# tavorin_test_targets <build folder> [ctest selection...]: the build targets
# of the test programs the selected tests run: a test's command, or the
# wrapper's argument, that names a target's file in the build folder. Before
# the build ctest knows no command for a test that runs its program
# directly: such a test is named after its program (tavorin_test).
tavorin_test_targets() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --show-only=json-v1 "$@" | python3 -c '
import json, os, sys
build = os.path.realpath(sys.argv[1])
names = set()
for test in json.load(sys.stdin).get("tests", []):
    if not test.get("command"):
        names.add(test["name"])
    for arg in test.get("command") or []:
        path = os.path.realpath(arg)
        if path.startswith(build + "/") and os.path.basename(path).startswith("tst_"):
            names.add(os.path.basename(path))
print("\n".join(sorted(names)))' "$dir"
}
