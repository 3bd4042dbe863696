#include "revisionlist/QuillfenRevisionTableThread.h"

#include "platform/DateTime.h"
#include "platform/FolderListing.h"
#include "platform/Parallel.h"
#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionFilters.h"
#include "revisionlist/RevisionList.h"

#include <QThreadPool>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {
// Hidden files too; special files (pipes, sockets, devices) are never
// listed, as opening one could block the walk.
const QString FormExtension = QStringLiteral(".qfs");
constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 NoTime = -1;
// Below this many records per thread, starting threads costs more than
// gathering the files' times saves.
constexpr size_t RecordsPerPart = 8192;
// Threads that read files ahead of the walk besides its own: file reading
// is mostly waiting for the system, a few readers keep it busy.
constexpr size_t MaxReadHelpers = 3;
// Listing waits for the system far less: as many as the pool has.
constexpr size_t MaxListHelpers = SIZE_MAX;

// The records of every file, in storage order. The records of one file
// mostly follow each other: a path is hashed once for each run of them.
QHash<RevisionFileKey, std::vector<RevisionTableRow*>> RecordsByFile(const RevisionList& list)
{
    QHash<RevisionFileKey, std::vector<RevisionTableRow*>> byFile;
    const QString* lastPath = nullptr;
    std::vector<RevisionTableRow*>* rows = nullptr;
    for (const auto& row : list.Rows()) {
        const QString& path = row->FieldText(RevisionTableRow::FileName);
        if (path.isEmpty())
            continue;
        if (!lastPath || !SameText(*lastPath, path))
            rows = &byFile[RevisionFileKey(path)];
        lastPath = &path;
        rows->push_back(row.get());
    }
    return byFile;
}

// A wall-clock date and time to the whole second, as one number, and back
// as the Modified text.
qint64 Seconds(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * SecondsPerDay + time.msecsSinceStartOfDay() / 1000;
}

QString ModifiedText(qint64 seconds)
{
    const qint64 day = seconds / SecondsPerDay - (seconds % SecondsPerDay < 0 ? 1 : 0);
    const qint64 second = seconds - day * SecondsPerDay;
    return DateTimeToStr(QDate::fromJulianDay(day),
                         QTime::fromMSecsSinceStartOfDay(static_cast<int>(second * 1000)));
}

// The same for a TDateTime; NoTime for one out of range.
qint64 Seconds(TDateTime value)
{
    QDate date;
    QTime time;
    return DateTimeParts(value, date, time) ? Seconds(date, time) : NoTime;
}

} // namespace

RevisionFileKey::RevisionFileKey(const QString& filePath) : path(filePath)
{
    // The hash of the path with every letter case-folded, folded one
    // character at a time so that no folded copy is made.
    size_t h = 0xcbf29ce484222325ull;
    const QChar* const end = path.constEnd();
    for (const QChar* c = path.constBegin(); c != end; ++c) {
        char32_t code = c->unicode();
        if (code < 0x80) {
            if (code >= 'A' && code <= 'Z')
                code += 'a' - 'A';
        } else if (c->isHighSurrogate() && c + 1 != end && c[1].isLowSurrogate()) {
            code = QChar::toCaseFolded(QChar::surrogateToUcs4(*c, c[1]));
            ++c;
        } else {
            code = QChar::toCaseFolded(code);
        }
        h = (h ^ code) * 0x100000001b3ull;
    }
    hash = h;
}

// A folder of the walk, its files examined.
struct QuillfenRevisionTableThread::ListedFolder
{
    explicit ListedFolder(QString folderPath) : path(std::move(folderPath)) {}

    QString path;
    FolderListing listing;
    std::vector<PreparedFile> examined; // per listed file, until sorted out:
    std::vector<Unchanged> unchanged;   // per listed file
    std::vector<PreparedFile> changed;  // the other files, in their order
    // Its subfolders were listed with it (not so for a folder reached
    // again through a link), in their order.
    bool expanded = false;
    std::vector<ListedFolder*> subfolders;
};

