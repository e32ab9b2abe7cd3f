# shellcheck shell=bash
# Shared by the end-to-end tests and scripts/demo (sourced, bash): a private Xvfb display, a private
# copy of a Wine prefix with PopUpMenu registered in it, hosts started in the background,
# waits that poll with a time limit, screenshots. The loader is wine64 unless e2e_use_loader_of
# picks the 32-bit one for a 32-bit DLL. Everything started is recorded and killed by
# e2e_cleanup, which e2e_begin installs as the EXIT trap.
#
# Environment:
#   POPUPMENU_E2E_DISPLAYS  display numbers to try, "first-last" (default 600-699)
#   POPUPMENU_E2E_KEEP      when set, the work folder (logs, screenshots, prefix copy) is kept
#                           also after a success (it is always kept after a failure)

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/lib/common.sh
source "$e2e_here/../../scripts/lib/common.sh"

e2e_loader=/usr/lib/wine/wine64
e2e_pids=()
e2e_display=
e2e_prefix=
e2e_work=

e2e_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }
e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# e2e_begin <work folder> [seconds]: a fresh work folder and the clean-up trap. With a time limit,
# a watchdog ends the script (through the trap, so everything started is still stopped) before a
# caller's harder limit, such as CTest's, kills it without any clean-up.
e2e_begin() {
    e2e_work=$1
    rm -rf "$e2e_work"
    mkdir -p "$e2e_work"
    trap e2e_cleanup EXIT
    trap 'e2e_log "stopped"; exit 130' INT TERM
    if [ -n "${2:-}" ]; then
        (
            trap 'kill "$nap" 2>/dev/null; exit 0' TERM
            sleep "$2" & nap=$!
            wait "$nap" || exit 0
            echo "e2e: over the time limit of $2 s" >&2
            kill -TERM $$ 2>/dev/null
        ) &
        e2e_pids+=("$!")
    fi
}

e2e_cleanup() {
    local code=$? pid
    set +e
    for pid in "${e2e_pids[@]}"; do kill "$pid" 2>/dev/null; done
    if [ -n "$e2e_prefix" ] && [ -d "$e2e_prefix" ]; then
        popupmenu_stop_wineserver "$e2e_prefix"
    fi
    for pid in "${e2e_pids[@]}"; do wait "$pid" 2>/dev/null; done
    if [ -n "$e2e_work" ] && [ "$code" -ne 0 ]; then
        echo "e2e: logs and screenshots kept in $e2e_work" >&2
    elif [ -n "$e2e_work" ] && [ -z "${POPUPMENU_E2E_KEEP:-}" ]; then
        rm -rf "$e2e_work"
    fi
    return "$code"
}

# The log of the host a test drives. The C++ demo host's --report writes a line per item it
# measured and placed: "item <key> <left> <top> <right> <bottom>".
e2e_host_log=

# e2e_host_failed <message>: the end of the host's output and a screenshot, then the failure.
e2e_host_failed() {
    echo "--- host output (the end):" >&2
    tail -n 40 "$e2e_host_log" >&2 2>/dev/null; tail -n 20 "$e2e_host_log.err" >&2 2>/dev/null
    e2e_screenshot "$e2e_work/failure.png" 2>/dev/null && echo "--- the screen: $e2e_work/failure.png" >&2
    e2e_fail "$1"
}

# e2e_item_centre <key>: the middle of an item the host reported, "x y".
e2e_item_centre() {
    awk -v key="$1" '$1 == "item" && $2 == key { print int(($3 + $5) / 2), int(($4 + $6) / 2); exit }' "$e2e_host_log"
}

# e2e_click_item <key>: clicks the middle of an item the host reported.
e2e_click_item() {
    local point; point=$(e2e_item_centre "$1")
    [ -n "$point" ] || e2e_host_failed "the host reported no item $1"
    # shellcheck disable=SC2086
    e2e_click $point
}

