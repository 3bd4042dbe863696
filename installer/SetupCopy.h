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
#include <QThread>
#include <QWaitCondition>

#include <atomic>

enum class CopyOutcome {
    Complete,
    Stopped,          // the user stopped the installation
    ArchiveUnreadable,
    PartOfSet,        // the archive belongs to a set of cabinets
    UnsafeMember,     // a member would be written outside the folder
    ExtractFailed,
    LogFailed,
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
    // The member that stopped the copy (unsafe or failed), if any.
    QString FailedMember() const { return m_failedMember; }

signals:
    // On the worker thread, before each member is extracted.
    void FileStarted(const QString& path);

protected:
    void run() override;

private:
    CopyOutcome Copy();
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
    QString m_failedMember;
};
