// SPDX-License-Identifier: MIT
// The application object: the program's identity, the start-up context and the one main window it runs.
#pragma once

#include <QApplication>

namespace app {

class CTervalonApp : public QApplication {
    Q_OBJECT
public:
    CTervalonApp(int& argc, char** argv);

    /// Creates the main window, shows it and runs until it ends; returns the exit code.
    int run();
};

} // namespace app
