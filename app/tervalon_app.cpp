// SPDX-License-Identifier: MIT
// The application object: the program's identity, the start-up context and the one main window it runs.
#include "app/tervalon_app.h"

#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/text_conversion.h"
#include "config/product.h"

#include <QDir>

namespace app {

CTervalonApp::CTervalonApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setOrganizationName(toQString(config::kOrganisationName));
    setApplicationName(toQString(config::kApplicationName));
    setApplicationVersion(toQString(config::kVersionNumber));
    setDesktopFileName(QStringLiteral("tervalon"));
}

int CTervalonApp::run()
{
    QtPlatform platform;
    // The program folder is the real executable's, also when started through a link or from PATH.
    CTervalonDlg window(makeStartupContext(applicationDirPath(), arguments(), QDir::currentPath()), platform);
    connect(&window, &QDialog::finished, this, &QCoreApplication::quit);
    window.show();
    return exec();
}

} // namespace app
