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

/// Whether a text may leave out trailing arguments (a translated message that does not show the
/// character, say) or must use every one (a header that must show both the equation and its solution).
enum class ArgumentUse {
    LeadingArgumentsSuffice,
    AllArgumentsRequired,
};

/// Formats format with args, printf style, when its conversions match the arguments: each conversion
/// takes the next argument, which must be of its kind (%d/%i, %c, %s), with optional flags, a width and
/// a precision of at most three digits; "%%" is a literal percent sign. Any other conversion, one more
/// than there are arguments, or (with AllArgumentsRequired) one too few leaves out untouched and
/// returns false, so a translated text can never make the formatting read arguments that are not there.
[[nodiscard]] bool formatMessage(std::string_view format, std::span<const FormatArg> args, std::string& out,
                                 ArgumentUse use = ArgumentUse::AllArgumentsRequired);

} // namespace engine
