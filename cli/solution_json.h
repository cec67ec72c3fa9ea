// SPDX-License-Identifier: MIT
// One solved equation as the JSON object that tervalon-solve --json prints.
#pragma once

#include "config/solve_command.h"
#include "config/step_reasons.h"

#include <string>

namespace cli {

/// The object, on one line without a line end, its members in this order:
/// {"equation": "...", "lines": [{"text": "...", "reason": {"text": "...", "kind": "...",
/// "rule": "A23" or null}}, ...], "error": 0, "value": {"text": "...", "re": 4, "im": 0} or null,
/// "check": {"verdict": "verified", "value": {"re": 4, "im": 0}, "left": {"re": 8, "im": 0},
/// "right": {"re": 8, "im": 0}}}. The verdict is one of "verified", "failed", "other-branch",
/// "undefined", "undetermined" and "not-applicable"; value (x as checked, refined when it was) and
/// the sides with principal values are there when it is verified, failed or other-branch (for an
/// equation with other letters, at the set of letter values named by "letterSet"); an undefined
/// check names its "side" ("left" or "right") and value. After a search for all solutions (--all
/// on an equation in x alone) a member "solutions" follows: {"families": [{"base": {"text":
/// "0.523599", "re": 0.5235987755982989, "im": 0}, "period": {"text": "6.28319", "re": ..., "im":
/// 0}}, ...], "values": [{"text": "-2", "re": -2, "im": 0, "verdict": "verified"}, ...],
/// "mayHaveMore": false}.
/// Line texts are the engine's lines without CR LF; reasons are worded with phrases, their maths
/// in the engine's notation; the value is the final x = constant at full precision.
[[nodiscard]] std::string solutionJson(const config::SolveRecord& solved, const config::StepPhrases& phrases);

} // namespace cli
