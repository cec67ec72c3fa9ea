#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders with KaTeX what tervalon-solve --latex writes for every golden equation (with every switch,
# with a decimal comma and another equivalence text, and in every shipped language) and for random
# equations with every switch. Usage: check_katex.sh SOLVER GOLDEN_DIR RANDOM_EQUATIONS LANGUAGE_DIR WORK_DIR
set -euo pipefail
solver=$1 golden=$2 random=$3 languages=$4 work=$5
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node > /dev/null || [ ! -f "$here/node_modules/katex/package.json" ]; then
    echo "node or KaTeX is missing: run scripts/install_deps.sh" >&2
    exit 1
fi
mkdir -p "$work"
awk '!/^#/ && !/^[[:space:]]*$/ && !/^[[:space:]]/' "$golden"/*.txt > "$work/golden.txt"

files=()
# Writes the LaTeX of every equation of INPUT with OPTIONS to NAME.tex; exit statuses 1 and 3 (an
# error message, a failed check) are answers too.
latex_of() {
    local name=$1 input=$2
    shift 2
    local status=0
    "$solver" --latex "$@" < "$input" > "$work/$name.tex" || status=$?
    if [ "$status" -ne 0 ] && [ "$status" -ne 1 ] && [ "$status" -ne 3 ]; then
        echo "tervalon-solve --latex $* failed with status $status" >&2
        exit 1
    fi
    files+=("$work/$name.tex")
}

every_switch=(--explain --check --all --exact --line-numbers)
latex_of golden "$work/golden.txt"
latex_of golden_switches "$work/golden.txt" "${every_switch[@]}"
latex_of golden_comma "$work/golden.txt" --no-spaces --decimal-separator , --equivalent '=> ' --check --all --exact
for language in "$languages"/Tervalon_*.ini; do
    case "$language" in *_Languages.ini) continue ;; esac
    latex_of "golden_$(basename "$language" .ini)" "$work/golden.txt" --language "$language" "${every_switch[@]}"
done
latex_of random_switches "$random" "${every_switch[@]}"

node "$here/render_latex.js" "${files[@]}"
