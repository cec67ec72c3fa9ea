// SPDX-License-Identifier: MIT
// The program's key/value text store for every configuration and language file, in two dialects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace config {

/// The two file dialects of `CInitFile`, fixed when a store is constructed.
enum class Dialect : std::uint8_t {
    Plain = 0, ///< `Key="value"` lines: the language list, language files, start-up files
    Xml = 1,   ///< `<Key>value</Key>` lines inside an XML declaration and a root element: Tervalon.ini
};

/// A whole configuration file held in memory as one byte string.
///
/// A store lives for one load or one save. Readers construct it, `Load` a file (ignoring the
/// result when defaults are acceptable) and read keys; lookups are byte-exact substring searches
/// that know nothing of lines, so anything between entries is skipped. Writers construct an empty
/// store, append every entry they own with the `Write` operations and `Save`. Keys and values are
/// byte strings (UTF-8 by convention) and are never converted; all program keys are ASCII.
///
/// Reads return values exactly as stored, line breaks included (language texts rely on that).
/// Writes, on the other hand, never produce a file that reads back differently from what was
/// written: see `writableValue`.
class CInitFile {
public:
    /// Largest file `Load` accepts; configuration files are a few kilobytes.
    static constexpr std::uintmax_t kMaxFileSize = 16u * 1024u * 1024u;
    /// The root element name of a fresh XML store.
    static constexpr std::string_view kDefaultRootName = "InitFile";

    /// An empty store: root name "InitFile", header and footer for the dialect, read position 0.
    explicit CInitFile(Dialect dialect);

    /// Reads the file at path whole and parses it. False (store unchanged) when it is not a regular
    /// file, cannot be read, is empty or larger than kMaxFileSize; otherwise the result of the
    /// parse (see `loadFromBytes`).
    bool Load(const std::filesystem::path& path);
    /// Writes header, body and footer to path. The bytes go to a new file in the same folder first,
    /// which then replaces the target, so a failure never leaves a truncated or missing file: on
    /// false the previous file at path is untouched and no temporary file remains.
    bool Save(const std::filesystem::path& path) const;
    /// Empties the body and resets the read position; root name, header and footer stay.
    void Clear();

    /// Value of the first entry of key, or defaultValue when there is none or it is empty.
    [[nodiscard]] std::string ReadString(std::string_view key, std::string_view defaultValue);
    /// First value of key as a decimal integer (C `strtol` rules, clamped to 32 bits), or
    /// defaultValue when there is none or it is empty.
    [[nodiscard]] std::int32_t ReadInt(std::string_view key, std::int32_t defaultValue);
    /// True when the first value of key converts to the integer 1, false for any other non-empty
    /// value, defaultValue when there is none or it is empty.
    [[nodiscard]] bool ReadBool(std::string_view key, bool defaultValue);
    /// Value of the next entry of key at or after the read position, or empty when there is none.
    /// After `ReadString` of the same key, repeated calls walk all its entries in file order.
    [[nodiscard]] std::string ReadNext(std::string_view key);

    /// Appends one entry line for key (existing entries are never replaced).
    void WriteString(std::string_view key, std::string_view value);
    /// Appends one entry whose value is the integer in decimal.
    void WriteInt(std::string_view key, std::int32_t value);
    /// Appends one entry whose value is "0" or "1".
    void WriteBool(std::string_view key, bool value);

    /// The part of value that `WriteString` stores for key: value up to (not including) the first
    /// byte that would make the entry read back differently, i.e. the first NUL, CR or LF, the
    /// entry's own closing text (`"` in the plain dialect, `</key>` in the XML dialect) or, in the
    /// XML dialect, the closing tag of the root element; in the plain dialect trailing "=" signs are
    /// dropped too, since with the closing quote they would open an entry. Other values pass unchanged.
    [[nodiscard]] std::string_view writableValue(std::string_view key, std::string_view value) const;

    /// Takes bytes as the content of a loaded file: cut at the first NUL, then parsed. An empty
    /// text returns false and changes nothing. Plain dialect: the text becomes the body. XML
    /// dialect: the root element name is taken from the first tag after "?>", and the body is
    /// what stands between that tag's line end and its closing tag; false when the declaration
    /// end, the root tag or its closing tag is missing (the body is then unchanged).
    bool loadFromBytes(std::string_view bytes);
    /// The bytes `Save` writes: header, body, footer.
    [[nodiscard]] std::string contents() const;

    [[nodiscard]] Dialect dialect() const { return m_dialect; }
    [[nodiscard]] const std::string& rootName() const { return m_rootName; }
    [[nodiscard]] const std::string& body() const { return m_body; }
    [[nodiscard]] std::size_t readPosition() const { return m_readPosition; }

private:
    void setRootName(std::string_view name);
    bool parse(std::string_view text);
    /// Finds the entry of key at or after start; on success sets the read position after it.
    [[nodiscard]] bool lookup(std::string_view key, std::size_t start, std::string& value);
    [[nodiscard]] bool isXml() const { return m_dialect == Dialect::Xml; }

    Dialect m_dialect;
    std::string m_rootName;
    std::string m_header;
    std::string m_footer;
    std::string m_body;
    std::size_t m_readPosition = 0;
};

/// The C library's decimal string-to-long conversion as a 32-bit `long` performs it: leading
/// white space, an optional sign, decimal digits up to the first other byte; no digits give 0,
/// values beyond the 32-bit range are clamped. Independent of the process locale.
[[nodiscard]] std::int32_t convertDecimal(std::string_view text);

} // namespace config
