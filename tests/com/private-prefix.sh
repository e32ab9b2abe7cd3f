#!/usr/bin/env bash
# The private Wine prefix of the registration tests: a copy of the project's prefix, so that
# registering and unregistering never touches the registry other tests run with.
#   private-prefix.sh setup|cleanup <shared prefix> <private prefix>
set -euo pipefail
# shellcheck source=../../scripts/lib/common.sh
source "$(dirname "$0")/../../scripts/lib/common.sh"
action=$1 shared=$2 private=$3
case "$action" in
    setup)
        if [ ! -f "$private/system.reg" ]; then
            rm -rf "$private"
            cp -a "$shared" "$private"
        fi
        # One persistent server for the whole run, ended by the clean-up: each test program then
        # starts in well under a second, and none meets a server that is exiting.
        popupmenu_start_wineserver "$private"
        ;;
    cleanup)
        [ ! -d "$private" ] || popupmenu_stop_wineserver "$private"
        ;;
esac
