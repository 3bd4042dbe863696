#pragma once
// The desktop's own records of an installed program: desktop entries for the
// shortcuts and the document association, the shared-mime-info package that
// declares the document type, and the default-application list.

#include <QByteArray>
#include <QString>

namespace DesktopNames {
inline constexpr char MimeType[] = "application/x-quillfen2";
// The association's entry in the applications folder (not shown in menus).
inline constexpr char AssociationEntry[] = "Quillfen2.desktop";
inline constexpr char MimePackage[] = "Quillfen2.xml";
inline constexpr char DefaultsSection[] = "Default Applications";
} // namespace DesktopNames

// "$XDG_DATA_HOME/applications".
QString ApplicationsFolder();
// The Start menu folder: "$XDG_DATA_HOME/applications/Quillfen2".
QString StartMenuFolder();
// "$XDG_DATA_HOME/mime".
QString MimeFolder();
// "$XDG_CONFIG_HOME/mimeapps.list".
QString MimeAppsListPath();
// The user's desktop folder: what `xdg-user-dir DESKTOP` answers, or
// "$HOME/Desktop" without the tool.
QString DesktopFolder();

// A path as one argument of an Exec line, quoted so that blanks and the
// characters the desktop treats specially survive.
QString ExecArgument(const QString& path);

struct DesktopEntry
{
    QString name;
    QString program;       // the absolute path run
    QString workingFolder;
    QString icon;          // an absolute icon path, or empty
    bool takesDocument = false; // Exec gets %f and the entry declares the document type
    bool hidden = false;        // left out of menus (the association's entry)
};
// The text of a desktop entry file.
QByteArray DesktopEntryText(const DesktopEntry& entry);

// The shared-mime-info package: "*.qfs" and the container magics.
QByteArray MimePackageText();

// `text` of an INI-style file with `key=value` set in `section` (added when
// missing), every other line kept as it was.
QByteArray WithIniValue(const QByteArray& text, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value);
// `text` without `key` in `section`.
QByteArray WithoutIniValue(const QByteArray& text, const QByteArray& section, const QByteArray& key);

// Saves through a temporary file; false when the file could not be written.
bool SaveTextFile(const QString& path, const QByteArray& text);
// Runs a desktop database tool when it is installed; a missing tool is no error.
void RunToolIfPresent(const QString& tool, const QString& folder);
