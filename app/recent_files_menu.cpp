// SPDX-License-Identifier: MIT
// The Recent submenu: recently used equation files, newest first, then "Clear" and "Deactivate".
#include "app/recent_files_menu.h"

#include "app/text_conversion.h"
#include "config/interface_texts.h"

#include <QAction>
#include <QMenu>

#include <system_error>

namespace app {

namespace {

bool isRegularFile(const QString& path)
{
    std::error_code error;
    return !path.isEmpty() && std::filesystem::is_regular_file(toPath(path), error);
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu& menu) : QObject(&menu), m_menu(menu)
{
    m_separator = m_menu.addSeparator();
    m_clear = m_menu.addAction(QString());
    m_deactivate = m_menu.addAction(QString());
    m_deactivate->setCheckable(true);
    connect(m_clear, &QAction::triggered, this, &RecentFilesMenu::clearEntries);
}

void RecentFilesMenu::AddRecentFile(const QString& path, bool atTop)
{
    if (isDeactivated() || !isRegularFile(path))
        return;
    // An entry already there moves, rather than being deleted: choosing it is what opened the file,
    // and its own signal is still being delivered.
    QAction* entry = nullptr;
    for (QAction* existing : std::as_const(m_entries)) {
        if (existing->data().toString() == path) {
            entry = existing;
            m_entries.removeOne(entry);
            m_menu.removeAction(entry);
            break;
        }
    }
    if (entry == nullptr) {
        if (m_entries.size() >= kMaxEntries)
            delete m_entries.takeLast();
        entry = new QAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")), &m_menu);
        entry->setData(path);
        connect(entry, &QAction::triggered, this,
                [this, entry] { emit fileChosen(entry->data().toString()); });
    }
    QAction* before = atTop && !m_entries.isEmpty() ? m_entries.constFirst() : m_separator;
    m_menu.insertAction(before, entry);
    if (atTop)
        m_entries.prepend(entry);
    else
        m_entries.append(entry);
}

QStringList RecentFilesMenu::paths() const
{
    QStringList list;
    for (const QAction* entry : m_entries)
        list.append(entry->data().toString());
    return list;
}

void RecentFilesMenu::clearEntries()
{
    qDeleteAll(m_entries);
    m_entries.clear();
}

bool RecentFilesMenu::isDeactivated() const
{
    return m_deactivate->isChecked();
}

void RecentFilesMenu::setDeactivated(bool on)
{
    m_deactivate->setChecked(on);
}

void RecentFilesMenu::retranslate(const config::InterfaceTexts& texts)
{
    m_menu.setTitle(toQString(texts.text("FrmMain.ID_MEN_RECENT")));
    m_clear->setText(toQString(texts.text("FrmMain.ID_MEN_CLEARLIST")));
    // Renaming keeps the check mark of Deactivate.
    m_deactivate->setText(toQString(texts.text("FrmMain.ID_MEN_DEACTIVATE")));
}

} // namespace app
