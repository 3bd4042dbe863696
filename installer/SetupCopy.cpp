#include "installer/SetupCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include "installer/CabinetArchive.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"

SetupCopy::SetupCopy(const QString& archive, const QString& folder, const QString& uninstaller,
                     QObject* parent)
    : QThread(parent),
      m_archive(archive),
      m_folder(folder.endsWith(u'/') ? folder : folder + u'/'),
      m_uninstaller(uninstaller)
{
}

SetupCopy::~SetupCopy()
{
    Terminate();
    wait();
}

void SetupCopy::Pause()
{
    QMutexLocker lock(&m_gateMutex);
    m_paused = true;
}

void SetupCopy::Resume()
{
    QMutexLocker lock(&m_gateMutex);
    m_paused = false;
    m_gate.wakeAll();
}

void SetupCopy::Terminate()
{
    QMutexLocker lock(&m_gateMutex);
    m_terminated = true;
    m_gate.wakeAll();
}

bool SetupCopy::PassGate()
{
    QMutexLocker lock(&m_gateMutex);
    while (m_paused && !m_terminated)
        m_gate.wait(&m_gateMutex);
    return !m_terminated;
}

void SetupCopy::run()
{
    m_outcome = Copy();
}

void SetupCopy::CopyUninstaller()
{
    // A failed copy leaves the installation without its uninstaller, as the
    // installer always did; the files themselves are what matters.
    const QString target = m_folder + QLatin1String(InstallNames::Uninstaller);
    if (QFileInfo(target).canonicalFilePath() == QFileInfo(m_uninstaller).canonicalFilePath())
        return;
    QFile::remove(target);
    QFile::copy(m_uninstaller, target);
}

CopyOutcome SetupCopy::Copy()
{
    InstallLogWriter log;
    if (!log.Open(m_folder + QLatin1String(InstallNames::Log)))
        return CopyOutcome::LogFailed;
    CopyUninstaller();

    CabinetArchive archive(m_archive);
    switch (archive.GetStatus()) {
    case CabinetArchive::Status::Open: break;
    case CabinetArchive::Status::CannotOpen: return CopyOutcome::ArchiveUnreadable;
    case CabinetArchive::Status::PartOfSet: return CopyOutcome::PartOfSet;
    }
    // Every name is checked before anything is extracted, so that an archive
    // with a name leading out of the folder installs nothing at all.
    const QStringList members = archive.MemberNames();
    QStringList targets;
    for (const QString& member : members) {
        targets << MemberTarget(m_folder, member);
        if (targets.last().isEmpty()) {
            m_failedMember = member;
            return CopyOutcome::UnsafeMember;
        }
    }
    for (int i = 0; i < members.size(); ++i) {
        if (!PassGate())
            return CopyOutcome::Stopped;
        const QString& target = targets[i];
        QDir().mkpath(QFileInfo(target).absolutePath());
        emit FileStarted(target);
        if (!log.Append(target)) {
            m_failedMember = members[i];
            return CopyOutcome::LogFailed;
        }
        // A link left at the target would carry the extraction elsewhere.
        QFile::remove(target);
        if (!archive.Extract(i, target)) {
            m_failedMember = members[i];
            return CopyOutcome::ExtractFailed;
        }
    }
    return CopyOutcome::Complete;
}
