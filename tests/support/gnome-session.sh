# Sourced by the end-to-end scripts: stock GNOME Shell (no notification
# area) as the window and compositing manager of the test's X server.
#   gnome_session_start [seconds]
# Needs DISPLAY and a private session bus (dbus-run-session). Starts a
# second private bus as the system bus (GNOME Shell wants one to exist,
# with nothing on it), then `gnome-shell --x11 --replace`; returns once
# org.gnome.Shell is on the session bus and the overview it opens with is
# closed (1 when it is not ready within the time, default 60 s). The
# started processes are added to pids (ended at exit by e2e-sandbox.sh,
# which is sourced first and gives wait_for).
# Sets gnome_shell (its process id).

# gnome_bus_has <name>: true when the name has an owner on the session bus.
gnome_bus_has() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}

# gnome_overview_active: true while the shell shows its overview.
gnome_overview_active() {
    gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive \
        2>/dev/null | grep -q true
}

gnome_system_bus_start() {
    local address_file
    address_file=$(mktemp)
    dbus-daemon --session --nofork --nopidfile --print-address=1 >"$address_file" &
    pids+=($!)
    wait_for 10 test -s "$address_file" || return 1
    DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$address_file")
    export DBUS_SYSTEM_BUS_ADDRESS
    rm -f "$address_file"
}

gnome_leave_overview() {
    local tries=25
    while gnome_overview_active; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        xdotool key Escape
        sleep 0.2
    done
}

# gnome_bus_environment: services the session bus starts on demand (dconf,
# xfconf...) get the caller's home and XDG folders, not the real ones.
gnome_bus_environment() {
    dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME \
        XDG_RUNTIME_DIR 2>/dev/null
}

gnome_session_start() {
    local tries=$((${1:-60} * 5))
    gnome_bus_environment || return 1
    gnome_system_bus_start || return 1
    gnome-shell --x11 --replace >"${GNOME_SHELL_LOG:-/dev/null}" 2>&1 &
    gnome_shell=$!
    pids+=("$gnome_shell")
    until gnome_bus_has org.gnome.Shell; do
        tries=$((tries - 1))
        if [ "$tries" -le 0 ] || ! kill -0 "$gnome_shell" 2>/dev/null; then
            echo "gnome-session: GNOME Shell did not come up" >&2
            return 1
        fi
        sleep 0.2
    done
    gnome_leave_overview
}
