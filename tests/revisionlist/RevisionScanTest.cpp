// The folder scan over a tree of saved documents written by the test: the
// exact records, rescans, touched files, Stop, the erase setting, damage.

#include "common/FilledFormFiles.h"
#include "common/RecordBytes.h"
#include "common/ScopedGuards.h"
#include "revisionlist/QuillfenRevisionTableThread.h"
#include "revisionlist/RevisionFilledValues.h"
#include "revisionlist/RevisionTableModel.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/stat.h>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

enum Kind { Name = 2, Id = 3, Description = 4, NextRevision = 5, Note1 = 6, Location = 11 };
const QDateTime FileTime(QDate(2024, 3, 5), QTime(14, 30, 17, 640));

// One line per record: page, block, and the standard fields joined by '|'.
QStringList Records(const RevisionList& list)
{
    QStringList lines;
    for (const RevisionTableRow* row : list.ShownRows()) {
        QStringList fields;
        for (int k = 0; k < row->GetFieldCount(); ++k)
            fields << row->GetField(k);
        lines << QString("%1/%2 %3").arg(row->GetPage()).arg(row->GetGroup()).arg(fields.join(u'|'));
    }
    return lines;
}

class RevisionScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = dir.path();
        model.List().baseFolder = root;
        ASSERT_TRUE(QDir(root).mkpath("sub/deeper"));
        // Page 1: an ID block with a Location-only block and a note block
        // inside, and a block without an ID; page 2: one ID block.
        Write("a.qfs", Tag::Form,
              {{{}, {{{{Id, "1"}, {Name, "Alpha"}}, {{{{Location, "Hall"}}, {}}, {{{Note1, "from inside"}}, {}}}},
                     {{{Name, "no id"}}, {}}}},
               {{}, {{{{Id, "2"}, {NextRevision, "1/2/2025"}}, {}}}}});
        Write("sub/B.QFS", Tag::Form, {{{}, {{{{Id, "3"}, {Description, "Beta"}, {Location, "Yard"}}, {}}}}});
        Write("sub/deeper/c.qfs", Tag::Form, {{{{Id, "4"}, {Name, "Gamma"}}, {}}});
        // Documents that are not forms, and forms that hold nothing to read.
        Write("label.qfs", Tag::Bar, {{{{Id, "9"}, {Name, "label"}}, {}}});
        Write("template.qfs", Tag::Temp, {{{{Id, "9"}, {Name, "template"}}, {}}});
        Write("list.qfs", Tag::Idx, {{{{Id, "9"}, {Name, "list"}}, {}}});
        {
            FileWriter writer(Path("plain.qfs"), Tag::Form);
            ASSERT_TRUE(writer.Commit());
        }
        const QByteArray whole = FilledValuesSection({{{{Id, "8"}, {Name, "cut"}}, {}}});
        ASSERT_TRUE(WriteFormFile(Path("truncated.qfs"), Tag::Form, whole.left(whole.size() - 2), FileTime));
        QFile other(Path("notes.txt"));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        // A pipe named like a form would block a reader that opened it.
        ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe.qfs")).constData(), 0600), 0);
        ASSERT_TRUE(QFile::link(Path("pipe.qfs"), Path("pipelink.qfs")));
    }

    QString Path(const QString& name) const { return root + "/" + name; }
    void Write(const QString& name, int32_t type, const std::vector<FilledBlock>& pages,
               const QDateTime& time = FileTime)
    {
        ASSERT_TRUE(WriteFormFile(Path(name), type, FilledValuesSection(pages), time));
    }

    void Scan(bool erase = false)
    {
        QEventLoop loop;
        ASSERT_TRUE(model.StartScan(erase, [&](const RevisionScanResult& r) {
            result = r;
            loop.quit();
        }));
        EXPECT_TRUE(model.IsScanning());
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_FALSE(model.IsScanning());
    }

    QTemporaryDir dir;
    QString root;
    RevisionTableModel model;
    RevisionScanResult result;
};

} // namespace

