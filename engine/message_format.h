// SPDX-License-Identifier: MIT
// Safe printf-style formatting of message texts that come from language files.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace engine {

enum class FormatArgKind {
    Int,    // for %d and %i
    Char,   // for %c
    String, // for %s (NUL-terminated)
};

struct FormatArg {
    FormatArgKind kind = FormatArgKind::Int;
    int number = 0;
    const char* text = "";
};

/// Formats format with args, printf style, when its conversions match the arguments exactly: one
/// conversion per argument, in order, of the argument's kind (%d/%i, %c, %s), with optional flags,
/// a width and a precision of at most three digits; "%%" is a literal percent sign. Any other
/// conversion, a missing or surplus one, leaves out untouched and returns false, so a translated
/// text can never make the formatting read arguments that are not there.
[[nodiscard]] bool formatMessage(std::string_view format, std::span<const FormatArg> args, std::string& out);

} // namespace engine
