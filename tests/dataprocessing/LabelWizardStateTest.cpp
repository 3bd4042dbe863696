#include "dataprocessing/LabelWizardState.h"

#include "common/RecordBytes.h"
#include "dataprocessing/LabelTemplate.h"
#include "dataprocessing/OldLabelFile.h"
#include "documents/BarcodeObject.h"
#include "documents/LabelObject.h"
#include "documents/QuillfenForm.h"
#include "platform/NumberText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList Texts(const LabelNumberList& list)
{
    QStringList texts;
    for (int i = 0; i < list.Count(); ++i)
        texts << list.GetText(i);
    return texts;
}

// The header of an older label file, in file order.
struct OldHeader
{
    int32_t pageWidth = 2100, pageHeight = 2970, across = 3, down = 8;
    int32_t topMargin = 105, verticalSpace = 0, leftMargin = 50, horizontalSpace = 25;
    int32_t labelWidth = 500, labelHeight = 300, barcodeWidth = 400, barcodeHeight = 200;
    QByteArray description;
    uint8_t textPosition = 1;
};

QByteArray OldLabelBytes(const OldHeader& h, const std::vector<int32_t>& numbers)
{
    QByteArray bytes = "QFL ";
    for (int32_t v : {h.pageWidth, h.pageHeight, h.across, h.down, h.topMargin, h.verticalSpace, h.leftMargin,
                      h.horizontalSpace, h.labelWidth, h.labelHeight, h.barcodeWidth, h.barcodeHeight})
        bytes += Le32(v);
    bytes += h.description.leftJustified(100, '\0', true);
    bytes += Bytes({1, h.textPosition, 0, 0});
    for (int32_t n : numbers)
        bytes += Le32(n);
    return bytes;
}

TRect RectOf(const AbstractFormObject* object)
{
    return object ? object->GetRect() : TRect{-1, -1, -1, -1};
}

} // namespace

TEST(LabelNumberListTest, ItemsAndRangesAreListedSortedAsEightDigitNumbers)
{
    LabelNumberList list;
    EXPECT_EQ(AddNumberList(list, "8-20,25,30-33,45").Result, NumberListResult::Added);
    ASSERT_EQ(list.Count(), 19);
    EXPECT_EQ(list.GetText(0), "00000008");
    EXPECT_EQ(list.GetText(12), "00000020");
    EXPECT_EQ(list.GetText(13), "00000025");
    EXPECT_EQ(list.GetText(17), "00000033");
    EXPECT_EQ(list.GetText(18), "00000045");

    // Blanks inside items, duplicates kept, reversed ranges empty but valid,
    // more than eight digits listed whole.
    list.Clear();
    EXPECT_EQ(AddNumberList(list, " 1 - 3 ,2, 20-8,123456789").Result, NumberListResult::Added);
    EXPECT_EQ(Texts(list), QStringList({"00000001", "00000002", "00000002", "00000003", "123456789"}));

    // The widest range and one ending at the largest number neither wrap nor hang.
    list.Clear();
    EXPECT_EQ(AddNumberList(list, "0-10000").Result, NumberListResult::Added);
    EXPECT_EQ(list.Count(), 10001);
    list.Clear();
    EXPECT_EQ(AddNumberList(list, "2147473647-2147483647,2147483647-0").Result, NumberListResult::Added);
    ASSERT_EQ(list.Count(), 10001);
    EXPECT_EQ(list.GetText(10000), "2147483647");
}

TEST(LabelNumberListTest, TheFirstBadItemStopsTheListAndIsReported)
{
    struct Case
    {
        QString text;
        int start, length;
        QStringList listed;
    };
    const Case cases[] = {
        {"1,x,2", 2, 1, {"00000001"}},
        {"5-", 0, 2, {}},
        {"-5", 0, 2, {}},
        {"4, 1-2-3", 2, 6, {"00000004"}},
        {"a1", 0, 2, {}},
        {"3,", 2, 0, {"00000003"}},
        {"", 0, 0, {}},
        {"0-10001", 0, 7, {}},
        {"7,2147483648", 2, 10, {"00000007"}},
        {"99999999999999999999999", 0, 23, {}},
        {"1-99999999999999999999", 0, 22, {}},
    };
    for (const Case& c : cases) {
        LabelNumberList list;
        const NumberListResult result = AddNumberList(list, c.text);
        EXPECT_EQ(result.Result, NumberListResult::BadItem) << c.text.toStdString();
        EXPECT_EQ(result.Start, c.start) << c.text.toStdString();
        EXPECT_EQ(result.Length, c.length) << c.text.toStdString();
        EXPECT_EQ(Texts(list), c.listed) << c.text.toStdString();
    }
}

