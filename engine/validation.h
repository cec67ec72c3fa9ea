// SPDX-License-Identifier: MIT
// The check of an equation text before it is tokenised: the first fault and its message arguments.
#pragma once

#include "engine/error_codes.h"

#include <array>
#include <string_view>

namespace engine {

/// Outcome of `Validate`: ErrorCode::None when the text is accepted, else the first fault with the
/// arguments its message takes (position, up to two characters, the three letters of ERROR 16).
struct ValidationResult {
    ErrorCode code = ErrorCode::None;
    int position = 0;
    char first = 0;
    char second = 0;
    std::array<char, 4> letters{};
};

/// Checks text (cut at a NUL) in one left-to-right scan and reports the first fault, in the order
/// the checks are documented for ERROR 2 to 23.
[[nodiscard]] ValidationResult Validate(std::string_view text);

} // namespace engine