// The folders as they are listed, shared by the threads that list them.
struct QuillfenRevisionTableThread::Listing
{
    explicit Listing(const QString& baseFolder)
    {
        queue.push_back(&folders.emplace_back(baseFolder));
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ListedFolder> folders; // the base folder first
    std::deque<ListedFolder*> queue;  // to be listed
    size_t listing = 0;               // being listed
    bool knownReady = false;          // m_known is complete
    std::set<FolderId> entered;       // folders whose subfolders are queued
    std::unique_ptr<PoolHelpers> helpers;
};

QuillfenRevisionTableThread::QuillfenRevisionTableThread(const RevisionList& list,
                                                         const QString& baseFolder, bool recurse,
                                                         bool eraseCell,
                                                         FilesWithoutRecords withoutRecords)
    : m_baseFolder(baseFolder), m_recurse(recurse), m_withoutRecords(std::move(withoutRecords))
{
    m_result.withoutRecords = m_withoutRecords;
    m_result.eraseCell = eraseCell;
    // Listing needs nothing from the list: the pool's threads begin it at
    // once, while the known times are gathered below, and the worker joins
    // them when it runs. The zone is loaded once for the whole walk, before
    // any file's time is taken: it cannot be reloaded for every file.
    ReloadLocalTimeZone();
    m_listing = std::make_unique<Listing>(m_baseFolder);
    m_listing->helpers =
        std::make_unique<PoolHelpers>(MaxListHelpers, [this](size_t) { ListFolders(); });
    // Every record is looked at, on several threads for a long list: each
    // part of the records gives the times of its files, which are then put
    // together.
    struct KnownTime
    {
        RevisionFileKey file;
        qint64 seconds;
    };
    const auto& rows = list.Rows();
    const std::vector<size_t> bounds = PartBounds(rows.size(), RecordsPerPart);
    std::vector<std::vector<KnownTime>> parts(bounds.size() - 1);
    ForEachInParallel(parts.size(), [&](size_t part) {
        // The records of one file share their Modified text, and so do files
        // read together: each text is parsed once, a record with the text of
        // the one before it takes its time without a look-up, and adds no
        // time when it is of the same file.
        QHash<QString, qint64> parsed;
        const QString* lastPath = nullptr;
        const QString* lastText = nullptr;
        RevisionFileKey file;
        qint64 seconds = NoTime;
        for (size_t i = bounds[part]; i < bounds[part + 1]; ++i) {
            PrefetchRecordsAhead(rows, i, bounds[part + 1], RevisionTableRow::FileName);
            const QString& path = rows[i]->FieldText(RevisionTableRow::FileName);
            if (path.isEmpty())
                continue;
            const QString& text = rows[i]->FieldText(RevisionTableRow::Modified);
            const bool sameFile = lastPath && SameText(*lastPath, path);
            const bool repeated = lastText && SameText(*lastText, text);
            lastPath = &path;
            lastText = &text;
            if (sameFile && repeated)
                continue;
            if (!sameFile)
                file = RevisionFileKey(path);
            if (!repeated) {
                auto found = parsed.constFind(text);
                if (found == parsed.cend()) {
                    TDateTime modified = 0;
                    found = parsed.insert(text, TryStrToDateTime(text, modified) ? Seconds(modified)
                                                                                 : NoTime);
                }
                seconds = *found;
            }
            if (seconds != NoTime)
                parts[part].push_back({file, seconds});
        }
    });
    size_t count = 0;
    for (const std::vector<KnownTime>& times : parts)
        count += times.size();
    m_known.reserve(count);
    for (const std::vector<KnownTime>& times : parts)
        for (const KnownTime& known : times) {
            KnownTimes& fileTimes = m_known[known.file];
            if (std::find(fileTimes.begin(), fileTimes.end(), known.seconds) == fileTimes.end())
                fileTimes.push_back(known.seconds);
        }
    {
        // Folders listed from now on are sorted out as they are listed.
        const std::lock_guard lock(m_listing->mutex);
        m_listing->knownReady = true;
    }
    connect(this, &QThread::finished, this, &QuillfenRevisionTableThread::Finish, Qt::QueuedConnection);
}

QuillfenRevisionTableThread::~QuillfenRevisionTableThread()
{
    wait();
    // Listing helpers still on their way out when the walk ended have
    // returned by now. What was listed, most of it made on other threads, is
    // freed on a pool thread.
    m_listing->helpers.reset();
    QThreadPool::globalInstance()->start(
        [listing = std::shared_ptr<Listing>(std::move(m_listing))] {});
}

void QuillfenRevisionTableThread::Start(Completion done)
{
    m_done = std::move(done);
    start();
}

void QuillfenRevisionTableThread::run()
{
    ReadInWalkOrder(ListTree());
}

void QuillfenRevisionTableThread::ReadInWalkOrder(const std::vector<ListedFolder*>& walk)
{
    // Helpers read the files that changed ahead, in walk order; this thread
    // takes the results over in that order, so what is skipped, read or
    // stopped at is decided exactly as if it read them one by one.
    std::vector<PreparedFile*> toRead;
    for (ListedFolder* folder : walk)
        for (PreparedFile& file : folder->changed)
            toRead.push_back(&file);
    const auto ready = std::make_unique<std::atomic<bool>[]>(toRead.size());
    std::atomic<size_t> next{0};
    const auto readAt = [&](size_t j, Reader& reader) {
        Read(*toRead[j], reader);
        ready[j].store(true, std::memory_order_release);
    };
    std::vector<Reader> readers(MaxReadHelpers + 1);
    const PoolHelpers helpers(toRead.empty() ? 0 : std::min(MaxReadHelpers, toRead.size() - 1),
                              [&](size_t helper) {
                                  for (size_t j; !m_terminated && (j = next++) < toRead.size();)
                                      readAt(j, readers[helper]);
                              });
    size_t j = 0; // toRead[j]: the next file that changed
    for (auto folder = walk.begin(); folder != walk.end() && !m_terminated; ++folder) {
        const std::vector<FolderListing::File>& listed = (*folder)->listing.files;
        for (size_t i = 0, c = 0; i < listed.size() && !m_terminated; ++i) {
            ShowStatus(listed[i].path);
            if ((*folder)->unchanged[i] != Unchanged::No) {
                if ((*folder)->unchanged[i] == Unchanged::WithRecords)
                    ++m_result.filesSkipped;
                continue;
            }
            // Not taken by a helper yet: read it here.
            size_t expected = j;
            if (next.compare_exchange_strong(expected, j + 1))
                readAt(j, readers[0]);
            // A helper has it: read the next free file meanwhile.
            while (!ready[j].load(std::memory_order_acquire)) {
                const size_t ahead = next++;
                if (ahead >= toRead.size()) {
                    std::this_thread::yield();
                    continue;
                }
                readAt(ahead, readers[0]);
            }
            ++j;
            TakeOver((*folder)->changed[c++]);
        }
    }
    // Stopped: the helpers take no further file, and are waited for.
    next = toRead.size();
}

void QuillfenRevisionTableThread::Finish()
{
    m_result.stopped = m_terminated;
    if (m_done)
        m_done(m_result);
    deleteLater();
}

void QuillfenRevisionTableThread::ListAndExamine(ListedFolder& folder) const
{
    folder.listing = ListFolder(folder.path, FormExtension, m_recurse);
    folder.examined.reserve(folder.listing.files.size());
    for (const FolderListing::File& file : folder.listing.files)
        folder.examined.push_back(Examine(file));
}

void QuillfenRevisionTableThread::SortOut(ListedFolder& folder) const
{
    // A folder sorted out already has nothing left to examine.
    folder.unchanged.reserve(folder.examined.size());
    for (PreparedFile& file : folder.examined) {
        const Unchanged unchanged = UnchangedState(file);
        folder.unchanged.push_back(unchanged);
        if (unchanged == Unchanged::No)
            folder.changed.push_back(std::move(file));
    }
    folder.examined = {};
}

void QuillfenRevisionTableThread::ListFolders()
{
    // Listing a folder and looking at its files is mostly waiting for the
    // system: folders are listed on several threads, a folder's subfolders
    // queued as soon as it is listed. A folder reached again (through a
    // link) is not gone into twice, which also ends a loop of links.
    Listing& state = *m_listing;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.changed.wait(lock, [&] { return !state.queue.empty() || state.listing == 0; });
        if (state.queue.empty())
            return;
        ListedFolder* folder = state.queue.front();
        state.queue.pop_front();
        ++state.listing;
        const bool knownReady = state.knownReady;
        lock.unlock();
        ListAndExamine(*folder);
        if (knownReady)
            SortOut(*folder);
        lock.lock();
        --state.listing;
        const FolderListing& listed = folder->listing;
        if (listed.listed && state.entered.insert({listed.device, listed.inode}).second) {
            folder->expanded = true;
            for (const QString& sub : listed.subfolders) {
                folder->subfolders.push_back(&state.folders.emplace_back(sub));
                state.queue.push_back(folder->subfolders.back());
            }
        }
        state.changed.notify_all();
    }
}

