// SPDX-License-Identifier: MIT
// Qt's own translations, for the texts of the dialogs and menus Qt draws itself.
#pragma once

#include <QString>
#include <QTranslator>

namespace app {

/// Keeps Qt's translation (qtbase_<locale>.qm from Qt's translations folder) of the current language
/// installed, so that the file, font and colour pickers, Qt's message boxes and the context menus
/// speak the user's language. Removed again when the object ends.
class QtTranslations {
public:
    /// Installs the translation for locale ("de", "pt_BR"), replacing the one installed before; an
    /// empty locale, an unusable code or a missing file leaves Qt's English texts.
    void select(const QString& locale);

private:
    QTranslator m_translator;
    bool m_isInstalled = false;
};

} // namespace app
