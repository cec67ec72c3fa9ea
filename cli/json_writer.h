// SPDX-License-Identifier: MIT
// A small writer of compact JSON text: objects, arrays, strings, numbers, booleans and null.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// Builds one JSON value as compact text. The caller opens and closes objects and arrays and names
/// each member with `key` before its value; the writer puts the commas. Strings are written as
/// UTF-8 with `"` and `\` escaped, control characters as escapes, and every byte that is not part
/// of valid UTF-8 as U+FFFD, so the text is always valid JSON. Numbers that are not finite are
/// written as null.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    /// The name of the next member of the current object.
    JsonWriter& key(std::string_view name);
    JsonWriter& string(std::string_view text);
    JsonWriter& number(int value);
    JsonWriter& number(double value);
    JsonWriter& boolean(bool value);
    JsonWriter& null();

    [[nodiscard]] const std::string& text() const { return m_text; }

private:
    /// Writes the comma that separates a value from the one before it in the same container.
    void separate();
    void open(char bracket);
    void close(char bracket);
    void quoted(std::string_view text);

    std::string m_text;
    std::vector<bool> m_isFirst; // one per open container: no value in it yet
    bool m_isAfterKey = false;
};

} // namespace cli
