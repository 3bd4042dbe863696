#pragma once
// The names and folders of an installation, and the checks that keep every
// file the installer writes or the uninstaller deletes inside the
// installation folder.

#include <QString>

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

// True for the installer's own name, "Setup" with or without ".exe" in any
// letter case; the program uninstalls under every other name.
bool IsInstallerName(const QString& programPath);

// The folder as the user typed it: without leading and trailing blanks and
// without one trailing "/".
QString FolderFromText(const QString& text);

// "$XDG_DATA_HOME/Quillfen2".
QString DefaultInstallFolder();

// The archive beside the installer program (never the current folder).
QString ArchiveBeside(const QString& programPath);

// Whether `path` names something strictly below the absolute folder `folder`,
// compared after "." and ".." are resolved.
bool IsInsideFolder(const QString& folder, const QString& path);

// The target of a cabinet member below `folder`: its "\" separators become
// "/". Empty (refused) when the name is empty, absolute, or climbs with "..".
QString MemberTarget(const QString& folder, const QString& memberName);
