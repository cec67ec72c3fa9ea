// SPDX-License-Identifier: MIT
// One solved equation as the JSON object that tervalon-solve --json prints.
#pragma once

#include "config/step_reasons.h"
#include "engine/all_solutions.h"
#include "engine/error_codes.h"
#include "engine/result_check.h"
#include "engine/solve_details.h"

#include <string>

namespace cli {

/// Everything the JSON object of one equation tells, gathered by the caller.
struct SolvedEquation {
    std::string equation; ///< the text the engine solved (blanks stripped, "." as decimal point)
    std::string solution; ///< the engine's text: lines ending in CR LF
    engine::SolveDetails details;
    engine::ErrorCode error = engine::ErrorCode::None;
    engine::CheckResult check;
    /// With --all: every solution found; otherwise a search that has not run.
    engine::AllSolutions solutions;
};

/// The object, on one line without a line end, its members in this order:
/// {"equation": "...", "lines": [{"text": "...", "reason": {"text": "...", "kind": "...",
/// "rule": "A23" or null}}, ...], "error": 0, "value": {"text": "...", "re": 4, "im": 0} or null,
/// "check": {"verdict": "verified", "left": {"re": 8, "im": 0}, "right": {"re": 8, "im": 0}}}.
/// The check's sides are there only when it is verified or failed (for an equation with other
/// letters, at the set of letter values named by "letterSet"). After a search for all solutions
/// (--all on an equation in x alone) a member "solutions" follows: {"values": [{"text": "-2",
/// "re": -2, "im": 0, "verdict": "verified"}, ...], "mayHaveMore": false}.
/// Line texts are the engine's lines without CR LF; reasons are worded with phrases, their maths
/// in the engine's notation; the value is the final x = constant at full precision.
[[nodiscard]] std::string solutionJson(const SolvedEquation& solved, const config::StepPhrases& phrases);

} // namespace cli
