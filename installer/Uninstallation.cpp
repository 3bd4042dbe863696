#include "installer/Uninstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "installer/DesktopFiles.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"
#include "installer/Installation.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Registry.h"
#include "platform/UserDialogs.h"

namespace {
// The caption of the missing-log message is a fixed text of the uninstaller.
const QString UninstallerCaption = QStringLiteral("UNINST.EXE");

// Removes a listed file only when the folder it really lies in (links
// resolved) is inside the installation folder.
void RemoveListedFile(const QString& canonicalFolder, const QString& path)
{
    const QFileInfo info(path);
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (parent.isEmpty() || (parent != canonicalFolder && !IsInsideFolder(canonicalFolder, parent)))
        return;
    if (info.isFile() || info.isSymLink())
        QFile::remove(path);
}

void RemoveIn(const QString& folder, const QString& name)
{
    if (!folder.isEmpty())
        QFile::remove(folder + u'/' + name);
}
} // namespace

QString InstalledFolder()
{
    TRegistry reg(RootKey::LocalMachine);
    QString folder;
    try {
        if (reg.OpenKey(InstallKeys::Uninstall, false))
            folder = reg.ReadString(InstallKeys::InstallDir);
    } catch (const ERegistryException&) {
        folder.clear();
    }
    if (folder.isEmpty() || !QDir::isAbsolutePath(folder) || !QFileInfo(folder).isDir())
        folder = QDir::currentPath();
    return QDir::cleanPath(folder);
}

bool RemoveInstallation()
{
    const QString folder = InstalledFolder();
    const QString logPath = folder + u'/' + QLatin1String(InstallNames::Log);
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly)) {
        Dialogs().MessageBox(MainLanguage.GetString(StringId::CannotOpenLog), UninstallerCaption,
                             MsgButtons::Ok, MsgIcon::Error);
        return false;
    }
    const QStringList listed = ReadInstallLog(log.readAll(), folder);
    log.close();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    for (const QString& path : listed)
        RemoveListedFile(canonicalFolder, path);
    QFile::remove(logPath);
    QDir(folder).rmdir(QLatin1String(InstallNames::Documents)); // only when empty
    // A running program's file can be removed here: no restart is needed.
    QFile::remove(folder + u'/' + QLatin1String(InstallNames::Uninstaller));
    RemoveRegistryEntriesAndShortcuts();
    return true;
}

void RemoveRegistryEntriesAndShortcuts()
{
    TRegistry machine(RootKey::LocalMachine);
    machine.DeleteKey(InstallKeys::Uninstall);
    machine.DeleteKey(InstallKeys::Program);

    RemoveIn(MimeFolder() + QLatin1String("/packages"), DesktopNames::MimePackage);
    RemoveIn(ApplicationsFolder(), DesktopNames::AssociationEntry);
    QFile list(MimeAppsListPath());
    if (list.open(QIODevice::ReadOnly)) {
        const QByteArray text = list.readAll();
        list.close();
        const QByteArray kept =
            WithoutIniValue(text, DesktopNames::DefaultsSection, DesktopNames::MimeType);
        if (kept != text)
            SaveTextFile(MimeAppsListPath(), kept);
    }
    RunToolIfPresent(QStringLiteral("update-mime-database"), MimeFolder());
    RunToolIfPresent(QStringLiteral("update-desktop-database"), ApplicationsFolder());

    TRegistry user(RootKey::CurrentUser);
    user.DeleteKey(InstallKeys::Program);

    const QString entryName = QLatin1String(InstallNames::Program) + QLatin1String(".desktop");
    RemoveIn(DesktopFolder(), entryName);
    const QString startMenu = StartMenuFolder();
    RemoveIn(startMenu, entryName);
    // The entry keeps the name it was made with, in whichever language.
    for (int language : {Language::English, Language::Czech})
        RemoveIn(startMenu, UninstallEntryName(language));
    QDir().rmdir(startMenu); // only when empty
}
