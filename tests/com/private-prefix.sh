#!/usr/bin/env bash
# The private Wine prefix of the registration tests: a copy of the project's prefix, so that
# registering and unregistering never touches the registry other tests run with.
#   private-prefix.sh setup|cleanup <shared prefix> <private prefix>
set -euo pipefail
action=$1 shared=$2 private=$3
server=/usr/lib/wine/wineserver64
case "$action" in
    setup)
        if [ ! -f "$private/system.reg" ]; then
            rm -rf "$private"
            cp -a "$shared" "$private"
        fi
        # One server for the whole run: each test program then starts in well under a second.
        # Its output must not hold the test runner's pipe open.
        WINEPREFIX="$private" "$server" -p15 >/dev/null 2>&1 </dev/null
        ;;
    cleanup)
        [ -d "$private" ] && WINEPREFIX="$private" "$server" -k 2>/dev/null || true
        ;;
esac
