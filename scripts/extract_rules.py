#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Transcribes the rewrite-rule listing of a Markdown text into engine/rule_tables.{h,cpp}.

The listing is the section whose level-1 heading contains "Rewrite rules". Every rule there is a
line of the form

    - A12 `pattern replacement`

with constant tokens written as the four characters \\x80 to \\x8A. Group captions are lines of the
form "A1 to A14. Caption text.". The rules are copied mechanically, never retyped: each escape
becomes its single byte, and the counts, the numbering and the single blank of every rule are
checked before anything is written.

Usage: extract_rules.py LISTING.md [OUTPUT_DIR]   (OUTPUT_DIR defaults to engine/ beside this script)
"""

import pathlib
import re
import sys
import textwrap

EXPECTED_COUNTS = {"A": 189, "B": 16, "C": 80}

RULE_LINE = re.compile(r"^- ([ABC])(\d+) `([^`]*)`\s*$")
CAPTION_LINE = re.compile(r"^([ABC])(\d+) to \1(\d+)\. (.*)$")
ESCAPE = re.compile(r"\\x([0-9A-Fa-f]{2})")

# A short summary in maths notation for each group, keyed by its first rule.
GROUP_MATHS = {
    ("A", 1): "x +- x -> 2x or 0,  x*x -> x^2,  x/x -> 1  (with or without a leading term a)",
    ("A", 15): "(a + b*x)/x -> a/x + b,  a/(b - x) -> -a/(-b + x)",
    ("A", 31): "a + b*x + c*x -> a + (b + c)*x,  b/x + c/x -> (b + c)/x",
    ("A", 55): "x^0.5 -> sqr(x),  x^-1 -> 1/x,  x^a*x^b -> x^(a + b),  a^x*b^x -> (a*b)^x",
    ("A", 92): "sqr(a*x) -> sqr(a)*sqr(x),  sqr(x)*x^b -> x^(1/2 + b)",
    ("A", 110): "exp(a + x) -> exp(a)*exp(x),  e^x -> exp(x),  exp(x)*b^x -> (e*b)^x",
    ("A", 124): "log(a*x) -> log(a) + log(x),  log(x^a) -> a*log(x),  log(exp(x)) -> x",
    ("A", 132): "lgt(a*x) -> lgt(a) + lgt(x),  lgt(exp(x)) -> x/log(10)",
    ("A", 140): "f(g(x)) -> x  for every function f with its inverse g",
    ("A", 152): "acs(sin(x)) -> acs(0) - x,  cos(asn(x)) -> sqr(1 - x^2)",
    ("A", 166): "exp(ahc(x)) -> x + sqr(x^2 - 1),  hcs(log(x)) -> (1/x + x)/2",
    ("A", 175): "cos(x) -> sqr(1 - sin(x)^2),  acs(x) -> asn(1) - asn(x)",
    ("A", 180): "f(a - x) -> -f(x - a),  f(-x) -> -f(x)  for the odd f = ahs, asn, hsn, sin",
    ("A", 188): "sin(x/2) -> sqr((1 - cos(x))/2),  hsn(x/2) -> sqr((hcs(x) - 1)/2)",
    ("B", 1): "a*(b +- x) -> a*b +- a*x,  (a +- x)/b -> a/b +- x/b",
    ("B", 7): "(a +- x)^2 -> a^2 +- 2*a*x + x^2",
    ("B", 9): "a^(b + x) -> a^b*a^x,  (a*x)^b -> a^b*x^b",
    ("B", 13): "sin(a + x) -> sin(a)*cos(x) + cos(a)*sin(x),  sin(2x) -> 2*cos(x)*sin(x)",
    ("C", 1): "b*x^2 + c*x -> (sqr(b)*x + c/2/sqr(b))^2 - c^2/4/b",
    ("C", 33): "b*x^2 + c*x^4 -> c*x^4 + b*x^2",
    ("C", 49): "b*x^4 + c*x^2 -> (sqr(b)*x^2 + c/2/sqr(b))^2 - c^2/4/b",
}

FUNCTION_TOKENS = "!acs#ahc$ahs&aht,asn:atn;cos<exp>hcs@hsn[htn]lgt{log|sin}sqr~tan"
FUNCTION_NAMES = {FUNCTION_TOKENS[i]: FUNCTION_TOKENS[i + 1:i + 4] for i in range(0, len(FUNCTION_TOKENS), 4)}
CONSTANT_NAMES = {0x80: "0", 0x81: "1", 0x82: "2", 0x83: "10", 0x84: "4", 0x85: "0.5",
                  0x86: "e", 0x87: "e^2", 0x88: "sqr(e)", 0x89: "(-1)", 0x8A: "(-2)"}
ALPHABET = set(b"+-*/^()abcdefghijklmnopqrstuvwxyz") | set(FUNCTION_TOKENS[0::4].encode()) \
    | set(range(0x80, 0x8B)) | {0x20}


def fail(message):
    sys.exit(f"extract_rules: {message}")


def decode(text, rule_id):
    """Turns the escapes into single bytes; any other backslash is an error."""
    def byte_of(match):
        value = int(match.group(1), 16)
        if not 0x80 <= value <= 0x8A:
            fail(f"{rule_id}: escape \\x{match.group(1)} is not a preset constant")
        return chr(value)

    decoded = ESCAPE.sub(byte_of, text)
    if "\\" in decoded:
        fail(f"{rule_id}: stray backslash in {text!r}")
    data = decoded.encode("latin-1")
    for byte in data:
        if byte not in ALPHABET:
            fail(f"{rule_id}: byte 0x{byte:02X} is outside the piece alphabet")
    return data


def readable(data):
    """The rule written out with function names and constant values, for the row comment."""
    out = []
    for byte in data:
        if byte >= 0x80:
            out.append(CONSTANT_NAMES[byte])
        elif chr(byte) in FUNCTION_NAMES:
            out.append(FUNCTION_NAMES[chr(byte)])
        else:
            out.append(chr(byte))
    return "".join(out)


def cpp_literal(data):
    """A C++ string literal for data. A hex escape swallows every hex digit after it, so the
    literal is split wherever a digit or a-f would follow an escape."""
    parts = ['"']
    previous_was_escape = False
    for byte in data:
        if byte >= 0x80:
            parts.append(f"\\x{byte:02X}")
            previous_was_escape = True
            continue
        char = chr(byte)
        if previous_was_escape and char in "0123456789abcdefABCDEF":
            parts.append('" "')
        if char in '"\\':
            parts.append("\\")
        parts.append(char)
        previous_was_escape = False
    parts.append('"')
    return "".join(parts)


def extract(lines):
    start = next((i for i, line in enumerate(lines)
                  if line.startswith("# ") and "Rewrite rules" in line), None)
    if start is None:
        fail("no section headed 'Rewrite rules'")
    end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith("# ")), len(lines))

    rules = {key: [] for key in EXPECTED_COUNTS}
    captions = {key: [] for key in EXPECTED_COUNTS}
    for line in lines[start:end]:
        caption = CAPTION_LINE.match(line)
        if caption:
            captions[caption.group(1)].append((int(caption.group(2)), int(caption.group(3)),
                                               caption.group(4).strip()))
            continue
        match = RULE_LINE.match(line)
        if not match:
            continue
        table, number, text = match.group(1), int(match.group(2)), match.group(3)
        rule_id = f"{table}{number}"
        if number != len(rules[table]) + 1:
            fail(f"{rule_id} is out of sequence (expected {table}{len(rules[table]) + 1})")
        data = decode(text, rule_id)
        if data.count(b" ") != 1:
            fail(f"{rule_id} has {data.count(b' ')} blanks, expected exactly one")
        pattern, replacement = data.split(b" ")
        if not pattern or not replacement:
            fail(f"{rule_id} has an empty pattern or replacement")
        rules[table].append(data)

    for table, expected in EXPECTED_COUNTS.items():
        if len(rules[table]) != expected:
            fail(f"table {table} has {len(rules[table])} rules, expected {expected}")
        covered = 1
        for first, last, _ in captions[table]:
            if first != covered or last < first:
                fail(f"caption {table}{first} to {table}{last} does not follow {table}{covered - 1}")
            covered = last + 1
        if covered != expected + 1:
            fail(f"the captions of table {table} end at {table}{covered - 1}")
    return rules, captions


HEADER = """\
// SPDX-License-Identifier: MIT
// The solver's rewrite rules: three constant tables of "pattern replacement" strings in piece form.
// Generated by scripts/extract_rules.py; regenerate instead of editing.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace engine {{

