#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Reads the output of tervalon-solve --json, checks that every line is one JSON object of the
documented shape, and prints each object with one member and one solution line per line.

Exits 1 with a message at the first line that is not valid JSON or not of that shape."""

import json
import sys

LINE_MEMBERS = ["text", "reason"]
REASON_MEMBERS = ["text", "kind", "rule"]
VERDICTS = ["verified", "failed", "other-branch", "undefined", "undetermined", "not-applicable"]
NUMBER_MEMBERS = ["text", "re", "im"]


def check(condition, what):
    if not condition:
        sys.exit(f"json_lines.py: {what}")


for number, text in enumerate(sys.stdin.buffer.read().decode("utf-8").split("\n"), 1):
    if not text:
        continue
    solved = json.loads(text)
    check(list(solved)[:5] == ["equation", "lines", "error", "value", "check"], f"line {number}: members")
    check(isinstance(solved["error"], int), f"line {number}: error")
    value = solved["value"]
    check(value is None or list(value) == ["text", "re", "im", "exact"], f"line {number}: value")
    # Only a value that verified can have an exact form.
    check(value is None or value["exact"] is None or solved["check"]["verdict"] == "verified",
          f"line {number}: exact value of an unverified value")
    print("equation", json.dumps(solved["equation"], ensure_ascii=False))
    for line in solved["lines"]:
        check(list(line) == LINE_MEMBERS, f"line {number}: solution line members")
        check(list(line["reason"]) == REASON_MEMBERS, f"line {number}: reason members")
        print(" ", json.dumps(line, ensure_ascii=False))
    print("error", solved["error"])
    print("value", json.dumps(value, ensure_ascii=False))
    verdict = solved["check"]["verdict"]
    check(verdict in VERDICTS, f"line {number}: check verdict")
    has_sides = verdict in ("verified", "failed", "other-branch")
    check(("left" in solved["check"]) == has_sides, f"line {number}: check sides")
    check(("value" in solved["check"]) == (has_sides or verdict == "undefined"), f"line {number}: check value")
    check(("side" in solved["check"]) == (verdict == "undefined"), f"line {number}: check side")
    print("check", json.dumps(solved["check"], ensure_ascii=False))
    if "solutions" in solved:
        found = solved["solutions"]
        check(list(found) == ["families", "values", "mayHaveMore"], f"line {number}: solutions members")
        check(all(list(f) == ["base", "period", "exact"] and list(f["base"]) == NUMBER_MEMBERS
                  and list(f["period"]) == NUMBER_MEMBERS for f in found["families"]),
              f"line {number}: solution families")
        check(all(list(v) == ["text", "re", "im", "verdict", "exact"] and v["verdict"] == "verified"
                  for v in found["values"]), f"line {number}: solution values")
        print("solutions", json.dumps(found, ensure_ascii=False))
