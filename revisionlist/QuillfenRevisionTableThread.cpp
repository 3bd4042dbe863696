#include "revisionlist/QuillfenRevisionTableThread.h"

#include "platform/DateTime.h"
#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionFilters.h"
#include "revisionlist/RevisionList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <thread>

namespace {
const QStringList FormPattern = {QStringLiteral("*.qfs")};
// Hidden entries too; special files (pipes, sockets, devices) are left
// alone, as opening one could block the walk.
constexpr QDir::Filters AllAttributes = QDir::Hidden;
constexpr QDir::SortFlags FolderOrder = QDir::Name | QDir::IgnoreCase;
constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 MsecPerDay = SecondsPerDay * 1000;
constexpr qint64 NoTime = -1;
// Threads that read files ahead of the walk besides its own: file reading
// is mostly waiting for the system, a few readers keep it busy.
constexpr size_t MaxScanHelpers = 3;
// Helper threads worth starting for `items` pieces of work.
size_t HelperCount(size_t items)
{
    return std::min<size_t>(
        {MaxScanHelpers, items - 1, std::max(1u, std::thread::hardware_concurrency()) - 1});
}

// Runs work(i) for every i below n, on this thread and helpers; each i once.
void ForEachOnHelpers(size_t n, const std::function<void(size_t)>& work)
{
    std::atomic<size_t> next{0};
    const auto take = [&] {
        for (size_t i; (i = next++) < n;)
            work(i);
    };
    std::vector<std::thread> threads;
    for (size_t h = 0; n > 0 && h < HelperCount(n); ++h)
        threads.emplace_back(take);
    take();
    for (std::thread& thread : threads)
        thread.join();
}

// The day TDateTime counts from, 1899-12-30.
const qint64 EpochJulianDay = QDate(1899, 12, 30).toJulianDay();

// File names compare without regard to letter case, as on the system the
// lists were first made on.
QString PathKey(const QString& path) { return path.toCaseFolded(); }

// Calls add(map[PathKey(path)], row) for every record with a file path. The
// records of one file mostly follow each other: a path is folded once for
// each run of them.
template <typename Map, typename Add>
void ForEachFileRecord(const RevisionList& list, Map& map, Add add)
{
    const QString* lastPath = nullptr;
    typename Map::mapped_type* entry = nullptr;
    for (const auto& row : list.Rows()) {
        const QString& path = row->FieldText(RevisionTableRow::FileName);
        if (path.isEmpty())
            continue;
        const bool sameFile = lastPath && SameText(*lastPath, path);
        if (!sameFile)
            entry = &map[PathKey(path)];
        lastPath = &path;
        add(*entry, *row, sameFile);
    }
}

// A wall-clock date and time to the whole second, as one number.
qint64 Seconds(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * SecondsPerDay + time.msecsSinceStartOfDay() / 1000;
}

// The same for a TDateTime, counted as DateTimeToQDateTime() does (the
// fraction is the time of day, also before 1899-12-30) but without making a
// local QDateTime, which costs a time zone lookup.
qint64 Seconds(TDateTime value)
{
    const double days = std::trunc(value);
    qint64 msec = std::llround(std::fabs(value - days) * MsecPerDay);
    qint64 day = static_cast<qint64>(days);
    if (msec >= MsecPerDay) {
        msec -= MsecPerDay;
        day += value < 0 ? -1 : 1;
    }
    return (EpochJulianDay + day) * SecondsPerDay + msec / 1000;
}

// The local modification time of a file to the whole second, the precision
// of the Modified text. False when the file cannot be examined.
bool ModificationTime(const QByteArray& nativePath, QDate& date, QTime& time)
{
    std::error_code error;
    const auto written = std::filesystem::last_write_time(nativePath.constData(), error);
    if (error)
        return false;
    const auto utc = std::chrono::floor<std::chrono::seconds>(std::chrono::file_clock::to_sys(written));
    return LocalDateTime(utc.time_since_epoch().count(), date, time);
}
} // namespace