TEST(LabelLayoutTest, AutomaticCountsFollowThePageAndTheLengths)
{
    LabelWizardState state;
    ASSERT_TRUE(state.UpdateCounts());
    EXPECT_EQ(state.Layout().Across, 9);
    EXPECT_EQ(state.Layout().Down, 26);

    LabelSheetLayout& layout = state.Layout();
    layout = {63.5, 38.1, 4.7, 15.15, 2.5, 0, 1, 1};
    state.SetPageSize(2159, 2794);
    ASSERT_TRUE(state.UpdateCounts());
    EXPECT_EQ(layout.Across, 3); // (2159 - 47) div (635 + 25)
    EXPECT_EQ(layout.Down, 6);   // (2794 - 151) div 381
    state.SetPageSize(2100, 2975);
    layout = {200, 100, 0, 0, 0, 0, 1, 1};
    ASSERT_TRUE(state.UpdateCounts());
    EXPECT_EQ(layout.Across, 1);
    EXPECT_EQ(layout.Down, 2);
    // A margin past the page counts below zero rather than wrapping.
    layout.LeftMargin = 500;
    ASSERT_TRUE(state.UpdateCounts());
    EXPECT_EQ(layout.Across, -1);

    // Nothing to divide by: the counts stay; without Automatic nothing is computed.
    layout = {0, 0, 0, 0, 0, 0, 3, 6};
    EXPECT_FALSE(state.UpdateCounts());
    EXPECT_EQ(layout.Across, 3);
    layout = {20, 10, 10, 10, -20, 1, 3, 6};
    EXPECT_FALSE(state.UpdateCounts());
    layout = {20, 10, 10, 10, 1, 1, 3, 6};
    state.SetAutomatic(false);
    EXPECT_FALSE(state.UpdateCounts());
    EXPECT_EQ(layout.Down, 6);
}

TEST(LabelLayoutTest, LeavingALayoutEditClampsOrFallsBack)
{
    struct Case
    {
        LayoutValue which;
        QString typed;
        bool isNumber;
        double value;
        QString shown;
    };
    const Case cases[] = {
        {LayoutValue::Width, "250", true, 200, "200"},   {LayoutValue::Width, "5", true, 10, "10"},
        {LayoutValue::Width, "abc", false, 10, "10"},    {LayoutValue::Width, "20.5", true, 20.5, "20.5"},
        {LayoutValue::Height, "0.5", true, 5, "5"},      {LayoutValue::Height, "150", true, 100, "100"},
        {LayoutValue::Height, "", false, 5, "5"},        {LayoutValue::LeftMargin, "-3", true, 0, "0"},
        {LayoutValue::VerticalSpace, "1e999", false, 0, "0"}, {LayoutValue::TopMargin, "9999", true, 9999, "9999"},
    };
    for (const Case& c : cases) {
        const CheckedLayoutText checked = CheckLayoutText(c.which, c.typed);
        EXPECT_EQ(checked.IsNumber, c.isNumber) << c.typed.toStdString();
        EXPECT_EQ(checked.Value, c.value) << c.typed.toStdString();
        EXPECT_EQ(checked.Text, c.shown) << c.typed.toStdString();
    }
    EXPECT_EQ(MillimetresToTenths(20.59), 205);
    EXPECT_EQ(MillimetresToTenths(-0.59), -5);
    EXPECT_EQ(MillimetresToTenths(1e12), INT32_MAX);
}

TEST(LabelLayoutTest, TheTemplateIsFittedIntoThePreviewCentredAlongItsShorterSide)
{
    EXPECT_EQ(FitIntoPreview({0, 0, 100, 50}, 188, 188), (TRect{0, 47, 188, 141}));
    EXPECT_EQ(FitIntoPreview({30, 30, 80, 130}, 188, 188), (TRect{47, 0, 141, 188}));
    EXPECT_EQ(FitIntoPreview({0, 0, 300, 100}, 200, 100), (TRect{0, 16, 200, 82}));
    EXPECT_EQ(FitIntoPreview({0, 0, 0, 50}, 188, 188), std::nullopt);
    EXPECT_EQ(FitIntoPreview({0, 0, 100, 50}, 0, 188), std::nullopt);

    // A preview of no size leaves the template whole.
    LabelWizardState state;
    auto barcode = MakeDefaultLabelTemplate();
    barcode->SetRect(50, 50, 450, 250);
    state.SetTemplate(*barcode);
    EXPECT_EQ(state.GetTemplate().GetRect(), (TRect{50, 50, 450, 250}));
}

