// SPDX-License-Identifier: MIT
// The documents beside the program (help pages, licence, change notes) and the maker's web addresses.
#include "config/documents.h"

#include "config/product.h"

#include <system_error>

#ifndef TERVALON_UPDATE_HOST
#error "TERVALON_UPDATE_HOST is set by the build (CMake cache variable of the same name)"
#endif

namespace config {

namespace {

constexpr std::string_view kUpdateHost = TERVALON_UPDATE_HOST;

std::filesystem::path inFolder(const std::filesystem::path& folder, std::string_view fileName)
{
    std::filesystem::path path = folder;
    if (!path.empty())
        path /= ""; // make sure the folder ends with a separator
    path += std::filesystem::path(std::string(fileName));
    return path;
}

} // namespace

std::string helpLanguagePart(std::string_view fileName)
{
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i < fileName.size(); ++i) {
        if (fileName[i] == '_')
            start = i + 1;
        else if (fileName[i] == '.')
            return start == std::string_view::npos ? std::string()
                                                   : std::string(fileName.substr(start, i - start));
    }
    return {};
}

std::filesystem::path helpFilePath(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& languageFile)
{
    const std::string part =
        languageFile.empty() ? std::string() : helpLanguagePart(languageFile.filename().string());
    const std::filesystem::path own = inFolder(programFolder, "Tervalon_" + part + ".html");
    std::error_code error;
    if (std::filesystem::is_regular_file(own, error))
        return own;
    return inFolder(programFolder, kEnglishHelpFileName);
}

std::string_view updateHost()
{
    std::string_view address = kUpdateHost;
    while (address.ends_with('/'))
        address.remove_suffix(1);
    return address;
}

std::string makerMailAddress()
{
    std::string_view host = updateHost();
    if (const std::size_t scheme = host.find("://"); scheme != std::string_view::npos)
        host.remove_prefix(scheme + 3);
    host = host.substr(0, host.find_first_of("/:?#"));
    return "tervalon@" + std::string(host);
}

std::string updatePageAddress()
{
    return std::string(updateHost()) +
           "/pages/c_tervalon.php?lang=ENG&progvers=" + std::string(kVersionNumber);
}

std::string translationsPageAddress()
{
    return std::string(updateHost()) + "/pages/translations";
}

} // namespace config
