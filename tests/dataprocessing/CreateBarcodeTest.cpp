#include "dataprocessing/widgets/CreateBarcode.h"
#include "dataprocessing/widgets/QuillfenTransfer.h"

#include "common/FakeDialogs.h"
#include "common/RecordBytes.h"
#include "common/ScopedLanguage.h"
#include "dataprocessing/LabelTemplate.h"
#include "dataprocessing/RecordLookup.h"
#include "dataprocessing/TransferDocument.h"
#include "documents/BarcodeObject.h"
#include "documents/LabelObject.h"
#include "documents/TextObject.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"
#include "revisionlist/RevisionTableRow.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class ListedRecords : public RecordLookup
{
public:
    QStringList ids;
    QStringList ListRowIds() const override { return ids; }
    const RevisionTableRow* FindRowById(const QString&) const override { return nullptr; }
};

QStringList Entries(const std::vector<LabelNumber>& entries)
{
    QStringList texts;
    for (const LabelNumber& entry : entries)
        texts << entry.Text;
    return texts;
}

void Type(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
    emit edit->editingFinished();
}

// What a test of the wizard works with besides the wizard.
struct Session
{
    std::vector<LabelNumber>& Entries() { return window->Document().LabelNumbers(); }

    FakeDialogs dialogs;
    QTemporaryDir dir;
    ListedRecords records;
    TForm3* window = nullptr;
};

// The wizard as the data window shows it for a new label sheet.
struct WizardOnDocument
{
    WizardOnDocument()
    {
        wizard.State().SetGlobalTexts(doc.Form().GetGlobalTexts());
        wizard.State().SetPageSize(doc.Form().GetWidth(), doc.Form().GetHeight());
        wizard.State().Numbers().SetEntries(&doc.LabelNumbers());
        auto barcode = MakeDefaultLabelTemplate();
        barcode->SetRect(0, 0, 100, 50);
        wizard.State().SetTemplate(*barcode);
        wizard.SetRecordLookup(&records);
        wizard.show();
    }

    FakeDialogs dialogs;
    QTemporaryDir dir;
    TransferDocument doc;
    ListedRecords records;
    TForm9 wizard;
};

} // namespace

