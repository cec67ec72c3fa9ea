// SPDX-License-Identifier: MIT
// The reasons of the solution lines in words: the phrases of the interface texts with the engine's maths.
#pragma once

#include "engine/solve_details.h"

#include <string>
#include <string_view>
#include <vector>

namespace config {

class InterfaceTexts;

/// The phrases a reason is worded with, one per key of the Steps group, UTF-8.
class StepPhrases {
public:
    /// The built-in English phrases.
    StepPhrases();
    /// The phrases of texts.
    explicit StepPhrases(const InterfaceTexts& texts);

    /// The current phrase of key (a Steps key), or empty for another key.
    [[nodiscard]] const std::string& phrase(std::string_view key) const;

    bool operator==(const StepPhrases&) const = default;

private:
    std::vector<std::string> m_phrases; // in the order of the Steps rows of the text keys
};

/// The reason in words: its phrase with the maths filled in, maths with blanks around the operators
/// when addSpaces (as the lines have them), a rule as "pattern → replacement". A phrase whose
/// conversions do not fit its arguments is replaced by the built-in one.
[[nodiscard]] std::string reasonText(const engine::StepReason& reason, const StepPhrases& phrases,
                                     bool addSpaces);

/// The kind's name in machine-readable output: "equation", "fold", "rule", "swap", "isolate",
/// "collect", "clear-fraction", "invert-function", "expand", "move-term", "search", "message".
[[nodiscard]] std::string_view stepKindName(engine::StepKind kind);

/// A rule's name as the tables number it ("A23"), or empty when the reason names no rule.
[[nodiscard]] std::string ruleName(const engine::RuleId& rule);

} // namespace config
