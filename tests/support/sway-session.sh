# Sourced by end-to-end scripts: a headless sway (a Wayland session) of
# its own, for as long as the script runs.
#
#   sway_session_start [WIDTHxHEIGHT]   starts it (default 800x600) and waits
#                                       until it answers swaymsg
#   sway_run <command...>               runs a command as the session's user,
#                                       with the session's environment
#   sway_give <path...>                 hands files and folders to that user
#                                       (chown -R), so programs run through
#                                       sway_run can use them
#   sway_session_stop                   ends it (also done at exit)
#
# sway refuses to run as root: as root, the session runs as a throw-away
# unprivileged user (SWAY_SESSION_USER, default tavorin-session, created
# when missing); otherwise as the caller. Exported for clients:
# WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR (the session's own folder,
# mode 700, owned by that user), XDG_SESSION_TYPE=wayland, and
# SWAY_SESSION_USER / SWAY_SESSION_UID. DISPLAY is left alone; clients that
# must not see an X server unset it themselves.
# SWAY_SESSION_CONFIG: more lines for sway's configuration (e.g. "xwayland
# enable"); Xwayland is off unless asked for. sway's log: $sway_session_log.
# A session bus for the user, when needed: sway_run dbus-run-session -- ...

sway_session_pid=
sway_session_dir=
sway_session_log=

# _sway_as_user <command...>: the command as the session's user, keeping
# the environment.
_sway_as_user() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$SWAY_SESSION_UID" --regid="$SWAY_SESSION_GID" --init-groups "$@"
    else
        "$@"
    fi
}
_sway_user_prefix=()

sway_run() {
    _sway_as_user env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" WAYLAND_DISPLAY="$WAYLAND_DISPLAY" \
        SWAYSOCK="$SWAYSOCK" XDG_SESSION_TYPE=wayland "$@"
}

sway_give() {
    if [ "$(id -u)" -eq 0 ]; then
        chown -R "$SWAY_SESSION_UID:$SWAY_SESSION_GID" "$@"
    fi
}

_sway_session_user() {
    if [ "$(id -u)" -ne 0 ]; then
        SWAY_SESSION_USER=$(id -un)
    else
        SWAY_SESSION_USER=${SWAY_SESSION_USER:-tavorin-session}
        if ! id -u "$SWAY_SESSION_USER" >/dev/null 2>&1; then
            useradd --system --no-create-home --home-dir /nonexistent \
                --shell /usr/sbin/nologin "$SWAY_SESSION_USER" 2>/dev/null ||
                id -u "$SWAY_SESSION_USER" >/dev/null 2>&1 || return 1
        fi
    fi
    SWAY_SESSION_UID=$(id -u "$SWAY_SESSION_USER")
    SWAY_SESSION_GID=$(id -g "$SWAY_SESSION_USER")
    export SWAY_SESSION_USER SWAY_SESSION_UID SWAY_SESSION_GID
}

# Adds sway_session_stop to the EXIT trap the script already has.
_sway_chain_exit_trap() {
    local previous=
    eval "set -- $(trap -p EXIT)"
    [ $# -ge 3 ] && previous=$3
    # shellcheck disable=SC2064
    trap "sway_session_stop; $previous" EXIT
}

sway_session_start() {
    local size=${1:-800x600} tries socket
    _sway_session_user || {
        echo "sway-session: cannot create the user $SWAY_SESSION_USER" >&2
        return 1
    }
    sway_session_dir=$(mktemp -d /tmp/sway-session.XXXXXX) || return 1
    _sway_chain_exit_trap
    mkdir -m 700 "$sway_session_dir/run"
    sway_give "$sway_session_dir/run"
    printf '%s\n' "output * resolution $size position 0 0" "xwayland disable" \
        "default_border none" "${SWAY_SESSION_CONFIG:-}" >"$sway_session_dir/config"
    chmod 644 "$sway_session_dir/config"
    chmod 755 "$sway_session_dir"
    sway_session_log=$sway_session_dir/sway.log
    export XDG_RUNTIME_DIR=$sway_session_dir/run XDG_SESSION_TYPE=wayland
    unset WAYLAND_DISPLAY SWAYSOCK
    # In a session of its own (setsid, which here replaces itself without
    # forking): what sway signals on its way out never reaches this script.
    if [ "$(id -u)" -eq 0 ]; then
        _sway_user_prefix=(setpriv --reuid="$SWAY_SESSION_UID" --regid="$SWAY_SESSION_GID"
            --init-groups)
    fi
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 HOME="$XDG_RUNTIME_DIR" \
        setsid "${_sway_user_prefix[@]}" sway -c "$sway_session_dir/config" \
        >"$sway_session_log" 2>&1 &
    sway_session_pid=$!
    for ((tries = 0; tries < 200; tries++)); do
        kill -0 "$sway_session_pid" 2>/dev/null || break
        socket=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' -print -quit)
        if [ -n "$socket" ]; then
            export SWAYSOCK=$socket
            WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' \
                -printf '%f\n' | head -n 1)
            export WAYLAND_DISPLAY
            if [ -n "$WAYLAND_DISPLAY" ] && sway_run swaymsg -t get_version >/dev/null 2>&1; then
                return 0
            fi
        fi
        sleep 0.1
    done
    echo "sway-session: sway did not answer within 20 s; its log:" >&2
    cat "$sway_session_log" >&2
    return 1
}

sway_session_stop() {
    if [ -n "$sway_session_pid" ]; then
        kill "$sway_session_pid" 2>/dev/null && wait "$sway_session_pid" 2>/dev/null
        sway_session_pid=
    fi
    if [ -n "$sway_session_dir" ]; then
        rm -rf "$sway_session_dir"
        sway_session_dir=
    fi
    return 0
}