TEST(OldLabelFileTest, AFileGivesThePageLayoutCountsTemplateAndNumbers)
{
    QTemporaryDir dir;
    OldHeader header;
    const QString plain = WriteTestFile(dir.path(), "plain.qfl", OldLabelBytes(header, {7, 123456789, 3}));
    header.description = "Skrin R1";
    header.textPosition = 0;
    const QString described = WriteTestFile(dir.path(), "described.qfl", OldLabelBytes(header, {}));

    LabelWizardState state;
    state.Numbers().AddAll({"old entry"});
    ASSERT_EQ(state.ImportOldLabelFile(plain), LabelWizardState::FileImport::Imported);
    EXPECT_EQ(state.GetPageWidth(), 2100);
    EXPECT_EQ(state.GetPageHeight(), 2970);
    EXPECT_EQ(MillimetresToTenths(state.Layout().TopMargin), 105);
    EXPECT_EQ(state.Layout().LeftMargin, 5);
    EXPECT_EQ(Texts(state.Numbers()), QStringList({"00000003", "00000007", "123456789"}));

    const auto* group = dynamic_cast<const GroupObject*>(&state.GetTemplate());
    ASSERT_TRUE(group);
    ASSERT_EQ(group->GetCount(), 2);
    EXPECT_TRUE(dynamic_cast<const LabelObject*>(group->GetObject(0)));
    EXPECT_EQ(RectOf(group->GetObject(0)), (TRect{0, 0, 500, 300}));
    const auto* barcode = dynamic_cast<const BarcodeObject*>(group->GetObject(1));
    ASSERT_TRUE(barcode);
    EXPECT_EQ(barcode->GetRect(), (TRect{50, 50, 450, 250}));
    EXPECT_EQ(barcode->GetSize(), 40);
    EXPECT_EQ(barcode->GetAlign(), 5);
    EXPECT_EQ(barcode->GetType(), 1);
    EXPECT_EQ(barcode->GetText(), "12345678");
    EXPECT_EQ(barcode->GetLeftBorder() + barcode->GetTopBorder() + barcode->GetRightBorder()
                  + barcode->GetBottomBorder(),
              0);

    // With a description: its global text field above the bars. A complete
    // header without numbers empties the list.
    ASSERT_EQ(state.ImportOldLabelFile(described), LabelWizardState::FileImport::Imported);
    EXPECT_EQ(state.Numbers().Count(), 0);
    group = dynamic_cast<const GroupObject*>(&state.GetTemplate());
    ASSERT_EQ(group->GetCount(), 3);
    const auto* text = dynamic_cast<const GlobalTextObject*>(group->GetObject(1));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->GetRect(), (TRect{50, 50, 450, 90}));
    EXPECT_EQ(text->GetText(), "popis");
    EXPECT_EQ(text->GetStorage(), state.GetGlobalTexts());
    EXPECT_EQ(state.GetGlobalTexts()->GetText(text->GetGID()), "popis");
    EXPECT_EQ(text->GetSize(), 40);
    EXPECT_EQ(text->GetAlign(), 1);
    EXPECT_EQ(RectOf(group->GetObject(2)), (TRect{50, 90, 450, 250}));
    EXPECT_EQ(dynamic_cast<const TextObject*>(group->GetObject(2))->GetAlign(), 4);
}

TEST(OldLabelFileTest, OnlyTheFirstTenThousandWholeNumbersAreRead)
{
    std::vector<int32_t> numbers(12000);
    for (int i = 0; i < 12000; ++i)
        numbers[i] = i;
    ReadBuffer many(OldLabelBytes(OldHeader{}, numbers));
    OldLabelFile file;
    ASSERT_EQ(ReadOldLabelFile(many, file), OldLabelRead::Read);
    ASSERT_EQ(file.Numbers.size(), 10000u);
    EXPECT_EQ(file.Numbers.back(), 9999);

    ReadBuffer partial(OldLabelBytes(OldHeader{}, {42}) + Bytes({1, 2, 3}));
    ASSERT_EQ(ReadOldLabelFile(partial, file), OldLabelRead::Read);
    EXPECT_EQ(file.Numbers, std::vector<int32_t>({42}));
}