TEST_F(RevisionScanTest, FormsBecomeRecordsAndAnUnchangedRescanAddsNothing)
{
    Scan();
    const QString t = "3/5/2024 14:30:17";
    const QStringList expected = {
        // Sorted by Name, equal names in reading order (deepest folder first,
        // inner blocks before outer ones); blocks are numbered from the
        // section (0) on, each page being one.
        QString("1/2 |3|Beta||%1|%2||||||Yard").arg(Path("sub/B.QFS"), t),
        QString("2/7 |2||1/2/2025|%1|%2||||||").arg(Path("a.qfs"), t),
        QString("1/2 Alpha|1|||%1|%2|from inside|||||").arg(Path("a.qfs"), t),
        QString("1/1 Gamma|4|||%1|%2||||||").arg(Path("sub/deeper/c.qfs"), t),
    };
    EXPECT_EQ(Records(model.List()), expected);
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(model.rowCount(), 5);

    // Read: the three forms with records; the form without a section gives
    // nothing, the label sheet, template and list are no forms, and the
    // truncated form is damaged.
    EXPECT_EQ(result.filesRead, 3);
    EXPECT_EQ(result.filesDamaged, 1);
    EXPECT_EQ(result.filesSkipped, 0);

    model.SetModified(false);
    Scan();
    EXPECT_EQ(Records(model.List()), expected);
    EXPECT_EQ(result.filesRead, 0);
    EXPECT_EQ(result.filesSkipped, 3);
    EXPECT_EQ(result.filesDamaged, 1);

    // Whatever was shown before, a rescan shows every record sorted again:
    // the two records without a name swapped, then a filter.
    std::vector<RevisionTableRow*> shown = model.List().ShownRows();
    std::swap(shown[0], shown[1]);
    model.List().SetShownRows(shown);
    Scan();
    EXPECT_EQ(Records(model.List()), expected);
    model.FilterByText(0, "Alpha", false);
    ASSERT_EQ(model.rowCount(), 2);
    Scan();
    EXPECT_EQ(Records(model.List()), expected);
}

TEST_F(RevisionScanTest, ARescanAfterEditsInTheListSortsAgainAndRereadsTouchedFiles)
{
    Scan();
    const auto names = [this] {
        QStringList list;
        for (const RevisionTableRow* row : model.List().ShownRows())
            list << row->GetField(RevisionTableRow::Name) + "/" + row->GetField(RevisionTableRow::Id);
        return list;
    };
    ASSERT_EQ(names(), QStringList({"/3", "/2", "Alpha/1", "Gamma/4"}));

    // The sorted column edited in place: same records, same order shown, but
    // no longer in order.
    ASSERT_TRUE(model.setData(model.index(3, 0), "Aardvark"));
    Scan();
    EXPECT_EQ(result.filesRead, 0);
    EXPECT_EQ(names(), QStringList({"/3", "/2", "Aardvark/4", "Alpha/1"}));
    // Equal texts keep the order the records are stored in.
    ASSERT_TRUE(model.setData(model.index(2, 0), ""));
    Scan();
    EXPECT_EQ(names(), QStringList({"/4", "/3", "/2", "Alpha/1"}));

    // One record of a.qfs gets another Modified text, the only record of
    // sub/B.QFS is deleted: touched files are still read again, and a file
    // with no records left is read as new.
    const auto& visible = model.List().VisibleColumns();
    const int modifiedColumn = static_cast<int>(
        std::find_if(visible.begin(), visible.end(),
                     [](const RevisionTableColumn* c) { return c->GetNumber() == RevisionTableRow::Modified; })
        - visible.begin());
    ASSERT_TRUE(model.setData(model.index(3, modifiedColumn), "1/1/2020"));
    const auto find = [this](const QString& id) {
        const auto& shown = model.List().ShownRows();
        return static_cast<int>(std::find_if(shown.begin(), shown.end(),
                                             [&id](const RevisionTableRow* r) {
                                                 return r->GetField(RevisionTableRow::Id) == id;
                                             })
                                - shown.begin());
    };
    model.RemoveRows({find("3")});
    ASSERT_EQ(model.List().Rows().size(), 3u);
    Scan();
    EXPECT_EQ(result.filesRead, 1);
    EXPECT_EQ(result.filesSkipped, 2);
    EXPECT_EQ(names(), QStringList({"/4", "/2", "/3", "Alpha/1"}));

    const QDateTime later = FileTime.addSecs(5);
    Write("a.qfs", Tag::Form, {{{}, {{{{Id, "1"}, {Name, "Alpha 2"}}, {}}}}}, later);
    Write("sub/deeper/c.qfs", Tag::Form, {{{{Id, "4"}, {Name, "Gamma"}}, {}}}, later);
    Scan();
    EXPECT_EQ(result.filesRead, 2);
    EXPECT_EQ(result.filesSkipped, 1);
    EXPECT_EQ(names(), QStringList({"/2", "/3", "Alpha 2/1", "Gamma/4"}));
    EXPECT_EQ(model.List().ShownRows()[2]->GetField(RevisionTableRow::Modified), "3/5/2024 14:30:22");
}

