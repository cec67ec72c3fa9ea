#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Tervalon and starts it. Until the window exists this runs the
# command-line solver, on the equations given or on an example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh
cmake --preset dev >/dev/null
cmake --build build -j"$(nproc)" --target tervalon-solve
if [ "$#" -eq 0 ]; then
    set -- "x^2-5*x+6=0"
fi
exec build/bin/tervalon-solve "$@"
