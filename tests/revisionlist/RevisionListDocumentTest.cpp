// The revision list document, its exports and the text import, byte for
// byte, and what a damaged document or a failed save leaves behind.

#include "common/FakeDialogs.h"
#include "common/RecordBytes.h"
#include "language/Language.h"
#include "revisionlist/AnsiText.h"
#include "revisionlist/RevisionListDocument.h"
#include "revisionlist/RevisionTableModel.h"
#include "storage/File.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QByteArray Text(const char* s) { return Le32(static_cast<int32_t>(qstrlen(s))) + s; }

// Two columns (ID visible, a hidden user column placed first), two records.
RevisionList SmallList()
{
    RevisionList list = RevisionList::Empty();
    list.baseFolder = "C:\\Forms";
    list.scanSubfolders = true;
    auto* id = list.AddColumn(std::make_unique<RevisionTableColumn>(1, RevisionTableColumn::Number, 80));
    auto* user = list.AddColumn(std::make_unique<RevisionTableColumn>("Room", 3, RevisionTableColumn::Date, 55));
    list.SetColumnOrder({user, id}, {id});
    auto row = std::make_unique<RevisionTableRow>();
    row->SetField(RevisionTableRow::Id, "7");
    row->SetField(RevisionTableRow::NextRevision, "a<b");
    row->SetPage(2);
    row->SetGroup(5);
    list.AddRow(std::move(row));
    list.AddRow(std::make_unique<RevisionTableRow>());
    return list;
}

class ScopedCodePage
{
public:
    explicit ScopedCodePage(const QByteArray& name) { SetAnsiCodePage(name); }
    ~ScopedCodePage() { SetAnsiCodePage({}); }
};

} // namespace

TEST(RevisionListDocumentTest, SectionAndExportsByteForByte)
{
    const ScopedCodePage codePage("windows-1250");
    const RevisionList list = SmallList();
    // Columns 1 and 3 are stored with hidden ones for the field numbers 0
    // and 2 that no column has, so each record keeps four cells in place.
    const QByteArray column = Text("ID") + Le32(1) + Bytes({1}) + Le32(80) + Le32(1) + Bytes({1});
    const QByteArray user = Text("Room") + Le32(3) + Bytes({2}) + Le32(55) + Le32(0) + Bytes({0});
    const auto gap = [](int n) { return Text("") + Le32(n) + Bytes({0}) + Le32(100) + Le32(-1) + Bytes({0}); };
    const QByteArray expected = Bytes({1}) + Text("C:\\Forms") + Bytes({1}) + Le32(4) + column + user + gap(0)
                                + gap(2) + Le32(2) + Le32(5) + Le32(2) + Text("") + Text("7") + Text("")
                                + Text("a<b") + Le32(0) + Le32(0) + Text("") + Text("") + Text("") + Text("");
    const int saved = MainLanguage.GetLanguage();
    MainLanguage.SetLanguage(Language::English);
    EXPECT_EQ(Written([&](QIODevice& out) { WriteList(out, list); }), expected);

    EXPECT_EQ(Written([&](QIODevice& out) { WriteListXml(out, list); }),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<Revision>\n<Folder>C:\\Forms</Folder>\n<SubDirs/>\n"
              "<ColCount>4</ColCount>\n<RowCount>2</RowCount>\n"
              "<Column><Caption>ID</Caption>\n<Number>1</Number>\n<Type>1</Type>\n<Width>80</Width>\n"
              "<Order>1</Order>\n<Visible/>\n</Column>\n"
              "<Column><Caption>Room</Caption>\n<Number>3</Number>\n<Type>2</Type>\n<Width>55</Width>\n"
              "<Order>0</Order>\n</Column>\n"
              "<Column><Caption></Caption>\n<Number>0</Number>\n<Type>0</Type>\n<Width>100</Width>\n"
              "<Order>-1</Order>\n</Column>\n"
              "<Column><Caption></Caption>\n<Number>2</Number>\n<Type>0</Type>\n<Width>100</Width>\n"
              "<Order>-1</Order>\n</Column>\n"
              "<Row><Group>5</Group>\n<Page>2</Page>\n<Cell></Cell>\n<Cell>7</Cell>\n<Cell></Cell>\n"
              "<Cell>a&lt;b</Cell>\n</Row>\n"
              "<Row><Group>0</Group>\n<Page>0</Page>\n<Cell></Cell>\n<Cell></Cell>\n<Cell></Cell>\n"
              "<Cell></Cell>\n</Row>\n</Revision>\n");

    // The XML folder is UTF-8 like the rest; the text export is 8-bit.
    RevisionList czech = SmallList();
    czech.baseFolder = QString::fromUtf8("Složka");
    czech.GetRow(0)->SetField(RevisionTableRow::Name, QString::fromUtf8("Čáp"));
    EXPECT_TRUE(Written([&](QIODevice& out) { WriteListXml(out, czech); }).contains("<Folder>Slo\xc5\xbeka</Folder>"));
    EXPECT_EQ(Written([&](QIODevice& out) { WriteListText(out, czech); }),
              QByteArray("\xc8\xe1p\t7\t\ta<b\t\r\n\t\t\t\t\r\n"));
    MainLanguage.SetLanguage(saved);
}

