#pragma once

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <QTemporaryDir>

// An icon theme holding only `icons` (red squares in a temporary folder), the
// application's theme while it lives: tests see both a picture and its absence.
class ScopedIconTheme
{
public:
    explicit ScopedIconTheme(const QStringList& icons)
    {
        const QString folder = m_dir.filePath(QStringLiteral("qftest/16x16/actions"));
        QDir().mkpath(folder);
        QFile index(m_dir.filePath(QStringLiteral("qftest/index.theme")));
        index.open(QIODevice::WriteOnly);
        index.write("[Icon Theme]\nName=qftest\nDirectories=16x16/actions\n\n"
                    "[16x16/actions]\nSize=16\nType=Fixed\n");
        index.close();
        QPixmap picture(16, 16);
        picture.fill(Qt::red);
        for (const QString& icon : icons)
            picture.save(folder + u'/' + icon + QStringLiteral(".png"));
        QIcon::setThemeSearchPaths({m_dir.path()});
        QIcon::setThemeName(QStringLiteral("qftest"));
    }
    ~ScopedIconTheme()
    {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_name);
    }

private:
    QTemporaryDir m_dir;
    QStringList m_paths = QIcon::themeSearchPaths();
    QString m_name = QIcon::themeName();
};
