#include "revisionlist/QuillfenRevisionTableThread.h"

#include "platform/DateTime.h"
#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionFilters.h"
#include "revisionlist/RevisionList.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QStringList FormPattern = {QStringLiteral("*.qfs")};
// Hidden entries too; special files (pipes, sockets, devices) are left
// alone, as opening one could block the walk.
constexpr QDir::Filters AllAttributes = QDir::Hidden;
constexpr QDir::SortFlags FolderOrder = QDir::Name | QDir::IgnoreCase;
constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 NoTime = -1;

// File names compare without regard to letter case, as on the system the
// lists were first made on.
QString PathKey(const QString& path) { return path.toCaseFolded(); }

qint64 Seconds(const QDateTime& time)
{
    return time.date().toJulianDay() * SecondsPerDay + time.time().msecsSinceStartOfDay() / 1000;
}

// A file time to the whole second, the precision of the Modified text.
QDateTime WholeSeconds(const QDateTime& time)
{
    const QTime t = time.time();
    return QDateTime(time.date(), QTime(t.hour(), t.minute(), t.second()));
}
} // namespace

QuillfenRevisionTableThread::QuillfenRevisionTableThread(const RevisionList& list,
                                                         const QString& baseFolder, bool recurse,
                                                         bool eraseCell)
    : m_baseFolder(baseFolder), m_recurse(recurse)
{
    m_result.eraseCell = eraseCell;
    // The records of one file share their Modified text: parse each text once.
    QHash<QString, qint64> parsed;
    for (const auto& row : list.Rows()) {
        const QString path = row->GetField(RevisionTableRow::FileName);
        if (path.isEmpty())
            continue;
        std::vector<qint64>& times = m_known[PathKey(path)];
        const QString text = row->GetField(RevisionTableRow::Modified);
        auto seconds = parsed.constFind(text);
        if (seconds == parsed.cend()) {
            TDateTime modified = 0;
            seconds = parsed.insert(text, TryStrToDateTime(text, modified) ? Seconds(DateTimeToQDateTime(modified))
                                                                           : NoTime);
        }
        if (*seconds != NoTime && std::find(times.begin(), times.end(), *seconds) == times.end())
            times.push_back(*seconds);
    }
    connect(this, &QThread::finished, this, &QuillfenRevisionTableThread::Finish, Qt::QueuedConnection);
}

QuillfenRevisionTableThread::~QuillfenRevisionTableThread() { wait(); }

void QuillfenRevisionTableThread::Start(Completion done)
{
    m_done = std::move(done);
    start();
}

void QuillfenRevisionTableThread::run() { ScanFolder(m_baseFolder, m_recurse); }

void QuillfenRevisionTableThread::Finish()
{
    m_result.stopped = m_terminated;
    if (m_done)
        m_done(m_result);
    deleteLater();
}

void QuillfenRevisionTableThread::ScanFolder(const QString& folder, bool recurse)
{
    const QDir dir(folder);
    // A folder reached twice (through a link) is walked once.
    const QString canonical = dir.canonicalPath();
    if (canonical.isEmpty() || m_visitedFolders.contains(canonical))
        return;
    m_visitedFolders.insert(canonical);
    if (recurse)
        for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | AllAttributes,
                                                      FolderOrder))
            ScanFolder(sub.filePath(), recurse);
    for (const QFileInfo& file : dir.entryInfoList(FormPattern, QDir::Files | AllAttributes, FolderOrder)) {
        if (m_terminated)
            return;
        ShowStatus(file.filePath());
        ReadFile(file);
    }
}

void QuillfenRevisionTableThread::ReadFile(const QFileInfo& file)
{
    const QString path = file.filePath();
    const QDateTime modified = file.lastModified();
    const QString key = PathKey(path);
    const qint64 seconds = modified.isValid() ? Seconds(WholeSeconds(modified)) : NoTime;
    // Only forms have records, so a file whose records carry its time is an
    // unchanged form: it need not even be opened.
    const auto known = m_known.constFind(key);
    if (seconds != NoTime && known != m_known.cend()
        && std::find(known->begin(), known->end(), seconds) != known->end()) {
        ++m_result.filesSkipped;
        return;
    }
    QByteArray section;
    const FilledValuesFile kind = ReadFilledValuesSection(path, section);
    if (kind != FilledValuesFile::Read)
        return;
    const QString modifiedText =
        modified.isValid() ? DateTimeToStr(QDateTimeToDateTime(WholeSeconds(modified))) : QString();
    ScannedFile scanned{path, {}};
    if (!ReadFilledValues(section, path, modifiedText, scanned.records)) {
        ++m_result.filesDamaged;
        return;
    }
    ++m_result.filesRead;
    if (scanned.records.empty())
        return;
    // Records now carry this time: the same file met again is unchanged.
    if (seconds != NoTime)
        m_known[key].push_back(seconds);
    m_result.files.push_back(std::move(scanned));
}

int ApplyScanResult(RevisionList& list, const RevisionScanResult& result)
{
    // Case-folded path -> the records of that file, in storage order.
    QHash<QString, std::vector<RevisionTableRow*>> byFile;
    for (const auto& row : list.Rows()) {
        const QString path = row->GetField(RevisionTableRow::FileName);
        if (!path.isEmpty())
            byFile[PathKey(path)].push_back(row.get());
    }
    int added = 0;
    for (const ScannedFile& file : result.files) {
        const QString key = PathKey(file.path);
        // The file's records as they were before this file was read.
        const std::vector<RevisionTableRow*> fileRows = byFile.value(key);
        for (const RevisionTableRow& record : file.records) {
            const auto found = std::find_if(fileRows.begin(), fileRows.end(), [&record](const RevisionTableRow* r) {
                return r->GetPage() == record.GetPage() && r->GetGroup() == record.GetGroup();
            });
            if (found == fileRows.end()) {
                auto row = std::make_unique<RevisionTableRow>(record);
                byFile[key].push_back(row.get());
                list.AdoptRow(std::move(row));
                ++added;
                continue;
            }
            if (result.eraseCell)
                for (int k = 0; k < RevisionTableRow::StandardFieldCount; ++k)
                    (*found)->SetField(k, QString());
            (*found)->CopyFrom(record);
        }
    }
    list.PadRows();
    list.ShowAllRows();
    if (const RevisionTableColumn* first = list.GetVisibleColumn(0))
        SortRows(list, first->GetNumber(), RevisionTableColumn::Text, true);
    return added;
}
