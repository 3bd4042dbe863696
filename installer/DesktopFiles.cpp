#include "installer/DesktopFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QStandardPaths>

#include "installer/InstallPaths.h"
#include "storage/File.h"

namespace {
// Tools finish in well under a second; this only keeps a hung one from
// holding the installer forever.
constexpr int ToolTimeoutMs = 60000;

QString DataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// A string value of a desktop entry: backslash and control characters escaped.
QByteArray EntryValue(const QString& value)
{
    QByteArray out;
    for (char c : value.toUtf8()) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

QByteArray SectionHeader(const QByteArray& section) { return '[' + section + ']'; }
} // namespace

QString ApplicationsFolder() { return DataHome() + QLatin1String("/applications"); }

QString StartMenuFolder()
{
    return ApplicationsFolder() + u'/' + QLatin1String(InstallNames::Program);
}

QString MimeFolder() { return DataHome() + QLatin1String("/mime"); }

QString MimeAppsListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/mimeapps.list");
}

QString DesktopFolder()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-user-dir"));
    if (!tool.isEmpty()) {
        QProcess process;
        process.start(tool, {QStringLiteral("DESKTOP")});
        if (process.waitForFinished(ToolTimeoutMs) && process.exitCode() == 0) {
            const QString dir = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
            if (QDir::isAbsolutePath(dir))
                return QDir::cleanPath(dir);
        }
    }
    return QDir::homePath() + QLatin1String("/Desktop");
}

QString ExecArgument(const QString& path)
{
    QString quoted;
    for (QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
        if (c == u'%')
            quoted += u'%';
    }
    return u'"' + quoted + u'"';
}

QByteArray DesktopEntryText(const DesktopEntry& entry)
{
    QString exec = ExecArgument(entry.program);
    if (entry.takesDocument)
        exec += QLatin1String(" %f");
    QByteArray text = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    text += "Name=" + EntryValue(entry.name) + '\n';
    text += "Exec=" + EntryValue(exec) + '\n';
    text += "Path=" + EntryValue(entry.workingFolder) + '\n';
    if (!entry.icon.isEmpty())
        text += "Icon=" + EntryValue(entry.icon) + '\n';
    if (entry.takesDocument)
        text += QByteArray("MimeType=") + DesktopNames::MimeType + ";\n";
    if (entry.hidden)
        text += "NoDisplay=true\n";
    text += "Terminal=false\n";
    return text;
}

QByteArray MimePackageText()
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                      "  <mime-type type=\"")
           + DesktopNames::MimeType
           + "\">\n"
             "    <comment>Quillfen2</comment>\n"
             "    <glob pattern=\"*.qfs\"/>\n"
             "    <magic priority=\"50\">\n"
             "      <match type=\"string\" offset=\"0\" value=\"QFS4\"/>\n"
             "      <match type=\"string\" offset=\"0\" value=\"QFS3\"/>\n"
             "    </magic>\n"
             "  </mime-type>\n"
             "</mime-info>\n";
}

QByteArray WithIniValue(const QByteArray& text, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value)
{
    const QByteArray line = key + '=' + value;
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype sectionAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray trimmed = lines[i].trimmed();
        if (trimmed.startsWith('[')) {
            if (sectionAt >= 0) {
                lines.insert(i, line);
                return lines.join('\n') + '\n';
            }
            if (trimmed == SectionHeader(section))
                sectionAt = i;
        } else if (sectionAt >= 0 && trimmed.startsWith(key + '=')) {
            lines[i] = line;
            return lines.join('\n') + '\n';
        }
    }
    if (sectionAt < 0)
        lines << SectionHeader(section);
    lines << line;
    return lines.join('\n') + '\n';
}

QByteArray WithoutIniValue(const QByteArray& text, const QByteArray& section, const QByteArray& key)
{
    QList<QByteArray> kept;
    bool inSection = false;
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('['))
            inSection = trimmed == SectionHeader(section);
        else if (inSection && trimmed.startsWith(key + '='))
            continue;
        kept << line;
    }
    return kept.join('\n');
}

bool SaveTextFile(const QString& path, const QByteArray& text)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return SaveWholeFile(path, [&](QIODevice& out) { out.write(text); });
}

void RunToolIfPresent(const QString& tool, const QString& folder)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return;
    QProcess process;
    process.start(program, {folder});
    process.waitForFinished(ToolTimeoutMs);
}