/// A rule is a pattern, exactly one blank and a replacement, written in the piece alphabet: operators,
/// parentheses, function tokens, the preset constant tokens 0x80-0x8A and letters. The letters `a`-`w`
/// bind any operand, `x` an operand holding the unknown; a letter named twice binds the same pieces
/// twice. Rules are tried in table order; rule Xn is entry n-1 of table X.
inline constexpr std::size_t kRuleCountA = {A};
inline constexpr std::size_t kRuleCountB = {B};
inline constexpr std::size_t kRuleCountC = {C};

/// Like terms, power, root, exponential and logarithm laws, inverse functions, odd symmetry.
extern const std::array<std::string_view, kRuleCountA> kRuleSetA;
/// Expansions: distributing over sums, squares of sums, addition formulas.
extern const std::array<std::string_view, kRuleCountB> kRuleSetB;
/// Completing the square in x and in x^2 (tried when x occurs exactly twice).
extern const std::array<std::string_view, kRuleCountC> kRuleSetC;

}} // namespace engine
"""


def generate_source(rules, captions):
    out = [
        "// SPDX-License-Identifier: MIT",
        "// The rewrite-rule tables as constant data; each row reads pattern, blank, replacement.",
        "// Generated by scripts/extract_rules.py; regenerate instead of editing.",
        '#include "rule_tables.h"',
        "",
        "namespace engine {",
        "",
        "// clang-format off",
    ]
    for table in EXPECTED_COUNTS:
        out.append("")
        out.append(f"const std::array<std::string_view, kRuleCount{table}> kRuleSet{table} = {{")
        groups = []
        for first, last, text in captions[table]:
            groups.append((first, last, text))
        for group_index, (first, last, text) in enumerate(groups):
            if group_index > 0:
                out.append("")
            for wrapped in textwrap.wrap(f"{table}{first}-{table}{last}: {text}", 100):
                out.append(f"    // {wrapped}")
            maths = GROUP_MATHS.get((table, first))
            if maths:
                out.append(f"    //   {maths}")
            rows = []
            for number in range(first, last + 1):
                data = rules[table][number - 1]
                pattern, replacement = data.split(b" ")
                rows.append((f"    {cpp_literal(data)},",
                             f"// {table}{number}: {readable(pattern)} -> {readable(replacement)}"))
            # Comments line up within a group; a row too long for that gets its comment above.
            fitting = [len(row) for row, comment in rows if len(row) + 1 + len(comment) <= 110]
            column = max(fitting, default=0) + 1
            for row, comment in rows:
                if column + len(comment) <= 110 and len(row) < column:
                    out.append(row + " " * (column - len(row)) + comment)
                else:
                    out.append(f"    {comment}")
                    out.append(row)
        out.append("};")
    out.append("")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace engine")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) < 2:
        fail(__doc__.strip().splitlines()[-1])
    listing = pathlib.Path(argv[1]).read_text(encoding="utf-8").splitlines()
    output_dir = pathlib.Path(argv[2]) if len(argv) > 2 else pathlib.Path(__file__).resolve().parent.parent / "engine"
    rules, captions = extract(listing)
    (output_dir / "rule_tables.h").write_text(HEADER.format(**{k: len(v) for k, v in rules.items()}),
                                              encoding="ascii")
    (output_dir / "rule_tables.cpp").write_text(generate_source(rules, captions), encoding="ascii")
    counts = ", ".join(f"{table}: {len(rules[table])}" for table in rules)
    print(f"extract_rules: wrote {output_dir}/rule_tables.h and rule_tables.cpp ({counts})")


if __name__ == "__main__":
    main(sys.argv)
