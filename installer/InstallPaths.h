#pragma once
// The names and folders of an installation, and the checks that keep every
// file the installer writes or the uninstaller deletes inside the
// installation folder.

#include <QString>
#include <QStringList>

namespace InstallNames {
inline constexpr char Archive[] = "Quillfen2.cab";
inline constexpr char Program[] = "Quillfen2";
// The installer's copy of itself, which runs as the uninstaller.
inline constexpr char Uninstaller[] = "uninst";
inline constexpr char Log[] = "uninst.dat";
// The icon the cabinet carries beside the program.
inline constexpr char Icon[] = "Quillfen2.svg";
// The folder the program keeps its example documents in.
inline constexpr char Documents[] = "qfs";
} // namespace InstallNames

// True for the uninstaller's own name, "uninst" with or without ".exe" in any
// letter case; the program installs under every other name (a downloaded
// copy may well be called "Setup (1)").
bool IsUninstallerName(const QString& programPath);

// The folder as the user typed it: without leading and trailing blanks and
// without one trailing "/"; a leading "~" is the home folder and "~name"
// that user's home folder, as in a shell. Empty (refused) for "~name" when
// there is no such user: a folder literally named so is never meant.
QString FolderFromText(const QString& text);

// "$XDG_DATA_HOME/Quillfen2".
QString DefaultInstallFolder();

// The archive beside the installer program (never the current folder).
QString ArchiveBeside(const QString& programPath);

// Whether `path` names something strictly below the absolute folder `folder`,
// compared after "." and ".." are resolved.
bool IsInsideFolder(const QString& folder, const QString& path);

// Why a cabinet member's name cannot be installed, if it cannot.
enum class MemberNameCheck {
    Fit,
    // Absolute, or climbing with "..": the file would land outside the folder.
    LeavesFolder,
    // Empty parts, parts ending in a blank or a dot, control characters, or
    // the name of the installer's own files: such a name would be logged as
    // something else than the file written, and the uninstaller would then
    // delete a file the installer never wrote.
    Unfit,
};
MemberNameCheck CheckMemberName(const QString& memberName);

// The target of a cabinet member below `folder`: its "\" separators become
// "/". Empty (refused) unless CheckMemberName finds the name fit.
QString MemberTarget(const QString& folder, const QString& memberName);

// Whether every folder that already exists between `folder` and `target`
// really lies inside `folder` once links are resolved: a link to elsewhere
// (or a broken one) on the way would carry the file out of the folder. The
// target itself is not looked at; the installer replaces whatever is there.
bool WayStaysInside(const QString& folder, const QString& target);

// The folders on the way to the absolute `folder`, itself included, that do
// not exist yet, outermost first: the folders making it would create.
QStringList MissingFolders(const QString& folder);
// Removes those of `folders` that are empty, the deepest first, so that a
// folder emptied by the removal of the one inside it goes too.
void RemoveFoldersLeftEmpty(QStringList folders);

// Whether the member is a program the installation runs (and so is made
// executable); every other member is plain data.
bool IsProgramMember(const QString& memberName);

// A member name fit for a message: control characters are shown as "\xNN".
QString PrintableName(const QString& memberName);
