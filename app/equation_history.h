// SPDX-License-Identifier: MIT
// The equations solved, newest first, kept across restarts in History.txt beside the settings file.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <string_view>

class QStringListModel;

namespace app {

/// Name of the history file inside the settings folder.
inline constexpr std::string_view kHistoryFileName = "History.txt";

/// Every equation solved, newest first: at most kMaxEntries, each once (solving one again moves it
/// to the top), one line each. The entries live in a string list model, so a completer can offer
/// them as the user types. The file is UTF-8 with CR LF, one equation a line, written whole
/// through a temporary file; a missing or unreadable file is an empty history.
class EquationHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 200;

    explicit EquationHistory(QObject* parent = nullptr);

    /// Puts equation at the top. Line breaks become blanks; an equation of blanks only is not kept.
    void add(const QString& equation);
    void clear();
    [[nodiscard]] QStringList entries() const;
    [[nodiscard]] QStringListModel& model() const { return *m_model; }

    /// Replaces the entries by those of the file (empty lines skipped, duplicates and entries beyond
    /// the limit dropped); a file that cannot be read leaves the history empty.
    void load(const QString& path);
    /// Writes the entries to path; false when the file could not be written (it then stays as it was).
    [[nodiscard]] bool save(const QString& path) const;

signals:
    /// The entries changed: an equation added, the history cleared or loaded.
    void changed();

private:
    QStringListModel* m_model;
};

} // namespace app
