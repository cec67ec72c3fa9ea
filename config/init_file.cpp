// SPDX-License-Identifier: MIT
// The program's key/value text store for every configuration and language file, in two dialects.
#include "config/init_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <fstream>
#include <limits>
#include <random>
#include <system_error>

namespace config {

namespace {

constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kXmlIndent = "  ";

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string openingText(Dialect dialect, std::string_view key)
{
    std::string text;
    if (dialect == Dialect::Xml) {
        text.append("<").append(key).append(">");
    } else {
        text.append(key).append("=\"");
    }
    return text;
}

std::string closingText(Dialect dialect, std::string_view key)
{
    if (dialect == Dialect::Xml)
        return std::string("</").append(key).append(">");
    return "\"";
}

/// A name for the new file that is unlikely to exist already: the target's name plus a random tag.
std::filesystem::path temporarySibling(const std::filesystem::path& target)
{
    static std::atomic<unsigned> s_counter{0};
    std::random_device device;
    const auto tick =
        static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long tag = (static_cast<unsigned long long>(device()) << 32) ^ tick ^
                                   (static_cast<unsigned long long>(s_counter.fetch_add(1)) << 48);
    std::array<char, 17> hex{};
    const auto result = std::to_chars(hex.data(), hex.data() + hex.size(), tag, 16);
    std::filesystem::path temporary = target;
    temporary += ".tmp-";
    temporary += std::string(hex.data(), result.ptr);
    return temporary;
}

} // namespace

std::int32_t convertDecimal(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude with a ceiling just above the 32-bit range, as a 32-bit strtol
    // saturates at LONG_MAX / LONG_MIN.
    constexpr std::int64_t kCeiling = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = std::min(kCeiling, magnitude * 10 + (text[i] - '0'));
        ++i;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

CInitFile::CInitFile(Dialect dialect) : m_dialect(dialect)
{
    setRootName(kDefaultRootName);
}

void CInitFile::setRootName(std::string_view name)
{
    m_rootName.assign(name);
    m_header.clear();
    m_footer.clear();
    if (!isXml())
        return;
    m_header.append(kDeclaration).append(kLineEnd);
    m_header.append("<").append(m_rootName).append(">").append(kLineEnd);
    m_footer.append("</").append(m_rootName).append(">").append(kLineEnd);
}

bool CInitFile::Load(const std::filesystem::path& path)
{
    // Only regular files: a folder reads as nothing, and a device or pipe could block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxFileSize)
        return false;

    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank while being read keeps what was read.
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (file.bad())
        return false;
    return loadFromBytes(bytes);
}

bool CInitFile::loadFromBytes(std::string_view bytes)
{
    if (bytes.empty())
        return false;
    // The file is taken as a C string: a UTF-16 file, for one, ends at its first NUL byte.
    const std::size_t end = bytes.find('\0');
    return parse(bytes.substr(0, end));
}

bool CInitFile::parse(std::string_view text)
{
    if (!isXml()) {
        m_body.assign(text);
        m_readPosition = 0;
        return true;
    }
    const std::size_t declarationEnd = text.find("?>");
    const std::size_t tagStart =
        declarationEnd == std::string_view::npos ? declarationEnd : text.find('<', declarationEnd);
    const std::size_t tagEnd = tagStart == std::string_view::npos ? tagStart : text.find('>', tagStart);
    if (tagEnd == std::string_view::npos) {
        setRootName(kDefaultRootName);
        return false;
    }
    setRootName(text.substr(tagStart + 1, tagEnd - tagStart - 1));

    std::size_t bodyStart = tagEnd + 1;
    if (bodyStart < text.size() && text[bodyStart] == '\r')
        ++bodyStart;
    if (bodyStart < text.size() && text[bodyStart] == '\n')
        ++bodyStart;
    const std::string closingRoot = "</" + m_rootName + ">";
    const std::size_t bodyEnd = text.find(closingRoot, bodyStart);
    if (bodyEnd == std::string_view::npos)
        return false;
    m_body.assign(text.substr(bodyStart, bodyEnd - bodyStart));
    m_readPosition = 0;
    return true;
}

bool CInitFile::Save(const std::filesystem::path& path) const
{
    const std::string bytes = contents();
    const std::filesystem::path temporary = temporarySibling(path);
    std::error_code error;
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            return false;
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    // Replacing the target in one step keeps the old file until the new one is complete.
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

void CInitFile::Clear()
{
    m_body.clear();
    m_readPosition = 0;
}

std::string CInitFile::contents() const
{
    std::string bytes;
    bytes.reserve(m_header.size() + m_body.size() + m_footer.size());
    bytes.append(m_header).append(m_body).append(m_footer);
    return bytes;
}

bool CInitFile::lookup(std::string_view key, std::size_t start, std::string& value)
{
    const std::string opening = openingText(m_dialect, key);
    const std::size_t openingAt = m_body.find(opening, start);
    if (openingAt == std::string::npos)
        return false;
    const std::size_t valueStart = openingAt + opening.size();
    const std::string closing = closingText(m_dialect, key);
    const std::size_t closingAt = m_body.find(closing, valueStart);
    if (closingAt == std::string::npos)
        return false;
    m_readPosition = closingAt + closing.size();
    value.assign(m_body, valueStart, closingAt - valueStart);
    return true;
}

std::string CInitFile::ReadString(std::string_view key, std::string_view defaultValue)
{
    std::string value;
    if (!lookup(key, 0, value) || value.empty())
        return std::string(defaultValue);
    return value;
}

std::int32_t CInitFile::ReadInt(std::string_view key, std::int32_t defaultValue)
{
    std::string value;
    if (!lookup(key, 0, value) || value.empty())
        return defaultValue;
    return convertDecimal(value);
}

bool CInitFile::ReadBool(std::string_view key, bool defaultValue)
{
    std::string value;
    if (!lookup(key, 0, value) || value.empty())
        return defaultValue;
    return convertDecimal(value) == 1;
}

std::string CInitFile::ReadNext(std::string_view key)
{
    std::string value;
    if (!lookup(key, m_readPosition, value))
        return {};
    return value;
}

std::string_view CInitFile::writableValue(std::string_view key, std::string_view value) const
{
    std::size_t cut = value.find_first_of(std::string_view("\0\r\n", 3));
    cut = std::min(cut, value.find(closingText(m_dialect, key)));
    if (isXml()) {
        cut = std::min(cut, value.find("</" + m_rootName + ">"));
    } else {
        // A value ending in "=" would form `name="` with its closing quote: an entry of its own.
        cut = std::min(cut, value.size());
        while (cut > 0 && value[cut - 1] == '=')
            --cut;
    }
    return value.substr(0, cut);
}

void CInitFile::WriteString(std::string_view key, std::string_view value)
{
    const std::string_view stored = writableValue(key, value);
    if (isXml()) {
        m_body.append(kXmlIndent).append(openingText(m_dialect, key)).append(stored);
    } else {
        m_body.append(openingText(m_dialect, key)).append(stored);
    }
    m_body.append(closingText(m_dialect, key)).append(kLineEnd);
}

void CInitFile::WriteInt(std::string_view key, std::int32_t value)
{
    std::array<char, 16> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    WriteString(key, std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

void CInitFile::WriteBool(std::string_view key, bool value)
{
    WriteString(key, value ? "1" : "0");
}

} // namespace config
