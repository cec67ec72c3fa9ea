// SPDX-License-Identifier: MIT
// The main window's menu bar: File, Edit, View and "?", their commands, the shortcut keys and their texts.
#include "app/main_menu.h"

#include "app/recent_files_menu.h"
#include "app/text_conversion.h"
#include "config/interface_texts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <array>
#include <string_view>

namespace app {

namespace {

using ActionMember = QAction* MenuActions::*;

struct ActionText {
    ActionMember action;
    std::string_view key;
};

// The caption key of every command.
constexpr std::array kActionTexts = std::to_array<ActionText>({
    {&MenuActions::newEquation, "FrmMain.ID_MEN_TEQNEW"},
    {&MenuActions::openEquation, "FrmMain.ID_MEN_TEQOPEN"},
    {&MenuActions::saveEquation, "FrmMain.ID_MEN_TEQSAVE"},
    {&MenuActions::saveEquationAs, "FrmMain.ID_MEN_TEQSAVEAS"},
    {&MenuActions::saveResult, "FrmMain.ID_MEN_SAVEAS"},
    {&MenuActions::exit, "FrmMain.ID_MEN_EXIT"},
    {&MenuActions::selectAll, "FrmMain.ID_MEN_SELECTALL"},
    {&MenuActions::copy, "FrmMain.ID_MEN_COPY"},
    {&MenuActions::copyLatex, config::kKeyCopyLatex},
    {&MenuActions::clearResults, "FrmMain.ID_MEN_CLEAR"},
    {&MenuActions::clearEquation, "FrmMain.ID_MEN_EQUALCLEAR"},
    {&MenuActions::clearHistory, "FrmMain.ID_MEN_CLEARHISTORY"},
    {&MenuActions::options, "FrmMain.ID_MEN_OPTIONS"},
    {&MenuActions::language, "FrmMain.ID_MEN_LANGUAGE"},
    {&MenuActions::graph, config::kKeyGraphMenu},
    {&MenuActions::help, "FrmMain.ID_MEN_HELP"},
    {&MenuActions::license, "FrmMain.ID_MEN_LICENSE"},
    {&MenuActions::changes, "FrmMain.ID_MEN_README"},
    {&MenuActions::checkForUpdate, "FrmMain.ID_MEN_CHECKUPDATE"},
    {&MenuActions::info, "FrmMain.ID_MEN_INFO"},
});

struct Shortcut {
    ActionMember action;
    QKeyCombination key;
};

// The shortcut table. "New equation" shows Ctrl+N in its caption, but the key runs "Clear
// equation"; "Copy" has no key of its own, so Ctrl+C stays with the focused control.
constexpr std::array kShortcuts = std::to_array<Shortcut>({
    {&MenuActions::openEquation, Qt::CTRL | Qt::Key_O},
    {&MenuActions::saveEquation, Qt::CTRL | Qt::Key_S},
    {&MenuActions::clearResults, Qt::CTRL | Qt::Key_D},
    {&MenuActions::clearEquation, Qt::CTRL | Qt::Key_N},
    {&MenuActions::exit, Qt::CTRL | Qt::Key_Q},
    {&MenuActions::help, QKeyCombination(Qt::Key_F1)},
    {&MenuActions::saveResult, Qt::CTRL | Qt::Key_R},
    {&MenuActions::selectAll, Qt::CTRL | Qt::Key_A},
    {&MenuActions::graph, QKeyCombination(Qt::Key_F4)},
});

} // namespace

MainMenu::MainMenu(QWidget& window) : QObject(&window)
{
    createMenus(window);
    createShortcuts();
}

void MainMenu::createMenus(QWidget& window)
{
    m_menus.bar = new QMenuBar(&window);
    QMenuBar& bar = *m_menus.bar;
    m_menus.file = bar.addMenu(QString());
    m_actions.newEquation = m_menus.file->addAction(QString());
    m_actions.openEquation = m_menus.file->addAction(QString());
    m_actions.saveEquation = m_menus.file->addAction(QString());
    m_actions.saveEquationAs = m_menus.file->addAction(QString());
    m_menus.file->addSeparator();
    m_actions.saveResult = m_menus.file->addAction(QString());
    m_menus.file->addSeparator();
    m_menus.recent = m_menus.file->addMenu(QString());
    m_recent = new RecentFilesMenu(*m_menus.recent);
    m_menus.file->addSeparator();
    m_actions.exit = m_menus.file->addAction(QString());

    m_menus.edit = bar.addMenu(QString());
    m_actions.selectAll = m_menus.edit->addAction(QString());
    m_actions.copy = m_menus.edit->addAction(QString());
    m_actions.copyLatex = m_menus.edit->addAction(QString());
    m_menus.edit->addSeparator();
    m_actions.clearResults = m_menus.edit->addAction(QString());
    m_actions.clearEquation = m_menus.edit->addAction(QString());
    m_actions.clearHistory = m_menus.edit->addAction(QString());

    m_menus.view = bar.addMenu(QString());
    m_actions.options = m_menus.view->addAction(QString());
    m_actions.language = m_menus.view->addAction(QString());
    m_menus.view->addSeparator();
    m_actions.graph = m_menus.view->addAction(QString());
    m_actions.graph->setCheckable(true);

    // The fourth menu has no text key: its caption is always "?".
    m_menus.help = bar.addMenu(QStringLiteral("?"));
    m_actions.help = m_menus.help->addAction(QString());
    m_actions.license = m_menus.help->addAction(QString());
    m_actions.changes = m_menus.help->addAction(QString());
    m_actions.checkForUpdate = m_menus.help->addAction(QString());
    m_menus.help->addSeparator();
    m_actions.info = m_menus.help->addAction(QString());
}

void MainMenu::createShortcuts()
{
    for (const Shortcut& shortcut : kShortcuts) {
        QAction* action = m_actions.*shortcut.action;
        action->setShortcut(QKeySequence(shortcut.key));
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

QList<QKeySequence> MainMenu::windowKeys() const
{
    QList<QKeySequence> keys;
    for (const Shortcut& shortcut : kShortcuts)
        keys.append(QKeySequence(shortcut.key));
    return keys;
}

void MainMenu::retranslate(const config::InterfaceTexts& texts)
{
    m_menus.file->setTitle(toQString(texts.text("FrmMain.ID_MEN_FILE")));
    m_menus.edit->setTitle(toQString(texts.text("FrmMain.ID_MEN_EDIT")));
    m_menus.view->setTitle(toQString(texts.text("FrmMain.ID_MEN_VIEW")));
    for (const ActionText& row : kActionTexts)
        (m_actions.*row.action)->setText(toQString(texts.text(row.key)));
    m_recent->retranslate(texts);
}

void MainMenu::removeMissingDocuments(bool hasLicense, bool hasChangeNotes)
{
    if (!hasLicense)
        m_menus.help->removeAction(m_actions.license);
    if (!hasChangeNotes) {
        m_menus.help->removeAction(m_actions.changes);
        m_menus.help->removeAction(m_actions.checkForUpdate);
    }
}

} // namespace app
