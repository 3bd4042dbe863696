#pragma once
// The folder scan: a worker thread walks the base folder (subfolders first),
// reads the filled values of every saved form, and turns each block that
// holds an ID into a record. The folders are listed first, on the threads of
// the program's pool, which also look at each file's time; a few helpers
// read the files that changed ahead, and the worker takes the results over
// in walk order.
//
// The worker shares nothing with the list while it runs: it is given, at
// creation, the modification times of the files the list already holds and
// of the files the last walk found without records (to skip files that have
// not changed), reads into records of its own, and hands them over on the
// main thread in its completion, where ApplyScanResult() adds the new
// records and updates the existing ones (matched by file, page and block) in
// the order the files were read.

#include "platform/FolderListing.h"
#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionTableRow.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QThread>
#include <QVarLengthArray>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class RevisionList;

// A file's path as the list matches files: without regard to letter case,
// as on the system the lists were first made on. The path is shared, not
// copied; its case-folded hash is made once.
struct RevisionFileKey
{
    RevisionFileKey() = default;
    explicit RevisionFileKey(const QString& filePath);
    QString path;
    size_t hash = 0;

    friend bool operator==(const RevisionFileKey& a, const RevisionFileKey& b)
    {
        return a.hash == b.hash
               && (a.path == b.path || a.path.compare(b.path, Qt::CaseInsensitive) == 0);
    }
};
inline size_t qHash(const RevisionFileKey& key, size_t seed = 0)
{
    return key.hash ^ seed;
}

// Files a walk found to hold no records (documents other than forms, forms
// without filled values) with their modification times (local wall clock,
// whole seconds): unchanged, they need not be opened again.
using FilesWithoutRecords = QHash<RevisionFileKey, qint64>;

struct ScannedFile
{
    RevisionFileKey key; // and path
    // The records of its ID blocks, in the order the blocks end.
    std::vector<RevisionTableRow> records;
};

struct RevisionScanResult
{
    std::vector<ScannedFile> files; // the forms read, in walk order
    int filesRead = 0;              // forms whose filled values were read
    int filesSkipped = 0;           // forms unchanged since they were read
    int filesDamaged = 0;           // forms whose filled values are damaged
    bool eraseCell = false;         // blank fields empty the cells they update
    bool stopped = false;
    FilesWithoutRecords withoutRecords; // for the next walk
};

// Applies a scan: new records are appended, a record of a file already in
// the list updates the file's record with the same page and block (only the
// fields the form filled, or every standard field when eraseCell is set).
// Then every record is extended to the list's fields, all records are shown,
// sorted by the first visible column as text. Returns the records added.
int ApplyScanResult(RevisionList& list, const RevisionScanResult& result);

class QuillfenRevisionTableThread : public QThread
{
    Q_OBJECT

public:
    using Completion = std::function<void(RevisionScanResult& result)>;

    // Takes what it needs from the list now; the list is not touched again
    // by the worker. `withoutRecords`: what the last walk's result gave.
    // Listing the folders, which needs nothing from the list, begins at once
    // on the program's pool.
    QuillfenRevisionTableThread(const RevisionList& list, const QString& baseFolder, bool recurse,
                                bool eraseCell, FilesWithoutRecords withoutRecords = {});
    ~QuillfenRevisionTableThread() override;

    // Starts the walk. `done` runs on the main thread after the worker has
    // ended (also after Terminate), then the thread deletes itself.
    void Start(Completion done);
    // Any thread: the walk reads no further file.
    void Terminate() { m_terminated = true; }
    bool IsTerminated() const { return m_terminated; }

signals:
    // The file about to be read (emitted on the worker thread).
    void StatusChanged(const QString& text);

protected:
    void run() override;

private:
    // One reader's buffers, kept from file to file.
    struct Reader
    {
        QByteArray section;
        qint64 modifiedSeconds = -1; // the last Modified text made, and its time
        QString modifiedText;
        RepeatedTexts repeatedTexts;
    };
    enum class Unchanged : char {
        No,
        WithRecords,    // the list's records carry its time
        WithoutRecords, // found without records at its time
    };
    // A file of the walk: what looking at it in its folder gave, then what
    // reading it gave.
    struct PreparedFile
    {
        RevisionFileKey key;         // and path
        qint64 seconds = -1;         // modification time, local wall clock
        FilledValuesFile kind = FilledValuesFile::Unreadable;
        bool damaged = false;
        std::vector<RevisionTableRow> records;
    };

    struct ListedFolder;
    struct Listing;
    using FolderId = std::pair<uint64_t, uint64_t>; // device, inode

    // Any thread: lists folders of m_listing until none is left.
    void ListFolders();
    // The folders under the base folder in walk order (subfolders first),
    // their "*.qfs" files examined; m_listing holds them.
    std::vector<ListedFolder*> ListTree();
    // Reads the files that changed, and takes every file over in walk order.
    void ReadInWalkOrder(const std::vector<ListedFolder*>& walk);
    // Any thread: read only the folder, the file and m_known.
    void ListAndExamine(ListedFolder& folder) const;
    // The file's key and local time.
    PreparedFile Examine(const FolderListing::File& listed) const;
    // Once m_known is complete: which of the folder's files need be read.
    void SortOut(ListedFolder& folder) const;
    Unchanged UnchangedState(const PreparedFile& file) const;
    void Read(PreparedFile& file, Reader& reader) const;
    // In walk order on the worker: counts the file and keeps its records.
    void TakeOver(PreparedFile& file);
    void ShowStatus(const QString& text) { emit StatusChanged(text); }
    void Finish();

    QString m_baseFolder;
    bool m_recurse;
    // File -> the modification times (whole seconds) of its records in the
    // list; not changed while the walk runs. Mostly one time per file.
    using KnownTimes = QVarLengthArray<qint64, 1>;
    QHash<RevisionFileKey, KnownTimes> m_known;
    // The same for the files read by this walk.
    QHash<RevisionFileKey, KnownTimes> m_readNow;
    FilesWithoutRecords m_withoutRecords;
    RevisionScanResult m_result;
    Completion m_done;
    std::unique_ptr<Listing> m_listing;
    std::atomic<bool> m_terminated{false};
};
