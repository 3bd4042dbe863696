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
    // Creates (truncates) the log and the folders above it; a link in its
    // place is replaced, not followed.
    bool Open(const QString& logPath);
    // Each line goes to the disk at once, so that whatever was extracted
    // before a failure or a stop stays listed.
    bool Append(const QString& path);
    void Close() { m_file.close(); }
    // The system's reason for the last failure.
    QString ErrorString() const { return m_file.errorString(); }

private:
    QFile m_file;
};

// The paths the log lists that lie inside `folder` (absolute), in log order.
// A line names its file exactly: only the line end (CR LF or LF) is dropped,
// never blanks, so that a line can only name the very file that was written.
// Lines that are too long, relative, not in their plain form, or point
// outside the folder are skipped.
QStringList ReadInstallLog(QByteArrayView bytes, const QString& folder);
