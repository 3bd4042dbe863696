#include "installer/Installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <functional>

#include "installer/DesktopFiles.h"
#include "installer/InstallPaths.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/Registry.h"
#include "platform/UserDialogs.h"

namespace {
// The registration message and its caption are fixed texts of the installer.
const QString RegistrationError = QStringLiteral("Quillfen registration error");
const QString RegistrationCaption = QStringLiteral("SETUP.EXE");

QString InFolder(const QString& folder, const char* name)
{
    return folder + u'/' + QLatin1String(name);
}

void WriteKey(RootKey root, const QString& key, const std::function<void(TRegistry&)>& write)
{
    TRegistry reg(root);
    if (!reg.OpenKey(key, true))
        throw ERegistryException("Failed to create key");
    write(reg);
}

bool WriteAssociation(const QString& folder)
{
    DesktopEntry entry;
    entry.name = QLatin1String(InstallNames::Program);
    entry.program = InFolder(folder, InstallNames::Program);
    entry.workingFolder = folder;
    entry.icon = InFolder(folder, InstallNames::Icon);
    entry.takesDocument = true;
    entry.hidden = true;
    const QString mimeApps = MimeAppsListPath();
    QFile current(mimeApps);
    const QByteArray list = current.open(QIODevice::ReadOnly) ? current.readAll() : QByteArray();
    const bool saved =
        SaveTextFile(MimeFolder() + QLatin1String("/packages/") + DesktopNames::MimePackage,
                     MimePackageText())
        && SaveTextFile(InFolder(ApplicationsFolder(), DesktopNames::AssociationEntry),
                        DesktopEntryText(entry))
        && SaveTextFile(mimeApps, WithIniValue(list, DesktopNames::DefaultsSection,
                                               DesktopNames::MimeType,
                                               DesktopNames::AssociationEntry));
    if (saved) {
        RunToolIfPresent(QStringLiteral("update-mime-database"), MimeFolder());
        RunToolIfPresent(QStringLiteral("update-desktop-database"), ApplicationsFolder());
    }
    return saved;
}

void WriteShortcut(const QString& path, const DesktopEntry& entry, bool executable)
{
    if (!SaveTextFile(path, DesktopEntryText(entry)) || !executable)
        return;
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
}

QString Text(int id)
{
    return MainLanguage.GetString(id);
}

// The reason beside a failure: the system's own words, or that the archive
// is damaged.
QString Reason(const CopyFailure& failure)
{
    if (!failure.systemReason.isEmpty())
        return failure.systemReason;
    return failure.damaged ? Text(StringId::ArchiveDamaged) : QString();
}

// What went wrong, then the member and the reason, each on its own line when
// there is one.
QString Explained(int what, const QString& member, const QString& reason)
{
    QString text = Text(what);
    for (const QString& line : {member, reason})
        if (!line.isEmpty())
            text += u'\n' + line;
    return text;
}

QString FinalMessage(CopyOutcome outcome, const CopyFailure& failure, const QString& folder)
{
    const QString member = PrintableName(failure.member);
    QString why;
    switch (outcome) {
    case CopyOutcome::Complete:
        return Text(StringId::SetupSuccessful);
    case CopyOutcome::Stopped:
        return Text(StringId::NothingInstalled);
    case CopyOutcome::ArchiveUnreadable:
        why = Explained(StringId::CannotOpenArchive, QString(), Reason(failure));
        break;
    case CopyOutcome::PartOfSet:
        why = Explained(StringId::CannotOpenArchive, QString(), Text(StringId::ArchivePartOfSet));
        break;
    case CopyOutcome::UnsafeMember:
        why = Explained(StringId::ArchiveNameOutside, member, QString());
        break;
    case CopyOutcome::UnfitMemberName:
        why = Explained(StringId::ArchiveNameUnfit, member, QString());
        break;
    case CopyOutcome::DuplicateMember:
        why = Explained(StringId::FileNotInstalled, member, Text(StringId::ArchiveDamaged));
        break;
    case CopyOutcome::FolderNotWritable:
        why = Explained(StringId::FolderNotWritable, folder, Reason(failure));
        break;
    case CopyOutcome::ExtractFailed:
    case CopyOutcome::LogFailed:
        why = Explained(StringId::FileNotInstalled, member, Reason(failure));
        break;
    }
    return why + QLatin1String("\n\n") + Text(StringId::NothingInstalled);
}

// Adds the folders the installation was missing that exist now to the
// uninstall entry's record; an update keeps what the first installation made.
void RecordCreatedFolders(const InstallChoice& choice)
{
    QStringList recorded = RecordedFolders(choice.folder);
    for (const QString& folder : choice.missingFolders)
        if (QFileInfo(folder).isDir() && !recorded.contains(folder))
            recorded << folder;
    try {
        TRegistry reg(RootKey::LocalMachine);
        if (reg.OpenKey(InstallKeys::Uninstall, false))
            reg.WriteString(InstallKeys::CreatedFolders, recorded.join(u'\n'));
    } catch (const ERegistryException&) {
        // Without the record the folders stay after the uninstallation.
    }
}

// See RecordedFolders.
bool InstallationCanMake(const QStringList& written, const QString& path)
{
    // Compared as names once "." and ".." are resolved, and removed under the
    // cleaned name (see RemoveCreatedFolders): a link on the way then leads
    // the installation and the uninstaller alike.
    const QString clean = QDir::cleanPath(path);
    const QString home = QDir::cleanPath(QDir::homePath());
    if (!QDir::isAbsolutePath(clean) || clean == QDir::rootPath() || clean == home
        || IsInsideFolder(clean, home))
        return false;
    return std::any_of(written.begin(), written.end(), [&](const QString& into) {
        const QString cleanInto = QDir::cleanPath(into);
        return clean == cleanInto || IsInsideFolder(clean, cleanInto);
    });
}
} // namespace