TEST(RevisionListDocumentTest, SavedListOpensAsItWasAndDamageLeavesTheListAlone)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    const int saved = MainLanguage.GetLanguage();
    MainLanguage.SetLanguage(Language::English);

    RevisionTableModel model;
    RevisionList& list = model.List();
    list.baseFolder = "/forms";
    list.scanSubfolders = false;
    auto* extra = list.AddColumn(std::make_unique<RevisionTableColumn>("Extra", list.NextColumnNumber(), 1, 70));
    auto* later = list.AddColumn(std::make_unique<RevisionTableColumn>("Later", list.NextColumnNumber(), 0, 90));
    EXPECT_EQ(later->GetNumber(), 13);
    auto row = std::make_unique<RevisionTableRow>();
    row->SetField(RevisionTableRow::Name, "first");
    model.AddRow(std::move(row));
    list.GetRow(0)->SetField(12, "twelve");
    list.GetRow(0)->SetField(13, "thirteen");
    // Removing column 12 empties its field and leaves 13 where it is.
    list.RemoveColumn(extra);
    EXPECT_EQ(list.NextColumnNumber(), 14);
    std::vector<RevisionTableColumn*> order = list.OrderedColumns();
    std::vector<RevisionTableColumn*> visible = list.VisibleColumns();
    std::swap(order[0], order[12]);
    visible.erase(visible.begin() + 2); // Location hidden
    list.SetColumnOrder(order, visible);

    const QString path = dir.filePath("list.qfs");
    ASSERT_TRUE(model.SaveList(path));
    EXPECT_FALSE(model.IsModified());
    const QByteArray bytes = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    MainLanguage.SetLanguage(Language::Czech);
    RevisionTableModel reopened;
    ASSERT_TRUE(reopened.OpenList(path));
    const RevisionList& read = reopened.List();
    EXPECT_EQ(read.baseFolder, "/forms");
    EXPECT_FALSE(read.scanSubfolders);
    ASSERT_EQ(read.OrderedColumns().size(), 13u);
    EXPECT_EQ(read.OrderedColumns()[0]->GetCaption(), "Later");
    EXPECT_EQ(read.OrderedColumns()[12]->GetCaption(), "Name"); // saved in English, stays English
    EXPECT_EQ(read.OrderedColumns()[12]->GetWidth(), 120);
    EXPECT_EQ(read.VisibleColumns().size(), 12u);
    EXPECT_EQ(read.GetRow(0)->GetField(0), "first");
    EXPECT_EQ(read.GetRow(0)->GetField(12), "");
    EXPECT_EQ(read.GetRow(0)->GetField(13), "thirteen");
    EXPECT_EQ(reopened.FileName(), path);
    // Written again, the reopened list gives the same section.
    EXPECT_EQ(Written([&](QIODevice& out) { WriteList(out, read); }), bytes.mid(64));

    // Every cut of the document, and absurd counts, leave the list as it was.
    for (qsizetype n = 65; n < bytes.size(); n += 7) {
        const QString cut = dir.filePath("cut.qfs");
        QFile f(cut);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.left(n));
        f.close();
        EXPECT_FALSE(reopened.OpenList(cut)) << n;
    }
    EXPECT_EQ(reopened.List().GetRow(0)->GetField(13), "thirteen");
    EXPECT_EQ(reopened.FileName(), path);
    EXPECT_FALSE(dialogs.messages.isEmpty());
    EXPECT_FALSE(ReadList(Bytes({1}) + Text("") + Bytes({1}) + Le32(0x7fffffff)));
    EXPECT_FALSE(ReadList(Bytes({1}) + Text("") + Bytes({1}) + Le32(1) + Text("") + Le32(1 << 30) + Bytes({0})
                          + Le32(1) + Le32(0) + Bytes({1}) + Le32(0)));

    // A save that cannot be written says so and keeps the list modified.
    reopened.SetModified(true);
    const int before = dialogs.messages.size();
    EXPECT_FALSE(reopened.SaveList(dir.filePath("missing/list.qfs")));
    EXPECT_FALSE(reopened.ExportXml(dir.filePath("missing/list.xml")));
    EXPECT_TRUE(reopened.IsModified());
    EXPECT_EQ(reopened.FileName(), path);
    EXPECT_EQ(dialogs.messages.size(), before + 2);
    MainLanguage.SetLanguage(saved);
}

TEST(RevisionListDocumentTest, TextImportPlacesFieldsByPosition)
{
    const ScopedCodePage codePage("windows-1250");
    const RevisionRowList rows =
        ReadListText("n\ti\td\t1/1/2025\tn1\tn2\tn3\tn4\tn5\tloc\textra\tmore\r\n"
                     "short\r\n"
                     "\t\t\t\t\t\t\t\t\tonly location\n"
                     "\xc8\xe1p\n"
                     "last without line feed");
    ASSERT_EQ(rows.size(), 3u);
    QStringList first;
    for (int k = 0; k < 12; ++k)
        first << rows[0]->GetField(k);
    EXPECT_EQ(first, QStringList({"n", "i", "d", "1/1/2025", "", "", "n1", "n2", "n3", "n4", "n5", "loc"}));
    EXPECT_EQ(rows[1]->GetField(0), "short");
    EXPECT_EQ(rows[2]->GetField(0), QString::fromUtf8("Čáp"));
    EXPECT_EQ(ToAnsi(QString::fromUtf8("a\u65e5")), "a?");

    // An exported list read back: File name and Modified land in Note 1 and 2.
    RevisionList list;
    auto row = std::make_unique<RevisionTableRow>();
    row->SetField(RevisionTableRow::Name, "n");
    row->SetField(RevisionTableRow::FileName, "/f.qfs");
    row->SetField(RevisionTableRow::Modified, "1/2/2025");
    list.AddRow(std::move(row));
    const RevisionRowList back = ReadListText(Written([&](QIODevice& out) { WriteListText(out, list); }));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->GetField(RevisionTableRow::Note1), "/f.qfs");
    EXPECT_EQ(back[0]->GetField(RevisionTableRow::Note1 + 1), "1/2/2025");
    EXPECT_EQ(back[0]->GetField(RevisionTableRow::FileName), "");
}
