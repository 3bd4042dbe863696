#include "installer/SetupCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <cerrno>
#include <utility>

#include "installer/CabinetArchive.h"
#include "installer/InstallLog.h"
#include "installer/InstallPaths.h"

namespace {
QString SystemReason(int error)
{
    return error != 0 ? qt_error_string(error) : QString();
}

// A program runs for whoever may read it.
bool MakeExecutable(const QString& path)
{
    static constexpr std::pair<QFile::Permission, QFile::Permission> ReadToRun[] = {
        {QFile::ReadOwner, QFile::ExeOwner},
        {QFile::ReadUser, QFile::ExeUser},
        {QFile::ReadGroup, QFile::ExeGroup},
        {QFile::ReadOther, QFile::ExeOther},
    };
    QFile::Permissions permissions = QFile::permissions(path);
    for (const auto& [read, run] : ReadToRun)
        if (permissions.testFlag(read))
            permissions |= run;
    return QFile::setPermissions(path, permissions);
}
} // namespace

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
    if (QFile::copy(m_uninstaller, target))
        MakeExecutable(target);
}

CopyOutcome SetupCopy::Refuse(CopyOutcome outcome, const QString& member)
{
    m_failure.member = member;
    return outcome;
}

CopyOutcome SetupCopy::PlaceMembers(const QStringList& members, QStringList& targets)
{
    for (const QString& member : members) {
        switch (CheckMemberName(member)) {
        case MemberNameCheck::Fit:
            break;
        case MemberNameCheck::LeavesFolder:
            return Refuse(CopyOutcome::UnsafeMember, member);
        case MemberNameCheck::Unfit:
            return Refuse(CopyOutcome::UnfitMemberName, member);
        }
        targets << MemberTarget(m_folder, member);
        if (targets.last().isEmpty() || !WayStaysInside(m_folder, targets.last()))
            return Refuse(CopyOutcome::UnsafeMember, member);
    }
    return CopyOutcome::Complete;
}

CopyOutcome SetupCopy::Copy()
{
    CabinetArchive archive(m_archive);
    switch (archive.GetStatus()) {
    case CabinetArchive::Status::Open: break;
    case CabinetArchive::Status::CannotOpen:
        m_failure.systemReason = SystemReason(archive.SystemError());
        m_failure.damaged = archive.Damaged();
        return CopyOutcome::ArchiveUnreadable;
    case CabinetArchive::Status::PartOfSet: return CopyOutcome::PartOfSet;
    }
    // Every member is placed before anything is written, so that an archive
    // with a name that cannot be installed leaves the folder (and an earlier
    // installation's log) as it was.
    const QStringList members = archive.MemberNames();
    QStringList targets;
    if (const CopyOutcome refused = PlaceMembers(members, targets);
        refused != CopyOutcome::Complete)
        return refused;

    InstallLogWriter log;
    if (!log.Open(m_folder + QLatin1String(InstallNames::Log))) {
        m_failure.systemReason = log.ErrorString();
        return CopyOutcome::FolderNotWritable;
    }
    m_wroteFiles = true;
    CopyUninstaller();

    for (int i = 0; i < members.size(); ++i) {
        if (!PassGate())
            return CopyOutcome::Stopped;
        const QString& target = targets[i];
        // Again now, before folders are made on the way: a link may have
        // appeared since the archive was looked through.
        if (!WayStaysInside(m_folder, target))
            return Refuse(CopyOutcome::UnsafeMember, members[i]);
        QDir().mkpath(QFileInfo(target).absolutePath());
        emit FileStarted(target);
        if (!log.Append(target)) {
            m_failure.systemReason = log.ErrorString();
            return Refuse(CopyOutcome::LogFailed, members[i]);
        }
        // A link left at the target would carry the extraction elsewhere.
        QFile::remove(target);
        if (!archive.Extract(i, target)) {
            m_failure.systemReason = SystemReason(archive.SystemError());
            m_failure.damaged = archive.Damaged();
            return Refuse(CopyOutcome::ExtractFailed, members[i]);
        }
        // Cabinets carry no permissions: the programs among the members are
        // known by name.
        if (IsProgramMember(members[i]) && !MakeExecutable(target)) {
            m_failure.systemReason = SystemReason(errno);
            return Refuse(CopyOutcome::ExtractFailed, members[i]);
        }
    }
    return CopyOutcome::Complete;
}