std::vector<QuillfenRevisionTableThread::ListedFolder*> QuillfenRevisionTableThread::ListTree()
{
    // Everything is listed when this returns; helpers still on their way
    // out are waited for when the thread is deleted.
    ListFolders();
    // Folders listed before the known times were complete are sorted out
    // now.
    ForEachInParallel(m_listing->folders.size(),
                      [this](size_t i) { SortOut(m_listing->folders[i]); });
    // Then the walk, one folder after the other: subfolders first, a folder
    // reached twice walked once. The subfolders of a folder not gone into
    // above (met through a link first) are listed now.
    std::vector<ListedFolder*> walk;
    std::set<FolderId> visited;
    const std::function<void(ListedFolder&)> enter = [&](ListedFolder& folder) {
        const FolderListing& listed = folder.listing;
        if (!listed.listed || !visited.insert({listed.device, listed.inode}).second)
            return;
        if (folder.expanded) {
            for (ListedFolder* sub : folder.subfolders)
                enter(*sub);
        } else {
            for (const QString& sub : listed.subfolders) {
                ListedFolder& listedNow = m_listing->folders.emplace_back(sub);
                ListAndExamine(listedNow);
                SortOut(listedNow);
                enter(listedNow);
            }
        }
        walk.push_back(&folder);
    };
    enter(m_listing->folders.front());
    return walk;
}

