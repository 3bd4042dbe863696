#include "installer/CabinetArchive.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include <fcntl.h>
#include <unistd.h>

#include <mspack.h>

// libmspack's file layer over file descriptors. It keeps the error number of
// the first file operation that failed since the last reset.
struct CabinetSystem
{
    mspack_system calls{}; // first member: libmspack hands back a pointer to it
    int error = 0;
    std::function<bool()> goOn; // asked before each block written
    bool stopped = false;

    void Note(int number)
    {
        if (error == 0)
            error = number != 0 ? number : EIO;
    }
};

namespace {
struct CabinetFile
{
    mspack_file base{}; // first member: libmspack only ever sees this
    int fd = -1;
    CabinetSystem* system = nullptr;
};

// New files are made as the user's other files are (umask applies).
constexpr mode_t NewFileMode = 0666;

CabinetFile* FileOf(mspack_file* file)
{
    return reinterpret_cast<CabinetFile*>(file);
}

int OpenFlags(int mode)
{
    switch (mode) {
    case MSPACK_SYS_OPEN_READ:
        return O_RDONLY;
    // A link left where a member goes would carry the member elsewhere.
    case MSPACK_SYS_OPEN_WRITE:
        return O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW;
    case MSPACK_SYS_OPEN_UPDATE:
        return O_RDWR;
    case MSPACK_SYS_OPEN_APPEND:
        return O_RDWR | O_APPEND;
    default:
        return -1;
    }
}

mspack_file* OpenFile(mspack_system* self, const char* filename, int mode)
{
    auto* system = reinterpret_cast<CabinetSystem*>(self);
    const int flags = OpenFlags(mode);
    if (flags < 0) {
        system->Note(EINVAL);
        return nullptr;
    }
    int fd;
    do
        fd = ::open(filename, flags | O_CLOEXEC, NewFileMode);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        system->Note(errno);
        return nullptr;
    }
    auto* file = new CabinetFile;
    file->fd = fd;
    file->system = system;
    return &file->base;
}

void CloseFile(mspack_file* handle)
{
    CabinetFile* file = FileOf(handle);
    if (!file)
        return;
    // A full disk may show only now, when the last blocks are written.
    if (::close(file->fd) != 0 && errno != EINTR)
        file->system->Note(errno);
    delete file;
}

int ReadFile(mspack_file* handle, void* buffer, int bytes)
{
    CabinetFile* file = FileOf(handle);
    int done = 0;
    // libmspack takes a short read for the end of the file, so read on
    // until the end or an error.
    while (done < bytes) {
        const ssize_t got =
            ::read(file->fd, static_cast<char*>(buffer) + done, static_cast<size_t>(bytes - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            file->system->Note(errno);
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<int>(got);
    }
    return done;
}

int WriteFile(mspack_file* handle, void* buffer, int bytes)
{
    CabinetFile* file = FileOf(handle);
    CabinetSystem* system = file->system;
    if (system->goOn && !system->goOn()) {
        system->stopped = true;
        return -1;
    }
    int done = 0;
    while (done < bytes) {
        const ssize_t put = ::write(file->fd, static_cast<const char*>(buffer) + done,
                                    static_cast<size_t>(bytes - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            file->system->Note(put < 0 ? errno : ENOSPC);
            break;
        }
        done += static_cast<int>(put);
    }
    return done;
}

int SeekFile(mspack_file* handle, off_t offset, int mode)
{
    static constexpr int Whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (mode < 0 || mode >= static_cast<int>(std::size(Whence)))
        return -1;
    CabinetFile* file = FileOf(handle);
    if (::lseek(file->fd, offset, Whence[mode]) < 0) {
        file->system->Note(errno);
        return -1;
    }
    return 0;
}

off_t TellFile(mspack_file* handle)
{
    return ::lseek(FileOf(handle)->fd, 0, SEEK_CUR);
}

void Message(mspack_file*, const char*, ...) {}

void* Alloc(mspack_system*, size_t bytes)
{
    return std::malloc(bytes);
}

void Free(void* pointer)
{
    std::free(pointer);
}

void Copy(void* source, void* target, size_t bytes)
{
    std::memmove(target, source, bytes);
}

mscabd_file* MemberAt(mscabd_cabinet* cabinet, int index)
{
    mscabd_file* file = cabinet ? cabinet->files : nullptr;
    for (; file && index > 0; --index)
        file = file->next;
    return index == 0 ? file : nullptr;
}
} // namespace

CabinetArchive::CabinetArchive(const QString& path)
    : m_fileName(QFile::encodeName(path)), m_system(std::make_unique<CabinetSystem>())
{
    m_system->calls = {OpenFile, CloseFile, ReadFile, WriteFile, SeekFile, TellFile,
                       Message,  Alloc,     Free,     Copy,      nullptr};
    int selfTest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selfTest);
    if (selfTest != MSPACK_ERR_OK)
        return;
    m_decompressor = mspack_create_cab_decompressor(&m_system->calls);
    if (!m_decompressor)
        return;
    m_cabinet = m_decompressor->open(m_decompressor, m_fileName.constData());
    if (!m_cabinet) {
        NoteFailure();
        return;
    }
    const bool inSet = (m_cabinet->flags & (MSCAB_HDR_PREVCAB | MSCAB_HDR_NEXTCAB)) != 0
                       || m_cabinet->next || m_cabinet->prevcab || m_cabinet->nextcab;
    m_status = inSet ? Status::PartOfSet : Status::Open;
}

CabinetArchive::~CabinetArchive()
{
    if (m_cabinet)
        m_decompressor->close(m_decompressor, m_cabinet);
    if (m_decompressor)
        mspack_destroy_cab_decompressor(m_decompressor);
}

void CabinetArchive::NoteFailure()
{
    m_damaged = m_system->error == 0;
}

int CabinetArchive::SystemError() const
{
    return m_system->error;
}

QStringList CabinetArchive::MemberNames() const
{
    QStringList names;
    if (m_status != Status::Open)
        return names;
    for (mscabd_file* file = m_cabinet->files; file; file = file->next) {
        const QByteArray name(file->filename);
        names << ((file->attribs & MSCAB_ATTRIB_UTF_NAME) ? QString::fromUtf8(name)
                                                          : QString::fromLatin1(name));
    }
    return names;
}

bool CabinetArchive::Extract(int index, const QString& target, const std::function<bool()>& goOn)
{
    m_system->error = 0;
    m_system->stopped = false;
    m_damaged = false;
    m_stopped = false;
    mscabd_file* file = m_status == Status::Open ? MemberAt(m_cabinet, index) : nullptr;
    if (!file)
        return false;
    m_system->goOn = goOn;
    const int result =
        m_decompressor->extract(m_decompressor, file, QFile::encodeName(target).constData());
    m_system->goOn = nullptr;
    m_stopped = m_system->stopped;
    if (m_stopped)
        return false;
    // A failure when the file was closed leaves libmspack content.
    if (result == MSPACK_ERR_OK && m_system->error == 0)
        return true;
    NoteFailure();
    return false;
}
