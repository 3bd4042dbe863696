#include "installer/InstallLog.h"

#include <QDir>
#include <QFileInfo>

#include "installer/InstallPaths.h"

bool InstallLogWriter::Open(const QString& logPath)
{
    m_file.close();
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    if (QFileInfo(logPath).isSymLink())
        QFile::remove(logPath);
    m_file.setFileName(logPath);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool InstallLogWriter::Append(const QString& path)
{
    const QByteArray line = QFile::encodeName(path) + "\r\n";
    return m_file.write(line) == line.size() && m_file.flush();
}

QStringList ReadInstallLog(QByteArrayView bytes, const QString& folder)
{
    QStringList paths;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.size() > MaxLogLine || line.contains('\0'))
            continue;
        const QString path = QFile::decodeName(line.toByteArray());
        if (IsInsideFolder(folder, path) && QDir::cleanPath(path) == path
            && QFile::encodeName(path) == line)
            paths << path;
    }
    return paths;
}
