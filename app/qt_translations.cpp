// SPDX-License-Identifier: MIT
// Qt's own translations, for the texts of the dialogs and menus Qt draws itself.
#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>

namespace app {

void QtTranslations::select(const QString& locale)
{
    if (m_isInstalled) {
        QCoreApplication::removeTranslator(&m_translator);
        m_isInstalled = false;
    }
    // The code comes from a language file and becomes part of a file name: letters and "_" only.
    static const QRegularExpression kLocaleCode(QStringLiteral("^[A-Za-z]{2,3}(_[A-Za-z]{2,4})?$"));
    if (!kLocaleCode.match(locale).hasMatch())
        return;
    if (m_translator.load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_isInstalled = QCoreApplication::installTranslator(&m_translator);
}

} // namespace app
