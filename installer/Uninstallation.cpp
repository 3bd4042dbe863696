#include "installer/Uninstallation.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

// The folders below `folder` that hold listed files, the deepest first: the
// folders the archive made. Each goes only when nothing is left in it, and
// then the installation folder itself.
void RemoveEmptyFolders(const QString& folder, const QStringList& listed)
{
    QStringList folders;
    for (const QString& path : listed)
        for (QString up = QFileInfo(path).path(); IsInsideFolder(folder, up);
             up = QFileInfo(up).path())
            folders << up;
    folders.removeDuplicates();
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& below : folders)
        QDir().rmdir(below); // only when empty; a link is no folder to rmdir
    QDir().rmdir(folder);
}

// True when the file holds nothing but blanks, line ends and section headers.
bool HoldsNoValues(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    return std::all_of(lines.begin(), lines.end(), [](const QByteArray& line) {
        const QByteArray trimmed = line.trimmed();
        return trimmed.isEmpty() || (trimmed.startsWith('[') && trimmed.endsWith(']'));
    });
}

void RemoveIfEmpty(const QString& path)
{
    if (QFileInfo(path).isFile() && HoldsNoValues(path))
        QFile::remove(path);
}

// The registry's files (the program's key in "Quillfen2.ini", the other keys
// in "Quillfen2/<root key>.ini") and the default-application list are left
// without values once the entries are gone; empty, they are removed.
void RemoveEmptySettingsFiles()
{
    const QString registry = RegistryDirectory();
    RemoveIfEmpty(registry + QLatin1String("/Quillfen2.ini"));
    const QDir rootKeys(registry + QLatin1String("/Quillfen2"));
    for (const QString& name : rootKeys.entryList({QStringLiteral("*.ini")}, QDir::Files))
        RemoveIfEmpty(rootKeys.filePath(name));
    QDir().rmdir(rootKeys.path());
    RemoveIfEmpty(MimeAppsListPath());
}

// What the desktop's tools generate in a folder of theirs.
struct GeneratedFiles
{
    QString (*folder)();
    bool (*generated)(const QString& relativePath);
};
const GeneratedFiles Generated[] = {
    {ApplicationsFolder, [](const QString& path) { return path == u"mimeinfo.cache"; }},
    // The MIME database is generated from its sources in "packages".
    {MimeFolder, [](const QString& path) { return !path.startsWith(u"packages/"); }},
};

// Removes what the tools generated below `folder`, and the folders that
// leaves empty, but only when nothing else is left there: a file of anyone
// else's keeps the database as the tools made it.
void RemoveGeneratedOnly(const QString& folder, bool (*generated)(const QString&))
{
    QStringList files;
    QStringList folders;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir() && !info.isSymLink())
            folders << path;
        else if (info.isFile() && !info.isSymLink()
                 && generated(QDir(folder).relativeFilePath(path)))
            files << path;
        else
            return;
    }
    for (const QString& file : files)
        QFile::remove(file);
    RemoveFoldersLeftEmpty(folders);
}

// The folders the installation made, each when nothing but what the
// desktop's tools generated for it is left inside.
void RemoveCreatedFolders(QStringList folders)
{
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& folder : folders) {
        const QString clean = QDir::cleanPath(folder);
        if (!QDir::isAbsolutePath(clean))
            continue;
        for (const GeneratedFiles& kind : Generated)
            if (QDir::cleanPath(kind.folder()) == clean)
                RemoveGeneratedOnly(clean, kind.generated);
        QDir().rmdir(clean); // only when empty
    }
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
    const QStringList created = RecordedFolders(folder); // read before the entry goes
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
    RemoveEmptyFolders(folder, listed);
    RemoveRegistryEntriesAndShortcuts();
    RemoveEmptySettingsFiles();
    RemoveCreatedFolders(created);
    Dialogs().MessageBox(MainLanguage.GetString(StringId::UninstallSuccessful),
                         MainLanguage.GetString(StringId::UninstallCaption), MsgButtons::Ok,
                         MsgIcon::Information);
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
