#include "installer/InstallLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "installer/InstallPaths.h"

QByteArray InstallLogText(const QStringList& paths)
{
    QByteArray text;
    for (const QString& path : paths)
        text += QFile::encodeName(path) + "\r\n";
    return text;
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
