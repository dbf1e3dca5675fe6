# Sourced by the end-to-end scripts: a copy of the built program folder in
# a temporary folder, with its own home, configuration and runtime folders.
#   e2e_sandbox <built program folder> <name of the copy>
# Sets work, copy, settings and pids (processes to end at exit).

e2e_cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
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