QuillfenRevisionTableThread::QuillfenRevisionTableThread(const RevisionList& list,
                                                         const QString& baseFolder, bool recurse,
                                                         bool eraseCell)
    : m_baseFolder(baseFolder), m_recurse(recurse)
{
    m_result.eraseCell = eraseCell;
    // The records of one file share their Modified text, and so do files
    // read together: each text is parsed once, a record with the text of the
    // one before it takes its time without a look-up, and adds no time when
    // it is of the same file.
    QHash<QString, qint64> parsed;
    const QString* lastText = nullptr;
    qint64 lastSeconds = NoTime;
    ForEachFileRecord(list, m_known, [&](std::vector<qint64>& times, const RevisionTableRow& row, bool sameFile) {
        const QString& text = row.FieldText(RevisionTableRow::Modified);
        const bool repeated = lastText && SameText(*lastText, text);
        lastText = &text;
        if (repeated && sameFile)
            return;
        if (!repeated) {
            auto found = parsed.constFind(text);
            if (found == parsed.cend()) {
                TDateTime modified = 0;
                found = parsed.insert(text, TryStrToDateTime(text, modified) ? Seconds(modified) : NoTime);
            }
            lastSeconds = *found;
        }
        if (lastSeconds != NoTime && std::find(times.begin(), times.end(), lastSeconds) == times.end())
            times.push_back(lastSeconds);
    });
    connect(this, &QThread::finished, this, &QuillfenRevisionTableThread::Finish, Qt::QueuedConnection);
}

QuillfenRevisionTableThread::~QuillfenRevisionTableThread() { wait(); }

void QuillfenRevisionTableThread::Start(Completion done)
{
    m_done = std::move(done);
    start();
}

void QuillfenRevisionTableThread::run()
{
    // Once for the whole walk: the zone cannot be reloaded for every file.
    ReloadLocalTimeZone();
    const std::vector<QString> paths = ListTree();
    if (paths.empty())
        return;

    // Helpers examine and read the files ahead, in walk order; this thread
    // takes the results over in that order, so what is skipped, read or
    // stopped at is decided exactly as if it read them one by one.
    std::vector<PreparedFile> prepared(paths.size());
    const auto ready = std::make_unique<std::atomic<bool>[]>(paths.size());
    std::atomic<size_t> next{0};
    const auto work = [&](Reader& reader) {
        for (size_t i; !m_terminated && (i = next++) < paths.size();) {
            prepared[i] = Prepare(paths[i], reader);
            ready[i].store(true, std::memory_order_release);
        }
    };
    const size_t helpers = HelperCount(paths.size());
    std::vector<Reader> readers(helpers + 1);
    std::vector<std::thread> threads;
    for (size_t h = 0; h < helpers; ++h)
        threads.emplace_back(work, std::ref(readers[h + 1]));
    for (size_t i = 0; i < paths.size() && !m_terminated; ++i) {
        ShowStatus(paths[i]);
        // Not taken by a helper yet: read it here.
        size_t expected = i;
        if (next.compare_exchange_strong(expected, i + 1)) {
            prepared[i] = Prepare(paths[i], readers[0]);
            ready[i].store(true, std::memory_order_release);
        }
        // A helper has it: read the next free file meanwhile.
        while (!ready[i].load(std::memory_order_acquire)) {
            const size_t ahead = next++;
            if (ahead >= paths.size()) {
                std::this_thread::yield();
                continue;
            }
            prepared[ahead] = Prepare(paths[ahead], readers[0]);
            ready[ahead].store(true, std::memory_order_release);
        }
        TakeOver(paths[i], prepared[i]);
    }
    // Stopped: the helpers take no further file.
    next = paths.size();
    for (std::thread& thread : threads)
        thread.join();
}

void QuillfenRevisionTableThread::Finish()
{
    m_result.stopped = m_terminated;
    if (m_done)
        m_done(m_result);
    deleteLater();
}

QuillfenRevisionTableThread::FolderListing QuillfenRevisionTableThread::ListFolder(const QString& folder,
                                                                                  bool recurse)
{
    FolderListing listing;
    const QDir dir(folder);
    listing.canonical = dir.canonicalPath();
    if (listing.canonical.isEmpty())
        return listing;
    if (recurse)
        for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | AllAttributes,
                                                      FolderOrder))
            listing.subfolders.push_back(sub.filePath());
    for (const QFileInfo& file : dir.entryInfoList(FormPattern, QDir::Files | AllAttributes, FolderOrder))
        listing.files.push_back(file.filePath());
    return listing;
}

