#!/usr/bin/env bash
# One end-to-end test: a real pop-up of PopUpMenu under Wine (the loader of the DLL's architecture:
# wine for the i686 product, wine64 for the x86_64 build), on an Xvfb display and in a copy of
# the Wine prefix of its own (so that tests can run side by side), driven with xdotool.
#   run.sh <case>    cases: see the case statement at the end
# Environment (tests/e2e/CMakeLists.txt sets the first three): POPUPMENU_E2E_DLL and
# POPUPMENU_E2E_HOST, the built PopUpMenu.dll and demo host; POPUPMENU_E2E_WORK, where each test
# keeps its display's files, logs, screenshots and prefix copy; POPUPMENU_E2E_PREFIX, the prefix
# to copy (default build/wineprefix64 or build/wineprefix32 of the source tree, by the DLL's
# architecture).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
# shellcheck source=harness.sh
source "$here/harness.sh"

case_name=${1:?usage: run.sh <case>}
dll=${POPUPMENU_E2E_DLL:?set POPUPMENU_E2E_DLL to the built PopUpMenu.dll}
host_exe=${POPUPMENU_E2E_HOST:?set POPUPMENU_E2E_HOST to the built demo host.exe}
work_root=${POPUPMENU_E2E_WORK:-$(dirname "$dll")/e2e}
e2e_use_loader_of "$dll"
if [ "$e2e_loader" = /usr/lib/wine/wine64 ]; then prefix_name=wineprefix64; else prefix_name=wineprefix32; fi
base_prefix=${POPUPMENU_E2E_PREFIX:-${POPUPMENU_BUILD:-$source_dir/build}/$prefix_name}
# The script host's demo: demo.vbs, or demo.js for the js- cases; the same menu.
demo_script=$source_dir/demo/demo.vbs
[ "${case_name#js-}" = "$case_name" ] || demo_script=$source_dir/demo/demo.js

# Where the menu opens: the pointer's position when the host calls PopUp.
menu_x=150
menu_y=120
# A point outside every menu and outside the C++ host's window.
outside_x=800
outside_y=650

# Under CTest's limit for the test (tests/e2e/CMakeLists.txt), so that the clean-up still runs.
limit=${POPUPMENU_E2E_LIMIT:-270}
[ "$case_name" = gui-objects ] && limit=${POPUPMENU_E2E_LIMIT:-860}
e2e_begin "$work_root/$case_name" "$limit"
log=$e2e_work/host.log
e2e_host_log=$log

# setup [classic]: display, prefix copy, Wine, registration, pointer. "classic" first switches the
# copy to the classic grey colours: in Wine's own scheme the menu is white, and a disabled label's
# white copy would not show on it.
setup() {
    e2e_start_display
    e2e_copy_prefix "$base_prefix"
    if [ "${1:-}" = classic ]; then
        e2e_set_user_strings 'Control Panel\Colors' "Menu=212 208 200" "MenuText=0 0 0" "Hilight=10 36 106" \
            "HilightText=255 255 255" "GrayText=128 128 128" "ButtonShadow=128 128 128" "ButtonHilight=255 255 255"
    fi
    e2e_start_wine
    e2e_register "$dll"
    e2e_move "$menu_x" "$menu_y"
}

# start_cpp: the C++ host with its report; returns once the top-level menu is painted.
start_cpp() {
    [ -f "$host_exe" ] || e2e_fail "$host_exe is not built"
    e2e_start "$log" "$host_exe" --report
    host_pid=$e2e_last_pid
    e2e_wait_line "$log" '^item exit ' 90 "$host_pid" >/dev/null || e2e_host_failed "the menu did not open"
    e2e_wait_line "$log" '^drawn exit ' 90 "$host_pid" >/dev/null || e2e_host_failed "the menu was not painted"
    expect_items_as_defined
}

# The host notes a menu whose items differ in number from its visible entries (a hidden item
# shown, an item missing).
expect_items_as_defined() {
    ! grep -a '^note ' "$log" || e2e_host_failed "a menu does not hold the host's visible items"
}

# start_script: the script host (demo_script) under cscript; returns once a menu window is on the
# screen.
start_script() {
    e2e_start "$log" cscript //NoLogo "$(e2e_windows_path "$demo_script")"
    host_pid=$e2e_last_pid
    e2e_wait 90 menu_window_or_end || true
    [ -n "$menu_window" ] || e2e_host_failed "no menu window appeared"
}
menu_window_or_end() {
    menu_window=$(e2e_menu_windows | tail -1)
    [ -n "$menu_window" ] || e2e_ended "$host_pid"
}

