#pragma once
// The install log "uninst.dat": one installed file a line, its full path
// followed by CR LF, in the order the archive delivered the files. The
// uninstaller deletes what it lists.

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringList>

// Longer lines are no path this system can hold; the reader skips them.
inline constexpr int MaxLogLine = 4096;

class InstallLogWriter
{
public:
    // Creates (truncates) the log and the folders above it.
    bool Open(const QString& logPath);
    // Each line goes to the disk at once, so that whatever was extracted
    // before a failure or a stop stays listed.
    bool Append(const QString& path);
    void Close() { m_file.close(); }

private:
    QFile m_file;
};

// The paths the log lists that lie inside `folder` (absolute), in log order.
// Lines are taken whole whatever their length; blanks and line ends around a
// path are dropped; lines that are too long, relative, or point outside the
// folder are skipped.
QStringList ReadInstallLog(QByteArrayView bytes, const QString& folder);
