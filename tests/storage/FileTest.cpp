#include "storage/File.h"

#include <gtest/gtest.h>

#include "common/RecordBytes.h"
#include "common/ScopedGuards.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void WriteRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// In a new mount namespace (a user namespace too where we are not root):
// a tmpfs over `folder` holding `name` with `contents`, then made read-only.
bool MountReadOnlyScratch(const QByteArray& folder, const char* name, const QByteArray& contents)
{
    const uid_t uid = geteuid();
    const gid_t gid = getegid();
    if (uid != 0) {
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return false;
        const auto put = [](const char* file, const QByteArray& text) {
            QFile f(file);
            return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
        };
        if (!put("/proc/self/setgroups", "deny")
            || !put("/proc/self/uid_map", "0 " + QByteArray::number(uid) + " 1")
            || !put("/proc/self/gid_map", "0 " + QByteArray::number(gid) + " 1"))
            return false;
    } else if (unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || mount("scratch", folder.constData(), "tmpfs", 0, nullptr) != 0)
        return false;
    {
        QFile file(QFile::decodeName(folder) + u'/' + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            return false;
    }
    return mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

class ContainerTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(name); }
};
} // namespace

TEST(FourCCTest, CodesAreTheFileBytesReadLittleEndian)
{
    EXPECT_EQ(FourCC("form"), 0x6D726F66);
    EXPECT_EQ(Tag::Bar, FourCC("bar "));
    EXPECT_NE(Tag::QFS3, Tag::QFS4);
}

TEST_F(ContainerTest, EmptyDocumentIsHeaderOnly)
{
    FileWriter writer(Path("a.qfs"), Tag::Temp);
    ASSERT_TRUE(writer.Commit());
    const QByteArray bytes = ReadAll(Path("a.qfs"));
    ASSERT_EQ(bytes.size(), 64);
    EXPECT_EQ(bytes.left(4), QByteArray("QFS4"));
    EXPECT_EQ(bytes.mid(4, 4), QByteArray("temp"));
    EXPECT_EQ(bytes.mid(8), QByteArray(56, '\0'));
}

TEST_F(ContainerTest, SectionsTakeSlotsInOrderAndAreFoundAgain)
{
    {
        FileWriter writer(Path("f.qfs"), Tag::Form);
        ASSERT_TRUE(writer.BeginSection(Tag::Revd));
        WriteInt32(writer.GetStream(), 11);
        ASSERT_TRUE(writer.BeginSection(FourCC("form")));
        WriteInt32(writer.GetStream(), 22);
        WriteInt32(writer.GetStream(), 23);
        ASSERT_TRUE(writer.BeginSection(Tag::Data));
        WriteInt32(writer.GetStream(), 33);
        ASSERT_TRUE(writer.Commit());
    }
    const QByteArray bytes = ReadAll(Path("f.qfs"));
    EXPECT_EQ(bytes.mid(8, 8), QByteArray("revd") + Le32(64));
    EXPECT_EQ(bytes.mid(16, 8), QByteArray("form") + Le32(68));
    EXPECT_EQ(bytes.mid(24, 8), QByteArray("data") + Le32(76));
    EXPECT_EQ(bytes.mid(32, 32), QByteArray(32, '\0'));

    FileReader reader(Path("f.qfs"));
    EXPECT_EQ(reader.GetTypeTag(), Tag::Form);
    EXPECT_FALSE(reader.IsLegacyFormat());
    ASSERT_TRUE(reader.SeekSection(Tag::Data));
    EXPECT_EQ(ReadInt32(reader.GetStream()), 33);
    ASSERT_TRUE(reader.SeekSection(FourCC("form")));
    EXPECT_EQ(ReadInt32(reader.GetStream()), 22);
    EXPECT_FALSE(reader.SeekSection(Tag::Revi));
    EXPECT_EQ(reader.GetStream().pos(), 64);
}

TEST_F(ContainerTest, EighthSectionIsRefused)
{
    FileWriter writer(Path("s.qfs"), Tag::Data);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(writer.BeginSection(FourCC("sec0") + i));
    EXPECT_FALSE(writer.BeginSection(FourCC("more")));
}

TEST_F(ContainerTest, OlderMagicReadsLikeTheCurrentOne)
{
    QByteArray bytes = QByteArray("QFS3") + QByteArray("data") + QByteArray("data") + Le32(64);
    bytes += QByteArray(64 - bytes.size(), '\0') + Le32(-5);
    WriteRaw(Path("old.qfs"), bytes);
    FileReader reader(Path("old.qfs"));
    ASSERT_TRUE(reader.SeekSection(Tag::Data));
    EXPECT_EQ(ReadInt32(reader.GetStream()), -5);
}

