// SPDX-License-Identifier: MIT
// The product's identity: maker, name and the version text of the installation record and the About box.
#pragma once

#include <string_view>

namespace config {

/// Maker's name: the folder level above the program's own data folders.
inline constexpr std::string_view kOrganisationName = "Kestrune";
/// Product name: the data folder's own level and the window title.
inline constexpr std::string_view kApplicationName = "Tervalon";
/// The version number alone, as the update page's query names it.
inline constexpr std::string_view kVersionNumber = "1.510";
/// The version line of the installation record and the About box.
inline constexpr std::string_view kVersionText = "Version 1.510 (15.09.2018)";

} // namespace config
