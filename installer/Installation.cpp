#include "installer/Installation.h"

#include <QDir>
#include <QFile>

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

QString FinalMessage(CopyOutcome outcome, const QString& failedMember)
{
    const QString incomplete = MainLanguage.GetString(StringId::InstallationIncomplete);
    switch (outcome) {
    case CopyOutcome::Complete:
        return MainLanguage.GetString(StringId::SetupSuccessful);
    case CopyOutcome::UnsafeMember:
        return MainLanguage.GetString(StringId::ArchiveNameOutside) + u'\n' + failedMember
               + QLatin1String("\n\n") + incomplete;
    case CopyOutcome::ArchiveUnreadable:
    case CopyOutcome::PartOfSet:
        return MainLanguage.GetString(StringId::CannotOpenArchive) + QLatin1String("\n\n")
               + incomplete;
    case CopyOutcome::Stopped:
    case CopyOutcome::ExtractFailed:
    case CopyOutcome::LogFailed:
        break;
    }
    return incomplete;
}
} // namespace

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
                          const QString& failedMember)
{
    if (!WriteRegistryEntries(choice.folder, choice.language))
        Dialogs().MessageBox(RegistrationError, RegistrationCaption, MsgButtons::Ok, MsgIcon::Error);
    CreateShortcuts(choice);
    const bool complete = outcome == CopyOutcome::Complete;
    Dialogs().MessageBox(FinalMessage(outcome, failedMember),
                         MainLanguage.GetString(StringId::InstallCaption), MsgButtons::Ok,
                         complete ? MsgIcon::Information : MsgIcon::Warning);
}
