// SPDX-License-Identifier: MIT
// The window program's name for the text conversion it shares with the dialogs below it.
#pragma once

#include "config/dialogs/text_conversion.h"

namespace app {

using config::fromPath;
using config::toPath;
using config::toQString;
using config::toUtf8;

} // namespace app