TEST_F(RevisionScanTest, AFolderReachedTwiceThroughLinksIsWalkedOnceWhereMetFirst)
{
    // links/a/x is links/z under another name, met first in walk order
    // though links/z is nearer the base; links/z/back leads back to the base.
    ASSERT_TRUE(QDir(root).mkpath("links/a"));
    ASSERT_TRUE(QDir(root).mkpath("links/z/inner"));
    ASSERT_TRUE(QFile::link(Path("links/z"), Path("links/a/x")));
    ASSERT_TRUE(QFile::link(Path("links"), Path("links/z/back")));
    Write("links/z/inner/i.qfs", Tag::Form, {{{{Id, "1"}}, {}}});
    Write("links/z/z.qfs", Tag::Form, {{{{Id, "2"}}, {}}});
    model.List().baseFolder = Path("links");
    Scan();
    EXPECT_EQ(result.filesRead, 2);
    QStringList files;
    for (const auto& row : model.List().Rows())
        files << row->GetField(RevisionTableRow::FileName);
    EXPECT_EQ(files, QStringList({Path("links/a/x/inner/i.qfs"), Path("links/a/x/z.qfs")}));
}

TEST_F(RevisionScanTest, ATouchedFileUpdatesOnlyItsRecordsAndEraseEmptiesOnlyStandardFields)
{
    Scan();
    model.List().AddColumn(std::make_unique<RevisionTableColumn>("Extra", 12, 0, 50));
    model.ColumnsChanged();
    for (const auto& row : model.List().Rows())
        row->SetField(12, "user " + row->GetField(RevisionTableRow::Id));

    // The Location is blanked and the Description changed.
    const QDateTime later = FileTime.addSecs(61);
    Write("sub/B.QFS", Tag::Form, {{{}, {{{{Id, "3"}, {Description, "Beta 2"}}, {}}}}}, later);
    Scan(false);
    QStringList records = Records(model.List());
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[0], QString("1/2 |3|Beta 2||%1|3/5/2024 14:31:18||||||Yard|user 3").arg(Path("sub/B.QFS")));
    EXPECT_EQ(records[2], QString("1/2 Alpha|1|||%1|3/5/2024 14:30:17|from inside||||||user 1").arg(Path("a.qfs")));

    Write("sub/B.QFS", Tag::Form, {{{}, {{{{Id, "3"}, {Description, "Beta 2"}}, {}}}}}, later.addSecs(1));
    Scan(true);
    records = Records(model.List());
    EXPECT_EQ(records[0], QString("1/2 |3|Beta 2||%1|3/5/2024 14:31:19|||||||user 3").arg(Path("sub/B.QFS")));
    EXPECT_EQ(records.size(), 4);
}

