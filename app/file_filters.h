// SPDX-License-Identifier: MIT
// File-dialog filters from the interface texts ("desc|pattern|...||") as the name filters of Qt's dialogs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

/// One choice of a file dialog.
struct NameFilter {
    std::string filter;        ///< "desc (pattern pattern)", as Qt's file dialogs read it
    std::string defaultSuffix; ///< appended to a name typed without extension while this is chosen

    bool operator==(const NameFilter&) const = default;
};

/// The choices of text: pairs of a description and a pattern list (";" between patterns), every part
/// separated by "|", the whole ended by "||". A description that already ends in its patterns in
/// parentheses keeps them once. The default suffix of a choice is the extension of its first
/// pattern ("*.rtf": "rtf"), or defaultSuffix when that pattern names no single extension. A text
/// that does not follow this form (a damaged translation) yields the choices of builtIn instead.
[[nodiscard]] std::vector<NameFilter> nameFilters(std::string_view text, std::string_view builtIn,
                                                  std::string_view defaultSuffix);

} // namespace app
