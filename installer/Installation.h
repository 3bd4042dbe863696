#pragma once
// What the installer does once the copy thread has ended: the uninstall
// entry, the program's language, the document association, the shortcuts the
// user asked for, and the closing message.

#include <QString>
#include <QStringList>

#include "installer/SetupCopy.h"

struct InstallChoice
{
    QString folder; // absolute, without a trailing "/"
    bool desktopIcons = true;
    bool startMenuIcons = true;
    int language = 1; // the installer's language when Install was pressed
    // The folders the installation may make that were missing when Install
    // was pressed (see FoldersMissingBefore).
    QStringList missingFolders;
};

// The folders an installation into `folder` writes into: the folder, the
// desktop's and the settings' folders.
QStringList FoldersWrittenInto(const QString& folder);

// Those of FoldersWrittenInto that do not exist yet, each with its missing
// parents. Those the installation made are recorded with the uninstall
// entry, so that the uninstaller takes them away when it leaves them empty;
// a failed installation takes them away at once.
QStringList FoldersMissingBefore(const QString& folder);

namespace InstallKeys {
inline constexpr char Uninstall[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillfen2";
inline constexpr char Program[] = "\\Software\\Quillfen2";
inline constexpr char DisplayName[] = "DisplayName";
inline constexpr char UninstallString[] = "UninstallString";
inline constexpr char InstallDir[] = "InstallDir";
inline constexpr char Language[] = "Language";
// The folders the installation made, one a line, in the uninstall entry.
inline constexpr char CreatedFolders[] = "CreatedFolders";
} // namespace InstallKeys

// The registry values and the association; stops at the first write that
// fails and returns false.
bool WriteRegistryEntries(const QString& folder, int language);
// The desktop icon and the Start menu entries asked for. A shortcut that
// cannot be written is left out.
void CreateShortcuts(const InstallChoice& choice);
// The whole completion, closing message included. Only a complete copy is
// registered; after any other outcome nothing was put in place, an earlier
// installation stays registered as it was, and the folders made for this
// one go again.
void CompleteInstallation(const InstallChoice& choice, CopyOutcome outcome,
                          const CopyFailure& failure);
// The folders of the uninstall entry's record that an installation into
// `folder` can have made, cleaned: one of FoldersWrittenInto or a folder
// above one, but never the home folder, one holding it, or the root. Any
// other name the record holds (the entry is a file anyone may edit) is no
// folder of the installation's and is left alone.
QStringList RecordedFolders(const QString& folder);

// The file name of the Start menu's uninstall entry in `language`.
QString UninstallEntryName(int language);
