#!/usr/bin/env bash
# The README's first command as a user types it: scripts/demo of this checkout, run as it stands
# (not a copy of its steps), and what it promises checked.
#   run.sh headless [--vbs|--js] exit status 0, the line "chosen: archive2019", and the screenshot it
#                                names: new, and showing the menu with its three submenus open, each
#                                with its highlighted item (tests/e2e/checks.py open-menus)
#   run.sh interactive [--vbs|--js]  scripts/demo --interactive opens the menu on $DISPLAY (here a
#                                display of the test's own), where xdotool opens More > Recent files
#                                > Older and chooses Archive 2019 with the keyboard
#   run.sh no-display            scripts/demo --interactive without $DISPLAY refuses at once, saying
#                                why, with exit status 2
# Environment: POPUPMENU_DEMO_WORK, the folder for this test's logs (tests/demo/CMakeLists.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
# shellcheck source=../e2e/harness.sh
source "$source_dir/tests/e2e/harness.sh"

case_name=${1:?usage: run.sh headless|interactive|no-display [--vbs|--js]}
shift
name=$case_name${1:+-${1#--}}
e2e_begin "${POPUPMENU_DEMO_WORK:-$source_dir/build/demo-tests}/$name" 270
log=$e2e_work/demo.log
demo=$source_dir/scripts/demo

# The demo's own work folder (its host's output) is the same for every demo: kept beside this
# test's log when the demo failed, before the next demo test replaces it.
demo_failed() {
    cp -r "$source_dir/build/demo-run" "$e2e_work/" 2>/dev/null || true
    cat "$log" >&2
    e2e_fail "$1"
}

expect_chosen_archive() {
    grep -qx 'chosen: archive2019' <(tr -d '\r' <"$log") ||
        { cat "$log" >&2; e2e_fail "scripts/demo $* did not print the line 'chosen: archive2019'"; }
    echo "ok    scripts/demo $* printed 'chosen: archive2019'"
}

case "$case_name" in
    headless)
        started=$(date +%s)
        code=0
        "$demo" "$@" >"$log" 2>&1 || code=$?
        [ "$code" -eq 0 ] || demo_failed "scripts/demo $* exited with $code"
        echo "ok    scripts/demo $* exited with 0"
        expect_chosen_archive "$@"
        shot=$(sed -n 's/^demo: screenshot of the open menu: //p' "$log" | tail -1)
        [ -n "$shot" ] || { cat "$log" >&2; e2e_fail "scripts/demo $* named no screenshot"; }
        [ -f "$shot" ] || e2e_fail "the screenshot $shot that scripts/demo named does not exist"
        [ "$(stat -c %Y "$shot")" -ge "$started" ] || e2e_fail "the screenshot $shot is older than this run"
        echo "ok    the screenshot $shot was taken by this run"
        # The menu and More > Recent files > Older.
        python3 "$source_dir/tests/e2e/checks.py" open-menus "$shot" 4 ||
            e2e_fail "the screenshot $shot does not show the open menus"
        ;;
    interactive)
        e2e_start_display
        e2e_move 150 120
        "$demo" --interactive "$@" >"$log" 2>&1 &
        pid=$!
        e2e_pids+=("$pid")
        levels_or_end() { [ "$(e2e_menu_windows | wc -l)" -ge "$1" ] || e2e_ended "$pid"; }
        # The demo sets up and builds first: a while on a first run.
        e2e_wait 200 levels_or_end 1 || true
        [ -n "$(e2e_menu_windows)" ] || demo_failed "no menu opened on the display $DISPLAY"
        echo "ok    the menu opened on \$DISPLAY ($DISPLAY)"
        # Up from no selection reaches Exit, once more More; Right opens each submenu with its
        # first item selected: Recent files, Older, Archive 2019.
        e2e_keys Up Up Right Right Right
        e2e_wait 30 levels_or_end 4 || true
        [ "$(e2e_menu_windows | wc -l)" -ge 4 ] || demo_failed "the submenus did not open"
        e2e_keys Return
        code=0
        e2e_finish "$pid" 60 || code=$?
        [ "$code" -eq 0 ] || demo_failed "scripts/demo --interactive $* exited with $code"
        expect_chosen_archive --interactive "$@"
        ;;
    no-display)
        code=0
        env -u DISPLAY timeout 20 "$demo" --interactive >"$log" 2>&1 || code=$?
        [ "$code" -eq 2 ] || { cat "$log" >&2; e2e_fail "scripts/demo --interactive without a display exited with $code, not 2"; }
        grep -q 'DISPLAY' "$log" || { cat "$log" >&2; e2e_fail "the refusal does not name \$DISPLAY"; }
        ! grep -q '^setup:\|building' "$log" || e2e_fail "scripts/demo set up or built before it refused"
        echo "ok    refused without a display: $(cat "$log")"
        ;;
    *)
        e2e_fail "unknown case $case_name" ;;
esac
