#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

UrlOpener& Opener()
{
    static UrlOpener opener;
    return opener;
}

bool HasScheme(const QString& target)
{
    // One letter before the colon is a drive letter, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(target).hasMatch();
}

} // namespace

QUrl TargetUrl(const QString& target)
{
    if (target.isEmpty())
        return {};
    if (HasScheme(target))
        return QUrl(target, QUrl::TolerantMode);
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

bool OpenTarget(const QString& target)
{
    const QUrl url = TargetUrl(target);
    if (const UrlOpener& opener = Opener())
        return opener(url);
    return QDesktopServices::openUrl(url);
}

void SetUrlOpener(UrlOpener opener)
{
    Opener() = std::move(opener);
}
