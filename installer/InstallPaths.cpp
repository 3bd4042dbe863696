#include "installer/InstallPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

bool IsInstallerName(const QString& programPath)
{
    const QString name = QFileInfo(programPath).fileName();
    return name.compare(QLatin1String("Setup"), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String("Setup.exe"), Qt::CaseInsensitive) == 0;
}

QString FolderFromText(const QString& text)
{
    QString folder = text.trimmed();
    if (folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString DefaultInstallFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/'
           + QLatin1String(InstallNames::Program);
}

QString ArchiveBeside(const QString& programPath)
{
    return QFileInfo(programPath).absoluteDir().filePath(QLatin1String(InstallNames::Archive));
}

bool IsInsideFolder(const QString& folder, const QString& path)
{
    if (!QDir::isAbsolutePath(folder) || !QDir::isAbsolutePath(path))
        return false;
    QString base = QDir::cleanPath(folder);
    if (!base.endsWith(u'/'))
        base += u'/';
    const QString target = QDir::cleanPath(path);
    return target.startsWith(base) && target.size() > base.size();
}

QString MemberTarget(const QString& folder, const QString& memberName)
{
    QString name = memberName;
    name.replace(u'\\', u'/');
    if (name.isEmpty() || name.startsWith(u'/'))
        return QString();
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return QString();
        if (part != QLatin1String("."))
            parts << part;
    }
    if (parts.isEmpty())
        return QString();
    const QString target = QDir::cleanPath(folder) + u'/' + parts.join(u'/');
    return IsInsideFolder(folder, target) ? target : QString();
}
