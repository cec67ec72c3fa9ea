// SPDX-License-Identifier: MIT
// The main window's menu bar: File, Edit, View and "?", their commands, the shortcut keys and their texts.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace config {
class InterfaceTexts;
}

namespace app {

class RecentFilesMenu;

/// Every command of the menus (the Recent submenu keeps its own items).
struct MenuActions {
    // File
    QAction* newEquation = nullptr;
    QAction* openEquation = nullptr;
    QAction* saveEquation = nullptr;
    QAction* saveEquationAs = nullptr;
    QAction* saveResult = nullptr;
    QAction* exit = nullptr;
    // Edit
    QAction* selectAll = nullptr;
    QAction* copy = nullptr;
    QAction* copyLatex = nullptr;
    QAction* clearResults = nullptr;
    QAction* clearEquation = nullptr;
    QAction* clearHistory = nullptr;
    // View
    QAction* options = nullptr;
    QAction* language = nullptr;
    QAction* graph = nullptr; ///< checkable: the graph panel is shown
    // ?
    QAction* help = nullptr;
    QAction* license = nullptr;
    QAction* changes = nullptr;
    QAction* checkForUpdate = nullptr;
    QAction* info = nullptr;
};

struct Menus {
    QMenuBar* bar = nullptr;
    QMenu* file = nullptr;
    QMenu* recent = nullptr;
    QMenu* edit = nullptr;
    QMenu* view = nullptr;
    QMenu* help = nullptr;
};

/// Builds the menu bar once; `retranslate` sets every caption from the interface texts, exactly as
/// loaded (a tab separates a caption from the shortcut text it shows). Nine commands own a
/// shortcut key, active whichever control of the window has the focus.
class MainMenu : public QObject {
    Q_OBJECT
public:
    explicit MainMenu(QWidget& window);

    void retranslate(const config::InterfaceTexts& texts);
    /// Removes "License" when the licence text is missing, and "Changes" and "Check for update"
    /// when the change notes are missing. Removed items stay removed.
    void removeMissingDocuments(bool hasLicense, bool hasChangeNotes);

    /// The keys of the shortcut table.
    [[nodiscard]] QList<QKeySequence> windowKeys() const;

    [[nodiscard]] const MenuActions& actions() const { return m_actions; }
    [[nodiscard]] const Menus& menus() const { return m_menus; }
    [[nodiscard]] RecentFilesMenu& recent() const { return *m_recent; }

private:
    void createMenus(QWidget& window);
    void createShortcuts();

    MenuActions m_actions;
    Menus m_menus;
    RecentFilesMenu* m_recent = nullptr; // owned by its menu
};

} // namespace app
