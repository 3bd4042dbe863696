#include "dataprocessing/QuillfenTransferForm.h"

#include "common/LegacyStreams.h"
#include "documents/BarcodeObject.h"
#include "documents/MeasureObject.h"
#include "documents/TextObject.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// Quantities of the quantity table used below.
constexpr int LineVoltage = 1;
constexpr int PeVoltage = 2;
constexpr int Number = QuillfenTransferForm::NumberQuantity;

std::unique_ptr<InstrumentItem> Item(double value, int quantity, bool over = false)
{
    return std::make_unique<InstrumentItem>(value, quantity, true, over);
}

std::unique_ptr<InstrumentBank> Bank(const char* name, std::initializer_list<std::pair<double, int>> items)
{
    auto bank = std::make_unique<InstrumentBank>(QByteArrayView(name));
    for (const auto& [value, quantity] : items)
        bank->AddItem(Item(value, quantity));
    return bank;
}

template <typename T>
T* Add(GroupObject& group, std::unique_ptr<T> object, int left, int top, int right, int bottom)
{
    object->SetRect(left, top, right, bottom);
    return static_cast<T*>(group.AddObject(std::move(object)));
}

MeasureObject* AddMeasure(GroupObject& group, int left, std::initializer_list<int> quantities = {})
{
    auto field = std::make_unique<MeasureObject>();
    for (int q : quantities)
        field->AddSymbol(q);
    return Add(group, std::move(field), left, 10, left + 90, 90);
}

TextObject* AddText(GroupObject& group, int type, const QString& text, int left = 0)
{
    auto field = std::make_unique<TextObject>();
    field->SetType(type);
    field->SetText(text);
    return Add(group, std::move(field), left, 200, left + 90, 290);
}

double ValueOf(const MeasureObject* field)
{
    return field->GetValue() ? field->GetValue()->GetValue() : -1;
}

// A form at zoom 250, where a canvas pixel is a model unit.
struct Form : QuillfenTransferForm
{
    Form() { GetZoom().SetZoom(QuillfenZoom::MaxZoom); }

    // Record lookup over a fixed table: ID -> Name.
    void UseRecords(std::map<QString, QString> names, bool autoFill)
    {
        SetRecordFilling({[autoFill] { return autoFill; },
                          [names](const QString& id) -> RecordFields {
                              const auto it = names.find(id);
                              if (it == names.end())
                                  return {};
                              const QString name = it->second;
                              return [name, id](int field) {
                                  return field == 0 ? name : field == 1 ? id : QString();
                              };
                          }});
    }
};