QStringList FoldersWrittenInto(const QString& folder)
{
    return {
        QDir::cleanPath(folder),
        DesktopFolder(),
        StartMenuFolder(),
        MimeFolder() + QLatin1String("/packages"),
        QFileInfo(MimeAppsListPath()).absolutePath(),
        RegistryDirectory() + u'/' + QLatin1String(InstallNames::Program),
    };
}

QStringList FoldersMissingBefore(const QString& folder)
{
    QStringList missing;
    for (const QString& path : FoldersWrittenInto(folder))
        missing += MissingFolders(path);
    missing.removeDuplicates();
    return missing;
}

QStringList RecordedFolders(const QString& folder)
{
    QStringList recorded;
    try {
        TRegistry reg(RootKey::LocalMachine);
        if (reg.OpenKey(InstallKeys::Uninstall, false))
            recorded = reg.ReadString(InstallKeys::CreatedFolders).split(u'\n', Qt::SkipEmptyParts);
    } catch (const ERegistryException&) {
        // A value of another kind records nothing.
    }
    const QStringList written = FoldersWrittenInto(folder);
    QStringList folders;
    for (const QString& path : recorded)
        if (InstallationCanMake(written, path))
            folders << QDir::cleanPath(path);
    folders.removeDuplicates();
    return folders;
}

QString UninstallEntryName(int language)
{
    return MainLanguage.GetString(StringId::UninstallCaption, language) + QLatin1String(".desktop");
}

bool WriteRegistryEntries(const QString& folder, int language)
{
    try {
        WriteKey(RootKey::LocalMachine, InstallKeys::Uninstall, [&](TRegistry& reg) {
            reg.WriteString(InstallKeys::DisplayName, QLatin1String(InstallNames::Program));
            reg.WriteString(InstallKeys::UninstallString, InFolder(folder, InstallNames::Uninstaller));
            reg.WriteString(InstallKeys::InstallDir, folder);
        });
        WriteKey(RootKey::CurrentUser, InstallKeys::Program,
                 [&](TRegistry& reg) { reg.WriteInteger(InstallKeys::Language, language); });
    } catch (const ERegistryException&) {
        return false;
    }
    return WriteAssociation(folder);
}

void CreateShortcuts(const InstallChoice& choice)
{
    DesktopEntry program;
    program.name = QLatin1String(InstallNames::Program);
    program.program = InFolder(choice.folder, InstallNames::Program);
    program.workingFolder = choice.folder;
    program.icon = InFolder(choice.folder, InstallNames::Icon);
    const QString entryName = program.name + QLatin1String(".desktop");
    if (choice.desktopIcons) // the desktop only starts entries marked executable
        WriteShortcut(DesktopFolder() + u'/' + entryName, program, true);
    if (choice.startMenuIcons) {
        WriteShortcut(StartMenuFolder() + u'/' + entryName, program, false);
        DesktopEntry uninstall = program;
        uninstall.name = MainLanguage.GetString(StringId::UninstallCaption, choice.language);
        uninstall.program = InFolder(choice.folder, InstallNames::Uninstaller);
        WriteShortcut(StartMenuFolder() + u'/' + UninstallEntryName(choice.language), uninstall, false);
    }
}

void CompleteInstallation(const InstallChoice& choice, CopyOutcome outcome,
                          const CopyFailure& failure)
{
    const bool complete = outcome == CopyOutcome::Complete;
    if (complete) {
        if (!WriteRegistryEntries(choice.folder, choice.language))
            Dialogs().MessageBox(RegistrationError, RegistrationCaption, MsgButtons::Ok,
                                 MsgIcon::Error);
        CreateShortcuts(choice);
        RecordCreatedFolders(choice);
    } else {
        RemoveFoldersLeftEmpty(choice.missingFolders);
    }
    Dialogs().MessageBox(FinalMessage(outcome, failure, choice.folder),
                         MainLanguage.GetString(StringId::InstallCaption), MsgButtons::Ok,
                         complete ? MsgIcon::Information : MsgIcon::Warning);
}
