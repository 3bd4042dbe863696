// The folder listing against QDir, which the folder walk used before: the
// same entries in the same order, paths made the same way, and the times
// the files really have.

#include "platform/FolderListing.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

// What QDir lists, but for a link to a pipe: QDir takes that for a file
// and a folder at once, and opening it as a file would block.
QStringList Paths(const QFileInfoList& entries)
{
    QStringList paths;
    for (const QFileInfo& entry : entries)
        if (entry.fileName() != "pipelink.qfs")
            paths << entry.filePath();
    return paths;
}

QStringList Paths(const std::vector<FolderListing::File>& files)
{
    QStringList paths;
    for (const FolderListing::File& file : files)
        paths << file.path;
    return paths;
}

QStringList Paths(const std::vector<QString>& folders)
{
    return QStringList(folders.begin(), folders.end());
}

} // namespace

TEST(FolderListingTest, ListsWhatQDirListsInItsOrderWithTheFilesTimes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    const auto write = [&](const QString& name, qint64 seconds) {
        QFile file(root + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write("x");
        ASSERT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds),
                                     QFileDevice::FileModificationTime));
    };
    // Letter case, punctuation and letters beyond ASCII decide the order;
    // hidden files count; other extensions do not.
    const QStringList forms = {
        "b.qfs", "A.qfs", "_x.qfs", "a_b.QFS", ".hidden.qfs", "\u010C\u00e1ra.qfs", "zz.Qfs"};
    for (int i = 0; i < forms.size(); ++i)
        write(forms[i], 1700000000 + i * 3601);
    write("notes.txt", 1);
    write("x.qfs.bak", 1);
    for (const char* sub : {"sub", ".hiddendir", "Beta", "dir.qfs", "\u017Eluv"})
        ASSERT_TRUE(QDir(root).mkdir(sub));
    // Links count as what they lead to; broken links, pipes and links to
    // pipes not at all.
    ASSERT_TRUE(QFile::link(root + "/b.qfs", root + "/link.qfs"));
    ASSERT_TRUE(QFile::link(root + "/sub", root + "/linkdir"));
    ASSERT_TRUE(QFile::link(root + "/missing", root + "/broken.qfs"));
    ASSERT_TRUE(QFile::link(root + "/missing", root + "/brokendir"));
    ASSERT_EQ(mkfifo(QFile::encodeName(root + "/pipe.qfs").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(root + "/pipe.qfs", root + "/pipelink.qfs"));
    ASSERT_TRUE(QFile::link(root + "/sub", root + "/linkeddir.qfs"));

    for (const QString& base : {root, root + "/", root + "/sub/.."}) {
        SCOPED_TRACE(base.toStdString());
        const QDir qdir(base);
        const FolderListing listing = ListFolder(base, ".qfs", true);
        ASSERT_TRUE(listing.listed);
        EXPECT_EQ(Paths(listing.files),
                  Paths(qdir.entryInfoList({"*.qfs"}, QDir::Files | QDir::Hidden,
                                           QDir::Name | QDir::IgnoreCase)));
        EXPECT_EQ(Paths(listing.subfolders),
                  Paths(qdir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                           QDir::Name | QDir::IgnoreCase)));
        for (const FolderListing::File& file : listing.files)
            EXPECT_EQ(file.modified, QFileInfo(file.path).lastModified().toSecsSinceEpoch())
                << file.path.toStdString();
    }
    // Without subfolders: the same files, the eight forms and the link to
    // one of them.
    const FolderListing flat = ListFolder(root, ".qfs", false);
    EXPECT_EQ(Paths(flat.files),
              Paths(QDir(root).entryInfoList({"*.qfs"}, QDir::Files | QDir::Hidden,
                                             QDir::Name | QDir::IgnoreCase)));
    EXPECT_EQ(flat.files.size(), 8u);
    EXPECT_TRUE(flat.subfolders.empty());

    // A folder is known as the same however it is reached.
    const FolderListing sub = ListFolder(root + "/sub", ".qfs", true);
    const FolderListing linked = ListFolder(root + "/linkdir", ".qfs", true);
    ASSERT_TRUE(sub.listed && linked.listed);
    EXPECT_EQ(std::make_pair(sub.device, sub.inode), std::make_pair(linked.device, linked.inode));
    EXPECT_NE(std::make_pair(sub.device, sub.inode), std::make_pair(flat.device, flat.inode));

    EXPECT_FALSE(ListFolder(root + "/missing", ".qfs", true).listed);
    EXPECT_FALSE(ListFolder(root + "/b.qfs", ".qfs", true).listed);
}
