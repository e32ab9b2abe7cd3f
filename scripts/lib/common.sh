# shellcheck shell=bash
# What the project's scripts share (sourced, bash): private Wine prefixes and private X displays.

# popupmenu_make_prefix <dir> <arch> <loader>: a private Wine prefix under the build folder,
# never the user's ~/.wine; created once, left as it is after that.
popupmenu_make_prefix() {
    local prefix=$1 arch=$2 loader=$3
    [ -f "$prefix/system.reg" ] && return 0
    echo "setup: creating the $arch Wine prefix $prefix"
    mkdir -p "$(dirname "$prefix")"
    WINEARCH=$arch WINEPREFIX="$prefix" WINEDEBUG=-all "$loader" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver64 -w 2>/dev/null || true
    [ -f "$prefix/system.reg" ] || { echo "setup: the Wine prefix $prefix could not be created" >&2; return 1; }
}

# popupmenu_start_display <first> <last>: an Xvfb on the first free display number of the range.
# Exports DISPLAY and leaves the server's PID in popupmenu_display_pid; fails when no number is free.
# -displayfd writes the number once the server listens: a server that lost the race for a number
# to another one starting at the same moment exits instead, and the next number is tried.
popupmenu_start_display() {
    local first=$1 last=$2 n pid ready
    ready=$(mktemp)
    for n in $(seq "$first" "$last"); do
        { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
        : >"$ready"
        Xvfb ":$n" -screen 0 1024x768x24 -noreset -nolisten tcp -displayfd 3 3>"$ready" >/dev/null 2>&1 &
        pid=$!
        # Decided when the server listens or has exited.
        for _ in $(seq 1 100); do
            { [ -s "$ready" ] || ! kill -0 "$pid" 2>/dev/null; } && break
            sleep 0.1
        done
        if [ -s "$ready" ]; then
            rm -f "$ready"
            popupmenu_display_pid=$pid
            export DISPLAY=":$n"
            return 0
        fi
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -f "$ready"
    return 1
}
