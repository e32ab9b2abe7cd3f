#!/usr/bin/env bash
# The release package as a user gets it: unpacked into a copy of the 64-bit Wine prefix where
# nothing of PopUpMenu is registered, registered from there with regsvr32, and its demo.vbs run
# headless under cscript, where xdotool opens More > Recent files > Older and chooses Archive 2019
# (the path of scripts/demo --vbs).
#
#   run.sh static          the zip's checksums, files, DLLs and manifests (check_package.py)
#   run.sh x64             the x64 DLL with 64-bit regsvr32 and 64-bit cscript, then unregistered
#   run.sh usage-commands  the registration commands of USAGE.md's table, typed as they stand into
#                          64-bit cmd in the unpacked package's folder: each registers (checked in
#                          the registry view it names, and a machine-wide registration by creating
#                          the menu from cscript of its bitness) and its /u form removes it. The x86
#                          rows need 32-bit programs: elsewhere they are said to be left out.
#   run.sh side-by-side    both DLLs registered in one WoW64 prefix, each by the regsvr32 of its
#                          bitness; 64-bit and 32-bit cscript each pop the menu up and get the key;
#                          unregistering the x86 DLL leaves the x64 one usable. Needs a machine that
#                          executes 32-bit programs: elsewhere it says so and exits 77 (skipped).
#
# Environment: POPUPMENU_PACKAGE_DIST, the folder with the zip and SHA256SUMS (default dist/);
# POPUPMENU_PACKAGE_WORK, the tests' work folders (default build/package-tests/work);
# POPUPMENU_PACKAGE_PREFIX, the prefix to copy (default build/wineprefix64).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
# shellcheck source-path=SCRIPTDIR source=../e2e/harness.sh
source "$here/../e2e/harness.sh"

case_name=${1:?usage: run.sh static|x64|usage-commands|side-by-side}
build_root=${POPUPMENU_BUILD:-$source_dir/build}
dist=${POPUPMENU_PACKAGE_DIST:-$source_dir/dist}
work_root=${POPUPMENU_PACKAGE_WORK:-$build_root/package-tests/work}
base_prefix=${POPUPMENU_PACKAGE_PREFIX:-$build_root/wineprefix64}
loader64=/usr/lib/wine/wine64
loader32=/usr/lib/wine/wine

if [ "$case_name" = static ]; then
    exec python3 "$here/check_package.py" "$dist"
fi
if [ "$case_name" = side-by-side ] && ! "$source_dir/scripts/can-run-32bit"; then
    echo "skipped: this machine cannot execute 32-bit programs (scripts/can-run-32bit fails), so 32-bit" \
         "regsvr32 and cscript cannot run; the side-by-side test runs wherever they can"
    exit 77
fi

# The zip that the SHA256SUMS beside it names: the one scripts/package made last.
zip_name=$(awk 'NR == 1 { print $2 }' "$dist/SHA256SUMS" 2>/dev/null | tr -d '*')
if [ -z "$zip_name" ] || [ ! -f "$dist/$zip_name" ]; then
    echo "FAIL: no package in $dist (run scripts/package)" >&2
    exit 1
fi
package=${zip_name%.zip}

e2e_begin "$work_root/$case_name" "${POPUPMENU_PACKAGE_LIMIT:-270}"
e2e_start_display
e2e_copy_prefix "$base_prefix"

# Nothing of PopUpMenu may be registered in the copy before the test registers it (Wine has not
# started yet: its registry files are complete).
install_dir=$e2e_prefix/drive_c/PopUpMenu
python3 - "$dist/$zip_name" "$install_dir" <<'PY'
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY
unpacked=$install_dir/$package
(cd "$unpacked" && sha256sum --quiet -c SHA256SUMS) || e2e_fail "the unpacked files do not match their SHA256SUMS"
e2e_unregistered_copy "$unpacked"/x*/PopUpMenu.sxs.manifest

windows_dir="C:\\PopUpMenu\\$package"
clsid=$(grep -oE 'clsid="[^"]+" progid="PopUpMenu.NuvraPopUpMenu"' "$unpacked/x64/PopUpMenu.sxs.manifest" | cut -d'"' -f2)
server_key="Software\\Classes\\CLSID\\$clsid\\InprocServer32"
e2e_start_wine

# regsvr32 <loader> [options] <folder>: registers (or with /u unregisters) the package's DLL of a
# folder with the regsvr32 of the loader's bitness.
regsvr32() {
    local loader=$1; shift
    local folder=${*: -1} options=("${@:1:$#-1}")
    timeout 60 "$loader" regsvr32 /s "${options[@]}" "$windows_dir\\$folder\\PopUpMenu.dll" >"$e2e_work/regsvr32.log" 2>&1 ||
        e2e_fail "regsvr32 ${options[*]} $folder failed: $(cat "$e2e_work/regsvr32.log")"
}

# expect_server <view> <folder, or "none"> [HKLM|HKCU]: the module the registry view names for the
# menu class, machine-wide (the default) or for the current user.
expect_server() {
    local view=$1 folder=$2 root=${3:-HKLM} found
    found=$(timeout 60 "$loader64" reg query "$root\\$server_key" /ve "/reg:$view" 2>/dev/null | tr -d '\r' |
            sed -n 's/^ *(Default) *REG_SZ *//p' || true)
    if [ "$folder" = none ]; then
        [ -z "$found" ] || e2e_fail "the $view-bit view of $root still names $found"
    else
        [ "$found" = "$windows_dir\\$folder\\PopUpMenu.dll" ] ||
            e2e_fail "the $view-bit view of $root names '${found:-nothing}', expected the $folder DLL of the package"
    fi
}

