#include "storage/File.h"

#include "platform/NumberText.h"
#include "storage/Utf8.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QVariant>
#include <QtEndian>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char* DamagedProperty = "quillfenStreamDamaged";
using ContainerLayout::HeaderSize;
using ContainerLayout::SectionSlots;

template <typename T>
T ReadLittle(QIODevice& stream)
{
    unsigned char bytes[sizeof(T)] = {};
    stream.read(reinterpret_cast<char*>(bytes), sizeof(T));
    return qFromLittleEndian<T>(bytes);
}

template <typename T>
void WriteLittle(QIODevice& stream, T value)
{
    unsigned char bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    stream.write(reinterpret_cast<const char*>(bytes), sizeof(T));
}

void Put(QIODevice& out, const char* text) { out.write(text, static_cast<qint64>(std::strlen(text))); }
} // namespace

bool HasSections(const ContainerHeader& header)
{
    return header[0] == Tag::QFS3 || header[0] == Tag::QFS4;
}

std::optional<qint64> SectionOffset(const ContainerHeader& header, int32_t tag)
{
    for (int k = 0; k < SectionSlots; ++k)
        if (header[2 + 2 * k] == tag)
            return static_cast<uint32_t>(header[3 + 2 * k]);
    return std::nullopt;
}

EFOpenError::EFOpenError(const QString& fileName, const QString& reason, bool notRegularFile)
    : std::runtime_error("cannot open file " + fileName.toStdString())
    , m_fileName(fileName)
    , m_reason(reason)
    , m_notRegularFile(notRegularFile)
{}

QString SavedFilePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    // A dangling link is still saved through: the new file lands at its target.
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

void SyncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(SavedFilePath(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // A folder that cannot be synced (some network file systems) leaves the
    // rename as durable as that file system makes it; the save itself is done.
    ::fsync(fd);
    ::close(fd);
}

bool CheckedSaveFile::open(OpenMode mode)
{
    const QByteArray name = QFile::encodeName(fileName());
    struct stat target = {};
    // A missing file is created; a name that does not resolve for any other
    // reason is left to QSaveFile, which says why.
    const bool refused = ::stat(name.constData(), &target) == 0
                             ? ::access(name.constData(), W_OK) != 0
                             : errno == ELOOP;
    if (refused) {
        m_failure = qt_error_string(errno);
        setErrorString(m_failure);
        return false;
    }
    return QSaveFile::open(mode);
}

qint64 CheckedSaveFile::writeData(const char* data, qint64 len)
{
    errno = 0;
    const qint64 written = QSaveFile::writeData(data, len);
    if (written != len)
        Fail();
    return written;
}

void CheckedSaveFile::Fail()
{
    // The first failure is the one the user needs to hear about; errno still
    // holds the system's word for it, where Qt often keeps none.
    if (m_failure.isEmpty())
        m_failure = errno != 0 ? qt_error_string(errno) : errorString();
}

bool CheckedSaveFile::Flush()
{
    errno = 0;
    if (m_failure.isEmpty() && !flush())
        Fail();
    return m_failure.isEmpty();
}

bool CheckedSaveFile::Commit()
{
    if (!Flush()) {
        cancelWriting();
        return false;
    }
    if (!commit()) {
        m_failure = errorString();
        return false;
    }
    SyncFolderOf(fileName());
    return true;
}

bool SaveWholeFile(const QString& path, const std::function<void(QIODevice&)>& write,
                   QString* reason)
{
    CheckedSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    write(file);
    if (file.Commit())
        return true;
    if (reason)
        *reason = file.Failure();
    return false;
}

// --- FileWriter --------------------------------------------------------------

FileWriter::FileWriter(const QString& fileName, int32_t documentType) : m_file(fileName)
{
    if (!m_file.open(QIODevice::WriteOnly))
        throw EFOpenError(fileName, m_file.errorString());
    m_header[0] = Tag::QFS4;
    m_header[1] = documentType;
    // The header is written last; reserve its room now.
    m_file.write(QByteArray(HeaderSize, '\0'));
}

FileWriter::~FileWriter()
{
    if (!m_committed)
        m_file.cancelWriting();
}

bool FileWriter::BeginSection(int32_t tag)
{
    for (int k = 0; k < SectionSlots; ++k) {
        if (m_header[2 + 2 * k] == 0) {
            m_header[2 + 2 * k] = tag;
            m_header[3 + 2 * k] = static_cast<int32_t>(m_file.pos());
            return true;
        }
    }
    return false;
}

QIODevice& FileWriter::GetStream() { return m_file; }

bool FileWriter::Commit()
{
    if (m_committed)
        return true;
    // Written out before the seek, so that a failure keeps its reason.
    if (!m_file.Flush() || !m_file.seek(0))
        return false;
    for (int32_t word : m_header)
        WriteLittle<int32_t>(m_file, word);
    m_committed = m_file.Commit();
    return m_committed;
}

QString FileWriter::ErrorString() const
{
    return m_file.Failure().isEmpty() ? m_file.errorString() : m_file.Failure();
}

// --- FileReader --------------------------------------------------------------

bool ReadOnlyFile::OpenForReading()
{
    m_notRegular = false;
    // Opening a named pipe would wait for a writer; without waiting, the
    // descriptor tells what the name leads to before anything is read, and
    // what it is cannot change under us afterwards.
    const int fd =
        ::open(QFile::encodeName(fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        setErrorString(qt_error_string(errno));
        return false;
    }
    QString refusal;
    struct stat status = {};
    if (::fstat(fd, &status) != 0) {
        refusal = qt_error_string(errno);
    } else if (S_ISDIR(status.st_mode)) {
        // In QFile's words, as a folder has always been refused.
        refusal = QCoreApplication::translate("QIODevice", "file to open is a directory");
    } else if (!S_ISREG(status.st_mode)) {
        m_notRegular = true;
        refusal = QStringLiteral("not a regular file");
    }
    if (!refusal.isEmpty()) {
        ::close(fd);
        setErrorString(refusal);
        return false;
    }
    // Reads of a regular file never wait; the rest is an ordinary descriptor.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return false;
    m_size = QFile::size();
    return true;
}

qint64 ReadOnlyFile::readData(char* data, qint64 maxSize)
{
    const qint64 read = QFile::readData(data, maxSize);
    if (read < maxSize)
        m_size = std::min(m_size, QFile::size());
    return read;
}

FileReader::FileReader(const QString& fileName) : m_file(fileName)
{
    if (!m_file.OpenForReading())
        throw EFOpenError(fileName, m_file.errorString(), m_file.IsNotRegularFile());
    // Words a short file cannot supply stay 0, so nothing matches by accident.
    for (int32_t& word : m_header)
        word = ReadInt32(m_file);
    ClearStreamDamaged(m_file);
    // Its zero words would read as a container without sections: an empty
    // document that a save would put in the place of what the file held.
    m_headerCut = HasSections(m_header) && m_file.size() < HeaderSize;
    m_file.seek(std::min<qint64>(HeaderSize, m_file.size()));
}

bool FileReader::IsLegacyFormat() const
{
    return m_header[0] == Tag::QFT || m_header[0] == Tag::QFD || m_header[0] == Tag::QFF;
}

bool FileReader::SeekSection(int32_t tag)
{
    if (!HasSections(m_header))
        return false;
    ClearStreamDamaged(m_file);
    const std::optional<qint64> offset = SectionOffset(m_header, tag);
    if (!offset && !m_headerCut) {
        m_file.seek(std::min<qint64>(HeaderSize, m_file.size()));
        return false;
    }
    if (m_headerCut || *offset > m_file.size()) {
        // A section past the end of the file, or one a cut header may have
        // named: read as an empty, damaged one.
        m_file.seek(m_file.size());
        MarkStreamDamaged(m_file);
        return true;
    }
    m_file.seek(*offset);
    return true;
}

// --- Stream damage -------------------------------------------------------------

void MarkStreamDamaged(QIODevice& stream) { stream.setProperty(DamagedProperty, true); }

bool IsStreamDamaged(const QIODevice& stream) { return stream.property(DamagedProperty).toBool(); }

void ClearStreamDamaged(QIODevice& stream) { stream.setProperty(DamagedProperty, QVariant()); }

qint64 BytesLeft(const QIODevice& stream)
{
    if (stream.isSequential())
        return stream.bytesAvailable();
    return std::max<qint64>(0, stream.size() - stream.pos());
}

bool CheckCount(QIODevice& stream, qint64 count, qint64 minRecordSize)
{
    if (count < 0 || (minRecordSize > 0 && count > BytesLeft(stream) / minRecordSize)) {
        MarkStreamDamaged(stream);
        return false;
    }
    return true;
}

// --- Binary primitives -----------------------------------------------------------

uint8_t ReadByte(QIODevice& stream) { return ReadLittle<uint8_t>(stream); }
int8_t ReadSignedByte(QIODevice& stream) { return static_cast<int8_t>(ReadLittle<uint8_t>(stream)); }
int32_t ReadInt32(QIODevice& stream) { return ReadLittle<int32_t>(stream); }
int16_t ReadInt16(QIODevice& stream) { return ReadLittle<int16_t>(stream); }
uint16_t ReadUInt16(QIODevice& stream) { return ReadLittle<uint16_t>(stream); }

double ReadDouble(QIODevice& stream)
{
    const quint64 bits = ReadLittle<quint64>(stream);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QByteArray ReadBytes(QIODevice& stream, qint64 n)
{
    if (n <= 0)
        return QByteArray("");
    const qint64 available = BytesLeft(stream);
    if (n > available) {
        MarkStreamDamaged(stream);
        n = available;
    }
    QByteArray bytes = stream.read(n);
    if (bytes.size() < n)
        MarkStreamDamaged(stream);
    if (bytes.isNull())
        bytes = QByteArray("");
    return bytes;
}

QByteArray ReadAnsiString(QIODevice& stream)
{
    const int32_t n = ReadInt32(stream);
    if (n < 0) {
        MarkStreamDamaged(stream);
        return QByteArray("");
    }
    return ReadBytes(stream, n);
}

QString ReadWideString(QIODevice& stream)
{
    const QByteArray utf8 = ReadAnsiString(stream);
    QString text = DecodeUtf8Text(utf8);
    if (text.isNull())
        text = QString("");
    return text;
}

void WriteByte(QIODevice& stream, uint8_t value) { WriteLittle<uint8_t>(stream, value); }
void WriteInt32(QIODevice& stream, int32_t value) { WriteLittle<int32_t>(stream, value); }
void WriteInt16(QIODevice& stream, int16_t value) { WriteLittle<int16_t>(stream, value); }

void WriteDouble(QIODevice& stream, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteLittle<quint64>(stream, bits);
}

void WriteAnsiString(QIODevice& stream, const QByteArray& text)
{
    // The length stops at a NUL, as the text's C form would.
    const qsizetype nul = text.indexOf('\0');
    const qsizetype n = nul < 0 ? text.size() : nul;
    WriteInt32(stream, static_cast<int32_t>(n));
    stream.write(text.constData(), n);
}

void WriteWideString(QIODevice& stream, const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    WriteAnsiString(stream, EncodeUtf8(nul < 0 ? text : text.left(nul)));
}

// --- XML -------------------------------------------------------------------------

void WriteXmlOpenTag(QIODevice& out, const char* name)
{
    Put(out, "<");
    Put(out, name);
    Put(out, ">");
}

void WriteXmlCloseTag(QIODevice& out, const char* name)
{
    Put(out, "</");
    Put(out, name);
    Put(out, ">\n");
}

void WriteXmlInt(QIODevice& out, const char* name, int value)
{
    WriteXmlOpenTag(out, name);
    out.write(QByteArray::number(value));
    WriteXmlCloseTag(out, name);
}

void WriteXmlDouble(QIODevice& out, const char* name, double value)
{
    WriteXmlOpenTag(out, name);
    out.write(FloatToStrGeneral(value, 5, 0).toUtf8());
    WriteXmlCloseTag(out, name);
}

void WriteXmlWideText(QIODevice& out, const char* name, const QString& text)
{
    if (text.isNull())
        return;
    WriteXmlOpenTag(out, name);
    WriteXmlEscaped(out, EncodeUtf8(text));
    WriteXmlCloseTag(out, name);
}

void WriteXmlText(QIODevice& out, const char* name, const QByteArray& text)
{
    if (text.isNull())
        return;
    WriteXmlOpenTag(out, name);
    WriteXmlEscaped(out, text);
    WriteXmlCloseTag(out, name);
}

void WriteXmlEmptyTag(QIODevice& out, const char* name, int flag)
{
    if (!flag)
        return;
    Put(out, "<");
    Put(out, name);
    Put(out, "/>\n");
}

void WriteXmlEscaped(QIODevice& out, QByteArrayView text)
{
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        switch (c) {
        case '\0':
            return;
        case '\n': Put(out, "<br/>\n"); break;
        case '\x1b':
            // The style word that follows; an ESC at the very end has none.
            if (i + 1 >= n || text[i + 1] == '\0')
                return;
            ++i;
            WriteXmlInt(out, "Style", static_cast<signed char>(text[i]));
            break;
        case '"': Put(out, "&quot;"); break;
        case '&': Put(out, "&amp;"); break;
        case '\'': Put(out, "&apos;"); break;
        case '<': Put(out, "&lt;"); break;
        case '>': Put(out, "&gt;"); break;
        default: out.write(&c, 1); break;
        }
    }
}
