// SPDX-License-Identifier: MIT
// Number conversions that behave as in the C locale whatever the process locale is.
#pragma once

#include <string>

namespace engine {

/// Reads a number at text as `sscanf("%lf%s")` does in the C locale. Returns false when no value is
/// read; otherwise value and consumed (the number of characters the conversion read).
[[nodiscard]] bool readNumber(const char* text, double& value, int& consumed);

/// printf-style formatting in the C locale (the decimal point is always ".").
[[nodiscard]] std::string formatCLocale(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace engine
