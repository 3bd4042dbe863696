#pragma once
// The container file every document is stored in, the little-endian stream
// record primitives, and the XML element writers shared by every export.

#include <QByteArray>
#include <QIODevice>
#include <QSaveFile>
#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

// A four-character code from its four bytes in file order: "form" is stored as
// 66 6F 72 6D and compares as the integer 0x6D726F66.
constexpr int32_t FourCC(const char (&s)[5])
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(s[0]))
                                | static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 8
                                | static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 16
                                | static_cast<uint32_t>(static_cast<uint8_t>(s[3])) << 24);
}

namespace Tag {
constexpr int32_t QFS4 = FourCC("QFS4");
constexpr int32_t QFS3 = FourCC("QFS3");
constexpr int32_t QFT = FourCC("QFT ");
constexpr int32_t QFF = FourCC("QFF ");
constexpr int32_t QFD = FourCC("QFD ");
// document types
constexpr int32_t Form = FourCC("form");
constexpr int32_t Bar = FourCC("bar ");
constexpr int32_t Temp = FourCC("temp");
constexpr int32_t Data = FourCC("data");
constexpr int32_t Idx = FourCC("idx ");
// sections
constexpr int32_t Revd = FourCC("revd");
constexpr int32_t Revi = FourCC("revi");
} // namespace Tag

// The header that begins a container file: its magic, its document type and
// seven slots of section tag and offset (a free slot has tag 0).
namespace ContainerLayout {
constexpr qint64 HeaderSize = 64;
constexpr int HeaderWords = 16;
constexpr int SectionSlots = 7;
} // namespace ContainerLayout
using ContainerHeader = std::array<int32_t, ContainerLayout::HeaderWords>;

// "QFS4", or the older "QFS3": a header whose slots name sections.
bool HasSections(const ContainerHeader& header);
// Whether a file beginning with `firstWord` is one of the product's: a
// container or an older single stream.
constexpr bool IsQuillfenMagic(int32_t firstWord)
{
    return firstWord == Tag::QFS4 || firstWord == Tag::QFS3 || firstWord == Tag::QFT
           || firstWord == Tag::QFD || firstWord == Tag::QFF;
}
// The offset the header gives for the section, when a slot names it.
std::optional<qint64> SectionOffset(const ContainerHeader& header, int32_t tag);

// A file that cannot be created or opened, with the system's reason.
class EFOpenError : public std::runtime_error
{
public:
    EFOpenError(const QString& fileName, const QString& reason, bool notRegularFile = false);
    QString FileName() const { return m_fileName; }
    QString Reason() const { return m_reason; }
    // Refused to be read because it is a named pipe, a device or a socket.
    bool NotRegularFile() const { return m_notRegularFile; }

private:
    QString m_fileName;
    QString m_reason;
    bool m_notRegularFile = false;
};

// A QSaveFile that notices every write the system cut short. A full disk or
// a file-size limit can take part of a write without an error; QSaveFile
// itself would then commit the cut file over the old one.
class CheckedSaveFile : public QSaveFile
{
public:
    using QSaveFile::QSaveFile;
    // Refuses, with the system's reason, a name the save could not replace
    // as the user means it: a loop of symbolic links (QSaveFile would put a
    // regular file in the link's place) or a file the system will not let us
    // write, such as one on a read-only file system.
    bool open(OpenMode mode) override;
    // Empty while every write went through whole; else the system's reason.
    QString Failure() const { return m_failure; }
    // Writes out what is buffered; false, with the reason, when it fails.
    bool Flush();
    // Replaces the file by what was written and syncs the folder that now
    // holds the new name, so that the name survives a power loss as well as
    // the bytes. False, with the reason in Failure(), when anything failed:
    // the old file then stays as it was.
    bool Commit();

protected:
    qint64 writeData(const char* data, qint64 len) override;

private:
    void Fail();
    QString m_failure;
};
// Writes `path` whole through a temporary file filled by `write`. On failure
// the old file stays and `reason`, when given, holds the system's reason.
bool SaveWholeFile(const QString& path, const std::function<void(QIODevice&)>& write,
                   QString* reason = nullptr);
// Syncs the folder entry of `path` (the folder of the file a link leads to).
void SyncFolderOf(const QString& path);
// The file a save of `path` replaces: the target of a symbolic link, else `path`.
QString SavedFilePath(const QString& path);

// Writes a container document. The header is written last, and the file on
// disk is replaced only by Commit(): a writer destroyed without a successful
// Commit() leaves any existing file untouched, so a failed save loses nothing.
class FileWriter
{
public:
    // Throws EFOpenError when the file cannot be created.
    FileWriter(const QString& fileName, int32_t documentType);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Takes the first free header slot for a section beginning at the current
    // position. Returns false (and records nothing) when all seven are taken.
    bool BeginSection(int32_t tag);
    QIODevice& GetStream();
    // Writes the header and replaces the file. False on any write failure,
    // with the reason in ErrorString().
    bool Commit();
    QString ErrorString() const;

private:
    CheckedSaveFile m_file;
    ContainerHeader m_header{};
    bool m_committed = false;
};