std::vector<QString> QuillfenRevisionTableThread::ListTree()
{
    // Listing a folder is mostly waiting for the system: the folders of one
    // depth are listed together, on several threads. A folder reached again
    // (through a link) is not gone into twice, which also ends a loop of
    // links.
    QHash<QString, FolderListing> listings;
    QSet<QString> entered;
    std::vector<QString> depth{m_baseFolder};
    while (!depth.empty()) {
        std::vector<FolderListing> listed(depth.size());
        ForEachOnHelpers(depth.size(), [&](size_t i) { listed[i] = ListFolder(depth[i], m_recurse); });
        std::vector<QString> deeper;
        for (size_t i = 0; i < depth.size(); ++i) {
            if (!listed[i].canonical.isEmpty() && !entered.contains(listed[i].canonical)) {
                entered.insert(listed[i].canonical);
                deeper.insert(deeper.end(), listed[i].subfolders.begin(), listed[i].subfolders.end());
            }
            listings.insert(depth[i], std::move(listed[i]));
        }
        depth = std::move(deeper);
    }
    // Then the walk, one folder after the other: subfolders first, a folder
    // reached twice walked once. A folder the listing above did not go into
    // (met through a link first) is listed now.
    std::vector<QString> paths;
    QSet<QString> visited;
    const std::function<void(const QString&)> walk = [&](const QString& folder) {
        const auto found = listings.constFind(folder);
        FolderListing listedNow;
        if (found == listings.cend())
            listedNow = ListFolder(folder, m_recurse);
        const FolderListing& listing = found != listings.cend() ? *found : listedNow;
        if (listing.canonical.isEmpty() || visited.contains(listing.canonical))
            return;
        visited.insert(listing.canonical);
        for (const QString& sub : listing.subfolders)
            walk(sub);
        paths.insert(paths.end(), listing.files.begin(), listing.files.end());
    };
    walk(m_baseFolder);
    return paths;
}

QuillfenRevisionTableThread::PreparedFile QuillfenRevisionTableThread::Prepare(const QString& path,
                                                                               Reader& reader) const
{
    PreparedFile file;
    QDate date;
    QTime time;
    if (ModificationTime(QFile::encodeName(path), date, time))
        file.seconds = Seconds(date, time);
    file.key = PathKey(path);
    // Only forms have records, so a file whose records carry its time is an
    // unchanged form: it need not even be opened.
    const auto known = m_known.constFind(file.key);
    file.unchanged = file.seconds != NoTime && known != m_known.cend()
                     && std::find(known->begin(), known->end(), file.seconds) != known->end();
    if (file.unchanged)
        return file;
    file.kind = ReadFilledValuesSection(path, reader.section);
    if (file.kind != FilledValuesFile::Read)
        return file;
    // Files saved together share their time: their records share the text.
    if (file.seconds != reader.modifiedSeconds) {
        reader.modifiedSeconds = file.seconds;
        reader.modifiedText = file.seconds != NoTime ? DateTimeToStr(date, time) : QString();
    }
    file.damaged = !ReadFilledValues(reader.section, path, reader.modifiedText, file.records, &reader.repeatedTexts);
    return file;
}

void QuillfenRevisionTableThread::TakeOver(const QString& path, PreparedFile& file)
{
    // A file met earlier in this walk under the same name (in other letter
    // case) with the same time is unchanged as well.
    const auto readNow = m_readNow.constFind(file.key);
    if (file.unchanged
        || (file.seconds != NoTime && readNow != m_readNow.cend()
            && std::find(readNow->begin(), readNow->end(), file.seconds) != readNow->end())) {
        ++m_result.filesSkipped;
        return;
    }
    if (file.kind != FilledValuesFile::Read)
        return;
    if (file.damaged) {
        ++m_result.filesDamaged;
        return;
    }
    ++m_result.filesRead;
    if (file.records.empty())
        return;
    // Records now carry this time: the same file met again is unchanged.
    if (file.seconds != NoTime)
        m_readNow[file.key].push_back(file.seconds);
    m_result.files.push_back({path, std::move(file.records)});
}

int ApplyScanResult(RevisionList& list, const RevisionScanResult& result)
{
    // Case-folded path -> the records of that file, in storage order.
    QHash<QString, std::vector<RevisionTableRow*>> byFile;
    if (!result.files.empty())
        ForEachFileRecord(list, byFile, [](std::vector<RevisionTableRow*>& rows, RevisionTableRow& row, bool) {
            rows.push_back(&row);
        });
    int added = 0;
    for (const ScannedFile& file : result.files) {
        const QString key = PathKey(file.path);
        // The file's records as they were before this file was read.
        const auto before = byFile.constFind(key);
        const std::vector<RevisionTableRow*> fileRows =
            before != byFile.cend() ? *before : std::vector<RevisionTableRow*>();
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
    const RevisionTableColumn* first = list.GetVisibleColumn(0);
    // After a rescan that changed nothing the list often shows this order
    // already; checking it costs far less than sorting again.
    if (!first || !ShowsAllRowsSortedAsText(list, first->GetNumber())) {
        list.ShowAllRows();
        if (first)
            SortRows(list, first->GetNumber(), RevisionTableColumn::Text, true);
    }
    return added;
}
