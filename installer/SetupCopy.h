#pragma once
// The copy thread of the installer: copies the installer itself as the
// uninstaller, extracts every member of the cabinet and writes the install
// log, each beside its place in the installation folder under a temporary
// name. Nothing is put in place before every file is whole: the window does
// that (Apply) once the thread has finished and the user has not stopped it,
// so that a failed or stopped installation leaves an earlier one exactly as
// it was.
//
// The thread owns everything it works on. The window creates it, may pause it
// while it asks whether to stop (inside a member too), and reads its outcome
// in the completion once the thread has finished.

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

#include "installer/StagedFiles.h"

// Whatever the outcome but Complete, nothing was put in place.
enum class CopyOutcome {
    Complete,
    Stopped, // the user stopped the installation
    ArchiveUnreadable,
    PartOfSet,         // the archive belongs to a set of cabinets
    UnsafeMember,      // a member would be written outside the folder
    UnfitMemberName,   // a member's name cannot be logged as it is
    DuplicateMember,   // two members would be one file: the archive is damaged
    FolderNotWritable, // the install log could not be created
    ExtractFailed,     // a file could not be written whole or put in place
    LogFailed,
};

// Why the copy stopped early.
struct CopyFailure
{
    QString member;       // the member at fault, as the archive names it
    QString systemReason; // the system's own words for a failed file operation
    bool damaged = false; // the archive's contents could not be unpacked
};

class SetupCopy : public QThread
{
    Q_OBJECT

public:
    // `folder` gets a "/" appended unless it ends with one; `uninstaller` is
    // the file copied as the uninstaller (the installer's own executable).
    SetupCopy(const QString& archive, const QString& folder, const QString& uninstaller,
              QObject* parent = nullptr);
    ~SetupCopy() override;

    QString Folder() const { return m_folder; }

    // Any thread. The worker waits before its next block of data until
    // Resume or Terminate; Terminate ends it there.
    void Pause();
    void Resume();
    void Terminate();

    // After the thread has finished.
    CopyOutcome Outcome() const { return m_outcome; }
    CopyFailure Failure() const { return m_failure; }
    // Puts every file in place when the copy was complete, all or none, and
    // returns the final outcome.
    CopyOutcome Apply();
    // Removes every file not put in place, and the folders made for them.
    void Discard() { m_staged.Discard(); }

signals:
    // On the worker thread, before each member is extracted.
    void FileStarted(const QString& path);

protected:
    void run() override;

private:
    CopyOutcome Copy();
    // Every member's target, or the outcome that refuses the archive.
    CopyOutcome PlaceMembers(const QStringList& members, QStringList& targets);
    CopyOutcome Refuse(CopyOutcome outcome, const QString& member);
    // The failure of the staged file at fault.
    CopyOutcome StagingFailed(CopyOutcome outcome);
    bool StageUninstaller();
    // False when the worker is to stop.
    bool PassGate();

    const QString m_archive;
    const QString m_folder;
    const QString m_uninstaller;
    QMutex m_gateMutex;
    QWaitCondition m_gate;
    bool m_paused = false;
    std::atomic<bool> m_terminated{false};
    CopyOutcome m_outcome = CopyOutcome::Complete;
    CopyFailure m_failure;
    StagedFiles m_staged;
};
