#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Tervalon and makes the pictures of the README and the help pages in resources/screenshots/:
# the real windows on a virtual X server (Xvfb), each on temporary settings, never the user's own.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh
cmake --preset dev >/dev/null
cmake --build build -j"$(nproc)" --target tervalon-screenshots
mkdir -p resources/screenshots
# A fixed resolution and language, so the pictures do not depend on the machine they are made on.
export LC_ALL=C.UTF-8
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
    build/bin/tervalon-screenshots resources/screenshots
# A HiDPI screen: 1280x900 pixels at twice the scale, on which the window must place itself.
QT_SCALE_FACTOR=2 xvfb-run --auto-servernum --server-args="-screen 0 1280x900x24 -dpi 96" \
    build/bin/tervalon-screenshots --scaled resources/screenshots
