// SPDX-License-Identifier: MIT
// The program's icon and pictures, compiled into the dialogs' library.
#pragma once

namespace config {

/// The icon of the program and its windows.
inline constexpr auto kIconResource = ":/tervalon.svg";
/// The picture of the About box.
inline constexpr auto kAboutPictureResource = ":/about_picture.svg";

/// Makes the compiled-in pictures available; a library's resources must be registered by name.
/// Safe to call any number of times.
void registerResources();

} // namespace config
