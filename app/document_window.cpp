// SPDX-License-Identifier: MIT
// A document beside the program shown in a window of the program's own, for desktops that open none.
#include "app/document_window.h"

#include "app/text_conversion.h"

#include <QFile>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <utility>

namespace app {

namespace {

/// The share of the screen's available width and height the window takes.
constexpr double kScreenShare = 0.8;

/// A browser for the help pages, which are written for web browsers: Qt's rich text knows no
/// figure elements and would run a picture into the paragraph before it, so they become blocks.
class HelpBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        QVariant resource = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource)
            return resource;
        QString page = resource.typeId() == QMetaType::QString ? resource.toString()
                                                               : QString::fromUtf8(resource.toByteArray());
        static const QRegularExpression kFigure(QStringLiteral("<(/?)fig(ure|caption)\\b"));
        page.replace(kFigure, QStringLiteral("<\\1div"));
        return page;
    }
};

} // namespace

DocumentWindow::DocumentWindow(DocumentKind kind, std::function<void(const QUrl&)> openExternal,
                               QWidget* parent)
    : QDialog(parent), m_kind(kind), m_openExternal(std::move(openExternal))
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    QWidget* view = nullptr;
    if (kind == DocumentKind::Html) {
        m_browser = new HelpBrowser(this);
        // Links are followed here, so that an address outside the program's folder goes through
        // the desktop seam instead of being loaded as a file.
        m_browser->setOpenLinks(false);
        connect(m_browser, &QTextBrowser::anchorClicked, this, &DocumentWindow::handleLink);
        view = m_browser;
    } else {
        m_textView = new QPlainTextEdit(this);
        m_textView->setReadOnly(true);
        m_textView->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_textView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        view = m_textView;
    }
    layout->addWidget(view);
    setFocusProxy(view);
}

void DocumentWindow::setTitle(const QString& title)
{
    setWindowTitle(title);
    focusProxy()->setAccessibleName(title);
}

bool DocumentWindow::load(const std::filesystem::path& file)
{
    QFile in(fromPath(file));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    if (m_browser != nullptr) {
        in.close();
        // From its address, so that its pictures and its links resolve beside it.
        m_browser->setSource(QUrl::fromLocalFile(fromPath(file)), QTextDocument::HtmlResource);
    } else {
        m_textView->setPlainText(QString::fromUtf8(in.readAll()));
    }
    return true;
}

void DocumentWindow::fitToScreen()
{
    const QScreen* shown = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    const QRect area = shown->availableGeometry();
    const QSize size(static_cast<int>(area.width() * kScreenShare),
                     static_cast<int>(area.height() * kScreenShare));
    // The frame comes on top of the size; the share leaves room for it on every screen.
    setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

void DocumentWindow::handleLink(const QUrl& link)
{
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile())
        m_browser->setSource(target);
    else if (m_openExternal)
        m_openExternal(target);
}

} // namespace app
