// SPDX-License-Identifier: MIT
// A document beside the program shown in a window of the program's own, for desktops that open none.
#pragma once

#include <QDialog>
#include <QUrl>

#include <filesystem>
#include <functional>

class QPlainTextEdit;
class QTextBrowser;

namespace app {

/// How a document is shown.
enum class DocumentKind {
    Html,      ///< the help page: formatted, with its pictures and links
    PlainText, ///< the change notes and the licence
};

/// A window that shows one document read from disk: the help page in a browser of its own (links
/// inside the page and to other pages beside it are followed in the window, any other address goes
/// to openExternal), a text file in a read-only text view. It covers most of the screen it opens on
/// and closes with Escape. It is not modal: the main window stays usable beside it.
class DocumentWindow : public QDialog {
    Q_OBJECT
public:
    DocumentWindow(DocumentKind kind, std::function<void(const QUrl&)> openExternal,
                   QWidget* parent = nullptr);

    /// The window's title, also the accessible name of its view.
    void setTitle(const QString& title);
    /// Reads the document (UTF-8); false when it cannot be read, and the window shows nothing.
    [[nodiscard]] bool load(const std::filesystem::path& file);
    /// Sizes the window to the available area of its screen and centres it there.
    void fitToScreen();

    [[nodiscard]] DocumentKind kind() const { return m_kind; }
    /// The browser of an HTML document, else nullptr.
    [[nodiscard]] QTextBrowser* browser() const { return m_browser; }
    /// The text view of a plain-text document, else nullptr.
    [[nodiscard]] QPlainTextEdit* textView() const { return m_textView; }

private:
    void handleLink(const QUrl& link);

    DocumentKind m_kind;
    std::function<void(const QUrl&)> m_openExternal;
    QTextBrowser* m_browser = nullptr;
    QPlainTextEdit* m_textView = nullptr;
};

} // namespace app
