#!/usr/bin/env bash
# Start-up and background-memory benchmark of Tavorin.
#
# Runs the built program (build/Tavorin/Tavorin) from a copy of its program
# folder holding a user's settings (no splash, tray icon on, mode
# "Frequently" every 30 min) and a 1000-picture automatic list, on a
# private X server, and compares it with a Qt Widgets program that only
# shows an empty window of the same size:
#   - time from process start to the main window mapped (median of N runs),
#     and the processor time used until then
#   - the same for the empty window with one line of text: the yardstick
#     the goals are measured against (start-up at most 1.1x, background
#     memory at most 1.2x), since every program with text pays for fonts
#   - resident memory (VmRSS) once Tavorin has gone to the background
#     (its close box, which hides it) against the empty window's
#   - time to start with a 32700-picture automatic list
#   - time to read a 32700-picture list file and fill the list boxes
#     (the list boxes are the main window's kind, measured on their own)
#
# usage: bench/startup/run.sh [-n RUNS] [-b BUILD_DIR] [--no-build] [--keep]
#   RUNS       runs of each program (default 10)
#   BUILD_DIR  the build folder (default: build/ at the top of the tree)
#   --no-build use the build as it is
#   --keep     keep the work folder (program folder copy, logs)
# Needs: Xvfb; dbus-run-session (optional, a private session bus); trayer
# (optional, a tray for the tray icon). Set STARTBENCH_TRAY=0 to run without
# a tray, STARTBENCH_SETTLE to change the seconds waited before each memory
# reading (default 1), STARTBENCH_QUIET the seconds between one program's
# end and the next start (default 0.5), STARTBENCH_BIG_RUNS the runs with
# the 32700-picture list (default 3).
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$SCRIPT_DIR/../.." && pwd)
RUNS=10
BUILD_DIR=$ROOT/build
BUILD=1
KEEP=0
SETTLE=${STARTBENCH_SETTLE:-1}
START_TIMEOUT=30

while [ $# -gt 0 ]; do
    case $1 in
    -n) RUNS=${2:-}; shift $(($# > 1 ? 2 : 1)) ;;
    -b)
        [ $# -gt 1 ] || { echo "run.sh: -b needs a folder" >&2; exit 64; }
        BUILD_DIR=$(cd "$2" 2>/dev/null && pwd || echo "$2")
        shift 2
        ;;
    --no-build) BUILD=0; shift ;;
    --keep) KEEP=1; shift ;;
    -h | --help) awk 'NR > 1 && /^#/ {sub(/^# ?/, ""); print; next} NR > 1 {exit}' "$0"; exit 0 ;;
    *) echo "run.sh: unknown argument: $1" >&2; exit 64 ;;
    esac
done
case $RUNS in '' | *[!0-9]* | 0) echo "run.sh: RUNS must be a positive number" >&2; exit 64 ;; esac
source "$ROOT/scripts/common.sh"
tavorin_install_packages runtime build bench

# Everything below runs on a private session bus when one can be had: the
# program and the empty window then talk to that bus only.
if [ -z "${STARTBENCH_IN_SESSION:-}" ] && command -v dbus-run-session >/dev/null; then
    export STARTBENCH_IN_SESSION=1
    args=(-n "$RUNS" -b "$BUILD_DIR")
    [ "$BUILD" = 0 ] && args+=(--no-build)
    [ "$KEEP" = 1 ] && args+=(--keep)
    exec dbus-run-session -- bash "$0" "${args[@]}"
fi

say() { printf '%s\n' "$*" >&2; }
die() { say "run.sh: $*"; exit 1; }

command -v Xvfb >/dev/null || die "Xvfb is needed (Debian package xvfb)"

# ---------------------------------------------------------------- build

