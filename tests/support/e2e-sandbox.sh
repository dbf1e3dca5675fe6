# Sourced by the end-to-end scripts. e2e_sandbox <built program folder> <name of the copy>: the
# copy in a temporary folder with its own home; sets work, copy, settings and pids (processes
# ended at exit, before the folder goes). e2e_in_x <WxH> "$@": the script again on its own Xvfb.
e2e_in_x() {
    [ -n "${TAVORIN_E2E_INSIDE:-}" ] || TAVORIN_E2E_INSIDE=1 exec xvfb-run -a \
        -s "-screen 0 ${1}x24 -noreset" dbus-run-session -- bash "$0" "${@:2}"
}
# wait_for <seconds> <command...>: polls every 0.1 s until the command succeeds.
wait_for() {
    local end=$((SECONDS + $1))
    until "${@:2}" >/dev/null 2>&1; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}
# The main window: the program's visible window named Tavorin, larger than an icon, not the splash.
main_window() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Tavorin$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ "$WIDTH" -le 300 ] || xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q SPLASH || { echo "$w" && return 0; }
    done
    return 1
}
no_main_window() { ! main_window; }
e2e_cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait_for 5 eval "! kill -0 $pid" || kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
e2e_sandbox() {
    work=$(mktemp -d) pids=() copy="$work/$2" settings="$work/$2/Settings.INI"
    trap e2e_cleanup EXIT
    cp -r "$1" "$copy" && rm -f "$settings" "$copy/Tavorin.tl" "$copy/Temp.bmp"
    export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM
}
