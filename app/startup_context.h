// SPDX-License-Identifier: MIT
// What the window learns from the process: program folder, starting folder, command-line file.
#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>

namespace app {

struct StartupContext {
    /// The folder of the running executable, ending with a separator.
    std::filesystem::path programFolder;
    /// The process's current folder when the program was started.
    std::filesystem::path startFolder;
    /// The equation file named on the command line, already absolute; empty when none was named.
    std::filesystem::path equationFile;
};

/// Builds the context from the executable's folder, the arguments left after Qt took its own
/// options (the program name first) and the starting folder. The first argument after the program
/// name is the equation file, taken relative to the starting folder; further arguments are ignored.
[[nodiscard]] StartupContext makeStartupContext(const QString& applicationFolder,
                                                const QStringList& arguments, const QString& startFolder);

} // namespace app
