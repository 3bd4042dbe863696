#include "installer/SetupCopy.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSet>

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
    if (m_outcome != CopyOutcome::Complete)
        m_staged.Discard();
}

CopyOutcome SetupCopy::Apply()
{
    if (m_outcome == CopyOutcome::Complete && !m_staged.Apply())
        m_outcome = StagingFailed(CopyOutcome::ExtractFailed);
    m_staged.Discard();
    return m_outcome;
}

CopyOutcome SetupCopy::StagingFailed(CopyOutcome outcome)
{
    m_failure.member = m_staged.FailedName();
    m_failure.systemReason = m_staged.ErrorString();
    return outcome;
}

bool SetupCopy::StageUninstaller()
{
    const QString name = QLatin1String(InstallNames::Uninstaller);
    const QString target = m_folder + name;
    // Started from the installation itself, the installer is its uninstaller.
    const QString self = QFileInfo(m_uninstaller).canonicalFilePath();
    if (!self.isEmpty() && self == QFileInfo(target).canonicalFilePath())
        return true;
    const QString temporary = m_staged.Add(target, name);
    if (temporary.isEmpty()
        || !m_staged.Copy(temporary, m_uninstaller, [this] { return PassGate(); }))
        return false;
    if (MakeExecutable(temporary))
        return true;
    m_failure.member = name;
    m_failure.systemReason = SystemReason(errno);
    return false;
}

CopyOutcome SetupCopy::Refuse(CopyOutcome outcome, const QString& member)
{
    m_failure.member = member;
    return outcome;
}

CopyOutcome SetupCopy::PlaceMembers(const QStringList& members, QStringList& targets)
{
    // Two members are one file when their targets differ in letter case
    // alone: a cabinet's names are Windows names, and a folder on such a disk
    // holds one of them. The later copy would replace the earlier one, and
    // the log would list the file twice.
    QSet<QString> placed;
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
        const QString folded = targets.last().toCaseFolded();
        if (placed.contains(folded))
            return Refuse(CopyOutcome::DuplicateMember, member);
        placed.insert(folded);
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
    // with a name that cannot be installed is refused before any work.
    const QStringList members = archive.MemberNames();
    QStringList targets;
    if (const CopyOutcome refused = PlaceMembers(members, targets);
        refused != CopyOutcome::Complete)
        return refused;

    // The log's place first: a folder that takes no file shows at once.
    const QString logName = QLatin1String(InstallNames::Log);
    const QString log = m_staged.Add(m_folder + logName, logName);
    if (log.isEmpty()) {
        m_failure.systemReason = m_staged.ErrorString();
        return CopyOutcome::FolderNotWritable;
    }
    if (!StageUninstaller())
        return m_terminated ? CopyOutcome::Stopped : StagingFailed(CopyOutcome::ExtractFailed);

    const auto goOn = [this] { return PassGate(); };
    for (int i = 0; i < members.size(); ++i) {
        if (!PassGate())
            return CopyOutcome::Stopped;
        const QString& target = targets[i];
        // Again now, before folders are made on the way: a link may have
        // appeared since the archive was looked through.
        if (!WayStaysInside(m_folder, target))
            return Refuse(CopyOutcome::UnsafeMember, members[i]);
        const QString temporary = m_staged.Add(target, members[i]);
        if (temporary.isEmpty())
            return StagingFailed(CopyOutcome::ExtractFailed);
        emit FileStarted(target);
        if (!archive.Extract(i, temporary, goOn)) {
            if (archive.Stopped())
                return CopyOutcome::Stopped;
            m_failure.systemReason = SystemReason(archive.SystemError());
            m_failure.damaged = archive.Damaged();
            return Refuse(CopyOutcome::ExtractFailed, members[i]);
        }
        // Cabinets carry no permissions: the programs among the members are
        // known by name.
        if (IsProgramMember(members[i]) && !MakeExecutable(temporary)) {
            m_failure.systemReason = SystemReason(errno);
            return Refuse(CopyOutcome::ExtractFailed, members[i]);
        }
    }
    if (!m_staged.Write(log, InstallLogText(targets)))
        return StagingFailed(CopyOutcome::LogFailed);
    if (!m_staged.Sync())
        return StagingFailed(CopyOutcome::ExtractFailed);
    return CopyOutcome::Complete;
}