TEST_F(ContainerTest, LegacyAndForeignFilesAreRecognisedWithoutMovingTheStream)
{
    WriteRaw(Path("t.qft"), QByteArray("QFT ") + QByteArray(100, 'x'));
    FileReader legacy(Path("t.qft"));
    EXPECT_TRUE(legacy.IsLegacyFormat());
    const qint64 pos = legacy.GetStream().pos();
    EXPECT_FALSE(legacy.SeekSection(FourCC("form")));
    EXPECT_EQ(legacy.GetStream().pos(), pos);

    // Shorter than a header: no word may match anything.
    WriteRaw(Path("short"), QByteArray("QF"));
    FileReader tiny(Path("short"));
    EXPECT_FALSE(tiny.IsLegacyFormat());
    EXPECT_EQ(tiny.GetTypeTag(), 0);
    EXPECT_FALSE(tiny.SeekSection(Tag::Data));
    EXPECT_FALSE(tiny.IsDamaged());

    // A container cut inside its header may have named any section: each
    // one reads as damaged, none as absent.
    WriteRaw(Path("cut.qfs"), QByteArray("QFS4form"));
    FileReader cut(Path("cut.qfs"));
    EXPECT_TRUE(cut.IsDamaged());
    EXPECT_TRUE(cut.SeekSection(Tag::Revd));
    EXPECT_TRUE(IsStreamDamaged(cut.GetStream()));
    EXPECT_EQ(BytesLeft(cut.GetStream()), 0);
}

TEST_F(ContainerTest, SectionOffsetPastTheEndReadsAsDamaged)
{
    QByteArray bytes = QByteArray("QFS4") + QByteArray("data") + QByteArray("data") + Le32(0x7FFFFFF0);
    bytes += QByteArray(64 - bytes.size(), '\0');
    WriteRaw(Path("bad.qfs"), bytes);
    FileReader reader(Path("bad.qfs"));
    EXPECT_TRUE(reader.SeekSection(Tag::Data));
    EXPECT_TRUE(IsStreamDamaged(reader.GetStream()));
    EXPECT_EQ(ReadInt32(reader.GetStream()), 0);
}

TEST_F(ContainerTest, FailedOrAbandonedSaveKeepsThePreviousFile)
{
    WriteRaw(Path("keep.qfs"), QByteArray("previous contents"));
    {
        FileWriter writer(Path("keep.qfs"), Tag::Temp);
        writer.BeginSection(FourCC("form"));
        WriteInt32(writer.GetStream(), 1);
        // destroyed without Commit, as when a section writer fails half-way
    }
    EXPECT_EQ(ReadAll(Path("keep.qfs")), QByteArray("previous contents"));

    EXPECT_THROW(FileWriter(dir.filePath("no/such/dir/x.qfs"), Tag::Temp), EFOpenError);
    EXPECT_THROW(FileReader(dir.filePath("missing.qfs")), EFOpenError);
}

// A disk that fills up takes part of a write without an error; the save must
// still fail, with the system's reason, and leave the previous file whole.
// One large write and many small ones are cut at different places.
TEST_F(ContainerTest, ASaveTheSystemCutsShortFailsWithItsReason)
{
    constexpr rlim_t Limit = 4096;
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    const QByteArray previous("previous contents");
    const QByteArray large(3 * Limit, 'x');
    const std::function<void(QIODevice&)> writes[] = {
        [&](QIODevice& out) { out.write(large); },
        [&](QIODevice& out) {
            for (char c : large)
                out.write(&c, 1);
        },
    };
    for (const auto& write : writes) {
        WriteRaw(Path("keep.xml"), previous);
        QString failure;
        {
            ScopedFileSizeLimit full(Limit);
            EXPECT_FALSE(SaveWholeFile(Path("keep.xml"), write, &failure));
        }
        EXPECT_EQ(failure, reason);
        EXPECT_EQ(ReadAll(Path("keep.xml")), previous);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.xml"});
    }

    WriteRaw(Path("keep.qfs"), previous);
    {
        ScopedFileSizeLimit full(Limit);
        FileWriter writer(Path("keep.qfs"), Tag::Temp);
        writer.BeginSection(FourCC("form"));
        writer.GetStream().write(large);
        EXPECT_FALSE(writer.Commit());
        EXPECT_EQ(writer.ErrorString(), reason);
    }
    EXPECT_EQ(ReadAll(Path("keep.qfs")), previous);
}