// A file the user named, opened only for reading, whose size is taken once
// when it opens. Readers bound every count and length by the bytes left, and
// asking the file system for the size each time made opening a large form
// several times slower. A read that ends early takes the size again, so a file
// cut short by someone else while it is open reads as damaged and ends where
// its bytes end.
class ReadOnlyFile : public QFile
{
public:
    explicit ReadOnlyFile(const QString& fileName) : QFile(fileName) {}
    // Opens for reading without waiting and takes the size; false, with the
    // reason in errorString(), when the file cannot be read. Only a regular
    // file opens: a named pipe would keep the program waiting before it shows
    // anything, and a device may never come to an end.
    bool OpenForReading();
    // Whether OpenForReading() refused a file that is there but not regular.
    bool IsNotRegularFile() const { return m_notRegular; }
    qint64 size() const override { return isOpen() ? m_size : QFile::size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;

private:
    qint64 m_size = 0;
    bool m_notRegular = false;
};

// Reads a container document (or recognises an older single-stream file).
class FileReader
{
public:
    // Throws EFOpenError when the file cannot be opened or is no regular file.
    explicit FileReader(const QString& fileName);
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    int32_t GetTypeTag() const { return m_header[1]; }
    int32_t GetMagic() const { return m_header[0]; }
    // True for the older "QFT ", "QFD " and "QFF " streams, which have no header.
    bool IsLegacyFormat() const;
    // A container or an older stream: false for an empty or foreign file.
    bool IsQuillfenFile() const { return IsQuillfenMagic(m_header[0]); }
    // A container cut short inside its header: its type and sections are
    // unknown, and every section reads as damaged.
    bool IsDamaged() const { return m_headerCut; }
    // Positions the stream at the section; false when absent (stream at 64) or
    // when the file is no container (stream unmoved).
    bool SeekSection(int32_t tag);
    QIODevice& GetStream() { return m_file; }

private:
    ReadOnlyFile m_file;
    ContainerHeader m_header{};
    bool m_headerCut = false;
};

// --- Stream damage -----------------------------------------------------------
// Readers never trust a count or length from a file: when one cannot be right
// for the bytes that are left, they stop and mark the stream damaged, and the
// caller reports "damaged file" and keeps what it had.
void MarkStreamDamaged(QIODevice& stream);
bool IsStreamDamaged(const QIODevice& stream);
void ClearStreamDamaged(QIODevice& stream);
// Bytes left between the position and the end (0 for sequential devices at end).
qint64 BytesLeft(const QIODevice& stream);
// True when `count` records of at least `minRecordSize` bytes can still follow;
// otherwise marks the stream damaged and returns false.
bool CheckCount(QIODevice& stream, qint64 count, qint64 minRecordSize);

// --- Binary primitives (little-endian; missing bytes at the end read as 0) ---
uint8_t ReadByte(QIODevice& stream);
int8_t ReadSignedByte(QIODevice& stream);
int32_t ReadInt32(QIODevice& stream);
int16_t ReadInt16(QIODevice& stream);
uint16_t ReadUInt16(QIODevice& stream);
double ReadDouble(QIODevice& stream);
// int32 n then n bytes. A negative n, or one past the end, marks the stream
// damaged and returns what could be read (empty for a negative n).
QByteArray ReadAnsiString(QIODevice& stream);
// int32 n then n bytes of UTF-8 (the form of EncodeUtf8), decoded to UTF-16.
QString ReadWideString(QIODevice& stream);
// Exactly n raw bytes (fewer when the stream ends; the stream is then damaged).
QByteArray ReadBytes(QIODevice& stream, qint64 n);

void WriteByte(QIODevice& stream, uint8_t value);
void WriteInt32(QIODevice& stream, int32_t value);
void WriteInt16(QIODevice& stream, int16_t value);
void WriteDouble(QIODevice& stream, double value);
// A null or empty text writes int32 0.
void WriteAnsiString(QIODevice& stream, const QByteArray& text);
void WriteWideString(QIODevice& stream, const QString& text);

// --- XML element writers (UTF-8 bytes, no declaration) ----------------------
void WriteXmlOpenTag(QIODevice& out, const char* name);
void WriteXmlCloseTag(QIODevice& out, const char* name);
void WriteXmlInt(QIODevice& out, const char* name, int value);
// General float format, precision 5, no exponent padding, locale separator.
void WriteXmlDouble(QIODevice& out, const char* name, double value);
// Nothing for a null text; an empty (non-null) text writes the empty element.
void WriteXmlWideText(QIODevice& out, const char* name, const QString& text);
void WriteXmlText(QIODevice& out, const char* name, const QByteArray& text);
void WriteXmlEmptyTag(QIODevice& out, const char* name, int flag);
// Escapes &, <, >, " and ', turns LF into "<br/>\n" and ESC+style word into a
// Style element. Stops at the end of the text or a NUL.
void WriteXmlEscaped(QIODevice& out, QByteArrayView text);
