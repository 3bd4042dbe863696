// Files staged beside their targets and put in place all or none, on real
// folders.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <map>

#include "installer/StagedFiles.h"

namespace {

// Every file and folder below `root` with its contents ("/" for a folder).
std::map<QString, QByteArray> Contents(const QString& root)
{
    std::map<QString, QByteArray> contents;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        contents[QDir(root).relativeFilePath(path)] =
            it.fileInfo().isDir() ? QByteArray("/")
                                  : (file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
    }
    return contents;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(bytes);
}

class StagedFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Write(In("a"), "old a");
        Write(In("c"), "old c");
    }
    QString In(const QString& name) const { return dir.filePath(name); }

    // Stages new contents for "a", "sub/b" (whose folder is made) and "c".
    void Stage(StagedFiles& staged)
    {
        for (const char* name : {"a", "sub/b", "c"}) {
            const QString temporary = staged.Add(In(name), name);
            ASSERT_FALSE(temporary.isEmpty()) << name;
            EXPECT_EQ(QFileInfo(temporary).path(), QFileInfo(In(name)).path()) << name;
            ASSERT_TRUE(staged.Write(temporary, QByteArray("new ") + name));
        }
        ASSERT_TRUE(staged.Sync());
    }

    QTemporaryDir dir;
};

TEST_F(StagedFilesTest, EveryFileIsPutInPlaceAndNothingElseStays)
{
    StagedFiles staged;
    Stage(staged);
    // Until then the targets keep what they had.
    const auto staging = Contents(dir.path());
    EXPECT_EQ(staging.at("a"), "old a");
    EXPECT_EQ(staging.count("sub/b"), 0u);

    ASSERT_TRUE(staged.Apply());
    EXPECT_EQ(Contents(dir.path()),
              (std::map<QString, QByteArray>{
                  {"a", "new a"}, {"c", "new c"}, {"sub", "/"}, {"sub/b", "new sub/b"}}));
}

TEST_F(StagedFilesTest, OneFileThatCannotBePutInPlaceBringsEverythingBack)
{
    StagedFiles staged;
    Stage(staged);
    // The last target turns into a folder of someone else's meanwhile.
    ASSERT_TRUE(QFile::remove(In("c")));
    ASSERT_TRUE(QDir().mkpath(In("c")));
    Write(In("c/theirs"), "theirs");
    const auto before = Contents(dir.path());
    EXPECT_EQ(before.count("sub"), 1u); // the folder made for "sub/b"

    EXPECT_FALSE(staged.Apply());
    EXPECT_EQ(staged.FailedName(), "c");
    EXPECT_EQ(staged.ErrorString(), qt_error_string(ENOTDIR));
    // The old "a" is back, the new "sub/b" gone with its folder, no temporaries.
    EXPECT_EQ(Contents(dir.path()),
              (std::map<QString, QByteArray>{{"a", "old a"}, {"c", "/"}, {"c/theirs", "theirs"}}));
}

TEST_F(StagedFilesTest, DiscardedOrForgottenStagesLeaveNothingAndAFolderIsNoTarget)
{
    {
        StagedFiles staged;
        Stage(staged);
    } // forgotten: the destructor discards
    EXPECT_EQ(Contents(dir.path()),
              (std::map<QString, QByteArray>{{"a", "old a"}, {"c", "old c"}}));

    ASSERT_TRUE(QDir().mkpath(In("folder")));
    StagedFiles staged;
    EXPECT_TRUE(staged.Add(In("folder"), "folder").isEmpty());
    EXPECT_EQ(staged.FailedName(), "folder");
    EXPECT_EQ(staged.ErrorString(), qt_error_string(EISDIR));
    ASSERT_FALSE(staged.Add(In("deep/er/d"), "d").isEmpty());
    staged.Discard();
    EXPECT_EQ(Contents(dir.path()),
              (std::map<QString, QByteArray>{{"a", "old a"}, {"c", "old c"}, {"folder", "/"}}));
}

} // namespace
