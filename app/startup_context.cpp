// SPDX-License-Identifier: MIT
// What the window learns from the process: program folder, starting folder, command-line file.
#include "app/startup_context.h"

#include "app/text_conversion.h"

namespace app {

StartupContext makeStartupContext(const QString& applicationFolder, const QStringList& arguments,
                                  const QString& startFolder)
{
    StartupContext context;
    context.programFolder = toPath(applicationFolder) / "";
    context.startFolder = toPath(startFolder);
    if (arguments.size() >= 2 && !arguments.at(1).isEmpty()) {
        // An absolute argument replaces the starting folder; a relative one is resolved against it
        // now, so the process's current folder never matters later. "./" and "../" are resolved
        // as a shell does, so the recent list shows the path a file picker would give.
        context.equationFile = (context.startFolder / toPath(arguments.at(1))).lexically_normal();
    }
    return context;
}

} // namespace app