// A loop of links has no file to replace: both kinds of save refuse it with
// the system's reason and leave the links as they were.
TEST_F(ContainerTest, ALoopOfLinksIsRefusedAndStays)
{
    ASSERT_TRUE(QFile::link("self.xml", Path("self.xml")));
    ASSERT_TRUE(QFile::link("b.qfs", Path("a.qfs")));
    ASSERT_TRUE(QFile::link("a.qfs", Path("b.qfs")));
    const QString reason = QString::fromLocal8Bit(std::strerror(ELOOP));
    for (const char* name : {"self.xml", "a.qfs", "b.qfs"}) {
        QString failure;
        EXPECT_FALSE(SaveWholeFile(
            Path(name), [](QIODevice& out) { out.write("new"); }, &failure));
        EXPECT_EQ(failure, reason) << name;
        try {
            FileWriter writer(Path(name), Tag::Temp);
            ADD_FAILURE() << name << " was opened for saving";
        } catch (const EFOpenError& error) {
            EXPECT_EQ(error.Reason(), reason) << name;
        }
    }
    EXPECT_EQ(QFileInfo(Path("self.xml")).symLinkTarget(), Path("self.xml"));
    EXPECT_EQ(QFileInfo(Path("a.qfs")).symLinkTarget(), Path("b.qfs"));
    EXPECT_EQ(QFileInfo(Path("b.qfs")).symLinkTarget(), Path("a.qfs"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::System | QDir::Files).size(), 3);
}

// Saving over a file on a read-only file system says so in the system's
// words. The file system is a tmpfs mounted read-only in a child process of
// its own mount namespace, which needs no privileges where the system allows
// such namespaces at all.
TEST_F(ContainerTest, AFileOnAReadOnlyFileSystemFailsWithTheSystemsReason)
{
    constexpr int Skipped = 77;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QString path = Path("keep.qfs");
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(channel[0]);
        if (!MountReadOnlyScratch(folder, "keep.qfs", "previous"))
            _exit(Skipped);
        QString whole, document;
        SaveWholeFile(
            path, [](QIODevice& out) { out.write("new"); }, &whole);
        try {
            FileWriter writer(path, Tag::Temp);
        } catch (const EFOpenError& error) {
            document = error.Reason();
        }
        const QByteArray report =
            (whole + u'\n' + document + u'\n' + QString::fromUtf8(ReadAll(path))).toUtf8();
        const bool sent = write(channel[1], report.constData(), report.size()) == report.size();
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    QByteArray report;
    char buffer[256];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == Skipped)
        GTEST_SKIP() << "no private mount namespace on this system";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const QString rofs = QString::fromLocal8Bit(std::strerror(EROFS));
    EXPECT_EQ(QString::fromUtf8(report), rofs + u'\n' + rofs + QStringLiteral("\nprevious"));
}

TEST_F(ContainerTest, FileCutShortAfterOpeningReadsAsDamagedAndNoFurther)
{
    // Longer than what the file reads ahead, so the cut is seen by the reads.
    constexpr int Text = 40000;
    {
        FileWriter writer(Path("cut.qfs"), Tag::Data);
        ASSERT_TRUE(writer.BeginSection(Tag::Data));
        WriteInt32(writer.GetStream(), 2);
        WriteAnsiString(writer.GetStream(), QByteArray(Text, 'a'));
        WriteAnsiString(writer.GetStream(), QByteArray(Text, 'b'));
        ASSERT_TRUE(writer.Commit());
    }
    FileReader reader(Path("cut.qfs"));
    QIODevice& stream = reader.GetStream();
    ASSERT_TRUE(reader.SeekSection(Tag::Data));
    EXPECT_EQ(BytesLeft(stream), 4 + 2 * (4 + Text));

    // Someone else cuts the file inside the second text while it is open.
    ASSERT_TRUE(QFile::resize(Path("cut.qfs"), 64 + 4 + (4 + Text) + 4 + 10));
    const int32_t count = ReadInt32(stream);
    ASSERT_TRUE(CheckCount(stream, count, 4));
    EXPECT_EQ(ReadAnsiString(stream), QByteArray(Text, 'a'));
    EXPECT_EQ(ReadAnsiString(stream), QByteArray(10, 'b'));
    EXPECT_TRUE(IsStreamDamaged(stream));
    EXPECT_TRUE(stream.atEnd());
    EXPECT_EQ(BytesLeft(stream), 0);
    EXPECT_EQ(ReadAnsiString(stream), QByteArray(""));
}

TEST(StreamPrimitivesTest, NumbersAreLittleEndianAndMissingBytesReadAsZero)
{
    const QByteArray bytes = Written([](QIODevice& s) {
        WriteByte(s, 0xFE);
        WriteInt32(s, -2);
        WriteDouble(s, 1.0);
    });
    EXPECT_EQ(bytes.toHex(), QByteArray("fefeffffff000000000000f03f"));

    ReadBuffer in(QByteArray::fromHex("fe0201"));
    EXPECT_EQ(ReadSignedByte(in), -2);
    EXPECT_EQ(ReadInt32(in), 0x0102); // two bytes missing
    EXPECT_EQ(ReadDouble(in), 0.0);
    EXPECT_EQ(ReadByte(in), 0);
}