TEST_F(RevisionScanTest, StopKeepsWhatWasReadAndSubfoldersCanBeLeftOut)
{
    RevisionList list;
    QStringList statuses;
    RevisionScanResult stopped;
    {
        auto* thread = new QuillfenRevisionTableThread(list, root, true, false);
        // On the worker, before each file: stop after the first one.
        QObject::connect(thread, &QuillfenRevisionTableThread::StatusChanged, thread,
                         [&statuses, thread](const QString& text) {
                             statuses << text;
                             thread->Terminate();
                         }, Qt::DirectConnection);
        QEventLoop loop;
        thread->Start([&](RevisionScanResult& result) {
            stopped = result;
            ApplyScanResult(list, result);
            loop.quit();
        });
        loop.exec();
    }
    EXPECT_EQ(statuses, QStringList({Path("sub/deeper/c.qfs")}));
    EXPECT_TRUE(stopped.stopped);
    EXPECT_EQ(Records(list).size(), 1);

    model.List().scanSubfolders = false;
    Scan();
    const QStringList records = Records(model.List());
    ASSERT_EQ(records.size(), 2);
    EXPECT_TRUE(records[1].startsWith("1/2 Alpha|1|"));
}

TEST_F(RevisionScanTest, ModifiedTextsAreLocalTimesInSummerAndWinterAndStillMatchOnRescan)
{
    // Central European time, an hour ahead of UTC in winter and two in summer.
    const ScopedEnv zone("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    ASSERT_TRUE(QDir(root).mkpath("zones"));
    model.List().baseFolder = Path("zones");
    const FilledBlock record{{{Id, "1"}}, {}};
    // Each just before UTC midnight: the local date is the next day.
    Write("zones/summer.qfs", Tag::Form, {record}, QDateTime(QDate(2024, 7, 1), QTime(23, 30, 5, 900), Qt::UTC));
    Write("zones/winter.qfs", Tag::Form, {record}, QDateTime(QDate(2024, 1, 31), QTime(23, 0), Qt::UTC));
    // The form's section is the last one: it runs to the end of the file.
    {
        FileWriter writer(Path("zones/last.qfs"), Tag::Form);
        writer.BeginSection(Tag::Revd);
        writer.GetStream().write(FilledValuesSection({{{{Id, "2"}}, {}}}));
        ASSERT_TRUE(writer.Commit());
    }
    QFile last(Path("zones/last.qfs"));
    ASSERT_TRUE(last.open(QIODevice::ReadWrite));
    ASSERT_TRUE(last.setFileTime(QDateTime(QDate(2024, 3, 31), QTime(1, 0), Qt::UTC),
                                 QFileDevice::FileModificationTime));
    last.close();

    Scan();
    const QStringList records = Records(model.List());
    ASSERT_EQ(records.size(), 3);
    // Names are empty: reading order. The clocks went forward at 2:00 on
    // 3/31; midnight shows no time.
    EXPECT_EQ(records[0], QString("1/1 |2|||%1|3/31/2024 3:00:00||||||").arg(Path("zones/last.qfs")));
    EXPECT_EQ(records[1], QString("1/1 |1|||%1|7/2/2024 1:30:05||||||").arg(Path("zones/summer.qfs")));
    EXPECT_EQ(records[2], QString("1/1 |1|||%1|2/1/2024||||||").arg(Path("zones/winter.qfs")));

    Scan();
    EXPECT_EQ(result.filesSkipped, 3);
    EXPECT_EQ(result.filesRead, 0);
    EXPECT_EQ(Records(model.List()), records);
}

TEST_F(RevisionScanTest, TwoNamesDifferingInLetterCaseAreOneFile)
{
    ASSERT_TRUE(QDir(root).mkpath("twice"));
    model.List().baseFolder = Path("twice");
    Write("twice/X.qfs", Tag::Form, {{{{Id, "1"}}, {}}});
    Write("twice/x.qfs", Tag::Form, {{{{Id, "2"}}, {}}});
    Write("twice/\u010Cas.qfs", Tag::Form, {{{{Id, "3"}}, {}}});
    Write("twice/\u010Das.qfs", Tag::Form, {{{{Id, "4"}}, {}}});
    Scan();
    // Whichever comes first is read; the other, of the same time, counts as
    // that file unchanged.
    EXPECT_EQ(result.filesRead, 2);
    EXPECT_EQ(result.filesSkipped, 2);
    EXPECT_EQ(model.List().Rows().size(), 2u);
    Scan();
    EXPECT_EQ(result.filesRead, 0);
    EXPECT_EQ(result.filesSkipped, 4);
}

TEST_F(RevisionScanTest, FilesWithoutRecordsAreNotOpenedAgainUntilTheyChange)
{
    Scan();
    ASSERT_EQ(model.List().Rows().size(), 4u);
    // The label sheet and the form without filled values become forms with
    // records, with their times put back: nothing tells them changed.
    const QDateTime plainTime = QFileInfo(Path("plain.qfs")).lastModified();
    Write("label.qfs", Tag::Form, {{{{Id, "9"}, {Name, "label"}}, {}}});
    Write("plain.qfs", Tag::Form, {{{{Id, "10"}, {Name, "plain"}}, {}}}, plainTime);
    Scan();
    EXPECT_EQ(model.List().Rows().size(), 4u);
    // A new time: read again, so also a document turned into a form.
    Write("label.qfs", Tag::Form, {{{{Id, "9"}, {Name, "label"}}, {}}}, FileTime.addSecs(1));
    Scan();
    EXPECT_EQ(result.filesRead, 1);
    EXPECT_EQ(model.List().Rows().size(), 5u);
    // A form turned into a template is opened again as long as it keeps
    // changing, and gives nothing.
    Write("label.qfs", Tag::Temp, {{{{Id, "9"}, {Name, "label"}}, {}}}, FileTime.addSecs(2));
    Scan();
    EXPECT_EQ(result.filesRead, 0);
    EXPECT_EQ(result.filesSkipped, 3);
}

TEST(RevisionFilledValuesTest, DamagedSectionsGiveNothing)
{
    const QByteArray good = FilledValuesSection({{{}, {{{{Id, "1"}, {Name, "A"}}, {}}}}});
    std::vector<RevisionTableRow> records;
    ASSERT_TRUE(ReadFilledValues(good, "f", "", records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].GetField(RevisionTableRow::Modified), "");
    for (qsizetype n = 0; n < good.size(); ++n) {
        records.clear();
        EXPECT_FALSE(ReadFilledValues(good.left(n), "f", "", records)) << n;
        EXPECT_TRUE(records.empty());
    }
    // An unknown chunk after a complete record still spoils the whole file.
    QByteArray unknown = good;
    unknown.insert(unknown.size() - 8, Le32(FourCC("xxxx")));
    EXPECT_FALSE(ReadFilledValues(unknown, "f", "", records));
    // A text longer than the bytes left.
    EXPECT_FALSE(ReadFilledValues(Le32(FourCC("text")) + Le32(Id) + Le32(1000) + "12", "f", "", records));

    // Nesting: as deep as a form can hold is read, one more is damage.
    const auto nested = [](int depth) {
        QByteArray bytes = Le32(FourCC("page"));
        for (int i = 1; i < depth; ++i)
            bytes += Le32(FourCC("grp "));
        bytes += Le32(FourCC("text")) + Le32(Id) + Le32(1) + "7";
        for (int i = 0; i <= depth; ++i)
            bytes += Le32(FourCC("egrp"));
        return bytes;
    };
    EXPECT_TRUE(ReadFilledValues(nested(MaxFilledValuesDepth()), "f", "", records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].GetGroup(), MaxFilledValuesDepth());
    EXPECT_FALSE(ReadFilledValues(nested(MaxFilledValuesDepth() + 1), "f", "", records));
}
