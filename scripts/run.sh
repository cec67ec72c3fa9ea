#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Tervalon and starts its window; arguments go to the program (an
# equation file to open). Without a display it says so and points to the command-line solver.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh
cmake --preset dev >/dev/null
cmake --build build -j"$(nproc)" --target tervalon tervalon-solve
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown." >&2
    echo "The command-line solver works without one, for example:" >&2
    echo "    build/bin/tervalon-solve 'x=10*sin(x-1)'" >&2
    exit 1
fi
exec build/bin/tervalon "$@"
