// SPDX-License-Identifier: MIT
// The window program's name for the stored colours it shares with the dialogs below it.
#pragma once

#include "config/dialogs/color_value.h"

namespace app {

using config::fromColorValue;
using config::toColorValue;

} // namespace app