# run_demo <loader> <keys...>: the package's demo.vbs under the loader's cscript; the menu is driven
# with the keys; sets chosen to the line the script printed.
run_demo() {
    local loader=$1; shift
    local log code=0 window=
    log=$e2e_work/demo-$(basename "$loader").log
    e2e_move 150 120
    "$loader" cscript //NoLogo "$windows_dir\\demo.vbs" >"$log" 2>"$log.err" &
    local pid=$!
    e2e_pids+=("$pid")
    menu_or_end() { window=$(e2e_menu_windows | tail -1); [ -n "$window" ] || e2e_ended "$pid"; }
    e2e_wait 90 menu_or_end || true
    [ -n "$window" ] || { cat "$log" "$log.err" >&2; e2e_fail "no menu window appeared for $(basename "$loader") cscript"; }
    e2e_keys "$@"
    e2e_finish "$pid" 60 || code=$?
    [ "$code" -eq 0 ] || { cat "$log" "$log.err" >&2; e2e_fail "demo.vbs under $(basename "$loader") cscript ended with code $code"; }
    chosen=$(grep -a '^chosen:' "$log" | tr -d '\r' || true)
}

# Up from no selection reaches the last item, Exit; once more (over the separator) More. Right
# opens a submenu with its first item selected: Recent files, Older, Archive 2019.
three_deep=(Up Up Right Right Right Return)

expect_chosen() {  # expect_chosen <key>
    [ "$chosen" = "chosen: $1" ] || e2e_fail "expected 'chosen: $1', demo.vbs printed '${chosen:-nothing}'"
}

# typed <command>: a command as a user types it into 64-bit cmd in the unpacked package's folder.
typed() {
    (cd "$unpacked" && timeout 60 "$loader64" cmd /c "$1") >"$e2e_work/typed.log" 2>&1 ||
        e2e_fail "'$1' failed: $(cat "$e2e_work/typed.log")"
    echo "ok    typed '$1': $(tr -d '\r' <"$e2e_work/typed.log" | head -1)"
}

# creates <loader>: cscript of the loader's bitness creates the menu from the registration.
creates() {
    local script=$e2e_prefix/drive_c/creates.vbs
    printf '%s\r\n' 'On Error Resume Next' 'Set menu = CreateObject("PopUpMenu.NuvraPopUpMenu")' \
        'If Err.Number <> 0 Then WScript.Echo "error: " & Hex(Err.Number): WScript.Quit 1' \
        'WScript.Echo "created " & menu.MenuItems.Count()' >"$script"
    local out
    out=$(timeout 60 "$1" cscript //NoLogo 'C:\creates.vbs' 2>&1 | tr -d '\r') || true
    [ "$out" = "created 0" ] || e2e_fail "$(basename "$1") cscript could not create the menu: $out"
    echo "ok    $(basename "$1") cscript creates the menu"
}

case "$case_name" in
    usage-commands)
        mapfile -t commands < <(python3 "$here/usage_commands.py" "$source_dir/USAGE.md") ||
            e2e_fail "the registration commands of USAGE.md could not be read"
        [ "${#commands[@]}" -gt 0 ] || e2e_fail "USAGE.md gives no registration commands"
        for ((i = 0; i < ${#commands[@]}; i += 2)); do
            read -r folder scope register <<<"${commands[i]}"
            read -r _ _ unregister <<<"${commands[i + 1]}"
            if [ "$folder" = x86 ] && ! "$source_dir/scripts/can-run-32bit"; then
                echo "left out: '$register' and '$unregister' (no 32-bit programs on this machine)"
                continue
            fi
            view=64 loader=$loader64
            [ "$folder" = x64 ] || { view=32 loader=$loader32; }
            typed "$register"
            if [ "$scope" = machine ]; then
                expect_server "$view" "$folder"
                creates "$loader"
            else
                expect_server "$view" "$folder" HKCU
                expect_server "$view" none
            fi
            typed "$unregister"
            expect_server "$view" none
            expect_server "$view" none HKCU
            echo "ok    $folder, $scope: registered and unregistered"
        done ;;
    x64)
        regsvr32 "$loader64" x64
        expect_server 64 x64
        run_demo "$loader64" "${three_deep[@]}"
        expect_chosen archive2019
        echo "ok    64-bit cscript, the x64 DLL registered from the package: $chosen"
        regsvr32 "$loader64" /u x64
        expect_server 64 none
        echo "ok    unregistered" ;;
    side-by-side)
        regsvr32 "$loader64" x64
        regsvr32 "$loader32" x86
        expect_server 64 x64
        expect_server 32 x86
        echo "ok    each registry view names the DLL of its bitness"
        run_demo "$loader64" "${three_deep[@]}"
        expect_chosen archive2019
        echo "ok    64-bit cscript: $chosen"
        run_demo "$loader32" "${three_deep[@]}"
        expect_chosen archive2019
        echo "ok    32-bit cscript: $chosen"
        regsvr32 "$loader32" /u x86
        expect_server 32 none
        expect_server 64 x64
        run_demo "$loader64" Escape
        expect_chosen ""
        echo "ok    the x86 DLL unregistered: 64-bit cscript still creates the menu"
        regsvr32 "$loader64" /u x64
        expect_server 64 none ;;
    *)
        e2e_fail "unknown case $case_name" ;;
esac
