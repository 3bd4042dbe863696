#include "installer/InstallPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <span>

#include <pwd.h>

namespace {
// The files the installer writes itself; no member may take their place.
constexpr const char* OwnFiles[] = {InstallNames::Uninstaller, InstallNames::Log};
// The members the installation runs.
constexpr const char* ProgramMembers[] = {InstallNames::Program};

QString WithSlashes(const QString& memberName)
{
    QString name = memberName;
    name.replace(u'\\', u'/');
    return name;
}

bool IsOneOf(const QString& name, std::span<const char* const> names, Qt::CaseSensitivity cs)
{
    return std::any_of(names.begin(), names.end(), [&](const char* listed) {
        return name.compare(QLatin1String(listed), cs) == 0;
    });
}

bool IsFitPart(const QString& part)
{
    return !part.isEmpty() && !part.endsWith(u' ') && !part.endsWith(u'.');
}
} // namespace

bool IsUninstallerName(const QString& programPath)
{
    const QString name = QFileInfo(programPath).fileName();
    return name.compare(QLatin1String(InstallNames::Uninstaller), Qt::CaseInsensitive) == 0
           || name.compare(QLatin1String(InstallNames::Uninstaller) + QLatin1String(".exe"),
                           Qt::CaseInsensitive)
                  == 0;
}

QString FolderFromText(const QString& text)
{
    QString folder = text.trimmed();
    if (folder.endsWith(u'/'))
        folder.chop(1);
    if (!folder.startsWith(u'~'))
        return folder;
    const qsizetype nameEnd = folder.indexOf(u'/');
    const QString user = folder.mid(1, nameEnd < 0 ? -1 : nameEnd - 1);
    const QString rest = nameEnd < 0 ? QString() : folder.mid(nameEnd);
    if (user.isEmpty())
        return QDir::cleanPath(QDir::homePath() + rest);
    const passwd* account = ::getpwnam(QFile::encodeName(user).constData());
    if (!account || !account->pw_dir || !QDir::isAbsolutePath(QFile::decodeName(account->pw_dir)))
        return QString();
    return QDir::cleanPath(QFile::decodeName(account->pw_dir) + rest);
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

MemberNameCheck CheckMemberName(const QString& memberName)
{
    const QString name = WithSlashes(memberName);
    const QStringList parts = name.split(u'/');
    if (name.startsWith(u'/') || parts.contains(QLatin1String("..")))
        return MemberNameCheck::LeavesFolder;
    const bool control = std::any_of(name.begin(), name.end(),
                                     [](QChar c) { return c.category() == QChar::Other_Control; });
    if (control || !std::all_of(parts.begin(), parts.end(), IsFitPart)
        || IsOneOf(name, OwnFiles, Qt::CaseInsensitive))
        return MemberNameCheck::Unfit;
    return MemberNameCheck::Fit;
}

QString MemberTarget(const QString& folder, const QString& memberName)
{
    if (CheckMemberName(memberName) != MemberNameCheck::Fit)
        return QString();
    const QString target = QDir::cleanPath(folder) + u'/' + WithSlashes(memberName);
    return IsInsideFolder(folder, target) ? target : QString();
}

bool WayStaysInside(const QString& folder, const QString& target)
{
    const QString base = QFileInfo(folder).canonicalFilePath();
    const QString clean = QDir::cleanPath(folder);
    if (base.isEmpty() || !IsInsideFolder(clean, target))
        return false;
    QStringList parts = QDir::cleanPath(target).mid(clean.size()).split(u'/', Qt::SkipEmptyParts);
    parts.removeLast(); // the target itself
    QString way = clean;
    for (const QString& part : parts) {
        way += u'/' + part;
        const QFileInfo info(way);
        if (!info.exists() && !info.isSymLink())
            return true; // the rest is made afresh
        const QString real = info.canonicalFilePath();
        if (real.isEmpty() || !IsInsideFolder(base, real))
            return false;
    }
    return true;
}

QStringList MissingFolders(const QString& folder)
{
    QStringList missing;
    for (QString way = QDir::cleanPath(folder); QDir::isAbsolutePath(way);
         way = QFileInfo(way).path()) {
        const QFileInfo info(way);
        if (info.exists() || info.isSymLink() || way == QFileInfo(way).path())
            break;
        missing.prepend(way);
    }
    return missing;
}

void RemoveFoldersLeftEmpty(QStringList folders)
{
    folders.removeDuplicates();
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& folder : folders)
        QDir().rmdir(folder); // only when empty; a link is no folder to rmdir
}

bool IsProgramMember(const QString& memberName)
{
    return IsOneOf(WithSlashes(memberName), ProgramMembers, Qt::CaseSensitive);
}

QString PrintableName(const QString& memberName)
{
    QString shown;
    for (QChar c : memberName) {
        if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}
