# Sourced after e2e-sandbox.sh, on a private session bus. gnome_session_start [seconds]: GNOME
# Shell with a second private bus as its system bus, once it is on the bus with its overview
# closed (sets gnome_shell; output to $GNOME_SHELL_LOG). gnome_bus_environment: services the bus
# starts get the sandbox's folders. gnome_bus_has <name>: the name has an owner on the bus.
gnome_bus_has() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" 2>/dev/null | grep -q true
}
gnome_bus_environment() {
    dbus-update-activation-environment HOME XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME \
        XDG_RUNTIME_DIR 2>/dev/null
}
# True once the overview the shell opens with is closed (Escape closes it).
_gnome_overview_left() {
    ! gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method \
        org.freedesktop.DBus.Properties.Get org.gnome.Shell OverviewActive 2>/dev/null |
        grep -q true || { xdotool key Escape && sleep 0.2 && return 1; }
}
gnome_session_start() {
    gnome_bus_environment || return 1
    dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/system-bus" &
    pids+=($!)
    wait_for 10 test -s "$work/system-bus" || return 1
    DBUS_SYSTEM_BUS_ADDRESS=$(head -n 1 "$work/system-bus") && export DBUS_SYSTEM_BUS_ADDRESS
    gnome-shell --x11 --replace >"${GNOME_SHELL_LOG:-/dev/null}" 2>&1 &
    gnome_shell=$!
    pids+=("$gnome_shell")
    wait_for "${1:-60}" gnome_bus_has org.gnome.Shell && wait_for 5 _gnome_overview_left && return 0
    echo "gnome-session: GNOME Shell did not come up" >&2 && return 1
}