TEST(OldLabelFileTest, DamagedFilesAreRefusedAndTheWizardKeepsItsState)
{
    QTemporaryDir dir;
    const QByteArray whole = OldLabelBytes(OldHeader{}, {1});
    auto with = [](auto change) {
        OldHeader header;
        change(header);
        return OldLabelBytes(header, {1});
    };
    using Import = LabelWizardState::FileImport;
    const std::pair<QByteArray, Import> files[] = {
        {QByteArray(), Import::NotQuillfen},
        {"QFL", Import::NotQuillfen},
        {QByteArray("\x8f\x02zq\xff\x00\x13 random bytes", 20), Import::NotQuillfen},
        {whole.left(OldLabelFile::HeaderSize - 1), Import::Damaged},
        {with([](OldHeader& h) { h.labelWidth = 0; }), Import::Damaged},
        {with([](OldHeader& h) { h.barcodeHeight = -5; }), Import::Damaged},
        {with([](OldHeader& h) { h.across = 0; }), Import::Damaged},
        {with([](OldHeader& h) { h.pageHeight = INT32_MIN; }), Import::Damaged},
        {"QFT " + whole.mid(4), Import::Unchanged},
    };

    LabelWizardState state;
    state.Numbers().AddAll({"kept"});
    const AbstractFormObject* before = &state.GetTemplate();
    int index = 0;
    for (const auto& [bytes, expected] : files) {
        const QString path = WriteTestFile(dir.path(), QString("f%1.qfl").arg(index++), bytes);
        EXPECT_EQ(state.ImportOldLabelFile(path), expected) << index;
    }
    EXPECT_EQ(state.ImportOldLabelFile(dir.filePath("missing.qfl")), Import::CannotOpen);
    EXPECT_EQ(&state.GetTemplate(), before);
    EXPECT_EQ(Texts(state.Numbers()), QStringList({"kept"}));
    EXPECT_EQ(state.GetPageWidth(), LabelWizardState::DefaultPageWidth);
    EXPECT_TRUE(state.IsAutomatic());
    EXPECT_EQ(state.Layout().Width, 20);
}

TEST(LabelTemplateTest, TheFirstPageOfATemplateDocumentBecomesTheTemplate)
{
    QTemporaryDir dir;
    QuillfenForm doc({}, 800, 400);
    auto text = std::make_unique<TextObject>();
    text->SetRect(10, 10, 100, 50);
    doc.GetPage(0)->AddObject(std::move(text));
    auto shared = std::make_unique<GlobalTextObject>(doc.GetGlobalTexts());
    shared->SetGID(5);
    shared->SetText("shared");
    shared->SetRect(10, 60, 100, 90);
    doc.GetPage(0)->AddObject(std::move(shared));
    doc.AddPage()->AddObject(MakeDefaultLabelTemplate());
    const QString path = dir.filePath("label.qfs");
    {
        FileWriter writer(path, Tag::Temp);
        ASSERT_TRUE(doc.Save(writer));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    // Cut inside the first page's text field.
    const QString cut = WriteTestFile(dir.path(), "cut.qfs", saved.left(saved.indexOf("text") + 10));
    const QString data = dir.filePath("data.qfs");
    {
        FileWriter writer(data, Tag::Data);
        ASSERT_TRUE(writer.Commit());
    }

    LabelWizardState state;
    state.GetGlobalTexts()->SetText(1, "old");
    const AbstractFormObject* before = &state.GetTemplate();
    EXPECT_EQ(state.ImportTemplateDocument(data), LabelWizardState::FileImport::Unchanged);
    EXPECT_EQ(state.ImportTemplateDocument(cut), LabelWizardState::FileImport::Damaged);
    EXPECT_EQ(state.ImportTemplateDocument(dir.filePath("none.qfs")), LabelWizardState::FileImport::CannotOpen);
    EXPECT_EQ(&state.GetTemplate(), before);
    EXPECT_EQ(state.GetGlobalTexts()->GetText(1), "old");

    ASSERT_EQ(state.ImportTemplateDocument(path), LabelWizardState::FileImport::Imported);
    const auto& group = dynamic_cast<const GroupObject&>(state.GetTemplate());
    ASSERT_EQ(group.GetCount(), 3);
    EXPECT_TRUE(dynamic_cast<const LabelObject*>(group.GetObject(0)));
    EXPECT_EQ(RectOf(group.GetObject(0)), (TRect{0, 0, 800, 400}));
    EXPECT_EQ(RectOf(group.GetObject(1)), (TRect{10, 10, 100, 50}));
    const auto* global = dynamic_cast<const GlobalTextObject*>(group.GetObject(2));
    ASSERT_TRUE(global);
    EXPECT_EQ(global->GetStorage(), state.GetGlobalTexts());
    EXPECT_EQ(global->GetText(), "shared");
    EXPECT_TRUE(state.GetGlobalTexts()->GetText(1).isNull());
}
