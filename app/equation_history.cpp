// SPDX-License-Identifier: MIT
// The equations solved, newest first, kept across restarts in History.txt beside the settings file.
#include "app/equation_history.h"

#include <QFile>
#include <QSaveFile>
#include <QStringListModel>

namespace app {

namespace {

/// One line of the file: line breaks of the equation become blanks.
QString oneLine(QString equation)
{
    return equation.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

EquationHistory::EquationHistory(QObject* parent) : QObject(parent), m_model(new QStringListModel(this)) {}

void EquationHistory::add(const QString& equation)
{
    const QString entry = oneLine(equation);
    if (entry.trimmed().isEmpty())
        return;
    QStringList entries = m_model->stringList();
    entries.removeAll(entry);
    entries.prepend(entry);
    if (entries.size() > kMaxEntries)
        entries.resize(kMaxEntries);
    m_model->setStringList(entries);
    emit changed();
}

void EquationHistory::clear()
{
    m_model->setStringList({});
    emit changed();
}

QStringList EquationHistory::entries() const
{
    return m_model->stringList();
}

void EquationHistory::load(const QString& path)
{
    QStringList entries;
    QFile in(path);
    if (in.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            if (line.trimmed().isEmpty() || entries.contains(line))
                continue;
            entries.append(line);
            if (entries.size() == kMaxEntries)
                break;
        }
    }
    m_model->setStringList(entries);
    emit changed();
}

bool EquationHistory::save(const QString& path) const
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    for (const QString& entry : m_model->stringList())
        out.write(entry.toUtf8() + "\r\n");
    return out.commit();
}

} // namespace app