# open_submenu <item> <last item of its submenu>
open_submenu() {
    e2e_click_item "$1"
    e2e_wait_line "$log" "^item $2 " 60 "$host_pid" >/dev/null || e2e_host_failed "the submenu of $1 did not open"
    expect_items_as_defined
}

# wait_line <regex> <what failed>: waits for the C++ host's report of an opened menu or a painted item.
wait_line() {
    e2e_wait_line "$log" "$1" 60 "$host_pid" >/dev/null || e2e_host_failed "$2"
}
# wait_selected <key>: the C++ host has seen the item painted as highlighted.
wait_selected() {
    wait_line "^drawn $1 state 0x[0-9a-f]*[13579bdf] " "$1 was not painted as highlighted"
}

# wait_menus <count>: that many menu windows are on the screen (the menu and open submenus).
wait_menus() {
    e2e_wait 60 menus_open_or_end "$1" || true
    [ "$(e2e_menu_windows | wc -l)" -ge "$1" ] || e2e_host_failed "fewer than $1 menu windows are open"
}
menus_open_or_end() { [ "$(e2e_menu_windows | wc -l)" -ge "$1" ] || e2e_ended "$host_pid"; }

# expect_chosen <key>: the host ends by itself with code 0 and prints "chosen: <key>".
expect_chosen() {
    local code=0
    e2e_finish "$host_pid" 60 || code=$?
    [ "$code" -eq 0 ] || e2e_host_failed "the host ended with code $code"
    local line; line=$(grep -a '^chosen:' "$log" | tr -d '\r' || true)
    [ "$line" = "chosen: $1" ] || e2e_host_failed "expected 'chosen: $1', the host printed '${line:-nothing}'"
    echo "ok    chosen: '$1'"
}

# screen_check <check> <item>: highlights an item by pointing at it, waits until the host has seen
# it painted as selected and the screen has settled, then checks the screenshot's pixels.
screen_check() {
    local check=$1 key=$2 shot=$e2e_work/$1.png
    local point; point=$(e2e_item_centre "$key")
    # shellcheck disable=SC2086
    e2e_move $point
    e2e_wait_line "$log" "^drawn $key state 0x[0-9a-f]*[13579bdf] " 60 "$host_pid" >/dev/null ||
        e2e_host_failed "$key was not painted as selected"
    e2e_settled_screenshot "$shot" || e2e_fail "no screenshot"
    python3 "$here/checks.py" "$check" "$log" "$shot" || e2e_fail "the screen check $check failed (screenshot $shot)"
    e2e_keys Escape
    expect_chosen ""
}

# log_check <check> <pop-ups> <seconds> <host options...>: a host run that ends by itself.
log_check() {
    local check=$1 popups=$2 limit=$3; shift 3
    e2e_start "$log" "$host_exe" --dismiss --repeat "$popups" "$@"
    host_pid=$e2e_last_pid
    local code=0
    e2e_finish "$host_pid" "$limit" || code=$?
    [ "$code" -eq 0 ] || e2e_host_failed "the host ended with code $code"
    python3 "$here/checks.py" "$check" "$log" "$popups" || e2e_host_failed "the check $check failed"
}

# dpi_screen <dpi>: the C++ host's menu at a DPI, in a prefix copy of its own (a DPI is read when
# the prefix's Wine server starts), with "bold" highlighted; leaves the host's log in
# host-<dpi>.log and the screenshot in dpi-<dpi>.png, and ends the copy's Wine server.
dpi_screen() {
    local dpi=$1
    [ -n "$e2e_display" ] || e2e_start_display
    e2e_copy_prefix "$base_prefix"
    e2e_set_dpi "$dpi"
    e2e_start_wine
    e2e_register "$dll"
    e2e_move "$menu_x" "$menu_y"
    log=$e2e_work/host-$dpi.log
    e2e_host_log=$log
    start_cpp
    local point; point=$(e2e_item_centre bold)
    # shellcheck disable=SC2086
    e2e_move $point
    wait_selected bold
    e2e_settled_screenshot "$e2e_work/dpi-$dpi.png" || e2e_fail "no screenshot"
    e2e_keys Escape
    expect_chosen ""
    popupmenu_stop_wineserver "$e2e_prefix"
    rm -rf "$e2e_prefix"
}

