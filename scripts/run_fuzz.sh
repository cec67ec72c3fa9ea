#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with clang and runs one of them.
# Usage: scripts/run_fuzz.sh [engine|analysis|config|language] [seconds]   (default: engine, 60 s)
# New inputs go to fuzz-corpus/TARGET/; the committed seed files in fuzz/corpus/TARGET/ are read too.
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-engine}"
seconds="${2:-60}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target "fuzz_${target}" -j"$(nproc)"
mkdir -p "fuzz-corpus/${target}"
seeds=()
if [ -d "fuzz/corpus/${target}" ]; then
    seeds+=("fuzz/corpus/${target}")
fi
max_len=4096
if [ "${target}" = engine ]; then
    max_len=600
    if [ -d tests/golden ]; then
        # Seed the corpus with the golden equations.
        grep -hv '^[#[:space:]]' tests/golden/*.txt 2>/dev/null | grep -v '^$' | head -500 |
            while IFS= read -r line; do printf '%s' "$line" > "fuzz-corpus/${target}/seed-$(printf '%s' "$line" | md5sum | cut -c1-12)"; done || true
    fi
fi
if [ "${target}" = analysis ]; then
    max_len=216
    # Each seed is a value of x (two doubles, 1.5 + 0.5i) and a golden equation.
    grep -hv '^[#[:space:]]' tests/golden/*.txt 2>/dev/null | grep -v '^$' | head -500 |
        while IFS= read -r line; do
            { printf '\x00\x00\x00\x00\x00\x00\xf8\x3f\x00\x00\x00\x00\x00\x00\xe0\x3f'; printf '%s' "$line"; } \
                > "fuzz-corpus/${target}/seed-$(printf '%s' "$line" | md5sum | cut -c1-12)"
        done || true
fi
exec "build-fuzz/bin/fuzz_${target}" -max_len="${max_len}" -max_total_time="${seconds}" -timeout=10 \
    -print_final_stats=1 "fuzz-corpus/${target}" "${seeds[@]}"
