#pragma once
// A private home for one installer test: HOME, XDG_DATA_HOME and
// XDG_CONFIG_HOME point into a temporary folder for the guard's lifetime, the
// installer's tables are in use, and cabinets are packed with gcab.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>
#include <utility>
#include <vector>

#include "common/ScopedGuards.h"
#include "language/Language.h"

class InstallerSandbox
{
public:
    InstallerSandbox()
    {
        m_env.push_back(std::make_unique<ScopedEnv>("HOME", Path("home").toUtf8()));
        m_env.push_back(std::make_unique<ScopedEnv>("XDG_DATA_HOME", DataHome().toUtf8()));
        m_env.push_back(std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", ConfigHome().toUtf8()));
        QDir().mkpath(Path("home"));
        MainLanguage.UseTables(InstallerLanguageTable);
        MainLanguage.SetLanguage(Language::Czech);
    }
    ~InstallerSandbox()
    {
        MainLanguage.UseTables(ProgramLanguageTable);
        MainLanguage.SetLanguage(Language::Czech);
    }
    InstallerSandbox(const InstallerSandbox&) = delete;
    InstallerSandbox& operator=(const InstallerSandbox&) = delete;

    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    QString DataHome() const { return Path("home/.local/share"); }
    QString ConfigHome() const { return Path("home/.config"); }

    using Members = std::vector<std::pair<QString, QByteArray>>;

    // Packs `members` (relative names, "/" between folders) into `cabinet`
    // in the given order.
    void MakeCabinet(const QString& cabinet, const Members& members) const
    {
        QTemporaryDir staging;
        QStringList names;
        for (const auto& [name, bytes] : members) {
            WriteFile(staging.filePath(name), bytes);
            names << name;
        }
        QDir().mkpath(QFileInfo(cabinet).absolutePath());
        QProcess gcab;
        gcab.setWorkingDirectory(staging.path());
        gcab.start("gcab", QStringList{"--create", "--zip", cabinet} + names);
        ASSERT_TRUE(gcab.waitForFinished()) << "gcab did not run";
        ASSERT_EQ(gcab.exitCode(), 0) << gcab.readAllStandardError().constData();
    }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<ScopedEnv>> m_env;
};
