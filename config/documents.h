// SPDX-License-Identifier: MIT
// The documents beside the program (help pages, licence, change notes) and the maker's web addresses.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace config {

/// The licence text; the "License" item is removed when it is missing.
inline constexpr std::string_view kLicenseFileName = "Tervalon_License.txt";
/// The change notes; "Changes" and "Check for update" are removed when they are missing.
inline constexpr std::string_view kChangeNotesFileName = "Tervalon_ReadMe.txt";
/// The help page opened when the current language has none of its own.
inline constexpr std::string_view kEnglishHelpFileName = "Tervalon_English.html";

/// The language part of a language file's name (without folder): the characters after the last
/// "_" that comes before the first ".", up to that ".". Empty when the name has no "_" or no "."
/// before its end ("Tervalon_German.ini" gives "German").
[[nodiscard]] std::string helpLanguagePart(std::string_view fileName);

/// The help page of the current language: program folder + "Tervalon_" + language part + ".html"
/// when a file is there, otherwise program folder + "Tervalon_English.html" (not checked). An empty
/// language file stands for the built-in English texts.
[[nodiscard]] std::filesystem::path helpFilePath(const std::filesystem::path& programFolder,
                                                 const std::filesystem::path& languageFile);

/// The maker's web address, without a final "/": the update page's server, also shown in the About
/// box. Distributors choose it when they build (CMake cache variable TERVALON_UPDATE_HOST).
[[nodiscard]] std::string_view updateHost();
/// The maker's e-mail address: "tervalon@" and the host name of the web address.
[[nodiscard]] std::string makerMailAddress();
/// The update page: the web address + "/pages/c_tervalon.php?lang=ENG&progvers=" + version number.
/// It always asks in English, whatever the current language.
[[nodiscard]] std::string updatePageAddress();
/// The page that names the translators.
[[nodiscard]] std::string translationsPageAddress();

} // namespace config
