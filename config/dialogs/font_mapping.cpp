// SPDX-License-Identifier: MIT
// Between the stored font descriptions of the settings and Qt's fonts, and applying a font to a window.
#include "config/dialogs/font_mapping.h"

#include "config/dialogs/text_conversion.h"

#include <QFontInfo>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace config {

namespace {

// The pitch (low two bits) and family (high nibble) values of a pitch-and-family byte.
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr std::uint8_t kPitchMask = 0x03;
constexpr std::uint8_t kFamilyMask = 0xF0;
constexpr std::uint8_t kFamilyDontCare = 0x00;
constexpr std::uint8_t kFamilyRoman = 0x10;
constexpr std::uint8_t kFamilySwiss = 0x20;
constexpr std::uint8_t kFamilyModern = 0x30;
constexpr std::uint8_t kFamilyScript = 0x40;
constexpr std::uint8_t kFamilyDecorative = 0x50;

/// Larger pixel sizes from a settings file are absurd; they are capped so text stays drawable.
constexpr int kMaxPixelSize = 500;

QFont::StyleHint styleHintOf(std::uint8_t pitchAndFamily)
{
    switch (pitchAndFamily & kFamilyMask) {
    case kFamilyRoman:
        return QFont::Serif;
    case kFamilySwiss:
        return QFont::SansSerif;
    case kFamilyModern:
        return QFont::TypeWriter;
    case kFamilyScript:
        return QFont::Cursive;
    case kFamilyDecorative:
        return QFont::Decorative;
    default:
        return (pitchAndFamily & kPitchMask) == kFixedPitch ? QFont::TypeWriter : QFont::AnyStyle;
    }
}

std::uint8_t familyOf(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::Serif:
        return kFamilyRoman;
    case QFont::SansSerif:
        return kFamilySwiss;
    case QFont::TypeWriter:
    case QFont::Monospace:
        return kFamilyModern;
    case QFont::Cursive:
        return kFamilyScript;
    case QFont::Decorative:
    case QFont::Fantasy:
        return kFamilyDecorative;
    default:
        return kFamilyDontCare;
    }
}

int pixelSizeOf(std::int32_t height)
{
    const std::int64_t magnitude = std::abs(std::int64_t{height});
    return static_cast<int>(std::min<std::int64_t>(magnitude, kMaxPixelSize));
}

void setFace(QFont& font, const FontDescription& description)
{
    if (!description.faceName.empty())
        font.setFamily(toQString(description.faceName));
    font.setStyleHint(styleHintOf(description.pitchAndFamily));
    font.setFixedPitch((description.pitchAndFamily & kPitchMask) == kFixedPitch);
}

} // namespace

QFont fontFromDescription(const FontDescription& description, const QFont& base)
{
    QFont font = base;
    setFace(font, description);
    if (description.height != 0)
        font.setPixelSize(pixelSizeOf(description.height));
    return font;
}

FontDescription describeFont(const QFont& font, int dpiY, std::uint8_t charset)
{
    FontDescription description;
    description.faceName = toUtf8(font.family());
    description.charset = charset;
    if (font.pointSizeF() > 0)
        description.height = -static_cast<std::int32_t>(std::lround(font.pointSizeF() * dpiY / 72.0));
    else
        description.height = -font.pixelSize();
    const std::uint8_t pitch = QFontInfo(font).fixedPitch() ? kFixedPitch : kVariablePitch;
    description.pitchAndFamily = static_cast<std::uint8_t>(familyOf(font.styleHint()) | pitch);
    return description;
}

void applyFont(QWidget& window, const FontDescription& source, bool withHeight)
{
    QFont font = window.font();
    setFace(font, source);
    if (withHeight && source.height != 0)
        font.setPixelSize(pixelSizeOf(source.height));
    window.setFont(font);
}

} // namespace config
