// SPDX-License-Identifier: MIT
// A main window on temporary folders (program, per-user, machine-wide, starting folder) and a fixed clock.
#pragma once

#include "app/main_window.h"
#include "app/startup_context.h"
#include "fake_platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace app::test {

/// The date and time the fake clock tells.
inline QDateTime pinnedTime()
{
    return QDateTime(QDate(2024, 3, 7), QTime(9, 5, 2));
}

/// Temporary folders standing for the program folder, the desktop's two data folders and the
/// folder the user started the program in; nothing outside them is touched.
class WindowFixture {
public:
    WindowFixture()
    {
        for (const char* name : {"program", "user", "machine", "start"})
            QDir(m_root.path()).mkpath(QString::fromLatin1(name));
        platform.userFolder = path("user");
        platform.machineFolder = path("machine");
        platform.now = pinnedTime();
    }

    /// Absolute path of name inside the temporary root.
    [[nodiscard]] QString path(const QString& name) const { return m_root.filePath(name); }

    /// Writes bytes to name inside the root (its folder is created).
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
        return file;
    }

    [[nodiscard]] QByteArray read(const QString& name) const
    {
        QFile in(path(name));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    [[nodiscard]] bool exists(const QString& name) const { return QFileInfo::exists(path(name)); }

    /// The per-user settings file.
    [[nodiscard]] QString userSettings() const
    {
        return QStringLiteral("user/Kestrune/Tervalon/Tervalon.ini");
    }

    /// A window started as `tervalon arguments...` from the starting folder.
    std::unique_ptr<CTervalonDlg> makeWindow(const QStringList& arguments = {})
    {
        const StartupContext context = makeStartupContext(
            path("program"), QStringList{path("program/tervalon")} + arguments, path("start"));
        return std::make_unique<CTervalonDlg>(context, platform);
    }

    FakePlatform platform;

private:
    QTemporaryDir m_root;
};

/// A settings file with the given entries.
inline QByteArray settingsFile(const QByteArray& entries)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<InitFile>\r\n" + entries + "</InitFile>\r\n";
}

} // namespace app::test