TEST(FillRules, TwoPassesSkipNumberItemsAndNeverOverwrite)
{
    Form form;
    auto* group = Add(*form.GetCurrentPage(), std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    MeasureObject* restricted = AddMeasure(*group, 0, {LineVoltage});
    MeasureObject* any = AddMeasure(*group, 100);
    MeasureObject* other = AddMeasure(*group, 200, {PeVoltage});
    AddMeasure(*group, 300)->SetValue(Item(99, LineVoltage).get());

    // A (accepted by the first field), N (number), B.
    const auto bank = Bank("7", {{230, LineVoltage}, {7, Number}, {5, PeVoltage}, {6, PeVoltage}});
    EXPECT_FALSE(form.FillGroup(*bank, *group));
    EXPECT_EQ(ValueOf(restricted), 230);
    EXPECT_EQ(ValueOf(other), 5);
    EXPECT_EQ(ValueOf(any), 6); // skipped N, 5 was taken in the first pass
    EXPECT_EQ(ValueOf(static_cast<MeasureObject*>(group->GetObject(3))), 99);
    EXPECT_TRUE(form.IsModified());

    // A number item alone is dropped by fields that take anything.
    any->SetValue(nullptr);
    EXPECT_FALSE(form.FillGroup(*Bank("8", {{8, Number}}), *group));
    EXPECT_EQ(any->GetValue(), nullptr);

    // None accepted: nothing changes, but the drop still marks the form.
    form.SetModified(false);
    form.DropData(Bank("9", {{1, 40}}).get(), 5, 5);
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(ValueOf(restricted), 230);

    // A single item dropped onto a filled field replaces its value.
    form.DropData(Item(231, LineVoltage).get(), 50, 50);
    EXPECT_EQ(ValueOf(restricted), 231);
}

TEST(FillRules, NextGroupNumberFieldAndRecordTexts)
{
    Form form;
    PageObject& page = *form.GetCurrentPage();
    auto* number = AddMeasure(page, 1000);
    number->SetType(MeasureObject::NumberField);
    number->SetValue(Item(1, Number).get());
    auto* first = Add(page, std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    AddMeasure(*first, 0, {LineVoltage})->SetValue(Item(1, LineVoltage).get());
    auto* second = Add(page, std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    MeasureObject* target = AddMeasure(*second, 400, {LineVoltage});
    TextObject* name = AddText(*second, QuillfenTransferForm::NameType, QString(), 400);

    form.UseRecords({{"42", "Main board"}}, false);
    const auto bank = Bank("42", {{42, Number}, {230, LineVoltage}});
    form.FillNextGroup(*bank);
    EXPECT_EQ(ValueOf(target), 230);
    EXPECT_EQ(ValueOf(number), 42); // no number placed in the group: the ID field takes it
    EXPECT_EQ(name->GetText(), QString()); // automatic filling is off

    form.UseRecords({{"42", "Main board"}}, true);
    target->SetValue(nullptr);
    form.FillNextGroup(*bank);
    EXPECT_EQ(name->GetText(), "Main board");

    // A number item dropped on a group fills the group from its record.
    name->SetText(QString());
    form.DropData(Item(42, Number).get(), 450, 50);
    EXPECT_EQ(name->GetText(), "Main board");

    form.RemoveDataFromGroupAt(450, 50);
    EXPECT_EQ(target->GetValue(), nullptr);
    form.RemoveDataFromPage();
    EXPECT_EQ(number->GetValue(), nullptr);
}

TEST(FilledValues, NestedGroupsAndEveryTextType)
{
    Form form;
    PageObject& page = *form.GetCurrentPage();
    for (int type = 0; type <= 11; ++type)
        AddText(page, type, type == 2 ? QStringLiteral("AB") : QStringLiteral("t%1").arg(type));
    AddText(page, 4, QString()); // empty: no record
    auto* outer = Add(page, std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    auto* inner = Add(*outer, std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    AddText(*inner, 3, QString::fromUtf8("č1"));
    form.AddPage();

    QTemporaryDir dir;
    FileWriter writer(dir.filePath("f.qfs"), Tag::Form);
    form.WriteFilledValues(writer);
    ASSERT_TRUE(writer.Commit());
    QFile file(dir.filePath("f.qfs"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.mid(8, 8), Le32(Tag::Revd) + Le32(64));

    QByteArray expected = "page";
    expected += "text" + Le32(2) + Le32(2) + "AB";
    for (int type = 3; type <= 11; ++type)
        expected += "text" + Le32(type) + Le32(type < 10 ? 2 : 3) + "t" + QByteArray::number(type);
    expected += "grp grp text" + Le32(3) + Le32(3) + "\xc4\x8d" "1" + "egrpegrpepag";
    expected += "pageepagend ";
    EXPECT_EQ(bytes.mid(64), expected);
}

TEST(FindAndZoom, PatternPagesAndSteps)
{
    EXPECT_TRUE(QuillfenTransferForm::MatchesIdPattern("1234", "12?4"));
    EXPECT_TRUE(QuillfenTransferForm::MatchesIdPattern("12x45", "12?4"));
    EXPECT_TRUE(QuillfenTransferForm::MatchesIdPattern("12X4", "12x?"));
    EXPECT_FALSE(QuillfenTransferForm::MatchesIdPattern("12", "12?4"));

    Form form;
    AddText(*form.GetCurrentPage(), 3, "1234");
    AddText(*form.AddPage(), 3, "5678");
    auto* group = Add(*form.AddPage(), std::make_unique<GroupObject>(form.GetGlobalTexts()), 0, 0, 0, 0);
    AddText(*group, 3, "12X45");
    form.SelectPage(0);
    EXPECT_TRUE(form.FindId("12?4")); // starts after the current page
    EXPECT_EQ(form.GetCurrentPageIndex(), 2);
    EXPECT_FALSE(form.FindId("1234")); // the last page searches the last page only
    EXPECT_EQ(form.GetCurrentPageIndex(), 2);

    EXPECT_EQ(ZoomSteps::ZoomIn(200), 282);
    EXPECT_EQ(ZoomSteps::ZoomOut(25), 17);
    EXPECT_EQ(ZoomSteps::ZoomOut(100), 70);
    EXPECT_EQ(ZoomSteps::FromText("abc"), 100);
    EXPECT_EQ(ZoomSteps::FromText("75 %"), 75);
    EXPECT_EQ(ZoomSteps::WholePage(620, 2975, 100), 50);
    EXPECT_EQ(ZoomSteps::WholePage(620, 0, 80), 80);
}

TEST(LabelSheet, LayoutNamesAndRemovedLabels)
{
    Form form;
    form.UseRecords({{"0002", "Drill"}}, false);
    GroupObject label(form.GetGlobalTexts());
    AddText(label, QuillfenTransferForm::NameType, QString());
    Add(label, std::make_unique<BarcodeObject>(), 0, 0, 100, 50);

    std::vector<LabelNumber> numbers;
    for (int i = 1; i <= 7; ++i)
        numbers.push_back({QByteArray("000") + QByteArray::number(i), nullptr});
    const LabelSheetLayout layout{50.0, 30.0, 10.0, 5.5, 2.0, 1.0, 2, 3};
    form.BuildLabelSheet(layout, numbers, label);
    EXPECT_TRUE(form.IsLabelSheet());
    ASSERT_EQ(form.GetPageCount(), 2);
    EXPECT_EQ(form.GetPage(0)->GetCount(), 6);
    EXPECT_EQ(form.GetPage(1)->GetCount(), 1);
    const TRect fourth = numbers[3].Label->GetRect();
    EXPECT_EQ(fourth.Left, 520 + 100);
    EXPECT_EQ(fourth.Top, 310 + 55);
    EXPECT_EQ(QuillfenTransferForm::FindLabelBarcode(numbers[1].Label)->GetText(), "0002");
    EXPECT_EQ(static_cast<GroupObject*>(numbers[1].Label)->GetObject(0)->GetText(), "Drill");

    // Rebuilding keeps the labels of the entries; a barcode edited on the
    // sheet gives the entry its text.
    AbstractFormObject* kept = numbers[6].Label;
    QuillfenTransferForm::FindLabelBarcode(kept)->SetText("99");
    QuillfenTransferForm::TakeBarcodeTexts(numbers);
    EXPECT_EQ(numbers[6].Text, "99");
    form.BuildLabelSheet(layout, numbers, label);
    EXPECT_EQ(numbers[6].Label, kept);

    // Deleting the second page frees its label: the entry forgets it.
    form.SelectPage(1);
    form.DeleteCurrentPage();
    form.ForgetRemovedLabels(numbers);
    EXPECT_EQ(numbers[6].Label, nullptr);
    EXPECT_NE(numbers[5].Label, nullptr);

    // A template without a barcode makes labels without a number.
    TextObject plain;
    plain.SetText("plain");
    std::vector<LabelNumber> more{{"1", nullptr}};
    form.BuildLabelSheet(layout, more, plain);
    EXPECT_EQ(more[0].Label->GetText(), "plain");
}

void AddSmallData(InstrumentData& data)
{
    auto bank = std::make_unique<InstrumentBank>(QByteArrayView("A<1>"));
    bank->AddItem(Item(230, LineVoltage));
    bank->AddItem(std::make_unique<InstrumentItem>(0.5, PeVoltage, false, false));
    bank->AddItem(Item(2000, LineVoltage, true));
    data.AddBank(std::move(bank));
}

TEST(Exports, HtmlListTableAndXmlBytes)
{
    const InstrumentData empty;
    EXPECT_EQ(QuillfenTransferForm::HtmlTable(empty).right(15), "</TABLE></BODY>");
    InstrumentData data;
    AddSmallData(data);

    QTemporaryDir dir;
    ASSERT_TRUE(QuillfenTransferForm::ExportHtmlList(dir.filePath("l.html"), data));
    ASSERT_TRUE(QuillfenTransferForm::ExportHtmlTable(dir.filePath("t.html"), data));
    auto bytes = [&dir](const char* name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray head = "<HTML>\r\r\n<HEAD>\r\r\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                            "charset=utf-8\">\r\n<TITLE>List</TITLE>\r\r\n</HEAD>\r\r\n<BODY>\r\r\n";
    EXPECT_EQ(bytes("l.html"),
              head + "<i><b><FONT COLOR=\"#000000\">Bank A&lt;1&gt;</b></i><br>\r\r\n<br>\r\r\n"
                     "<b><FONT COLOR=\"#000000\">U<SUB>LN</SUB>=230 V </b><br>\r\r\n"
                     "<FONT COLOR=\"#000000\">U<SUB>LPE</SUB>=0.5 V <br>\r\r\n"
                     "<b><FONT COLOR=\"#ff0000\"><I>U<SUB>LN</SUB>&gt;2000 V </I></FONT></b><br>\r\r\n"
                     "<HR align=left>\r\r\n</BODY>");
    EXPECT_EQ(bytes("t.html"),
              head + "<TABLE>\r\r\n<tr><td><i><b><FONT COLOR=\"#000000\">Bank A&lt;1&gt;</b></i></td>"
                     "<b><FONT COLOR=\"#000000\"><td>U<SUB>LN</SUB></td><td>230</td></b>"
                     "<FONT COLOR=\"#000000\"><td>U<SUB>LPE</SUB></td><td>0.5</td>"
                     "<b><FONT COLOR=\"#ff0000\"><I><td>U<SUB>LN</SUB></td><td>2000</td></I></FONT></b>"
                     "</tr></TABLE></BODY>");
    EXPECT_FALSE(QuillfenTransferForm::ExportHtmlList(dir.filePath("none/l.html"), data));

    Form form;
    ASSERT_TRUE(form.ExportXmlWithData(dir.filePath("x.xml"), data));
    QBuffer plain;
    plain.open(QIODevice::WriteOnly);
    form.ExportXml(plain);
    QBuffer dataXml;
    dataXml.open(QIODevice::WriteOnly);
    data.WriteXml(dataXml);
    QByteArray expected = plain.data();
    expected.insert(expected.size() - int(sizeof("</Quillfen>\n") - 1), dataXml.data());
    EXPECT_EQ(bytes("x.xml"), expected);
}

TEST(Exports, StyleSwitchesAndTrailingEscape)
{
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("R\x1b\x02PE\x1b\x01x\x1b")));
    const QByteArray list = QuillfenTransferForm::HtmlList(data);
    EXPECT_TRUE(list.contains("Bank R<SUB>PE</SUB>x</b>")) << list.constData();
}

// --- Older streams -------------------------------------------------------------

QByteArray TemplateBody(int pages)
{
    QByteArray body = "Template" + Le32(2100) + Le32(2975);
    for (int p = 0; p < pages; ++p) {
        OldObject measure;
        measure.kind = 3 + LineVoltage;
        OldObject text;
        text.kind = 2;
        text.left = 400;
        text.text = u"p" + std::u16string(1, char16_t(u'1' + p));
        body += "Page    " + measure.Record() + text.Record();
    }
    return body + "TemplEof";
}

QByteArray DataBody()
{
    return LegacyStream().Tag("Data    ").Head(5).Item("U=230 V", 3 + LineVoltage).Item("note", 1).Tag("DataEof ").Bytes();
}

QByteArray FormStream(const QByteArray& filled, int pages = 2)
{
    return Le32(Tag::QFF) + Le32(0) + TemplateBody(pages) + DataBody() + filled;
}

struct LegacyRead
{
    bool ok;
    Form form;
    InstrumentData data;
};

std::unique_ptr<LegacyRead> ReadForm(const QByteArray& bytes)
{
    auto read = std::make_unique<LegacyRead>();
    ReadBuffer in(bytes);
    read->ok = read->form.ImportLegacyForm(in, read->data);
    return read;
}

TEST(OlderStreams, FormPagesValuesAndTexts)
{
    const QByteArray filled = LegacyStream()
                                  .Tag("Forms   ")
                                  .Tag("ObjData ").Int(0).Int(1) // before any page: skipped
                                  .Tag("Page    ")
                                  .Tag("Page    ")
                                  .Tag("ObjData ").Int(0).Int(1) // the measured item
                                  .Tag("ObjData ").Int(1).Int(2) // the text item
                                  .Tag("ObjData ").Int(1).Int(3) // index = list length
                                  .Tag("ObjData ").Int(9).Int(1) // no such field
                                  .Tag("ObjText ").Int(1).Int(4).Raw(Utf16(u"hi"))
                                  .Tag("FormsEof")
                                  .Bytes();
    const auto read = ReadForm(FormStream(filled));
    ASSERT_TRUE(read->ok);
    ASSERT_EQ(read->form.GetPageCount(), 2);
    ASSERT_EQ(read->data.GetCount(), 1);
    const PageObject* second = read->form.GetPage(1);
    EXPECT_EQ(second->GetTypeCode(), ObjectCode::Page);
    EXPECT_EQ(read->form.GetPage(0)->GetObject(1)->GetText(), "p1");
    EXPECT_EQ(ValueOf(static_cast<MeasureObject*>(second->GetObject(0))), 230);
    EXPECT_EQ(second->GetObject(1)->GetText(), "hi");

    // The same text item goes to the first field that names it only.
    const auto twice = ReadForm(FormStream(LegacyStream()
                                               .Tag("Forms   ").Tag("Page    ").Tag("Page    ")
                                               .Tag("ObjData ").Int(1).Int(2)
                                               .Tag("ObjData ").Int(0).Int(2)
                                               .Tag("FormsEof").Bytes()));
    ASSERT_TRUE(twice->ok);
    EXPECT_EQ(twice->form.GetPage(1)->GetObject(1)->GetText(), "note");

    // Without a filled part: the data, and one empty page.
    const auto bare = ReadForm(FormStream("FormsEof"));
    ASSERT_TRUE(bare->ok);
    EXPECT_EQ(bare->form.GetPageCount(), 1);
    EXPECT_EQ(bare->form.GetPage(0)->GetCount(), 0);
}

TEST(OlderStreams, DamagedOnesAreRefused)
{
    const QByteArray good = LegacyStream().Tag("Forms   ").Tag("Page    ").Tag("FormsEof").Bytes();
    ASSERT_TRUE(ReadForm(FormStream(good))->ok);
    const QByteArray damaged[] = {
        LegacyStream()
            .Tag("Forms   ")
            .Tag("Page    ")
            .Tag("ObjData ")
            .Int(0)
            .Int(-1)
            .Tag("FormsEof")
            .Bytes(),
        LegacyStream()
            .Tag("Forms   ")
            .Tag("Page    ")
            .Tag("ObjText ")
            .Int(0)
            .Int(-4)
            .Tag("FormsEof")
            .Bytes(),
        LegacyStream()
            .Tag("Forms   ")
            .Tag("Page    ")
            .Tag("Page    ")
            .Tag("Page    ")
            .Tag("FormsEof")
            .Bytes(),
    };
    for (const QByteArray& filled : damaged)
        EXPECT_FALSE(ReadForm(FormStream(filled))->ok) << filled.toHex().constData();
    EXPECT_FALSE(ReadForm(FormStream(good).left(40))->ok);
    EXPECT_FALSE(ReadForm(Le32(Tag::QFT) + FormStream(good).mid(4))->ok);

    // Data streams: a damaged one leaves the set as it was; append adds after.
    InstrumentData data;
    AddSmallData(data);
    const QByteArray stream = Le32(Tag::QFD) + DataBody();
    ReadBuffer cut(stream.left(stream.size() - 3));
    EXPECT_FALSE(QuillfenTransferForm::ImportLegacyData(cut, data));
    EXPECT_EQ(data.GetCount(), 1);
    ReadBuffer whole(stream);
    EXPECT_TRUE(QuillfenTransferForm::AppendLegacyData(whole, data));
    ASSERT_EQ(data.GetCount(), 2);
    EXPECT_EQ(data.GetBank(1)->GetName(), "5");
    ReadBuffer again(stream);
    EXPECT_TRUE(QuillfenTransferForm::ImportLegacyData(again, data));
    EXPECT_EQ(data.GetCount(), 1);
}

TEST(OlderStreams, FilledPartCutShortKeepsWhatWasRead)
{
    // The stream's end is the end of the filled part, wherever it falls:
    // between records, in a record's numbers or in a text.
    const QByteArray read = LegacyStream()
                                .Tag("Forms   ")
                                .Tag("Page    ")
                                .Tag("ObjData ")
                                .Int(0)
                                .Int(1)
                                .Tag("Page    ")
                                .Tag("ObjText ")
                                .Int(1)
                                .Int(4)
                                .Raw(Utf16(u"hi"))
                                .Bytes();
    const QByteArray cuts[] = {
        read,
        read + LegacyStream().Tag("ObjData ").Int(0).Bytes(),
        read + LegacyStream().Tag("ObjText ").Int(1).Int(1000).Raw(Utf16(u"lost")).Bytes(),
        read + QByteArrayLiteral("Form"),
    };
    for (const QByteArray& filled : cuts) {
        const auto form = ReadForm(FormStream(filled));
        ASSERT_TRUE(form->ok) << filled.toHex().constData();
        ASSERT_EQ(form->form.GetPageCount(), 2);
        EXPECT_EQ(ValueOf(static_cast<MeasureObject*>(form->form.GetPage(0)->GetObject(0))), 230);
        EXPECT_EQ(form->form.GetPage(1)->GetObject(1)->GetText(), "hi")
            << filled.toHex().constData();
        EXPECT_EQ(form->data.GetCount(), 1);
    }
}

TEST(Demonstration, AccessCodeAddsFourBanks)
{
    DemonstrationKeys keys;
    InstrumentData data;
    for (QChar c : QStringLiteral("xkvzkvz"))
        EXPECT_FALSE(keys.Type(c));
    EXPECT_TRUE(keys.Type(u'q'));
    DemonstrationKeys::AddBanks(data);
    ASSERT_EQ(data.GetCount(), 4);
    EXPECT_EQ(data.GetBank(1)->GetItem(3)->GetNote(), "250V");
    EXPECT_EQ(data.GetBank(3)->GetName(), "12345679");
    EXPECT_EQ(data.GetBank(3)->GetItem(0)->GetValue(), -12345678.0);
    EXPECT_EQ(data.GetBank(3)->GetItem(2)->GetText(0, 0), data.GetBank(2)->GetItem(2)->GetText(0, 0));
}

} // namespace