// The user's part while the data window shows the wizard for a new sheet.
void LayOutSheet(TForm9& wizard, Session& w)
{
    // Shown with Automatic: the counts of the initial layout on A4; the new
    // sheet's barcode fitted into the preview.
    EXPECT_EQ(wizard.Edit7->text(), "9");
    EXPECT_EQ(wizard.Edit8->text(), "26");
    EXPECT_FALSE(wizard.Edit7->isEnabled());
    EXPECT_EQ(wizard.State().GetTemplate().GetRect(), (TRect{0, 0, 188, 188}));

    // A bad item stops the list there and is selected for the user.
    Type(wizard.Edit9, "1,x,2");
    QTest::mouseClick(wizard.Button3, Qt::LeftButton);
    EXPECT_EQ(Entries(w.Entries()), QStringList({"00000001"}));
    EXPECT_EQ(wizard.Edit9->selectedText(), "x");
    EXPECT_EQ(wizard.Edit9->selectionStart(), 2);
    Type(wizard.Edit9, "3, 20-8,2");
    QTest::mouseClick(wizard.Button3, Qt::LeftButton);
    w.records.ids = {"R-7"};
    QTest::mouseClick(wizard.Button4, Qt::LeftButton);
    EXPECT_EQ(Entries(w.Entries()), QStringList({"00000001", "00000002", "00000003", "R-7"}));

    // The Delete key takes the selected entries out of the list.
    wizard.ListBox1->selectionModel()->select(wizard.State().Numbers().index(1), QItemSelectionModel::Select);
    wizard.ListBox1->selectionModel()->select(wizard.State().Numbers().index(3), QItemSelectionModel::Select);
    QTest::keyClick(wizard.ListBox1, Qt::Key_Delete);
    EXPECT_EQ(Entries(w.Entries()), QStringList({"00000001", "00000003"}));

    // Lengths are clamped, and junk falls back to the default without new counts.
    Type(wizard.Edit1, "250");
    EXPECT_EQ(wizard.Edit1->text(), "200");
    EXPECT_EQ(wizard.Edit7->text(), "0"); // (2100 - 100) div (2000 + 10)
    const int beeps = w.dialogs.beeps;
    Type(wizard.Edit1, "wide");
    EXPECT_EQ(wizard.Edit1->text(), "10");
    EXPECT_EQ(w.dialogs.beeps, beeps + 1);
    EXPECT_EQ(wizard.Edit7->text(), "0");
    Type(wizard.Edit1, "25");
    EXPECT_EQ(wizard.Edit7->text(), "7");
    Type(wizard.Edit6, "-1");
    EXPECT_EQ(wizard.Edit6->text(), "0");
    EXPECT_EQ(wizard.Edit8->text(), "28"); // (2975 - 100) div 100

    // A sheet of no columns is refused; without Automatic the typed counts hold.
    Type(wizard.Edit1, "250");
    QTest::mouseClick(wizard.Button1, Qt::LeftButton);
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_EQ(wizard.Edit7->selectedText(), "0");
    wizard.CheckBox1->click();
    EXPECT_TRUE(wizard.Edit7->isEnabled());
    Type(wizard.Edit1, "25");
    EXPECT_EQ(wizard.Edit7->text(), "0");
    Type(wizard.Edit7, "2");
    Type(wizard.Edit8, "3");

    // A template document's first page becomes the label, fitted into the preview.
    QuillfenForm templateDoc({}, 500, 250);
    auto frame = std::make_unique<LabelObject>();
    frame->SetRect(0, 0, 500, 250);
    templateDoc.GetPage(0)->AddObject(std::move(frame));
    auto barcode = MakeDefaultLabelTemplate();
    barcode->SetRect(50, 50, 450, 200);
    templateDoc.GetPage(0)->AddObject(std::move(barcode));
    const QString templatePath = w.dir.filePath("label.qfs");
    {
        FileWriter writer(templatePath, Tag::Temp);
        ASSERT_TRUE(templateDoc.Save(writer));
    }
    w.dialogs.fileNames << QString() << templatePath;
    QTest::mouseClick(wizard.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(wizard.State().GetTemplate().GetRect(), (TRect{0, 0, 188, 188}));
    QTest::mouseClick(wizard.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(wizard.State().GetTemplate().GetRect(), (TRect{0, 47, 187, 140}));
    EXPECT_EQ(dynamic_cast<const GroupObject&>(wizard.State().GetTemplate()).GetCount(), 3);
    EXPECT_FALSE(wizard.PaintBox1->grab().isNull());

    Type(wizard.Edit9, "10-13");
    QTest::mouseClick(wizard.Button3, Qt::LeftButton);
    QTest::mouseClick(wizard.Button1, Qt::LeftButton);
}

TEST(CreateBarcodeTest, TheDataWindowBuildsSavesAndReopensTheSheetLaidOutInTheWizard)
{
    Session w;
    TForm9 wizard;
    wizard.SetRecordLookup(&w.records);
    TForm3 window;
    w.window = &window;
    window.SetHooks({.Records = &w.records,
                     .BarcodeWizard = [&](QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                                          std::unique_ptr<AbstractFormObject>& labelTemplate) {
                         return wizard.ShowForSheet(form, numbers, labelTemplate);
                     }});
    window.show();
    bool shown = false;
    QTimer::singleShot(0, &wizard, [&] {
        shown = true;
        LayOutSheet(wizard, w);
        if (wizard.isVisible())
            wizard.reject();
    });
    window.Barcode1->trigger();
    ASSERT_TRUE(shown);
    ASSERT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_TRUE(w.dialogs.messages.isEmpty());

    // Two across and three down, from the wizard's template.
    ASSERT_TRUE(window.Form().IsLabelSheet());
    EXPECT_TRUE(window.Form().IsModified());
    // The last label fills the page's last cell: an empty page follows.
    ASSERT_EQ(window.Form().GetPageCount(), 2);
    EXPECT_EQ(window.Form().GetPage(1)->GetCount(), 0);
    const PageObject* page = window.Form().GetPage(0);
    ASSERT_EQ(page->GetCount(), 6);
    EXPECT_EQ(page->GetObject(0)->GetRect(), (TRect{100, 100, 350, 200}));
    EXPECT_EQ(page->GetObject(5)->GetRect(), (TRect{360, 300, 610, 400}));
    const auto* label = dynamic_cast<const GroupObject*>(page->GetObject(5));
    ASSERT_TRUE(label);
    ASSERT_EQ(label->GetCount(), 3);
    EXPECT_EQ(label->GetObject(2)->GetText(), "00000013");

    // Shown again on the sheet and cancelled: the sheet stays as it is.
    QTimer::singleShot(0, &wizard, [&] {
        EXPECT_EQ(wizard.State().Numbers().Count(), 6);
        wizard.Button2->click();
    });
    window.Barcode1->trigger();
    EXPECT_EQ(window.Form().GetPage(0)->GetObject(5), label);

    const QString sheet = w.dir.filePath("sheet.qfs");
    ASSERT_TRUE(window.Document().SaveDocument(sheet, false).Ok());
    QFile saved(sheet);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(8), QByteArray("QFS4bar "));
    TransferDocument reopened;
    ASSERT_TRUE(reopened.LoadDocument(sheet).Ok());
    EXPECT_EQ(Entries(reopened.LabelNumbers()),
              QStringList({"00000001", "00000003", "00000010", "00000011", "00000012", "00000013"}));
}

TEST(CreateBarcodeTest, AnOlderLabelFileFillsTheWizardAndDamageIsReported)
{
    WizardOnDocument w;
    TForm9& wizard = w.wizard;
    FormatSettings comma;
    comma.DecimalSeparator = u',';
    SetFormatSettings(comma);
    QByteArray bytes = "QFL ";
    for (int32_t v : {2100, 2970, 3, 8, 105, 0, 50, 25, 205, 300, 180, 100})
        bytes += Le32(v);
    bytes += QByteArray(100, '\0') + Bytes({0, 0, 0, 0}) + Le32(42) + Le32(7);
    const QString good = WriteTestFile(w.dir.path(), "good.qfl", bytes);
    const QString bad = WriteTestFile(w.dir.path(), "bad.qfl", bytes.left(100));
    const QString foreign = WriteTestFile(w.dir.path(), "foreign.qfl", "GIF89a, not a label");

    w.dialogs.fileNames << good << bad << w.dir.filePath("missing.qfl") << foreign;
    QTest::mouseClick(wizard.Button100, Qt::LeftButton);
    UseCLocaleFormats();
    EXPECT_EQ(wizard.Edit1->text(), "20,5");
    EXPECT_EQ(wizard.Edit4->text(), "10,5");
    EXPECT_EQ(wizard.Edit5->text(), "2,5");
    EXPECT_FALSE(wizard.CheckBox1->isChecked());
    EXPECT_TRUE(wizard.Edit7->isEnabled());
    EXPECT_EQ(wizard.Edit7->text(), "3");
    EXPECT_EQ(wizard.Edit8->text(), "8");
    EXPECT_EQ(Entries(w.doc.LabelNumbers()), QStringList({"00000007", "00000042"}));
    EXPECT_EQ(wizard.State().GetPageHeight(), 2970);

    QTest::mouseClick(wizard.Button100, Qt::LeftButton);
    QTest::mouseClick(wizard.Button100, Qt::LeftButton);
    QTest::mouseClick(wizard.Button100, Qt::LeftButton);
    EXPECT_EQ(w.dialogs.Texts(),
              QStringList({MainLanguage.GetString(StringId::FileDamaged),
                           MainLanguage.GetString(StringId::FileNotOpened),
                           MainLanguage.GetString(StringId::NotQuillfenDocument)}));
    EXPECT_EQ(wizard.Edit1->text(), "20,5");
    EXPECT_EQ(w.doc.LabelNumbers().size(), 2u);

    // A list that would pass the cap is refused item by item, with a message.
    Type(wizard.Edit9, "0-9999");
    for (int i = 0; i < 9; ++i)
        QTest::mouseClick(wizard.Button3, Qt::LeftButton);
    Type(wizard.Edit9, "5,0-9999,6");
    QTest::mouseClick(wizard.Button3, Qt::LeftButton);
    EXPECT_EQ(w.doc.LabelNumbers().size(), 9u * 10000u + 3u);
    EXPECT_EQ(w.dialogs.Texts().size(), 4);
    EXPECT_EQ(w.dialogs.Texts().last(), MainLanguage.GetString(StringId::TooManyLabels));
    EXPECT_EQ(wizard.Edit9->selectedText(), "0-9999");
}

TEST(CreateBarcodeTest, RecordIdsWithCzechLettersFindTheirRecordsForTheLabels)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Czech)
        << "meant for a machine whose locale is not Czech";
    const ScopedLanguage czech(Language::Czech);
    WizardOnDocument w;
    const QString id = QString::fromUtf8("Rozvaděč 3");
    w.records.ids = {id};
    QTest::mouseClick(w.wizard.Button4, Qt::LeftButton);
    LabelNumberList& list = w.wizard.State().Numbers();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.data(list.index(0), Qt::DisplayRole).toString(), id);

    // The labels of the sheet take the name of the record their entry names.
    struct : RecordLookup
    {
        RevisionTableRow row;
        QStringList ListRowIds() const override { return {}; }
        const RevisionTableRow* FindRowById(const QString& text) const override
        {
            return text == row.GetField(RevisionTableRow::Id) ? &row : nullptr;
        }
    } records;
    records.row.SetField(RevisionTableRow::Id, id);
    records.row.SetField(RevisionTableRow::Name, QString::fromUtf8("Kotelna"));
    w.doc.Form().SetRecordFilling(LookupFilling(&records, [] { return false; }));
    GroupObject label(w.doc.Form().GetGlobalTexts());
    auto name = std::make_unique<TextObject>();
    name->SetType(QuillfenTransferForm::NameType);
    name->SetRect(0, 0, 100, 20);
    label.AddObject(std::move(name));
    std::vector<LabelNumber>& numbers = w.doc.LabelNumbers();
    w.doc.Form().BuildLabelSheet({50.0, 30.0, 10.0, 5.0, 2.0, 1.0, 1, 1}, numbers, label);
    const auto* built = dynamic_cast<const GroupObject*>(numbers[0].Label);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->GetObject(0)->GetText(), "Kotelna");
}

