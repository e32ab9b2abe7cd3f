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

# The one Wine server binary the scripts drive: a 64-bit wineserver serves 32-bit and 64-bit
# clients alike.
popupmenu_wineserver=/usr/lib/wine/wineserver64

# popupmenu_start_wineserver <prefix> [<loader>]: a Wine server for the prefix that stays up until
# popupmenu_stop_wineserver, started before any Wine program of the prefix runs.
# A server that a Wine program starts on demand has no persistence (it runs as "wineserver -p0",
# measured): it begins to shut down, closing its socket, as soon as its last client exits, and a
# client connecting at that moment is dropped ("wine client error:0: recvmsg: Connection reset
# by peer") and fails at once. A persistent server never exits on its own, so no client can meet
# one that is going. A server the prefix already has (a lingering one, or one left behind) is
# ended first: its exit could come at any moment. With a loader, wineboot then starts the
# prefix's own processes, so that the first real program does not wait for them.
popupmenu_start_wineserver() {
    local prefix loader=${2:-}
    prefix=$(readlink -f "$1")  # Wine takes absolute prefixes only
    [ -f "$prefix/system.reg" ] || { echo "no Wine prefix at $prefix" >&2; return 1; }
    popupmenu_stop_wineserver "$prefix"
    # Its output must not hold a caller's pipe (CTest's, a log's) open for the server's lifetime.
    WINEPREFIX="$prefix" "$popupmenu_wineserver" -p </dev/null >/dev/null 2>&1 ||
        { echo "the Wine server for $prefix could not be started" >&2; return 1; }
    if [ -n "$loader" ]; then
        WINEPREFIX="$prefix" WINEDEBUG=-all timeout 120 "$loader" wineboot </dev/null >/dev/null 2>&1 ||
            echo "wineboot did not finish cleanly in $prefix" >&2
    fi
    return 0
}

# popupmenu_has_persistent_server <prefix>: succeeds when a persistent Wine server ("wineserver -p",
# as popupmenu_start_wineserver and the test runs start theirs) serves the prefix. A server works in
# the folder "server-<device>-<inode>" of its prefix's directory (measured: a fresh one still in the
# prefix itself); one that a program started on demand runs as "-p0" and ends on its own.
popupmenu_has_persistent_server() {
    local prefix device inode pid cwd args
    prefix=$(readlink -f "$1")
    read -r device inode < <(stat -c '%D %i' "$prefix") || return 1
    for pid in $(pgrep -f "^$popupmenu_wineserver( |$)"); do
        cwd=$(readlink "/proc/$pid/cwd" 2>/dev/null) || continue
        [ "$cwd" = "$prefix" ] || [ "$(basename "$cwd")" = "server-$device-$(printf %x "$inode")" ] || continue
        args=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || continue
        [[ " $args " == *" -p "* ]] && return 0
    done
    return 1
}

# popupmenu_stop_wineserver <prefix>: ends the prefix's Wine server and its programs, and returns
# once the server has gone.
popupmenu_stop_wineserver() {
    local prefix
    prefix=$(readlink -f "$1")
    # -k fails when the prefix has no server: nothing to end then.
    WINEPREFIX="$prefix" "$popupmenu_wineserver" -k </dev/null >/dev/null 2>&1 || true
    WINEPREFIX="$prefix" "$popupmenu_wineserver" -w </dev/null >/dev/null 2>&1 || true
}

# popupmenu_loader_for <PE file>: the Wine loader for a Windows program or DLL, by the machine
# field of its PE header: wine64 for x86_64 (PE32+), wine for i686 (PE32).
popupmenu_loader_for() {
    local pe machine
    pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
    if [ "$machine" = "8664" ]; then echo /usr/lib/wine/wine64; else echo /usr/lib/wine/wine; fi
}

# popupmenu_start_display <first> <last>: an Xvfb on the first free display number of the range.
# Exports DISPLAY and leaves the server's PID in popupmenu_display_pid; fails when no number is free.
# A number is ours once its lock file names our server and the server answers on it. The lock is
# what keeps two servers apart: Xvfb takes it atomically and a second server on a taken number
# exits, and the next number is tried. (With -displayfd, Xvfb takes no lock at all, measured: two
# tests starting at the same moment then both got one number, and whichever server ended first
# took the other test's clients with it.)
popupmenu_start_display() {
    local first=$1 last=$2 n pid owner
    for n in $(seq "$first" "$last"); do
        { [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; } && continue
        Xvfb ":$n" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
        pid=$!
        # Decided when the server answers on the number it owns, or has exited.
        for _ in $(seq 1 200); do
            kill -0 "$pid" 2>/dev/null || break
            owner=$( { tr -d ' \n' <"/tmp/.X$n-lock"; } 2>/dev/null) || owner=
            if [ "$owner" = "$pid" ] && DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
                popupmenu_display_pid=$pid
                export DISPLAY=":$n"
                return 0
            fi
            sleep 0.05
        done
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    return 1
}
