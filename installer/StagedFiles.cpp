#include "installer/StagedFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "installer/InstallPaths.h"
#include "storage/File.h"

namespace {
// New files are made as the user's other files are (umask applies).
constexpr mode_t NewFileMode = 0666;
// A name taken by someone else is tried again with other letters; this many
// collisions in a row mean something else is wrong.
constexpr int NameAttempts = 100;
constexpr qint64 CopyBlock = 1 << 16;

// Temporaries are hidden names of their own, not named after their targets:
// a target's name may already be as long as a name can be, and any addition
// would make it one the system refuses.
const QString NewPrefix = QStringLiteral(".qf-new-");
const QString OldPrefix = QStringLiteral(".qf-old-");
constexpr int RandomDigits = 6;
constexpr quint64 RandomRange = quint64(1) << (4 * RandomDigits);

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// A new empty file beside `target` under a hidden name that neither `target`
// nor an entry of `taken` has as its target (a member may be named like a
// temporary); empty when none could be made (errno says why).
template <typename Entries>
QString CreateBeside(const QString& target, const QString& prefix, const Entries& taken)
{
    const QString base = QFileInfo(target).path() + u'/' + prefix;
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const QString path =
            base
            + QStringLiteral("%1").arg(QRandomGenerator::global()->generate64() % RandomRange,
                                       RandomDigits, 16, QLatin1Char('0'));
        if (path == target || std::any_of(taken.begin(), taken.end(), [&](const auto& entry) {
                return entry.target == path;
            }))
            continue;
        int fd;
        do
            fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        NewFileMode);
        while (fd < 0 && errno == EINTR);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return QString();
    }
    errno = EEXIST;
    return QString();
}

// Something (a file, a folder or a link) is at `path`.
bool IsTaken(const QString& path)
{
    struct stat status;
    return ::lstat(Native(path).constData(), &status) == 0;
}

bool IsRealFolder(const QString& path)
{
    struct stat status;
    return ::lstat(Native(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Writes all of `bytes`; a write the system cuts short (a full disk, a
// file-size limit) is a failure with errno set.
bool WriteAll(int fd, const char* bytes, qint64 size)
{
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, static_cast<size_t>(size));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += put;
        size -= put;
    }
    return true;
}

// An open file descriptor, closed when the scope ends.
class Descriptor
{
public:
    Descriptor(const QString& path, int flags)
    {
        do
            m_fd = ::open(Native(path).constData(), flags | O_CLOEXEC);
        while (m_fd < 0 && errno == EINTR);
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    // Closes now: a failure that shows only at the close is a failure.
    bool Close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int m_fd = -1;
};

constexpr int WriteFlags = O_WRONLY | O_TRUNC | O_NOFOLLOW;
} // namespace

bool StagedFiles::Fail(const Entry& entry, int error)
{
    m_failedName = entry.name;
    m_error = qt_error_string(error);
    return false;
}

QString StagedFiles::Add(const QString& target, const QString& name)
{
    Entry entry;
    entry.target = target;
    entry.name = name;
    // A folder of the user's where the file belongs is never replaced.
    if (IsRealFolder(target)) {
        Fail(entry, EISDIR);
        return QString();
    }
    const QString folder = QFileInfo(target).absolutePath();
    const QStringList missing = MissingFolders(folder);
    const bool made = QDir().mkpath(folder);
    for (const QString& path : missing)
        if (QFileInfo(path).isDir())
            m_madeFolders << path;
    if (!made) {
        Fail(entry, errno != 0 ? errno : EACCES);
        return QString();
    }
    entry.temporary = CreateBeside(target, NewPrefix, m_entries);
    if (entry.temporary.isEmpty()) {
        Fail(entry, errno);
        return QString();
    }
    m_entries.push_back(entry);
    return entry.temporary;
}

const StagedFiles::Entry& StagedFiles::EntryOf(const QString& temporary) const
{
    return *std::find_if(m_entries.begin(), m_entries.end(),
                         [&](const Entry& entry) { return entry.temporary == temporary; });
}

bool StagedFiles::Write(const QString& temporary, const QByteArray& bytes)
{
    const Entry& entry = EntryOf(temporary);
    Descriptor file(entry.temporary, WriteFlags);
    if (!file.IsOpen() || !WriteAll(file.Get(), bytes.constData(), bytes.size()) || !file.Close())
        return Fail(entry, errno);
    return true;
}

bool StagedFiles::Copy(const QString& temporary, const QString& source,
                       const std::function<bool()>& goOn)
{
    const Entry& entry = EntryOf(temporary);
    Descriptor from(source, O_RDONLY);
    if (!from.IsOpen())
        return Fail(entry, errno);
    Descriptor to(entry.temporary, WriteFlags);
    if (!to.IsOpen())
        return Fail(entry, errno);
    QByteArray block(CopyBlock, Qt::Uninitialized);
    for (;;) {
        if (!goOn())
            return Fail(entry, ECANCELED);
        const ssize_t got = ::read(from.Get(), block.data(), static_cast<size_t>(block.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Fail(entry, errno);
        if (got == 0)
            break;
        if (!WriteAll(to.Get(), block.constData(), got))
            return Fail(entry, errno);
    }
    return to.Close() || Fail(entry, errno);
}

bool StagedFiles::Sync()
{
    for (const Entry& entry : m_entries) {
        Descriptor file(entry.temporary, O_RDONLY | O_NOFOLLOW);
        if (!file.IsOpen() || ::fsync(file.Get()) != 0)
            return Fail(entry, errno);
    }
    return true;
}

bool StagedFiles::Apply()
{
    for (Entry& entry : m_entries) {
        if (IsTaken(entry.target)) {
            // The old file goes aside under a name of its own, so that it can
            // come back should a later file fail.
            entry.aside = CreateBeside(entry.target, OldPrefix, m_entries);
            if (entry.aside.isEmpty()
                || ::rename(Native(entry.target).constData(), Native(entry.aside).constData())
                       != 0) {
                Fail(entry, errno);
                Restore();
                return false;
            }
            entry.holdsOld = true;
        }
        if (::rename(Native(entry.temporary).constData(), Native(entry.target).constData()) != 0) {
            Fail(entry, errno);
            Restore();
            return false;
        }
        entry.applied = true;
    }
    QSet<QString> synced; // the folders whose new names are on the disk
    for (const Entry& entry : m_entries) {
        if (entry.holdsOld)
            QFile::remove(entry.aside);
        const QString folder = QFileInfo(entry.target).absolutePath();
        if (!synced.contains(folder)) {
            synced.insert(folder);
            SyncFolderOf(entry.target);
        }
    }
    m_entries.clear();
    m_madeFolders.clear();
    return true;
}

void StagedFiles::Restore()
{
    for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry) {
        if (entry->applied && !entry->holdsOld && QFile::remove(entry->target))
            entry->applied = false;
        if (entry->holdsOld
            && ::rename(Native(entry->aside).constData(), Native(entry->target).constData()) == 0) {
            entry->holdsOld = false;
            entry->applied = false;
        }
    }
    Discard();
}

void StagedFiles::Discard()
{
    for (const Entry& entry : m_entries) {
        if (!entry.applied)
            QFile::remove(entry.temporary);
        // An old file that could not go back stays aside rather than be lost.
        if (!entry.aside.isEmpty() && !entry.holdsOld)
            QFile::remove(entry.aside);
    }
    m_entries.clear();
    RemoveFoldersLeftEmpty(std::exchange(m_madeFolders, {}));
}
