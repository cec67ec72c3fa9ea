// SPDX-License-Identifier: MIT
// A read-only one-line text that acts as a link: the hand cursor over it, a double-click activates it.
#pragma once

#include <QLineEdit>
#include <QUrl>

namespace config {

/// A read-only single-line edit used as a link in the About box. The shown text is set with
/// `setText`, the target with `SetLink`; an empty target makes it plain text. A double-click on a
/// link reports the target by `linkActivated` (the caller opens it); the text stays selectable.
class CClickEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CClickEdit(QWidget* parent = nullptr);

    /// Sets the link target (a web address, or "mailto:" and an e-mail address).
    void SetLink(const QString& target);
    [[nodiscard]] const QString& link() const { return m_link; }

signals:
    void linkActivated(const QUrl& target);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateCursor();

    QString m_link;
};

} // namespace config
