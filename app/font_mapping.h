// SPDX-License-Identifier: MIT
// The window program's name for the font mapping it shares with the dialogs below it.
#pragma once

#include "config/dialogs/font_mapping.h"

namespace app {

using config::applyFont;
using config::describeFont;
using config::fontFromDescription;
using config::kDefaultCharset;

} // namespace app
