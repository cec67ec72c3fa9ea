// SPDX-License-Identifier: MIT
// One font configuration (dialog font or solution-view font) as plain data, without any window system.
#include "config/font_settings.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace config {

CFontSettings::CFontSettings(FontDescription systemFont, FontDescription builtInFont)
    : m_systemFont(std::move(systemFont)), m_builtInFont(std::move(builtInFont))
{
    Rebuild();
}

void CFontSettings::setSourceFonts(FontDescription systemFont, FontDescription builtInFont)
{
    m_systemFont = std::move(systemFont);
    m_builtInFont = std::move(builtInFont);
}

void CFontSettings::Rebuild()
{
    m_effectiveFont = m_builtInFont;
    if (m_useBuildInFont)
        return;
    m_effectiveFont.faceName = m_systemFont.faceName;
    m_effectiveFont.charset = m_systemFont.charset;
    m_effectiveFont.pitchAndFamily = m_systemFont.pitchAndFamily;
    if (m_useFontHeight)
        m_effectiveFont.height = m_systemFont.height;
}

void CFontSettings::SetFaceName(std::string_view name)
{
    m_effectiveFont.faceName.assign(name);
}

void CFontSettings::SetCharset(std::uint8_t charset)
{
    m_effectiveFont.charset = charset;
}

void CFontSettings::SetPitch(std::uint8_t pitchAndFamily)
{
    m_effectiveFont.pitchAndFamily = pitchAndFamily;
}

void CFontSettings::SetHeight(std::int32_t height)
{
    if (m_useFontHeight)
        m_effectiveFont.height = height;
}

void CFontSettings::SetFromFont(const FontDescription& font)
{
    m_effectiveFont = font;
    if (!m_useFontHeight)
        m_effectiveFont.height = m_builtInFont.height;
}

void CFontSettings::CloneInto(CFontSettings& other) const
{
    other = *this;
}

std::int32_t CFontSettings::PointSize(std::int32_t pixelsPerInch) const
{
    if (pixelsPerInch <= 0)
        return 0;
    // Rounded like the platform's MulDiv: to nearest, halves away from zero.
    const std::int64_t product = -std::int64_t{m_effectiveFont.height} * 72;
    const std::int64_t half = pixelsPerInch / 2;
    const std::int64_t rounded =
        product >= 0 ? (product + half) / pixelsPerInch : (product - half) / pixelsPerInch;
    // Absurd heights from a settings file are clamped so that TwipsSize cannot overflow either.
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max() / 20;
    return static_cast<std::int32_t>(std::clamp(rounded, -kLimit, kLimit));
}

} // namespace config