BENCH_BIN=$BUILD_DIR/bench/startup
if [ "$BUILD" = 1 ]; then
    # scripts/run makes a build folder without benchmarks: turn them on.
    tavorin_configure "$BUILD_DIR" -DTAVORIN_BENCH=ON >&2
    targets=(Tavorin empty-qt-window startbench-xwait startbench-tool)
    # The delivered data (icons, skins) belongs in the program folder too.
    if cmake --build "$BUILD_DIR" --target help 2>/dev/null | grep -q '^tavorin_data:'; then
        targets+=(tavorin_data)
    fi
    cmake --build "$BUILD_DIR" -j "${STARTBENCH_JOBS:-2}" --target "${targets[@]}" >&2
fi
PROGRAM_DIR=$BUILD_DIR/Tavorin
for f in "$PROGRAM_DIR/Tavorin" "$BENCH_BIN/empty-qt-window" "$BENCH_BIN/startbench-xwait" \
    "$BENCH_BIN/startbench-tool"; do
    [ -x "$f" ] || die "not built: $f"
done
XWAIT=$BENCH_BIN/startbench-xwait
TOOL=$BENCH_BIN/startbench-tool

# ------------------------------------------------------------ clean-up

WORK=$(mktemp -d "${TMPDIR:-/tmp}/startbench.XXXXXX")
XVFB_PID=
TRAY_PID=
RUNTIME_DIR=
LAUNCH_PID=

stop_pid() { # pid: TERM, then KILL after 3 s
    local pid=$1 i
    [ -n "$pid" ] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 30); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

