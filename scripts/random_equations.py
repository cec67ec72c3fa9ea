#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes random equations, one per line, for comparing two builds of tervalon-solve.

The output depends only on the seed and the count, so two runs on different machines give the same
file. The equations cover every construct the solver reads: integers, decimals and exponents,
x and the other letters, all sixteen functions, nested parentheses, signs after operators, and a
share of faulty texts (unknown names, misplaced characters, missing or doubled '=', overlong
equations, blanks and a few non-ASCII characters for the Solve command to strip).

Usage: random_equations.py [COUNT] [SEED]   (defaults: 20000 equations, seed 8)
"""

import random
import sys

FUNCTIONS = ["sin", "cos", "tan", "sqr", "exp", "log", "lgt", "asn",
             "acs", "atn", "hsn", "hcs", "htn", "ahs", "ahc", "aht"]
OPERATORS = ["+", "-", "*", "/", "^"]
LETTERS = "abcdefghijklmnopqrstuvwyz"


def number(rng):
    kind = rng.random()
    if kind < 0.55:
        return str(rng.randint(0, 12))
    if kind < 0.65:
        return str(rng.randint(0, 9999))
    if kind < 0.85:
        return f"{rng.randint(0, 99)}.{rng.randint(0, 999):0{rng.randint(1, 3)}d}"
    if kind < 0.92:
        return f".{rng.randint(1, 99)}"
    mantissa = rng.choice(["1", "2.5", "7", "1.25", "9"])
    return f"{mantissa}e{rng.choice(['', '-', '+'])}{rng.randint(0, 20)}"


def operand(rng, depth):
    kind = rng.random()
    if depth <= 0 or kind < 0.45:
        return "x" if rng.random() < 0.4 else number(rng)
    if kind < 0.45:
        return rng.choice(LETTERS)
    if kind < 0.70:
        return f"{rng.choice(FUNCTIONS)}({expression(rng, depth - 1)})"
    return f"({expression(rng, depth - 1)})"


def expression(rng, depth):
    text = operand(rng, depth)
    if rng.random() < 0.15:
        text = rng.choice(["-", "+"]) + text
    for _ in range(rng.choice([0, 0, 1, 1, 1, 2, 3])):
        op = rng.choice("++--**//^")
        sign = rng.choice(["-", "+"]) if rng.random() < 0.1 else ""
        text += op + sign + operand(rng, depth)
    return text


def corrupt(rng, text):
    """One fault of the kind users type."""
    kind = rng.randrange(9)
    position = rng.randint(0, len(text))
    if kind == 0:
        return text[:position] + rng.choice("()=*+^.,;!x2") + text[position:]
    if kind == 1 and text:
        return text[:position] + text[position + 1:]
    if kind == 2:
        return text.replace("=", "", 1)
    if kind == 3:
        return text + "=" + expression(rng, 1)
    if kind == 4:
        return text[:position] + rng.choice(["foo(", "si(", "sinh(", "lg", "sq"]) + text[position:]
    if kind == 5:
        return text.replace("x", "y")
    if kind == 6:
        return "(" * rng.randint(1, 35) + text + ")" * rng.randint(0, 35)
    if kind == 7:
        return text + "+x" * rng.randint(60, 140)
    return ""


def decorate(rng, text):
    """Blanks, a tab or a non-ASCII character that the Solve command strips."""
    out = []
    for c in text:
        if rng.random() < 0.04:
            out.append(rng.choice([" ", "\t", "\u00a0", "\u00e4", "\u066b"]))
        out.append(c)
    return "".join(out)


def equation(rng):
    depth = rng.choice([0, 1, 1, 1, 2, 2, 3])
    left = expression(rng, depth)
    right = expression(rng, rng.choice([0, 1, 2]))
    if "x" not in left + right:
        left += "+x" if rng.random() < 0.5 else "*x"
    text = f"{left}={right}" if rng.random() < 0.8 else f"{right}={left}"
    if rng.random() < 0.12:
        text = corrupt(rng, text)
    if rng.random() < 0.08:
        text = decorate(rng, text)
    return text


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 20000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 8
    rng = random.Random(seed)
    out = sys.stdout.buffer
    for _ in range(count):
        out.write(equation(rng).encode("utf-8") + b"\n")


if __name__ == "__main__":
    main()