// Under an English program the code page lacks Czech letters: the IDs still
// reach the wizard's list and the labels' lookups unchanged.
TEST(CreateBarcodeTest, RecordIdsKeepTheirLettersInTheWizardAndOnTheLabelsOfAnEnglishProgram)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Czech)
        << "meant for a machine whose locale is not Czech";
    const ScopedLanguage english(Language::English);
    struct : RecordLookup
    {
        std::vector<RevisionTableRow> rows;
        QStringList ListRowIds() const override
        {
            QStringList ids;
            for (const RevisionTableRow& row : rows)
                ids << row.GetField(RevisionTableRow::Id);
            return ids;
        }
        const RevisionTableRow* FindRowById(const QString& id) const override
        {
            for (const RevisionTableRow& row : rows)
                if (row.GetField(RevisionTableRow::Id) == id)
                    return &row;
            return nullptr;
        }
    } records;
    const QString board = QString::fromUtf8("Rozvaděč 3");
    const QString socket = QString::fromUtf8("Zásuvka Č-12");
    for (const auto& [id, name] : {std::pair{socket, QStringLiteral("Hall")},
                                   std::pair{board, QStringLiteral("Boiler room")}}) {
        RevisionTableRow row;
        row.SetField(RevisionTableRow::Id, id);
        row.SetField(RevisionTableRow::Name, name);
        records.rows.push_back(row);
    }

    FakeDialogs dialogs;
    TForm9 wizard;
    wizard.SetRecordLookup(&records);
    TForm3 window;
    window.SetHooks(
        {.Records = &records,
         .BarcodeWizard = [&](QuillfenTransferForm& form, std::vector<LabelNumber>& numbers,
                              std::unique_ptr<AbstractFormObject>& labelTemplate) {
             return wizard.ShowForSheet(form, numbers, labelTemplate);
         }});
    window.show();
    QStringList listed;
    QTimer::singleShot(0, &wizard, [&] {
        QTest::mouseClick(wizard.Button4, Qt::LeftButton);
        const LabelNumberList& list = wizard.State().Numbers();
        for (int i = 0; i < list.rowCount(); ++i)
            listed << list.data(list.index(i), Qt::DisplayRole).toString();
        // A label of a name over a barcode.
        GroupObject label(window.Form().GetGlobalTexts());
        auto name = std::make_unique<TextObject>();
        name->SetType(QuillfenTransferForm::NameType);
        name->SetRect(0, 0, 200, 40);
        label.AddObject(std::move(name));
        auto barcode = MakeDefaultLabelTemplate();
        barcode->SetRect(0, 50, 200, 100);
        label.AddObject(std::move(barcode));
        wizard.State().SetTemplate(label);
        QTest::mouseClick(wizard.Button1, Qt::LeftButton);
    });
    window.Barcode1->trigger();
    ASSERT_EQ(wizard.result(), QDialog::Accepted);

    EXPECT_EQ(listed, (QStringList{board, socket}));
    EXPECT_EQ(Entries(window.Document().LabelNumbers()), (QStringList{board, socket}));
    const PageObject* page = window.Form().GetPage(0);
    ASSERT_EQ(page->GetCount(), 2);
    const QString names[] = {QStringLiteral("Boiler room"), QStringLiteral("Hall")};
    const QString digits[] = {QStringLiteral("30"), QStringLiteral("12")};
    for (int i = 0; i < 2; ++i) {
        const auto* built = dynamic_cast<const GroupObject*>(page->GetObject(i));
        ASSERT_NE(built, nullptr);
        EXPECT_EQ(built->GetObject(0)->GetText(), names[i]) << i;
        // A barcode keeps the digits of the ID.
        EXPECT_EQ(built->GetObject(1)->GetText(), digits[i]) << i;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}
