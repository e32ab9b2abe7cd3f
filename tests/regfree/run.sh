#!/usr/bin/env bash
# Use without registration: the demo host built with an application manifest that names
# PopUpMenu's assembly (demo/host-regfree.rc) runs from a folder that holds it, PopUpMenu.dll and
# the assembly manifest, in a copy of the Wine prefix where nothing of PopUpMenu is registered.
# It pops its menu up, xdotool opens More > Recent files > Older and clicks Archive 2019, and the
# host must print that key. The same host without the manifest, run first from the same folder,
# must fail to find the class: so the manifest is what makes the difference. Last, activate.exe,
# a host without a manifest in another folder, creates the menu and finds the type library inside
# an activation context made from the assembly manifest (the way for hosts that cannot carry a
# manifest of their own).
#
# Environment (tests/regfree/CMakeLists.txt sets it): POPUPMENU_REGFREE_DLL, _MANIFEST, _HOST,
# _PLAIN_HOST, _ACTIVATE (the built files), _PREFIX (the prefix to copy), _LOADER (wine64, or wine
# for the 32-bit build), _WORK (the test's folder: display files, logs, prefix copy).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../e2e/harness.sh
source "$here/../e2e/harness.sh"

dll=${POPUPMENU_REGFREE_DLL:?}
manifest=${POPUPMENU_REGFREE_MANIFEST:?}
host_exe=${POPUPMENU_REGFREE_HOST:?}
plain_host_exe=${POPUPMENU_REGFREE_PLAIN_HOST:?}
activate_exe=${POPUPMENU_REGFREE_ACTIVATE:?}
base_prefix=${POPUPMENU_REGFREE_PREFIX:?}
e2e_loader=${POPUPMENU_REGFREE_LOADER:-/usr/lib/wine/wine64}

e2e_begin "${POPUPMENU_REGFREE_WORK:?}" "${POPUPMENU_REGFREE_LIMIT:-270}"
log=$e2e_work/host.log
e2e_host_log=$log
for file in "$dll" "$manifest" "$host_exe" "$plain_host_exe" "$activate_exe"; do
    [ -f "$file" ] || e2e_fail "$file is not built"
done

e2e_start_display
e2e_copy_prefix "$base_prefix"

# Nothing of PopUpMenu may be registered in the copy.
e2e_unregistered_copy "$manifest"

app=$e2e_prefix/drive_c/PopUpMenuDemo
mkdir -p "$app"
cp "$dll" "$manifest" "$host_exe" "$plain_host_exe" "$app/"
app_windows='C:\PopUpMenuDemo'
library=$e2e_prefix/drive_c/PopUpMenuLibrary
mkdir -p "$library" "$e2e_prefix/drive_c/Tools"
cp "$dll" "$manifest" "$library/"
cp "$activate_exe" "$e2e_prefix/drive_c/Tools/"
e2e_start_wine

# The host without the manifest: COM cannot find the class.
e2e_start "$e2e_work/plain.log" "$app_windows\\$(basename "$plain_host_exe")" --dismiss
code=0
e2e_finish "$e2e_last_pid" 60 || code=$?
if [ "$code" -ne 2 ] || ! grep -q 'PopUpMenu.NuvraPopUpMenu failed' "$e2e_work/plain.log.err"; then
    e2e_fail "the host without a manifest ended with code $code: $(cat "$e2e_work/plain.log" "$e2e_work/plain.log.err")"
fi
echo "ok    without the manifest: $(tr -d '\r' <"$e2e_work/plain.log.err")"

open_submenu() {  # open_submenu <item> <an item of its submenu>
    e2e_click_item "$1"
    e2e_wait_line "$log" "^item $2 " 60 "$host_pid" >/dev/null || e2e_host_failed "the submenu of $1 did not open"
}

e2e_move 150 120
e2e_start "$log" "$app_windows\\$(basename "$host_exe")" --report
host_pid=$e2e_last_pid
e2e_wait_line "$log" '^drawn exit ' 90 "$host_pid" >/dev/null || e2e_host_failed "the menu did not open"
open_submenu more tools
open_submenu recent report
open_submenu older archive2020
e2e_click_item archive2019
code=0
e2e_finish "$host_pid" 60 || code=$?
[ "$code" -eq 0 ] || e2e_host_failed "the host ended with code $code"
line=$(grep -a '^chosen:' "$log" | tr -d '\r' || true)
[ "$line" = "chosen: archive2019" ] || e2e_host_failed "expected 'chosen: archive2019', the host printed '${line:-nothing}'"
echo "ok    with the manifest: $line"

# A host without a manifest: the activation context from the assembly manifest in another folder.
e2e_start "$e2e_work/activate.log" "C:\\Tools\\$(basename "$activate_exe")" "C:\\PopUpMenuLibrary\\$(basename "$manifest")"
code=0
e2e_finish "$e2e_last_pid" 60 || code=$?
tr -d '\r' <"$e2e_work/activate.log" | sed 's/^/      /'
[ "$code" -eq 0 ] || e2e_fail "activate.exe ended with code $code (the number of the step that failed): $(cat "$e2e_work/activate.log.err")"
echo "ok    created, filled and its type library found inside an activation context made from the assembly manifest"
