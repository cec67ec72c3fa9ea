// SPDX-License-Identifier: MIT
// The program's icon and pictures, compiled into the dialogs' library.
#include "config/dialogs/dialog_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE may not be used inside a namespace.
static void initResources()
{
    Q_INIT_RESOURCE(tervalon);
}

namespace config {

void registerResources()
{
    static const bool isRegistered = [] {
        initResources();
        return true;
    }();
    (void)isRegistered;
}

} // namespace config