# e2e_wait <seconds> <command...>: polls the command every 0.1 s until it succeeds; fails after
# the time limit.
e2e_wait() {
    local limit=$1; shift
    local deadline=$((SECONDS + limit))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# e2e_start_display: Xvfb on the first free display of the range; sets DISPLAY.
e2e_start_display() {
    local range=${POPUPMENU_E2E_DISPLAYS:-600-699}
    popupmenu_start_display "${range%-*}" "${range#*-}" || e2e_fail "no free X display in $range"
    e2e_pids+=("$popupmenu_display_pid")
    e2e_display=$DISPLAY
}

# e2e_copy_prefix <base prefix>: a private copy of an initialised prefix. Wine's own files are
# hard links (Wine never writes them in place); the registry files, which it rewrites, are copied.
e2e_copy_prefix() {
    local base=$1
    [ -f "$base/system.reg" ] || e2e_fail "no Wine prefix at $base (run scripts/setup)"
    e2e_prefix=$e2e_work/prefix
    cp -al "$base" "$e2e_prefix" 2>/dev/null || { rm -rf "$e2e_prefix"; cp -a "$base" "$e2e_prefix"; }
    local reg
    for reg in "$e2e_prefix"/*.reg; do
        cp --remove-destination "$base/$(basename "$reg")" "$reg"
    done
    export WINEPREFIX=$e2e_prefix
}

# e2e_set_user_strings <key> <name=value>...: sets string values under a key of HKEY_CURRENT_USER
# in the copied prefix's user.reg, before Wine starts and reads it.
e2e_set_user_strings() {
    local key=$1 pair lines=()
    shift
    for pair in "$@"; do lines+=("${pair%%=*}=\"${pair#*=}\""); done
    python3 "$e2e_here/set_reg_values.py" "$e2e_prefix/user.reg" "$key" "${lines[@]}"
}

# e2e_set_dpi <dpi>: the DPI of the copied prefix's displays, before Wine starts and reads it. Wine 8
# takes the system's DPI from the DWORD LogPixels, under HKEY_CURRENT_USER's Control Panel\Desktop
# and under the current hardware profile's fonts (measured: both set, the next Wine server gives
# every program that DPI, and the system's menu font grows with it).
e2e_set_dpi() {
    local value; value=$(printf 'dword:%08x' "$1")
    python3 "$e2e_here/set_reg_values.py" "$e2e_prefix/user.reg" 'Control Panel\Desktop' "LogPixels=$value"
    python3 "$e2e_here/set_reg_values.py" "$e2e_prefix/system.reg" \
        'System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' "LogPixels=$value"
}

# e2e_unregistered_copy <assembly manifest>...: makes the copied prefix hold nothing of PopUpMenu,
# before Wine starts, and checks it. Every registry key that names a class, type library or
# ProgID of the manifests, in its path or in a value, is taken out of the copy's registry files
# (a base prefix can hold a registration: scripts/demo registers PopUpMenu in the project's own
# prefix, to stay); then none of those identifiers may appear in them any more (both registry
# views and the user's classes are kept there).
e2e_unregistered_copy() {
    local identifiers id
    mapfile -t identifiers < <(grep -ohE '(clsid|tlbid|progid)="[^"]+"' "$@" | cut -d'"' -f2 | sort -u)
    # Three classes, each with its ProgID, and the type library.
    [ "${#identifiers[@]}" -ge 7 ] || e2e_fail "the manifests $* name too few identifiers: ${identifiers[*]}"
    python3 - "$e2e_prefix" "${identifiers[@]}" <<'PY'
import glob, sys
prefix, identifiers = sys.argv[1], [i.lower() for i in sys.argv[2:]]
for path in glob.glob(prefix + "/*.reg"):
    with open(path, encoding="utf-8", errors="surrogateescape") as f:
        chunks = f.read().split("\n\n")
    kept = [c for c in chunks if not (c.startswith("[") and any(i in c.lower() for i in identifiers))]
    if len(kept) != len(chunks):
        with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write("\n\n".join(kept))
PY
    for id in "${identifiers[@]}"; do
        ! grep -qiF "$id" "$e2e_prefix"/*.reg || e2e_fail "$id is still in the registry of the prefix copy"
    done
    echo "ok    none of ${identifiers[*]} is in the registry of the prefix copy"
}

# e2e_use_prefix <prefix>: use a prefix as it is, not a copy (scripts/demo uses the project's own,
# where its registration stays for later use).
e2e_use_prefix() {
    e2e_prefix=$1
    [ -f "$e2e_prefix/system.reg" ] || e2e_fail "no Wine prefix at $e2e_prefix (run scripts/setup)"
    export WINEPREFIX=$e2e_prefix
}

# e2e_use_loader_of <PE file>: the Wine loader of that file's architecture for every program the
# test starts (wine for a 32-bit DLL or host, wine64 for a 64-bit one).
e2e_use_loader_of() {
    [ -f "$1" ] || e2e_fail "$1 is not built"
    e2e_loader=$(popupmenu_loader_for "$1")
}

# e2e_start_wine: one persistent Wine server for the prefix, up before any of its programs and
# ended by the clean-up: each program starts fast, and none meets a server that is exiting.
e2e_start_wine() {
    export WINEDEBUG=${WINEDEBUG:--all}
    popupmenu_start_wineserver "$e2e_prefix" "$e2e_loader" || e2e_fail "no Wine server for $e2e_prefix"
}

# e2e_windows_path <unix path>: the path as Wine programs see it, through drive Z:.
e2e_windows_path() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# e2e_register <dll>: registers the DLL machine-wide in the prefix, with the regsvr32 of the
# loader's architecture; a registration of another build under the same class identifiers is
# overwritten. (Wine 8's COM reads classes from HKEY_LOCAL_MACHINE only: a per-user registration
# would not be found.)
e2e_register() {
    local dll=$1
    [ -f "$dll" ] || e2e_fail "$dll is not built"
    timeout 60 "$e2e_loader" regsvr32 /s "$(e2e_windows_path "$dll")" >"$e2e_work/regsvr32.log" 2>&1 ||
        e2e_fail "regsvr32 $dll failed: $(cat "$e2e_work/regsvr32.log")"
}

# e2e_start <log> <program...>: starts a Windows program in the background, its stdout and stderr
# in the log; sets e2e_last_pid.
e2e_start() {
    local log=$1; shift
    "$e2e_loader" "$@" >"$log" 2>"$log.err" &
    e2e_last_pid=$!
    e2e_pids+=("$e2e_last_pid")
}

# e2e_finish <pid> <seconds>: waits for the program to end and returns its exit code; a program
# still running after the time limit is killed and counts as a failure.
e2e_finish() {
    local pid=$1 limit=$2 code
    if ! e2e_wait "$limit" e2e_ended "$pid"; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        e2e_log "killed process $pid after ${limit}s"
        return 124
    fi
    code=0
    wait "$pid" || code=$?
    return "$code"
}
e2e_ended() { ! kill -0 "$1" 2>/dev/null; }

# e2e_wait_line <log> <extended regex> [seconds] [pid]: waits for a line in a log and prints it;
# gives up early when the process that writes the log has ended without writing it.
e2e_wait_line() {
    local log=$1 pattern=$2 limit=${3:-30} pid=${4:-}
    e2e_wait "$limit" e2e_line_or_end "$log" "$pattern" "$pid" || return 1
    grep -aE "$pattern" "$log" | head -1 | grep . || return 1
}
e2e_line_or_end() { grep -qaE "$2" "$1" || { [ -n "$3" ] && e2e_ended "$3"; }; }

# e2e_menu_windows: the visible windows that Wine's pop-up menus map, one X id a line: nameless
# windows, except Wine's desktop window, which covers the screen.
e2e_menu_windows() {
    local screen id
    screen=$(xdotool getdisplaygeometry)
    for id in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        [ "$(e2e_geometry "$id" | cut -d' ' -f3-)" = "$screen" ] || echo "$id"
    done
}

# e2e_geometry <X window id>: "x y width height" of a window on the screen.
e2e_geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}'
}

# e2e_click <x> <y>, e2e_keys <key...>: pointer and keyboard. Without a window manager the keyboard
# goes to the window under the pointer, so keys are typed with the pointer on the menu.
# A --sync move to where the pointer already is waits for a motion that never comes (measured: 15 s
# before xdotool gives up), so the pointer moves only when it is elsewhere.
e2e_click() {
    [ "$(xdotool getmouselocation --shell | awk -F= '/^[XY]=/ { printf "%s ", $2 }')" = "$1 $2 " ] || e2e_move "$1" "$2"
    xdotool click 1
}
e2e_move() { xdotool mousemove --sync "$1" "$2"; }
e2e_keys() { xdotool key --delay 150 "$@"; }

# e2e_screenshot <png>: the whole screen, 24-bit.
e2e_screenshot() { import -display "$e2e_display" -window root "PNG24:$1"; }

# e2e_crop_to_menus <png>: a screenshot of the region that the open menus cover, with a margin.
e2e_crop_to_menus() {
    local id x y w h left=100000 top=100000 right=0 bottom=0 margin=16
    for id in $(e2e_menu_windows); do
        read -r x y w h < <(e2e_geometry "$id")
        [ "$x" -lt "$left" ] && left=$x
        [ "$y" -lt "$top" ] && top=$y
        [ $((x + w)) -gt "$right" ] && right=$((x + w))
        [ $((y + h)) -gt "$bottom" ] && bottom=$((y + h))
    done
    [ "$right" -gt 0 ] || return 1
    left=$((left > margin ? left - margin : 0)); top=$((top > margin ? top - margin : 0))
    import -display "$e2e_display" -window root -crop "$((right + margin - left))x$((bottom + margin - top))+$left+$top" \
        +repage "PNG24:$1"
}

# e2e_settled_screenshot <png>: takes screenshots until two in a row are equal, so that the
# picture shows what the menu painted and not a frame in between.
e2e_settled_screenshot() {
    local out=$1 previous=$e2e_work/previous.png _
    e2e_screenshot "$previous" || return 1
    for _ in $(seq 1 50); do
        sleep 0.2
        e2e_screenshot "$out" || return 1
        cmp -s "$out" "$previous" && return 0
        mv "$out" "$previous"
    done
    e2e_log "the screen kept changing; using the last screenshot"
    mv "$previous" "$out"
}
