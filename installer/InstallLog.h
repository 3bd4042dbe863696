#pragma once
// The install log "uninst.dat": one installed file a line, its full path
// followed by CR LF, in the order the archive delivered the files. The
// uninstaller deletes what it lists.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Longer lines are no path this system can hold; the reader skips them.
inline constexpr int MaxLogLine = 4096;

// The log listing `paths`.
QByteArray InstallLogText(const QStringList& paths);

// The paths the log lists that lie inside `folder` (absolute), in log order.
// A line names its file exactly: only the line end (CR LF or LF) is dropped,
// never blanks, so that a line can only name the very file that was written.
// Lines that are too long, relative, not in their plain form, or point
// outside the folder are skipped.
QStringList ReadInstallLog(QByteArrayView bytes, const QString& folder);
