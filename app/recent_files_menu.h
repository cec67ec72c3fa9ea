// SPDX-License-Identifier: MIT
// The Recent submenu: recently used equation files, newest first, then "Clear" and "Deactivate".
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;

namespace config {
class InterfaceTexts;
}

namespace app {

/// Keeps the entries of the Recent submenu. Each entry shows its path (with "&" doubled, so no
/// character turns into a mnemonic) and keeps the path itself in its data.
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 15;

    /// Fills menu with a separator, "Clear" and the checkable "Deactivate".
    explicit RecentFilesMenu(QMenu& menu);

    /// `AddRecentFile`: unless recording is deactivated or no regular file is at path, moves or adds
    /// path to the top (atTop) or the bottom of the list, dropping the bottom entry when the list
    /// is full.
    void AddRecentFile(const QString& path, bool atTop);
    /// The paths in menu order.
    [[nodiscard]] QStringList paths() const;
    /// Deletes every entry; the fixed items stay.
    void clearEntries();

    [[nodiscard]] bool isDeactivated() const;
    void setDeactivated(bool on);

    void retranslate(const config::InterfaceTexts& texts);

    [[nodiscard]] QMenu& menu() const { return m_menu; }
    [[nodiscard]] QAction* clearAction() const { return m_clear; }
    [[nodiscard]] QAction* deactivateAction() const { return m_deactivate; }

signals:
    /// An entry was chosen; path is its raw path.
    void fileChosen(const QString& path);

private:
    QMenu& m_menu;
    QList<QAction*> m_entries;
    QAction* m_separator;
    QAction* m_clear;
    QAction* m_deactivate;
};

} // namespace app
