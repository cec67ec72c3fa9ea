#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds everything with warnings as errors and runs all tests (the window
# tests offscreen; the installation and the Debian package made from this build); builds the benchmark
# programs of the optimised build; builds the engine, configuration and command line once more without
# Qt and runs their tests, to show that they need no window system; then runs the engine,
# configuration, command-line and window tests again under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh

jobs="$(nproc)"
cmake --preset dev
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# The optimised build's benchmark programs must keep building (they are run by hand, not here).
cmake --preset release
cmake --build build-release -j"$jobs" --target benchmarks

# Qt is switched off and may not even be looked for here.
cmake --preset noqt --no-warn-unused-cli
cmake --build build-noqt -j"$jobs"
# KaTeX renders the LaTeX output once, in the full build.
ctest --test-dir build-noqt --output-on-failure -j"$jobs" -LE latex

cmake --preset asan
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -L 'engine|analysis|config|cli|gui'
