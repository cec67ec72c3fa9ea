// SPDX-License-Identifier: MIT
// One solved equation as the JSON object that tervalon-solve --json prints.
#pragma once

#include "config/step_reasons.h"
#include "engine/error_codes.h"
#include "engine/solve_details.h"

#include <string>

namespace cli {

/// Everything the JSON object of one equation tells, gathered by the caller.
struct SolvedEquation {
    std::string equation; ///< the text the engine solved (blanks stripped, "." as decimal point)
    std::string solution; ///< the engine's text: lines ending in CR LF
    engine::SolveDetails details;
    engine::ErrorCode error = engine::ErrorCode::None;
};

/// The object, on one line without a line end, its members in this order:
/// {"equation": "...", "lines": [{"text": "...", "reason": {"text": "...", "kind": "...",
/// "rule": "A23" or null}}, ...], "error": 0, "value": {"text": "...", "re": 4, "im": 0} or null}.
/// Line texts are the engine's lines without CR LF; reasons are worded with phrases, their maths
/// in the engine's notation; the value is the final x = constant at full precision.
[[nodiscard]] std::string solutionJson(const SolvedEquation& solved, const config::StepPhrases& phrases);

} // namespace cli
