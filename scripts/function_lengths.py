#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Lists the longest functions of C++ sources formatted with the project's .clang-format.

A function body is taken to open with a line holding only "{" (the brace style puts every function
body's brace on its own line, and nothing else's) and to close with the "}" at the same indentation.
Its length counts the lines from its signature's first line to the closing brace. Constant tables
hold no function bodies, so they never count.

Usage: function_lengths.py [--limit N] [--top K] FILE...
Exits 1 when a function is longer than N lines (default 80); prints the K longest (default 10).
"""

import argparse
import re
import sys

SIGNATURE_END = re.compile(r"[);]\s*$|^\s*$|^\s*//|^\s*#|[{}]\s*$")


def functions(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    found = []
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.strip() != "{":
            i += 1
            continue
        indent = line[: len(line) - len(line.lstrip())]
        end = i + 1
        while end < len(lines) and not (lines[end].startswith(indent + "}") and
                                        lines[end][len(indent)] == "}"):
            end += 1
        # The signature starts after the previous statement, comment, blank line or brace.
        start = i - 1
        while start > 0 and not SIGNATURE_END.search(lines[start - 1]):
            start -= 1
        name = lines[start].strip()
        found.append((end - start + 1, f"{path}:{start + 1}", name))
        i = end + 1
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--limit", type=int, default=80)
    parser.add_argument("--top", type=int, default=10)
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    everything = sorted((f for path in args.files for f in functions(path)), reverse=True)
    for length, where, name in everything[: args.top]:
        print(f"{length:4d}  {where}  {name}")
    too_long = [f for f in everything if f[0] > args.limit]
    if too_long:
        print(f"{len(too_long)} function(s) longer than {args.limit} lines", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