TEST(StreamPrimitivesTest, TextsRoundTripAndNullEqualsEmpty)
{
    const QByteArray empty = Written([](QIODevice& s) {
        WriteWideString(s, QString());
        WriteWideString(s, QString(""));
        WriteAnsiString(s, QByteArray());
    });
    EXPECT_EQ(empty, QByteArray(12, '\0'));

    EXPECT_EQ(Written([](QIODevice& s) { WriteWideString(s, QString(QChar(0xE9))); }).toHex(),
              QByteArray("02000000c3a9"));

    const QString wide = QString::fromUtf16(u"Ω 1€ \U0001F600");
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    WriteWideString(buffer, wide);
    WriteAnsiString(buffer, QByteArray("ansi\xB0"));
    WriteWideString(buffer, QString());
    buffer.seek(0);
    EXPECT_EQ(ReadWideString(buffer), wide);
    EXPECT_EQ(ReadAnsiString(buffer), QByteArray("ansi\xB0"));
    const QString back = ReadWideString(buffer);
    EXPECT_FALSE(back.isNull());
    EXPECT_TRUE(back.isEmpty());
    EXPECT_FALSE(IsStreamDamaged(buffer));
}

TEST(StreamPrimitivesTest, DamagedLengthsStopAtTheDataAndMarkTheStream)
{
    for (int32_t n : {-1, -2147483647 - 1, 1000, 2147483647}) {
        ReadBuffer in(Le32(n) + QByteArray("abc"));
        const QByteArray text = ReadAnsiString(in);
        EXPECT_TRUE(IsStreamDamaged(in)) << n;
        EXPECT_LE(text.size(), 3) << n;
        EXPECT_FALSE(text.isNull());
    }
    ReadBuffer in(Le32(5) + QByteArray("ab"));
    EXPECT_EQ(ReadWideString(in), QString("ab"));
    EXPECT_TRUE(IsStreamDamaged(in));
}

TEST(StreamPrimitivesTest, CountsAreBoundedByTheBytesLeft)
{
    ReadBuffer in(QByteArray(40, '\0'));
    EXPECT_TRUE(CheckCount(in, 10, 4));
    EXPECT_FALSE(IsStreamDamaged(in));
    EXPECT_FALSE(CheckCount(in, 11, 4));
    EXPECT_TRUE(IsStreamDamaged(in));
    ClearStreamDamaged(in);
    EXPECT_FALSE(CheckCount(in, -1, 1));
    EXPECT_TRUE(IsStreamDamaged(in));
}

TEST(XmlWriterTest, ElementsAndEscapes)
{
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlInt(s, "Count", -3); }),
              QByteArray("<Count>-3</Count>\n"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlText(s, "T", QByteArray("a<b&\"c\"'>\t\r")); }),
              QByteArray("<T>a&lt;b&amp;&quot;c&quot;&apos;&gt;\t\r</T>\n"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlText(s, "T", QByteArray()); }), QByteArray());
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlWideText(s, "T", QString()); }), QByteArray());
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlWideText(s, "T", QString("")); }),
              QByteArray("<T></T>\n"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlEmptyTag(s, "B", 1); WriteXmlEmptyTag(s, "I", 0); }),
              QByteArray("<B/>\n"));
}

TEST(XmlWriterTest, StyleWordsAndLineBreaks)
{
    const QString styled = QString("A") + QChar(27) + QChar(2) + "x\ny";
    EXPECT_EQ(Written([&](QIODevice& s) { WriteXmlWideText(s, "Text", styled); }),
              QByteArray("<Text>A<Style>2</Style>\nx<br/>\ny</Text>\n"));
    // A style word above 127 is written as the signed byte it is.
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlEscaped(s, QByteArray("\x1b\xff")); }),
              QByteArray("<Style>-1</Style>\n"));
    // An ESC at the end has no style word after it: nothing is read past the text.
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlEscaped(s, QByteArray("ab\x1b")); }), QByteArray("ab"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlWideText(s, "T", QString::fromUtf16(u"Ω")); }),
              QByteArray("<T>\xCE\xA9</T>\n"));
}

TEST(XmlWriterTest, DoublesUseTheGeneralFormat)
{
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlDouble(s, "V", 12.5); }), QByteArray("<V>12.5</V>\n"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlDouble(s, "V", 123456.0); }),
              QByteArray("<V>1.2346E5</V>\n"));
    EXPECT_EQ(Written([](QIODevice& s) { WriteXmlDouble(s, "V", 0.1 * 3); }), QByteArray("<V>0.3</V>\n"));
}