cleanup() {
    stop_pid "$LAUNCH_PID"
    stop_pid "$TRAY_PID"
    stop_pid "$XVFB_PID"
    wait 2>/dev/null || true
    [ -n "$RUNTIME_DIR" ] && rm -rf "$RUNTIME_DIR"
    if [ "$KEEP" = 1 ]; then
        say "work folder kept: $WORK"
    else
        rm -rf "$WORK"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ------------------------------------------------------------ environment

export HOME=$WORK/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_CACHE_HOME=$HOME/.cache
# A desktop session's runtime folder lives in memory (/run/user/UID), and
# the program keeps its one-copy lock there: the same here when /dev/shm
# can be had, so that the lock costs what it costs at a log-on.
if [ -d /dev/shm ] && [ -w /dev/shm ] && RUNTIME_DIR=$(mktemp -d /dev/shm/startbench-runtime.XXXXXX); then
    export XDG_RUNTIME_DIR=$RUNTIME_DIR
else
    export XDG_RUNTIME_DIR=$WORK/runtime
fi
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# No desktop: nothing may touch a real desktop's wallpaper.
unset XDG_CURRENT_DESKTOP XDG_SESSION_DESKTOP DESKTOP_SESSION SWAYSOCK WAYLAND_DISPLAY \
    XDG_SESSION_TYPE KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID QT_QPA_PLATFORMTHEME \
    QT_STYLE_OVERRIDE SESSION_MANAGER
export QT_QPA_PLATFORM=xcb

# ------------------------------------------------------- program folder

say "Preparing the program folder in $WORK ..."
mkdir -p "$WORK/template"
cp -a "$PROGRAM_DIR/." "$WORK/template/"
rm -f "$WORK/template/Settings.INI" "$WORK/template/Tavorin.tl" "$WORK/template/Temp.bmp"
"$TOOL" folder "$WORK/template" "$WORK/Pictures" 1000 >/dev/null
mkdir -p "$WORK/program" "$WORK/template-big"
cp -a "$WORK/template/." "$WORK/program/"
# The same user with a list at the load limit.
"$TOOL" folder "$WORK/template-big" "$WORK/Pictures" 32700 >/dev/null

# The files the program writes come back as generated before every run
# (from template/, or from the template named by $1).
reset_program_folder() {
    local from=$WORK/${1:-template}
    rm -f "$WORK/program/"Settings.INI* "$WORK/program/"Tavorin.tl* "$WORK/program/Temp.bmp"
    cp "$from/Settings.INI" "$from/Tavorin.tl" "$WORK/program/"
}

say "Starting Xvfb ..."
Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp \
    3>"$WORK/displayfd" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
for i in $(seq 100); do
    [ -s "$WORK/displayfd" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || die "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    sleep 0.1
done
[ -s "$WORK/displayfd" ] || die "Xvfb gave no display within 10 s"
export DISPLAY=:$(head -n1 "$WORK/displayfd")

TRAY=none
if [ "${STARTBENCH_TRAY:-1}" != 0 ] && command -v trayer >/dev/null; then
    trayer --edge top --align right --height 32 --widthtype pixel --width 200 \
        >"$WORK/trayer.log" 2>&1 &
    TRAY_PID=$!
    TRAY=trayer
    sleep 0.5
fi

# ------------------------------------------------------------ measuring

# launch NAME PROGRAM [ARGS...]: starts the program under startbench-xwait and waits
# for its window. Sets LAUNCH_PID (the helper), APP_PID, APP_WINDOW, APP_MS
# and APP_CPU (processor time used until then).
launch() {
    local name=$1 program=$2 out=$WORK/launch.out line i
    shift 2
    : >"$out"
    "$XWAIT" launch "$name" "$START_TIMEOUT" "$program" "$@" >"$out" 2>>"$WORK/launch.err" &
    LAUNCH_PID=$!
    for i in $(seq $((START_TIMEOUT * 20 + 40))); do
        line=$(head -n1 "$out")
        [ -n "$line" ] && break
        kill -0 "$LAUNCH_PID" 2>/dev/null || break
        sleep 0.05
    done
    line=$(head -n1 "$out")
    if [ -z "$line" ]; then
        wait "$LAUNCH_PID" 2>/dev/null || true
        LAUNCH_PID=
        die "$program showed no window \"$name\": $(tail -n3 "$WORK/launch.err")"
    fi
    APP_PID=$(sed -n 's/.*pid=\([0-9]*\).*/\1/p' <<<"$line")
    APP_WINDOW=$(sed -n 's/.*window=\(0x[0-9a-f]*\).*/\1/p' <<<"$line")
    APP_MS=$(sed -n 's/.* ms=\([0-9.]*\).*/\1/p' <<<"$line")
    APP_CPU=$(sed -n 's/.*cpu_ms=\([0-9.]*\).*/\1/p' <<<"$line")
}

# Ends the launched program and its helper.
# The X server and the machine settle before the next start: a program
# that has just ended leaves the server work (its windows, its tray icon)
# that would otherwise land on whichever program starts next.
finish() {
    stop_pid "$APP_PID"
    wait "$LAUNCH_PID" 2>/dev/null || true
    LAUNCH_PID=
    sleep "${STARTBENCH_QUIET:-0.5}"
}

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
# The process's own memory: anonymous pages (heap, stacks, private data),
# not the shared libraries' pages that other programs share.
anon_kb() { awk '/^Anonymous:/ {print $2}' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }

EMPTY_MS=() EMPTY_CPU=() EMPTY_RSS=() EMPTY_ANON=()
TEXT_MS=() TEXT_CPU=() TEXT_RSS=()
TAV_MS=() TAV_CPU=() TAV_RSS_SHOWN=() TAV_RSS_BG=() TAV_ANON_BG=() TAV_STATE=()

run_empty() {
    launch empty-qt-window "$BENCH_BIN/empty-qt-window"
    sleep "$SETTLE"
    EMPTY_MS+=("$APP_MS")
    EMPTY_CPU+=("$APP_CPU")
    EMPTY_RSS+=("$(rss_kb "$APP_PID")")
    EMPTY_ANON+=("$(anon_kb "$APP_PID")")
    finish
}

# The same window with one line of text: what fonts and text cost alone.
run_text() {
    launch empty-qt-window-text "$BENCH_BIN/empty-qt-window" --text
    sleep "$SETTLE"
    TEXT_MS+=("$APP_MS")
    TEXT_CPU+=("$APP_CPU")
    TEXT_RSS+=("$(rss_kb "$APP_PID")")
    finish
}

run_tavorin() {
    local state
    reset_program_folder
    launch Tavorin "$WORK/program/Tavorin"
    sleep "$SETTLE"
    TAV_MS+=("$APP_MS")
    TAV_CPU+=("$APP_CPU")
    TAV_RSS_SHOWN+=("$(rss_kb "$APP_PID")")
    # The close box sends the program to the background.
    state=$("$XWAIT" hide "$APP_WINDOW" 5 2>>"$WORK/launch.err" || true)
    sleep "$SETTLE"
    kill -0 "$APP_PID" 2>/dev/null || die "Tavorin ended when sent to the background"
    TAV_STATE+=("${state%% *}")
    TAV_RSS_BG+=("$(rss_kb "$APP_PID")")
    TAV_ANON_BG+=("$(anon_kb "$APP_PID")")
    finish
}

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {if (NR%2) print a[(NR+1)/2]; else printf "%.1f\n", (a[NR/2]+a[NR/2+1])/2}'; }
minimum() { printf '%s\n' "$@" | sort -g | head -n1; }
maximum() { printf '%s\n' "$@" | sort -g | tail -n1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "n/a"}'; }
verdict() { awk -v r="$1" -v g="$2" 'BEGIN {print (r != "n/a" && r <= g) ? "met" : "NOT met"}'; }
mb() { awk -v k="$1" 'BEGIN {printf "%.1f MB", k / 1024}'; }
# One row of the report table.
row() { printf '| %-40s | %15s | %14s | %14s | %5s | %-6s | %-7s |' "$@"; }

say "Warming up ..."
run_empty
run_tavorin
EMPTY_MS=() EMPTY_CPU=() EMPTY_RSS=() EMPTY_ANON=()
TEXT_MS=() TEXT_CPU=() TEXT_RSS=()
TAV_MS=() TAV_CPU=() TAV_RSS_SHOWN=() TAV_RSS_BG=() TAV_ANON_BG=() TAV_STATE=()

for run in $(seq "$RUNS"); do
    say "Run $run of $RUNS ..."
    run_empty
    run_text
    run_tavorin
done

BIG_RUNS=${STARTBENCH_BIG_RUNS:-3}
BIG_MS=() BIG_CPU=()
for run in $(seq "$BIG_RUNS"); do
    say "Start with a 32700-picture list, run $run of $BIG_RUNS ..."
    reset_program_folder template-big
    launch Tavorin "$WORK/program/Tavorin"
    BIG_MS+=("$APP_MS")
    BIG_CPU+=("$APP_CPU")
    finish
done

say "Timing a 32700-picture list file ..."
LIST_LINE=$("$TOOL" listload 32700 5 2>/dev/null)
LIST_READ=$(sed -n 's/.*read_ms=\([0-9.]*\).*/\1/p' <<<"$LIST_LINE")
LIST_FILL=$(sed -n 's/.* fill_ms=\([0-9.]*\).*/\1/p' <<<"$LIST_LINE")
LIST_TOTAL=$(sed -n 's/.*total_ms=\([0-9.]*\).*/\1/p' <<<"$LIST_LINE")
LIST_UNIFORM=$(sed -n 's/.*uniform_fill_ms=\([0-9.]*\).*/\1/p' <<<"$LIST_LINE")

# ------------------------------------------------------------ report

E_MS=$(median "${EMPTY_MS[@]}")
T_MS=$(median "${TAV_MS[@]}")
X_MS=$(median "${TEXT_MS[@]}")
X_CPU=$(median "${TEXT_CPU[@]}")
X_RSS=$(median "${TEXT_RSS[@]}")
E_CPU=$(median "${EMPTY_CPU[@]}")
T_CPU=$(median "${TAV_CPU[@]}")
E_RSS=$(median "${EMPTY_RSS[@]}")
E_ANON=$(median "${EMPTY_ANON[@]}")
T_RSS_SHOWN=$(median "${TAV_RSS_SHOWN[@]}")
T_RSS_BG=$(median "${TAV_RSS_BG[@]}")
T_ANON_BG=$(median "${TAV_ANON_BG[@]}")
START_RATIO=$(ratio "$T_MS" "$X_MS")
RSS_RATIO=$(ratio "$T_RSS_BG" "$X_RSS")
HIDDEN=$(printf '%s\n' "${TAV_STATE[@]}" | grep -c '^hidden$' || true)
LIST_VERDICT=$(awk -v t="$LIST_TOTAL" 'BEGIN {print (t != "" && t < 1000) ? "met" : "NOT met"}')

cat <<EOF

Tavorin start-up and background memory ($RUNS runs each, medians; X: Xvfb $DISPLAY, tray: $TRAY)
Program: $PROGRAM_DIR/Tavorin, 1000-picture automatic list, mode "Frequently"

Goals against the window with one line of text; the empty window for reference.

| Measure                                  | empty Qt window | window w/ text | Tavorin        | ratio | goal   | result  |
|------------------------------------------|-----------------|----------------|----------------|-------|--------|---------|
$(row "start to window mapped (median)" "$E_MS ms" "$X_MS ms" "$T_MS ms" "$START_RATIO" "<=1.1x" "$(verdict "$START_RATIO" 1.1)")
$(row "  fastest / slowest run" "$(minimum "${EMPTY_MS[@]}")/$(maximum "${EMPTY_MS[@]}") ms" "$(minimum "${TEXT_MS[@]}")/$(maximum "${TEXT_MS[@]}") ms" "$(minimum "${TAV_MS[@]}")/$(maximum "${TAV_MS[@]}") ms" "" "" "")
$(row "  processor time until mapped (median)" "$E_CPU ms" "$X_CPU ms" "$T_CPU ms" "$(ratio "$T_CPU" "$X_CPU")" "" "")
$(row "resident memory, window shown" "$(mb "$E_RSS")" "$(mb "$X_RSS")" "$(mb "$T_RSS_SHOWN")" "$(ratio "$T_RSS_SHOWN" "$X_RSS")" "" "")
$(row "resident memory, Tavorin in background" "$(mb "$E_RSS")" "$(mb "$X_RSS")" "$(mb "$T_RSS_BG")" "$RSS_RATIO" "<=1.2x" "$(verdict "$RSS_RATIO" 1.2)")
$(row "  own (anonymous) memory, in background" "$(mb "$E_ANON")" "" "$(mb "$T_ANON_BG")" "$(ratio "$T_ANON_BG" "$E_ANON")" "" "")
$(row "start with a 32700-picture list ($BIG_RUNS runs)" "" "" "$(median "${BIG_MS[@]}") ms" "" "" "")
$(row "  processor time until mapped" "" "" "$(median "${BIG_CPU[@]}") ms" "" "" "")
$(row "32700-picture list: read + fill lists" "" "" "$LIST_TOTAL ms" "" "<1 s" "$LIST_VERDICT")
$(row "  read (ReadSavedList) / fill, laid out" "" "" "$LIST_READ/$LIST_FILL ms" "" "" "")
$(row "  fill with rows of one height" "" "" "$LIST_UNIFORM ms" "" "" "")

The text window against the empty one: start $(ratio "$X_MS" "$E_MS")x, resident $(ratio "$X_RSS" "$E_RSS")x;
the own-memory ratio is Tavorin's against the empty window.

Window unmapped after its close box in $HIDDEN of $RUNS runs$([ "$HIDDEN" = "$RUNS" ] || echo " (a program that does not hide stays mapped: its memory is read all the same)").
Start-up runs (ms): empty ${EMPTY_MS[*]}; with text ${TEXT_MS[*]}; Tavorin ${TAV_MS[*]}
Load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores (a busy machine stretches the times; the processor time row is steadier).
EOF
