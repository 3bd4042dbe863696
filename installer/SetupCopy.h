#pragma once
// The copy thread of the installer: puts the installer itself into the
// installation folder as the uninstaller, extracts every member of the
// cabinet below the folder and writes the install log as it goes.
//
// The thread owns everything it works on. The window creates it, may pause it
// at the next member while it asks whether to stop, and reads its outcome in
// the completion once the thread has finished.

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

enum class CopyOutcome {
    Complete,
    Stopped, // the user stopped the installation
    // Refused before anything was written:
    ArchiveUnreadable,
    PartOfSet,         // the archive belongs to a set of cabinets
    UnsafeMember,      // a member would be written outside the folder
    UnfitMemberName,   // a member's name cannot be logged as it is
    FolderNotWritable, // the install log could not be created
    // Stopped on the way, with the files before it installed:
    ExtractFailed,
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

    // Any thread. The worker waits before its next member until Resume or
    // Terminate; Terminate ends it there.
    void Pause();
    void Resume();
    void Terminate();

    // After the thread has finished.
    CopyOutcome Outcome() const { return m_outcome; }
    CopyFailure Failure() const { return m_failure; }
    // Whether anything was written into the folder (the log first of all):
    // only then is there an installation to register.
    bool WroteFiles() const { return m_wroteFiles; }

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
    void CopyUninstaller();
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
    bool m_wroteFiles = false;
};
