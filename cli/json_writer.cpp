// SPDX-License-Identifier: MIT
// A small writer of compact JSON text: objects, arrays, strings, numbers and null.
#include "cli/json_writer.h"

#include "engine/c_locale.h"

#include <cmath>

namespace cli {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

/// The length of the valid UTF-8 sequence at text[i], or 0 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = i + 2; k < i + length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF)
            return 0;
    }
    return length;
}

} // namespace

void JsonWriter::separate()
{
    if (m_isAfterKey) {
        m_isAfterKey = false;
        return;
    }
    if (m_isFirst.empty())
        return;
    if (!m_isFirst.back())
        m_text += ',';
    m_isFirst.back() = false;
}

void JsonWriter::open(char bracket)
{
    separate();
    m_text += bracket;
    m_isFirst.push_back(true);
}

void JsonWriter::close(char bracket)
{
    if (!m_isFirst.empty())
        m_isFirst.pop_back();
    m_text += bracket;
}

JsonWriter& JsonWriter::beginObject()
{
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    separate();
    quoted(name);
    m_text += ':';
    m_isAfterKey = true;
    return *this;
}

JsonWriter& JsonWriter::string(std::string_view text)
{
    separate();
    quoted(text);
    return *this;
}

JsonWriter& JsonWriter::number(int value)
{
    separate();
    m_text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::number(double value)
{
    if (!std::isfinite(value))
        return null();
    separate();
    // Seventeen significant digits give back the same double.
    m_text += engine::formatCLocale("%.17g", value);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool value)
{
    separate();
    m_text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    m_text += "null";
    return *this;
}

void JsonWriter::quoted(std::string_view text)
{
    m_text += '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += static_cast<char>(c);
        } else if (c == '\n') {
            m_text += "\\n";
        } else if (c == '\r') {
            m_text += "\\r";
        } else if (c == '\t') {
            m_text += "\\t";
        } else if (c < 0x20) {
            m_text += engine::formatCLocale("\\u%04x", c);
        } else if (const std::size_t length = sequenceLength(text, i); length > 0) {
            m_text.append(text.substr(i, length));
            i += length;
            continue;
        } else {
            m_text += kReplacement;
        }
        ++i;
    }
    m_text += '"';
}

} // namespace cli
