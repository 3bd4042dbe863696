#pragma once
// The folder scan: a worker thread walks the base folder (subfolders first),
// reads the filled values of every saved form, and turns each block that
// holds an ID into a record. It lists the files first; a few helper threads
// read them ahead, and the worker takes the results over in walk order.
//
// The worker shares nothing with the list while it runs: it is given, at
// creation, the modification times of the files the list already holds
// (to skip files that have not changed), reads into records of its own, and
// hands them over on the main thread in its completion, where
// ApplyScanResult() adds the new records and updates the existing ones
// (matched by file, page and block) in the order the files were read.

#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionTableRow.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <vector>

class RevisionList;

struct ScannedFile
{
    QString path;
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
    // by the worker.
    QuillfenRevisionTableThread(const RevisionList& list, const QString& baseFolder, bool recurse,
                                bool eraseCell);
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
    // What examining and reading one file gave.
    struct PreparedFile
    {
        QString key;                 // case-folded path
        qint64 seconds = -1;         // modification time, local wall clock
        bool unchanged = false;      // the list's records carry that time
        FilledValuesFile kind = FilledValuesFile::Unreadable;
        bool damaged = false;
        std::vector<RevisionTableRow> records;
    };

    // One folder's entries, each list in the order it is walked.
    struct FolderListing
    {
        QString canonical; // empty: not a folder that can be listed
        std::vector<QString> subfolders;
        std::vector<QString> files; // its "*.qfs" files
    };

    // Any thread.
    static FolderListing ListFolder(const QString& folder, bool recurse);
    // The "*.qfs" files under the base folder in walk order: subfolders first.
    std::vector<QString> ListTree();
    // Any thread: reads only the file and m_known.
    PreparedFile Prepare(const QString& path, Reader& reader) const;
    // In walk order on the worker: counts the file and keeps its records.
    void TakeOver(const QString& path, PreparedFile& file);
    void ShowStatus(const QString& text) { emit StatusChanged(text); }
    void Finish();

    QString m_baseFolder;
    bool m_recurse;
    // Case-folded path -> the modification times (whole seconds) of its
    // records in the list; not changed while the walk runs.
    QHash<QString, std::vector<qint64>> m_known;
    // The same for the files read by this walk.
    QHash<QString, std::vector<qint64>> m_readNow;
    RevisionScanResult m_result;
    Completion m_done;
    std::atomic<bool> m_terminated{false};
};