QuillfenRevisionTableThread::PreparedFile QuillfenRevisionTableThread::Examine(
    const FolderListing::File& listed) const
{
    PreparedFile file;
    file.key = RevisionFileKey(listed.path);
    // The Modified text holds the local wall-clock time to the second.
    QDate date;
    QTime time;
    if (LocalDateTime(listed.modified, date, time))
        file.seconds = Seconds(date, time);
    return file;
}

QuillfenRevisionTableThread::Unchanged QuillfenRevisionTableThread::UnchangedState(
    const PreparedFile& file) const
{
    if (file.seconds == NoTime)
        return Unchanged::No;
    // Only forms have records, so a file whose records carry its time is an
    // unchanged form: it need not even be opened. Nor need a file found
    // without records at that time.
    const auto known = m_known.constFind(file.key);
    if (known != m_known.cend()
        && std::find(known->begin(), known->end(), file.seconds) != known->end())
        return Unchanged::WithRecords;
    if (m_withoutRecords.value(file.key, NoTime) == file.seconds)
        return Unchanged::WithoutRecords;
    return Unchanged::No;
}

void QuillfenRevisionTableThread::Read(PreparedFile& file, Reader& reader) const
{
    file.kind = ReadFilledValuesSection(file.key.path, reader.section);
    if (file.kind != FilledValuesFile::Read)
        return;
    // Files saved together share their time: their records share the text.
    if (file.seconds != reader.modifiedSeconds) {
        reader.modifiedSeconds = file.seconds;
        reader.modifiedText = file.seconds != NoTime ? ModifiedText(file.seconds) : QString();
    }
    file.damaged = !ReadFilledValues(reader.section, file.key.path, reader.modifiedText,
                                     file.records, &reader.repeatedTexts);
}

void QuillfenRevisionTableThread::TakeOver(PreparedFile& file)
{
    // A file met earlier in this walk under the same name (in other letter
    // case) with the same time is unchanged as well.
    const auto readNow = m_readNow.constFind(file.key);
    if ((file.seconds != NoTime && readNow != m_readNow.cend()
         && std::find(readNow->begin(), readNow->end(), file.seconds) != readNow->end())) {
        ++m_result.filesSkipped;
        return;
    }
    // Until it changes, a file without records need not be opened again.
    const bool withoutRecords =
        file.kind == FilledValuesFile::NotAForm || file.kind == FilledValuesFile::NoSection;
    if (withoutRecords && file.seconds != NoTime)
        m_result.withoutRecords.insert(file.key, file.seconds);
    else if (m_result.withoutRecords.contains(file.key))
        m_result.withoutRecords.remove(file.key);
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
    m_result.files.push_back({file.key, std::move(file.records)});
}

int ApplyScanResult(RevisionList& list, const RevisionScanResult& result)
{
    QHash<RevisionFileKey, std::vector<RevisionTableRow*>> byFile;
    if (!result.files.empty())
        byFile = RecordsByFile(list);
    int added = 0;
    for (const ScannedFile& file : result.files) {
        const RevisionFileKey& key = file.key;
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
