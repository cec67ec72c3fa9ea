// SPDX-License-Identifier: MIT
// Rich Text Format of the solution view's runs (text, colour, bold), for result files and the clipboard.
#include "app/rtf_writer.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace app {

namespace {

/// One UTF-16 unit as "\uN?": N is signed 16-bit, '?' what a reader without Unicode shows.
void appendUnicode(std::string& out, char16_t unit)
{
    out += "\\u";
    out += std::to_string(static_cast<int>(static_cast<std::int16_t>(unit)));
    out += '?';
}

void appendText(std::string& out, std::u16string_view text)
{
    for (const char16_t unit : text) {
        switch (unit) {
        case u'\n':
            out += "\\par\n";
            break;
        case u'\t':
            out += "\\tab ";
            break;
        case u'\\':
        case u'{':
        case u'}':
            out += '\\';
            out += static_cast<char>(unit);
            break;
        default:
            if (unit < 0x20 || unit > 0x7E)
                appendUnicode(out, unit);
            else
                out += static_cast<char>(unit);
        }
    }
}

/// A font-table name: its own syntax ends the name at ";", which no face name needs.
void appendFaceName(std::string& out, std::u16string_view name)
{
    std::u16string kept(name);
    std::erase(kept, u';');
    appendText(out, kept);
}

void appendColor(std::string& out, std::uint32_t rgb)
{
    out += "\\red" + std::to_string((rgb >> 16U) & 0xFFU) + "\\green" + std::to_string((rgb >> 8U) & 0xFFU) +
           "\\blue" + std::to_string(rgb & 0xFFU) + ';';
}

} // namespace

std::string rtfOf(const std::vector<TextRun>& runs, const RtfStyle& style)
{
    std::vector<std::uint32_t> colors = style.colors;
    for (const TextRun& run : runs) {
        if (std::find(colors.begin(), colors.end(), run.rgb) == colors.end())
            colors.push_back(run.rgb);
    }

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0";
    out += style.isFixedPitch ? "\\fmodern" : "\\fnil";
    out += "\\fcharset0 ";
    appendFaceName(out, style.faceName);
    out += ";}}\n{\\colortbl;";
    for (const std::uint32_t rgb : colors)
        appendColor(out, rgb);
    out += "}\n\\uc1\\pard\\plain\\f0\\fs" + std::to_string(std::max(style.halfPoints, 1)) + '\n';

    std::size_t currentColor = 0; // the table's automatic colour: no run has it
    bool isBold = false;
    for (const TextRun& run : runs) {
        const auto index =
            static_cast<std::size_t>(std::find(colors.begin(), colors.end(), run.rgb) - colors.begin()) + 1;
        bool hasControlWord = false;
        if (index != currentColor) {
            out += "\\cf" + std::to_string(index);
            currentColor = index;
            hasControlWord = true;
        }
        if (run.isBold != isBold) {
            out += run.isBold ? "\\b" : "\\b0";
            isBold = run.isBold;
            hasControlWord = true;
        }
        // The blank ends the control word and is not part of the text.
        if (hasControlWord)
            out += ' ';
        appendText(out, run.text);
    }
    out += "}\n";
    return out;
}

} // namespace app
