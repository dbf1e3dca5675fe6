# Sourced by the end-to-end scripts: a copy of the built program folder in
# a temporary folder, with its own home, configuration and runtime folders.
#   e2e_sandbox <built program folder> <name of the copy>
# Sets work, copy, settings and pids (processes to end at exit).
# Also gives wait_for, and main_window for the program's main window.

# wait_for <seconds> <command...>: polls every 0.1 s until the command succeeds.
wait_for() {
    local tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# The main window: the program's visible window named Tavorin that is
# larger than an icon.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -le 300 ] || { echo "$w" && return 0; }
    done
    return 1
}
no_main_window() { ! main_window; }

# The started programs end before the sandbox goes: they write into it.
e2e_cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait_for 5 eval "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}

e2e_sandbox() {
    work=$(mktemp -d)
    pids=()
    trap e2e_cleanup EXIT
    copy="$work/$2"
    cp -r "$1" "$copy"
    rm -f "$copy/Settings.INI" "$copy/Tavorin.tl" "$copy/Temp.bmp"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
    export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM
    settings="$copy/Settings.INI"
}
