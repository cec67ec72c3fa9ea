// SPDX-License-Identifier: MIT
// One font configuration (dialog font or solution-view font) as plain data, without any window system.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace config {

/// The fields of a platform font description (a LOGFONT) that the program stores and changes.
struct FontDescription {
    std::string faceName;            ///< UTF-8
    std::uint8_t charset = 0;        ///< character set byte
    std::int32_t height = 0;         ///< LOGFONT height: negative = character height in pixels
    std::uint8_t pitchAndFamily = 0; ///< pitch-and-family byte

    bool operator==(const FontDescription&) const = default;
};

/// How one kind of text is drawn: the main window keeps two, the dialog font and the solution-view
/// font. The window layer supplies the two fonts it is built from (the system's message font and
/// the owner window's own font) and maps the effective font onto its widgets; everything else is
/// here. All getters and setters work on the effective font.
class CFontSettings {
public:
    /// Empty source fonts; flags UseBuildInFont 0, UseFontSettings 1, UseFontHeight 0.
    CFontSettings() = default;
    /// Keeps both source fonts, flags as above, then `Rebuild`.
    CFontSettings(FontDescription systemFont, FontDescription builtInFont);

    /// Replaces the source fonts (e.g. after a change of the system font); does not rebuild.
    void setSourceFonts(FontDescription systemFont, FontDescription builtInFont);
    /// Effective font := the built-in font when UseBuildInFont is set; otherwise the built-in font
    /// with the face name, character set and pitch of the system font, and its height as well
    /// when UseFontHeight is set.
    void Rebuild();

    void SetFaceName(std::string_view name);
    void SetCharset(std::uint8_t charset);
    void SetPitch(std::uint8_t pitchAndFamily);
    /// Replaces the height only when UseFontHeight is set; otherwise does nothing.
    void SetHeight(std::int32_t height);
    /// Effective font := font, but keeping the built-in font's height unless UseFontHeight is set.
    void SetFromFont(const FontDescription& font);
    /// Copies the flags and all fonts into other (dialogs edit such clones).
    void CloneInto(CFontSettings& other) const;

    [[nodiscard]] const std::string& FaceName() const { return m_effectiveFont.faceName; }
    [[nodiscard]] std::uint8_t Charset() const { return m_effectiveFont.charset; }
    [[nodiscard]] std::uint8_t PitchAndFamily() const { return m_effectiveFont.pitchAndFamily; }
    [[nodiscard]] std::int32_t Height() const { return m_effectiveFont.height; }
    /// -Height * 72 / pixelsPerInch, rounded to the nearest integer (halves away from zero);
    /// 0 for a non-positive resolution; clamped to +-(2^31-1)/20 so that `TwipsSize` fits.
    [[nodiscard]] std::int32_t PointSize(std::int32_t pixelsPerInch) const;
    /// `PointSize` in twentieths of a point.
    [[nodiscard]] std::int32_t TwipsSize(std::int32_t pixelsPerInch) const
    {
        return PointSize(pixelsPerInch) * 20;
    }

    [[nodiscard]] const FontDescription& effectiveFont() const { return m_effectiveFont; }
    [[nodiscard]] const FontDescription& systemFont() const { return m_systemFont; }
    [[nodiscard]] const FontDescription& builtInFont() const { return m_builtInFont; }

    [[nodiscard]] bool UseBuildInFont() const { return m_useBuildInFont; }
    [[nodiscard]] bool UseFontSettings() const { return m_useFontSettings; }
    [[nodiscard]] bool UseFontHeight() const { return m_useFontHeight; }
    void SetUseBuildInFont(bool on) { m_useBuildInFont = on; }
    void SetUseFontSettings(bool on) { m_useFontSettings = on; }
    void SetUseFontHeight(bool on) { m_useFontHeight = on; }

    bool operator==(const CFontSettings&) const = default;

private:
    FontDescription m_systemFont;
    FontDescription m_builtInFont;
    FontDescription m_effectiveFont;
    bool m_useBuildInFont = false;
    bool m_useFontSettings = true;
    bool m_useFontHeight = false;
};

} // namespace config
