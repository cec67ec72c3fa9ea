#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares two builds of tervalon-solve byte for byte on the same random equations, with the raw
# engine output and with the option sets of the Solve command. Exits 1 at the first difference.
# Usage: scripts/compare_solvers.sh OLD_BINARY NEW_BINARY [COUNT] [SEED]   (defaults: 20000, 8)
set -euo pipefail
if [ "$#" -lt 2 ]; then
    echo "usage: $0 OLD_BINARY NEW_BINARY [COUNT] [SEED]" >&2
    exit 2
fi
old="$1"
new="$2"
count="${3:-20000}"
seed="${4:-8}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

python3 "$(dirname "$0")/random_equations.py" "$count" "$seed" > "$work/equations.txt"
echo "equations: $count (seed $seed), $(wc -c < "$work/equations.txt") bytes"

variants=("--raw" "" "--line-numbers" "--no-spaces" "--decimal-separator ," "--line-numbers --equivalent =>")
status=0
for variant in "${variants[@]}"; do
    # The two builds run side by side; each writes its output and its exit status.
    read -r -a args <<< "$variant"
    start=$(date +%s)
    for side in old new; do
        binary="$old"
        [ "$side" = new ] && binary="$new"
        (
            rc=0
            "$binary" "${args[@]}" < "$work/equations.txt" > "$work/$side.out" || rc=$?
            echo "$rc" > "$work/$side.rc"
        ) &
    done
    wait
    seconds=$(( $(date +%s) - start ))
    label="${variant:-(defaults)}"
    if cmp -s "$work/old.out" "$work/new.out" && cmp -s "$work/old.rc" "$work/new.rc"; then
        echo "identical: $label ($(wc -c < "$work/new.out") bytes, exit $(cat "$work/new.rc"), ${seconds} s)"
    else
        echo "DIFFERENT: $label"
        cmp "$work/old.out" "$work/new.out" || true
        echo "exit status: old $(cat "$work/old.rc"), new $(cat "$work/new.rc")"
        status=1
    fi
done
exit "$status"
