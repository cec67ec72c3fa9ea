// SPDX-License-Identifier: MIT
// A desktop seam for tests: scripted answers, recorded calls, temporary folders and a pinned clock.
#include "fake_platform.h"

#include <QDialog>
#include <QWidget>

namespace app::test {

namespace {

template <class Answer> Answer next(std::deque<Answer>& answers)
{
    if (answers.empty())
        return Answer{};
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

QString FakePlatform::chooseOpenFile(QWidget*, const QStringList& filters)
{
    openFilters.append(filters);
    return next(openFileAnswers);
}

QString FakePlatform::chooseSaveFile(QWidget*, const QStringList& filters, const QStringList& defaultSuffixes)
{
    saveFilters.append(filters);
    saveSuffixes.append(defaultSuffixes);
    return next(saveFileAnswers);
}

void FakePlatform::showError(QWidget* parent, const QString& caption, const QString& text)
{
    messages.append({caption, text, parent, parent != nullptr && parent->isVisible()});
}

std::optional<QFont> FakePlatform::chooseFont(QWidget*, const QFont& initial)
{
    fontInitials.append(initial);
    return next(fontAnswers);
}

std::optional<QColor> FakePlatform::chooseColor(QWidget*, const QColor&)
{
    return next(colorAnswers);
}

int FakePlatform::runDialog(QDialog& dialog)
{
    dialogTitles.append(dialog.windowTitle());
    return dialogScript ? dialogScript(dialog) : QDialog::Rejected;
}

bool FakePlatform::openUrl(const QUrl& url)
{
    openedUrls.append(url);
    return canOpenUrls;
}

void FakePlatform::setClipboard(std::unique_ptr<QMimeData> data)
{
    clipboard = std::move(data);
}

} // namespace app::test
