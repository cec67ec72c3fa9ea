// SPDX-License-Identifier: MIT
// The one conversion between QString and the UTF-8 text of the engine, the configuration and paths.
#include "config/dialogs/text_conversion.h"

namespace config {

QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& text)
{
    return text.toStdString();
}

std::filesystem::path toPath(const QString& text)
{
    // Narrow native paths are byte strings: the UTF-8 bytes are the path.
    return std::filesystem::path(toUtf8(text));
}

QString fromPath(const std::filesystem::path& path)
{
    return toQString(std::string_view(path.native()));
}

} // namespace config
