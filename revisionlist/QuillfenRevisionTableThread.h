#pragma once
// The folder scan: a worker thread walks the base folder (subfolders first),
// reads the filled values of every saved form, and turns each block that
// holds an ID into a record.
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
    void ScanFolder(const QString& folder, bool recurse);
    void ReadFile(const QString& path);
    void ShowStatus(const QString& text) { emit StatusChanged(text); }
    void Finish();

    QString m_baseFolder;
    bool m_recurse;
    // Case-folded path -> the modification times (whole seconds) of its records.
    QHash<QString, std::vector<qint64>> m_known;
    QSet<QString> m_visitedFolders;
    QByteArray m_section;            // the file being read, its buffer kept
    qint64 m_modifiedSeconds = -1;   // the last Modified text made, and its time
    QString m_modifiedText;
    RepeatedTexts m_repeatedTexts;
    RevisionScanResult m_result;
    Completion m_done;
    std::atomic<bool> m_terminated{false};
};
