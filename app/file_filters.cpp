// SPDX-License-Identifier: MIT
// File-dialog filters from the interface texts ("desc|pattern|...||") as the name filters of Qt's dialogs.
#include "app/file_filters.h"

#include <optional>

namespace app {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    for (const char c : text) {
        if (kBlanks.find(c) == std::string_view::npos)
            kept += c;
    }
    return kept;
}

/// The description without a final "(patterns)" that repeats the pattern list.
std::string_view withoutOwnPatterns(std::string_view description, std::string_view patterns)
{
    if (!description.ends_with(')'))
        return description;
    const std::size_t open = description.rfind('(');
    if (open == std::string_view::npos ||
        withoutBlanks(description.substr(open + 1, description.size() - open - 2)) != withoutBlanks(patterns))
        return description;
    return trimmed(description.substr(0, open));
}

std::string suffixOf(std::string_view pattern, std::string_view fallback)
{
    if (pattern.starts_with("*.") && pattern.size() > 2 &&
        pattern.find_first_of("*?[]", 2) == std::string_view::npos)
        return std::string(pattern.substr(2));
    return std::string(fallback);
}

std::optional<std::vector<NameFilter>> parse(std::string_view text, std::string_view defaultSuffix)
{
    if (!text.ends_with("||"))
        return std::nullopt;
    const std::vector<std::string_view> fields = split(text.substr(0, text.size() - 2), '|');
    if (fields.size() % 2 != 0)
        return std::nullopt;
    std::vector<NameFilter> filters;
    for (std::size_t i = 0; i < fields.size(); i += 2) {
        const std::string_view description = trimmed(fields[i]);
        const std::string_view patternList = trimmed(fields[i + 1]);
        if (description.empty() || patternList.empty())
            return std::nullopt;
        std::string patterns;
        std::string firstPattern;
        for (const std::string_view part : split(patternList, ';')) {
            const std::string_view pattern = trimmed(part);
            // Parentheses would end the list early in the dialog's reading of the filter.
            if (pattern.empty() || pattern.find_first_of("() \t") != std::string_view::npos)
                return std::nullopt;
            if (patterns.empty())
                firstPattern = pattern;
            else
                patterns += ' ';
            patterns += pattern;
        }
        const std::string_view shown = withoutOwnPatterns(description, patternList);
        NameFilter filter;
        filter.filter = shown.empty() ? "(" + patterns + ")" : std::string(shown) + " (" + patterns + ")";
        filter.defaultSuffix = suffixOf(firstPattern, defaultSuffix);
        filters.push_back(std::move(filter));
    }
    return filters;
}

} // namespace

std::vector<NameFilter> nameFilters(std::string_view text, std::string_view builtIn,
                                    std::string_view defaultSuffix)
{
    if (std::optional<std::vector<NameFilter>> filters = parse(text, defaultSuffix))
        return *std::move(filters);
    return parse(builtIn, defaultSuffix).value_or(std::vector<NameFilter>{});
}

} // namespace app
