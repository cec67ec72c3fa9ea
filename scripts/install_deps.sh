#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages the build, the tests and the window need (idempotent): Qt 6 Widgets
# with its SVG plugins for the icon, Qt SVG's development files for the graph's SVG export, and its
# own translations (the texts of the dialogs Qt draws itself), GNU MPC and MPFR for the high-precision
# result check, fplll's lattice reduction for exact values, fonts metric-compatible with "Courier
# New", a virtual X server for screenshots, and unrtf, the independent reader that checks the saved
# RTF results; Python for the test scripts; Node.js and npm for KaTeX, which renders the LaTeX output
# in the tests; for the installation and the Debian package: rsvg-convert for the PNG icons,
# dpkg-shlibdeps, and the validators of desktop entries, AppStream metadata, file types and manual pages.
set -euo pipefail

packages=(cmake ninja-build g++ clang clang-format libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
    locales qt6-base-dev libqt6svg6 qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n fonts-liberation2 xvfb xauth unrtf
    librsvg2-bin dpkg-dev desktop-file-utils appstream shared-mime-info man-db inotify-tools
    libmpc-dev libmpfr-dev libgmp-dev libfplll-dev python3)
# Node.js and npm fetch KaTeX, the LaTeX parser of the tests; a Node.js installed otherwise is used as it is.
command -v npm > /dev/null || packages+=(nodejs npm)

sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_if_needed apt-get update -qq
    sudo_if_needed env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# A locale with a decimal comma, so the tests can show that numbers ignore the process locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    sudo_if_needed localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: could not generate de_DE.UTF-8"
fi

# KaTeX from npm, at the version the lock file names, for the test that renders the LaTeX output.
katex_dir="$(cd "$(dirname "$0")/.." && pwd)/tests/latex"
wanted="$(sed -n 's/.*"katex": "\(.*\)".*/\1/p' "$katex_dir/package.json")"
installed="$(sed -n 's/^  "version": "\(.*\)".*/\1/p' "$katex_dir/node_modules/katex/package.json" 2>/dev/null || true)"
if [ "$installed" != "$wanted" ]; then
    echo "Installing KaTeX $wanted from npm"
    (cd "$katex_dir" && npm ci --no-audit --no-fund --loglevel=error)
fi
