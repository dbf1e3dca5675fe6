# Sourced by end-to-end scripts: a headless sway session of their own (as a throw-away user
# SWAY_SESSION_USER when root). sway_session_start [WxH]; sway_run <command...> in it; sway_give
# <path...> to its user; sway_session_stop (also at exit); log in $sway_session_log. Exports
# WAYLAND_DISPLAY, SWAYSOCK, XDG_SESSION_TYPE, XDG_RUNTIME_DIR; SWAY_SESSION_CONFIG: more lines.
sway_session_pid= sway_session_dir= sway_session_log= _sway_as=()
sway_run() {
    "${_sway_as[@]}" env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
        SWAYSOCK="$SWAYSOCK" XDG_SESSION_TYPE=wayland "$@"
}
sway_give() { [ ${#_sway_as[@]} -eq 0 ] || chown -R "$SWAY_SESSION_UID:$SWAY_SESSION_GID" "$@"; }
_sway_user() {
    SWAY_SESSION_USER=${SWAY_SESSION_USER:-tavorin-session}
    id -u "$SWAY_SESSION_USER" >/dev/null 2>&1 || useradd --system --no-create-home \
        --home-dir /nonexistent --shell /usr/sbin/nologin "$SWAY_SESSION_USER" 2>/dev/null ||
        id -u "$SWAY_SESSION_USER" >/dev/null 2>&1 || return 1
    SWAY_SESSION_UID=$(id -u "$SWAY_SESSION_USER") SWAY_SESSION_GID=$(id -g "$SWAY_SESSION_USER")
    export SWAY_SESSION_USER SWAY_SESSION_UID SWAY_SESSION_GID
    _sway_as=(setpriv --reuid="$SWAY_SESSION_UID" --regid="$SWAY_SESSION_GID" --init-groups)
}
_sway_answers() {
    SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' -print -quit)
    WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f')
    [ -n "$SWAYSOCK" ] && [ -n "$WAYLAND_DISPLAY" ] && sway_run swaymsg -t get_version
}
sway_session_start() {
    if [ "$(id -u)" -eq 0 ] && ! _sway_user; then
        echo "sway-session: cannot create the user $SWAY_SESSION_USER" >&2 && return 1
    fi
    sway_session_dir=$(mktemp -d /tmp/sway-session.XXXXXX) || return 1
    eval "set -- ${1:-800x600} $(trap -p EXIT)" # sway_session_stop joins the EXIT trap
    trap "sway_session_stop; ${4:-}" EXIT
    mkdir -m 700 "$sway_session_dir/run" && sway_give "$sway_session_dir/run"
    printf '%s\n' "output * resolution $1 position 0 0" "xwayland disable" "default_border none" \
        "${SWAY_SESSION_CONFIG:-}" >"$sway_session_dir/config"
    chmod 755 "$sway_session_dir" && chmod 644 "$sway_session_dir/config"
    sway_session_log=$sway_session_dir/sway.log
    export XDG_RUNTIME_DIR=$sway_session_dir/run XDG_SESSION_TYPE=wayland
    # In a session of its own: what sway signals on its way out never reaches this script.
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 HOME="$XDG_RUNTIME_DIR" \
        setsid "${_sway_as[@]}" sway -c "$sway_session_dir/config" >"$sway_session_log" 2>&1 &
    sway_session_pid=$!
    wait_for 20 _sway_answers && export SWAYSOCK WAYLAND_DISPLAY && return 0
    echo "sway-session: sway did not answer within 20 s; its log:" >&2 && cat "$sway_session_log" >&2
    return 1
}
sway_session_stop() {
    [ -z "$sway_session_pid" ] || { kill "$sway_session_pid" && wait "$sway_session_pid"; } 2>/dev/null || true
    [ -z "$sway_session_dir" ] || rm -rf "$sway_session_dir"
    sway_session_pid= sway_session_dir=
}
