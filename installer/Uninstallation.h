#pragma once
// The uninstaller: removes what the install log lists inside the
// installation folder, the log and the uninstaller, the registry entries, the
// association and the shortcuts.

#include <QString>

// The folder the uninstall entry names, or the current folder when it names
// none that exists.
QString InstalledFolder();

// Shows the missing-log message and returns false when there is no log;
// then nothing is removed. Otherwise removes the installation, the folders
// it leaves empty, the settings files it leaves without values and the
// folders the installation made once nothing but what the desktop's tools
// generated is left in them, and says that the uninstallation is done.
bool RemoveInstallation();

// The uninstall entry, the program's key, the association and the shortcuts
// of both languages.
void RemoveRegistryEntriesAndShortcuts();
