// SPDX-License-Identifier: MIT
// Colours as the settings store them: 0x00BBGGRR in a 32-bit integer.
#pragma once

#include <QColor>

#include <cstdint>

namespace config {

/// The colour of a stored value (red in the low byte); the top byte is ignored.
[[nodiscard]] inline QColor fromColorValue(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFU), static_cast<int>((bits >> 8U) & 0xFFU),
                  static_cast<int>((bits >> 16U) & 0xFFU));
}

/// The stored value of a colour (its transparency is dropped).
[[nodiscard]] inline std::int32_t toColorValue(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const auto bits = static_cast<std::uint32_t>(rgb.red()) |
                      (static_cast<std::uint32_t>(rgb.green()) << 8U) |
                      (static_cast<std::uint32_t>(rgb.blue()) << 16U);
    return static_cast<std::int32_t>(bits);
}

} // namespace config