# dpi_script_screen <dpi>: the script host's menu at a DPI, in a prefix copy of its own, with its
# first item highlighted by the pointer; leaves the menu window's geometry ("x y width height") in
# geometry-<dpi> and the screenshot in script-<dpi>.png, and ends the copy's Wine server.
dpi_script_screen() {
    local dpi=$1 x y w h
    [ -n "$e2e_display" ] || e2e_start_display
    e2e_copy_prefix "$base_prefix"
    e2e_set_dpi "$dpi"
    e2e_start_wine
    e2e_register "$dll"
    e2e_move "$menu_x" "$menu_y"
    log=$e2e_work/script-$dpi.log
    e2e_host_log=$log
    start_script
    read -r x y w h < <(e2e_geometry "$menu_window")
    echo "$x $y $w $h" >"$e2e_work/geometry-$dpi"
    # The first item, a little below the menu's top edge at that DPI.
    e2e_move $((x + w / 2)) $((y + 12 * dpi / 96))
    e2e_settled_screenshot "$e2e_work/script-$dpi.png" || e2e_fail "no screenshot"
    e2e_keys Escape
    expect_chosen ""
    popupmenu_stop_wineserver "$e2e_prefix"
    rm -rf "$e2e_prefix"
}

case "$case_name" in
    cpp-top-level)
        setup; start_cpp; e2e_click_item save; expect_chosen save ;;
    cpp-three-deep)
        setup; start_cpp
        open_submenu more tools; open_submenu recent report; open_submenu older archive2020
        e2e_click_item archive2019; expect_chosen archive2019 ;;
    cpp-escape)
        setup; start_cpp; e2e_keys Escape; expect_chosen "" ;;
    cpp-click-outside)
        setup; start_cpp; e2e_click "$outside_x" "$outside_y"; expect_chosen "" ;;
    vbs-top-level)
        # The first item, a little below the menu's top edge.
        setup; start_script
        read -r x y w _ < <(e2e_geometry "$menu_window")
        e2e_click $((x + w / 2)) $((y + 12)); expect_chosen open ;;
    vbs-three-deep)
        # Up from no selection reaches the last item, Exit; once more (over the separator) More.
        # Right opens a submenu with its first item selected: Recent files, Older, Archive 2019.
        setup; start_script; e2e_keys Up Up Right Right Right Return; expect_chosen archive2019 ;;
    vbs-escape)
        setup; start_script; e2e_keys Escape; expect_chosen "" ;;
    vbs-click-outside)
        setup; start_script; e2e_click "$outside_x" "$outside_y"; expect_chosen "" ;;
    cpp-letter-top-level)
        # "&Open", typed in lower case.
        setup; start_cpp; e2e_keys o; expect_chosen open ;;
    cpp-letter-submenu)
        # Each letter opens a submenu (More, Recent files, Older); the last chooses inside Older.
        setup; start_cpp
        e2e_keys m; wait_line '^item tools ' "M did not open the submenu More"
        e2e_keys r; wait_line '^item report ' "R did not open the submenu Recent files"
        e2e_keys o; wait_line '^item archive2020 ' "O did not open the submenu Older"
        e2e_keys 2; expect_chosen archive2019 ;;
    cpp-letter-shared)
        # "&Save" and "&Starred" share S: each S moves the highlight on, Return chooses.
        setup; start_cpp
        e2e_keys s; wait_selected save
        e2e_keys s; wait_selected starred
        e2e_keys Return; expect_chosen starred ;;
    cpp-letter-no-match)
        # No item has Q. The menu stays open and still takes letters: M opens More. Escape closes
        # the submenu, then the menu.
        setup; start_cpp
        e2e_keys q m; wait_line '^item tools ' "the menu did not stay open after Q"
        e2e_keys Escape Escape; expect_chosen "" ;;
    vbs-letter-top-level)
        # "E&xit": a letter inside the label.
        setup; start_script; e2e_keys x; expect_chosen exit ;;
    vbs-letter-submenu)
        setup; start_script; e2e_keys m r o 2; expect_chosen archive2019 ;;
    vbs-letter-shared)
        setup; start_script; e2e_keys s s Return; expect_chosen starred ;;
    vbs-letter-no-match)
        # The script has no log: a submenu window opening after Q shows that the menu stayed open.
        setup; start_script
        [ "$(e2e_menu_windows | wc -l)" -eq 1 ] || e2e_host_failed "expected one menu window before typing"
        e2e_keys q m; wait_menus 2
        e2e_keys Escape Escape; expect_chosen "" ;;
    cpp-accessible)
        # While the menu is open the host reads it and every submenu, none of them opened, as an
        # accessibility client of its process does.
        setup; start_cpp; e2e_keys Escape; expect_chosen ""
        python3 "$here/checks.py" accessible-cpp "$log" || e2e_host_failed "the check accessible-cpp failed" ;;
    vbs-accessible)
        # The same from cscript: the test's reader object, created by the script, reads the open menu.
        reader=${POPUPMENU_E2E_READER:?set POPUPMENU_E2E_READER to the built menu reader DLL}
        report=$e2e_work/accessible.txt
        setup; e2e_register "$reader"
        demo_script=$here/accessible.vbs
        e2e_start "$log" cscript //NoLogo "$(e2e_windows_path "$demo_script")" "$(e2e_windows_path "$e2e_work")\\accessible.txt"
        host_pid=$e2e_last_pid
        e2e_wait_line "$report" '^(done|no menu)' 90 "$host_pid" >/dev/null || e2e_host_failed "the reader wrote no report"
        e2e_wait 30 menu_window_or_end || true
        e2e_keys Escape; expect_chosen ""
        python3 "$here/checks.py" accessible-vbs "$report" || e2e_fail "the check accessible-vbs failed (report $report)" ;;
    pixels-picture-highlight)
        setup classic; start_cpp; screen_check picture-highlight open ;;
    pixels-checked-highlight)
        # Wine's own colours: the menu is white, the highlight blue.
        setup; start_cpp; screen_check checked-highlight bold ;;
    dpi-120|dpi-144|dpi-192)
        # The same menu at 96 DPI and at the case's DPI, compared.
        dpi=${case_name#dpi-}
        dpi_screen 96
        dpi_screen "$dpi"
        python3 "$here/checks.py" dpi "$e2e_work/host-96.log" "$e2e_work/dpi-96.png" "$e2e_work/host-$dpi.log" \
            "$e2e_work/dpi-$dpi.png" "$dpi" || e2e_fail "the checks at $dpi DPI failed (screenshots in $e2e_work)" ;;
    vbs-dpi-120|vbs-dpi-144|vbs-dpi-192)
        dpi=${case_name#vbs-dpi-}
        dpi_script_screen 96
        dpi_script_screen "$dpi"
        python3 "$here/checks.py" dpi-script "$e2e_work/script-96.png" "$e2e_work/geometry-96" \
            "$e2e_work/script-$dpi.png" "$e2e_work/geometry-$dpi" "$dpi" ||
            e2e_fail "the checks at $dpi DPI failed (screenshots in $e2e_work)" ;;
    window-procedure)
        setup; log_check procs 3 120 --print-procs ;;
    gui-objects)
        # 1 pop-up to start from, then 200 more.
        setup; log_check objects 201 800 ;;
    js-three-deep)
        setup; start_script; e2e_keys Up Up Right Right Right Return; expect_chosen archive2019 ;;
    js-escape)
        setup; start_script; e2e_keys Escape; expect_chosen "" ;;
    js-letter-submenu)
        setup; start_script; e2e_keys m r o 2; expect_chosen archive2019 ;;
    js-letter-shared)
        # Starred was checked through the default member, items("starred").
        setup; start_script; e2e_keys s s Return; expect_chosen starred ;;
    js-letter-disabled)
        # Print was disabled through items.MenuItem("print"): its letter highlights it and never
        # chooses it; Escape then dismisses the menu.
        setup; start_script; e2e_keys p Escape; expect_chosen "" ;;
    js-down-to-exit)
        # Eight items from the top reach Exit: the item hidden through items("secret") is not in the
        # menu, nor the one removed by its position, Draft (separators are passed over).
        setup; start_script; e2e_keys Down Down Down Down Down Down Down Down Return; expect_chosen exit ;;
    readme-samples|usage-samples)
        # Each VBScript sample of the document as it stands, through cscript: the keys choose an
        # item, and the sample prints its key.
        doc=$source_dir/README.md
        [ "$case_name" = readme-samples ] || doc=$source_dir/USAGE.md
        mapfile -t samples < <(python3 "$here/doc_samples.py" "$doc" "$e2e_work/samples") ||
            e2e_fail "the samples of $doc could not be read"
        [ "${#samples[@]}" -gt 0 ] || e2e_fail "$doc has no VBScript sample"
        setup
        for sample in "${samples[@]}"; do
            read -r file key keys <<<"$sample"
            echo "--- $(basename "$doc"), $file: choosing $key with $keys"
            log=$e2e_work/$file.log
            e2e_host_log=$log
            demo_script=$e2e_work/samples/$file
            start_script
            # shellcheck disable=SC2086  # the keys, one word each
            e2e_keys $keys
            expect_chosen "$key"
        done ;;
    *)
        e2e_fail "unknown case $case_name" ;;
esac
