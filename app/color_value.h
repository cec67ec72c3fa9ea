// SPDX-License-Identifier: MIT
// Colours as the settings store them: 0x00BBGGRR in a 32-bit integer.
#pragma once

#include <QColor>

#include <cstdint>

namespace app {

/// The colour of a stored value (red in the low byte); the top byte is ignored.
[[nodiscard]] inline QColor fromColorValue(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFU), static_cast<int>((bits >> 8U) & 0xFFU),
                  static_cast<int>((bits >> 16U) & 0xFFU));
}

} // namespace app
