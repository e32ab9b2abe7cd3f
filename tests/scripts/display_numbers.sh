#!/usr/bin/env bash
# Several displays started at the same moment from one range each get a number of their own: every
# server owns its number's lock, no two share a number, and each answers on it while the others run.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=../../scripts/lib/common.sh
source "$here/scripts/lib/common.sh"
command -v Xvfb >/dev/null || { echo "no Xvfb: scripts/setup installs it"; exit 1; }

first=${1:-850} last=${2:-869} starters=6
results=$(mktemp -d)
trap 'for f in "$results"/pid.*; do [ -e "$f" ] && kill "$(cat "$f")" 2>/dev/null; done; rm -rf "$results"' EXIT

for k in $(seq 1 "$starters"); do
    (
        popupmenu_start_display "$first" "$last" || { echo "no display" >"$results/out.$k"; exit 0; }
        echo "$popupmenu_display_pid" >"$results/pid.$k"
        echo "${DISPLAY#:} $popupmenu_display_pid" >"$results/out.$k"
    ) &
done
wait

failures=0
declare -A seen
for k in $(seq 1 "$starters"); do
    read -r number pid <"$results/out.$k" || number=
    if [ -z "${pid:-}" ]; then echo "starter $k: $number"; failures=$((failures + 1)); continue; fi
    owner=$( { tr -d ' \n' <"/tmp/.X$number-lock"; } 2>/dev/null)
    [ "$owner" = "$pid" ] || { echo "starter $k: :$number is locked by $owner, not by its server $pid"; failures=$((failures + 1)); }
    [ -z "${seen[$number]:-}" ] || { echo "starters ${seen[$number]} and $k share :$number"; failures=$((failures + 1)); }
    seen[$number]=$k
    DISPLAY=":$number" xdpyinfo >/dev/null 2>&1 || { echo "starter $k: :$number does not answer"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] && echo "$starters displays, $starters numbers: ${!seen[*]}"
exit $((failures > 0))
