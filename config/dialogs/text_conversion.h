// SPDX-License-Identifier: MIT
// The one conversion between QString and the UTF-8 text of the engine, the configuration and paths.
#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace config {

/// UTF-8 bytes as a QString; invalid sequences become U+FFFD.
[[nodiscard]] QString toQString(std::string_view utf8);
/// A QString as UTF-8 bytes.
[[nodiscard]] std::string toUtf8(const QString& text);

/// A path from its text (UTF-8 on this platform).
[[nodiscard]] std::filesystem::path toPath(const QString& text);
/// The text of a path.
[[nodiscard]] QString fromPath(const std::filesystem::path& path);

} // namespace config
