#include "documents/QuillfenForm.h"

#include "common/FieldRecords.h"
#include "documents/BarcodeObject.h"
#include "documents/ChoiceObject.h"
#include "documents/LabelObject.h"
#include "documents/LinkObject.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString Esc(QChar(27));

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Saves the document as a template and returns the file's bytes.
QByteArray SaveTemplate(QuillfenForm& doc, const QString& path)
{
    FileWriter writer(path, Tag::Temp);
    EXPECT_TRUE(doc.Save(writer));
    return FileBytes(path);
}

// A container of type "temp" whose only section "form" holds `section`.
QByteArray Container(const QByteArray& section)
{
    QByteArray header = Le32(Tag::QFS4) + Le32(Tag::Temp) + Le32(QuillfenForm::SectionTag) + Le32(64);
    header += QByteArray(64 - header.size(), '\0');
    return header + section;
}

// Section head: version, size, an empty global-text store.
QByteArray SectionHead(int32_t width = 2100, int32_t height = 2975)
{
    return Bytes({1}) + Le32(width) + Le32(height) + Bytes({1}) + Le32(0);
}

QByteArray EmptyPage()
{
    return Bytes({1}) + Le32(0);
}

template <typename T, typename... Args>
T* Put(GroupObject& group, TRect r, Args&&... args)
{
    auto object = std::make_unique<T>(std::forward<Args>(args)...);
    object->SetRect(r.Left, r.Top, r.Right, r.Bottom);
    return static_cast<T*>(group.AddObject(std::move(object)));
}

// A document with every kind of object the pages hold, over two pages.
void FillDocument(QuillfenForm& doc)
{
    GlobalTextStorage* texts = doc.GetGlobalTexts();
    texts->SetText(5, QStringLiteral("Customer <A&B>"));
    texts->SetText(999, QString::fromUtf16(u"\u010cesk\u00fd"));

    PageObject& first = *doc.GetPage(0);
    auto* text = Put<TextObject>(first, {100, 100, 900, 300});
    text->SetText("R" + Esc + QChar(2) + "PE" + Esc + QChar(1) + "\nline 2");
    text->SetAlign(0);
    text->SetFontName("Courier New");
    text->SetSize(50);
    text->SetType(3);
    text->SetForeColor(0x0000FF);
    text->SetBackColor(0xCCFFFF);
    text->SetLeftBorder(0);
    text->SetBottomBorder(5);

    auto* global = Put<GlobalTextObject>(first, {100, 400, 900, 500}, texts);
    global->SetGID(5);

    auto* measure = Put<MeasureObject>(first, {100, 600, 900, 700});
    measure->AddSymbol(4);
    measure->AddSymbol(9);
    measure->SetDecimalPosition(2);
    measure->SetFormat(3);
    const InstrumentItem item(0.25, 4, "L1", true, false);
    measure->SetValue(&item);
    MeasureLimit limit;
    limit.SetMaximum(1);
    limit.SetMaxType(2);
    limit.SetMaxColor(0x00FF00);
    measure->SetLimit(&limit);

    Put<LabelObject>(first, {1000, 1000, 1900, 1400})->SetBackColor(0xC0C0C0);

    auto* group = Put<GroupObject>(first, {}, texts);
    Put<TextObject>(*group, {1000, 100, 1500, 200})->SetText(QStringLiteral("in group"));
    auto* inner = Put<GroupObject>(*group, {}, texts);
    Put<GlobalTextObject>(*inner, {1000, 300, 1500, 400}, texts)->SetGID(999);

    PageObject& second = *doc.AddPage();
    auto* turned = Put<TextObject>(second, {200, 200, 400, 1200});
    turned->SetText(QStringLiteral("turned"));
    turned->SetAlign(12);
    Put<GlobalTextObject>(second, {500, 200, 1500, 300}, texts)->SetGID(5);
    auto* barcode = Put<BarcodeObject>(second, {500, 400, 1500, 700});
    barcode->SetText(QStringLiteral("12345678"));
    barcode->SetAlign(2);
    auto* choice = Put<ChoiceObject>(second, {500, 800, 900, 900});
    choice->SetText("OK;" + Esc + QChar(4) + "FAIL");
    choice->Activate();
    Put<LinkObject>(second, {1000, 800, 1500, 900})->SetText(QStringLiteral("/tmp/report.pdf;Report"));
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 0));
    TBitmap bitmap;
    bitmap.Assign(image);
    Put<PictureObject>(second, {500, 1000, 900, 1200})->SetGraphic(&bitmap);
}

// Every object of a group as type code and record bytes, through nested groups.
QList<QByteArray> Records(const GroupObject& group)
{
    QList<QByteArray> records;
    for (int i = 0; i < group.GetCount(); ++i) {
        const AbstractFormObject* object = group.GetObject(i);
        records.append(Le32(object->GetTypeCode()) + SavedRecord(*object));
        if (object->IsGroup())
            records += Records(*static_cast<const GroupObject*>(object));
    }
    return records;
}

class QuillfenFormFiles : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST(QuillfenForm, NewDocumentHasOneEmptyCurrentPageAndSizesThePanel)
{
    int32_t panelWidth = 0;
    int32_t panelHeight = 0;
    QuillfenForm doc([&](int32_t w, int32_t h) { panelWidth = w, panelHeight = h; }, 2100, 2975);
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 0);
    ASSERT_NE(doc.GetCurrentPage(), nullptr);
    EXPECT_EQ(doc.GetCurrentPage()->GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetZoom().GetZoom(), 100);
    EXPECT_EQ(panelWidth, 840);
    EXPECT_EQ(panelHeight, 1190);

    doc.SetSize(1000, 500);
    doc.GetZoom().SetZoom(250);
    doc.SelectPage(0);
    EXPECT_EQ(panelWidth, 1000);
    EXPECT_EQ(panelHeight, 500);
}

TEST(QuillfenForm, PageListOperationsClampAndKeepAPage)
{
    QuillfenForm doc(nullptr, 2100, 2975);
    doc.AddPage();
    PageObject* third = doc.AddPage();
    EXPECT_EQ(doc.GetCurrentPage(), third);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 2);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPage(3), nullptr);
    EXPECT_EQ(doc.GetPage(-1), nullptr);

    doc.SelectPage(7);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 2);
    doc.SelectPage(-1);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 0);

    // Deleting the last page selects the new last one.
    doc.SetModified(false);
    doc.SelectPage(2);
    doc.DeleteCurrentPage();
    EXPECT_EQ(doc.GetPageCount(), 2);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 1);
    EXPECT_TRUE(doc.IsModified());
    doc.DeleteCurrentPage();

    // The only page is emptied, never removed.
    doc.GetCurrentPage()->AddObject(std::make_unique<TextObject>());
    doc.DeleteCurrentPage();
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetCurrentPage()->GetCount(), 0);

    // Even after all pages went, deleting leaves a page behind.
    doc.DeletePages();
    EXPECT_EQ(doc.GetPageCount(), 0);
    EXPECT_EQ(doc.GetCurrentPage(), nullptr);
    EXPECT_FALSE(doc.IsModified());
    doc.DeleteCurrentPage();
    EXPECT_EQ(doc.GetPageCount(), 1);
}

TEST(QuillfenForm, ClearAndReplaceHandBackWhatTheyTakeOff)
{
    QuillfenForm doc(nullptr, 2100, 2975);
    TextObject* kept = Put<TextObject>(*doc.GetPage(0), {0, 0, 10, 10});
    Put<LabelObject>(*doc.AddPage(), {0, 0, 10, 10});

    std::vector<std::unique_ptr<AbstractFormObject>> taken = doc.Clear();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].get(), kept);
    EXPECT_EQ(taken[1]->GetTypeCode(), ObjectCode::Label);
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetCurrentPage()->GetCount(), 0);
    EXPECT_FALSE(doc.IsModified());

    PageObject* old = doc.GetPage(0);
    auto fresh = std::make_unique<PageObject>(doc.GetGlobalTexts());
    PageObject* freshPage = fresh.get();
    std::unique_ptr<PageObject> back = doc.ReplacePage(0, std::move(fresh));
    EXPECT_EQ(back.get(), old);
    EXPECT_EQ(doc.GetPage(0), freshPage);

    auto stray = std::make_unique<PageObject>(doc.GetGlobalTexts());
    PageObject* strayPage = stray.get();
    EXPECT_EQ(doc.ReplacePage(1, std::move(stray)).get(), strayPage);
    EXPECT_EQ(doc.GetPageCount(), 1);
}

TEST_F(QuillfenFormFiles, NewDocumentSavesToTheExactContainerBytes)
{
    QuillfenForm doc(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    doc.SetModified();
    const QByteArray expected = Container(SectionHead() + Le32(1) + EmptyPage());
    ASSERT_EQ(expected.size(), 87);
    EXPECT_EQ(SaveTemplate(doc, Path("new.qfs")), expected);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(QuillfenFormFiles, SavedDocumentOpensFieldForField)
{
    QuillfenForm doc(nullptr, 2000, 2800);
    FillDocument(doc);
    doc.SelectPage(1);
    const QByteArray saved = SaveTemplate(doc, Path("full.qfs"));

    // Opened over a document that holds pages and global texts of its own.
    QuillfenForm opened(nullptr, 2100, 2975);
    opened.GetGlobalTexts()->SetText(7, QStringLiteral("from before"));
    Put<TextObject>(*opened.AddPage(), {0, 0, 5, 5});
    GlobalTextStorage* store = opened.GetGlobalTexts();
    FileReader reader(Path("full.qfs"));
    ASSERT_TRUE(opened.Load(reader));

    EXPECT_EQ(opened.GetWidth(), 2000);
    EXPECT_EQ(opened.GetHeight(), 2800);
    EXPECT_EQ(opened.GetPageCount(), 2);
    EXPECT_EQ(opened.GetCurrentPageIndex(), 0);
    EXPECT_FALSE(opened.IsModified());
    EXPECT_EQ(opened.GetGlobalTexts(), store);
    EXPECT_TRUE(store->GetText(7).isNull()) << "texts of the previous document must not leak";
    for (int gid = 0; gid < GlobalTextStorage::Count; ++gid)
        EXPECT_EQ(store->GetText(gid), doc.GetGlobalTexts()->GetText(gid)) << gid;
    for (int p = 0; p < 2; ++p)
        EXPECT_EQ(Records(*opened.GetPage(p)), Records(*doc.GetPage(p))) << "page " << p;

    // The global-text fields read show the opened document's store.
    const auto* global = static_cast<const GlobalTextObject*>(opened.GetPage(1)->GetObject(1));
    EXPECT_EQ(global->GetStorage(), store);
    EXPECT_EQ(global->GetDisplayText(), QStringLiteral("Customer <A&B>"));
    const auto* measure = static_cast<const MeasureObject*>(opened.GetPage(0)->GetObject(2));
    ASSERT_NE(measure->GetValue(), nullptr);
    EXPECT_EQ(measure->GetValue()->GetValue(), 0.25);
    ASSERT_NE(measure->GetLimit(), nullptr);
    EXPECT_EQ(measure->GetLimit()->GetMaxColor(), 0x00FF00);

    EXPECT_EQ(SaveTemplate(opened, Path("again.qfs")), saved);
}

TEST_F(QuillfenFormFiles, TwoMegabyteStyledTextSavesAndOpensByteForByte)
{
    // Lines of Czech words with every style switch, a letter outside the
    // basic plane and a switch at each line's end that holds into the next.
    QString text;
    const QString words[] = {QString::fromUtf16(u"m\u011b\u0159en\u00ed"), QStringLiteral("RCD"),
                             QString::fromUtf16(u"\U0001D6FA"), QStringLiteral("<&>")};
    for (int i = 0; text.size() < 2 * 1024 * 1024; ++i) {
        text += words[i % 4] + Esc + QChar(1 + i % 15) + QString::number(i);
        text += i % 7 == 6 ? QStringLiteral("\n") : QStringLiteral(" ");
    }
    QuillfenForm doc(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    auto* field = Put<TextObject>(*doc.GetPage(0), {100, 100, 1900, 1500});
    field->SetText(text);
    ASSERT_EQ(field->GetText(), text);
    const QByteArray saved = SaveTemplate(doc, Path("long.qfs"));
    ASSERT_GT(saved.size(), 2 * 1024 * 1024);

    QuillfenForm opened(nullptr, QuillfenForm::DefaultWidth, QuillfenForm::DefaultHeight);
    FileReader reader(Path("long.qfs"));
    ASSERT_TRUE(opened.Load(reader));
    ASSERT_EQ(opened.GetPage(0)->GetCount(), 1);
    const auto* loaded = static_cast<const TextObject*>(opened.GetPage(0)->GetObject(0));
    EXPECT_TRUE(loaded->GetText() == text) << "the text must come back unit for unit";
    EXPECT_TRUE(SaveTemplate(opened, Path("again.qfs")) == saved)
        << "the second save must be the first";
}

TEST_F(QuillfenFormFiles, AppendAddsPagesAndWritesTextsOver)
{
    QuillfenForm source(nullptr, 1480, 2100);
    source.GetGlobalTexts()->SetText(1, QStringLiteral("appended"));
    source.GetGlobalTexts()->SetText(2, QStringLiteral("new two"));
    source.AddPage();
    Put<LabelObject>(*source.AddPage(), {1, 2, 3, 4});
    SaveTemplate(source, Path("three.qfs"));

    QuillfenForm doc(nullptr, 2100, 2975);
    doc.GetGlobalTexts()->SetText(2, QStringLiteral("old two"));
    doc.GetGlobalTexts()->SetText(3, QStringLiteral("kept"));
    doc.AddPage();
    doc.SetModified(false);
    FileReader reader(Path("three.qfs"));
    ASSERT_TRUE(doc.Append(reader));
    EXPECT_EQ(doc.GetPageCount(), 5);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 2);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetWidth(), 1480);
    EXPECT_EQ(doc.GetHeight(), 2100);
    EXPECT_EQ(doc.GetPage(4)->GetCount(), 1);
    EXPECT_EQ(doc.GetGlobalTexts()->GetText(1), QStringLiteral("appended"));
    EXPECT_EQ(doc.GetGlobalTexts()->GetText(2), QStringLiteral("new two"));
    EXPECT_EQ(doc.GetGlobalTexts()->GetText(3), QStringLiteral("kept"));

    // A section without pages appends none; the clamp selects the last page.
    WriteFile(Path("none.qfs"), Container(SectionHead() + Le32(0)));
    FileReader none(Path("none.qfs"));
    ASSERT_TRUE(doc.Append(none));
    EXPECT_EQ(doc.GetPageCount(), 5);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 4);
}

TEST_F(QuillfenFormFiles, DamagedSectionsLeaveTheDocumentAsItWas)
{
    const QByteArray text = SavedRecord(TextObject());
    QByteArray deep = Bytes({1}) + Le32(1);
    for (int i = 0; i < 300; ++i)
        deep += Le32(ObjectCode::Group) + Bytes({1}) + Le32(1);
    deep += Le32(0);
    const QByteArray oneText = Bytes({1}) + Le32(1) + Le32(ObjectCode::Text) + text;

    const struct
    {
        const char* what;
        QByteArray file;
    } damaged[] = {
        {"no section", QByteArray("QFS4temp") + QByteArray(56, '\0')},
        {"not a container", QByteArray("QFT ") + QByteArray(60, '\0')},
        {"empty section", Container({})},
        {"cut in the head", Container(Bytes({1}) + Le32(2100))},
        {"huge global-text count", Container(Bytes({1}) + Le32(1) + Le32(1) + Bytes({1}) + Le32(0x7fffffff))},
        {"no page count", Container(SectionHead())},
        {"negative page count", Container(SectionHead() + Le32(-1))},
        {"huge page count", Container(SectionHead() + Le32(0x7fffffff) + EmptyPage())},
        {"page missing", Container(SectionHead() + Le32(2) + EmptyPage())},
        {"huge child count", Container(SectionHead() + Le32(1) + Bytes({1}) + Le32(1000000) + Le32(ObjectCode::Text) + text)},
        {"unknown code", Container(SectionHead() + Le32(1) + Bytes({1}) + Le32(1) + Le32(FourCC("zzzz")) + text)},
        {"page code as a child", Container(SectionHead() + Le32(1) + Bytes({1}) + Le32(1) + Le32(ObjectCode::Page) + EmptyPage())},
        {"field cut short", Container(SectionHead() + Le32(1) + oneText.left(oneText.size() - 3))},
        {"nesting too deep", Container(SectionHead() + Le32(1) + deep)},
        {"section past the end", Container(SectionHead() + Le32(1) + EmptyPage()).replace(12, 4, Le32(5000))},
    };

    QuillfenForm doc(nullptr, 1000, 1000);
    FillDocument(doc);
    doc.SelectPage(1);
    doc.SetModified();
    GlobalTextStorage* store = doc.GetGlobalTexts();
    const QByteArray xml = Written([&](QIODevice& out) { doc.ExportXml(out); });
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.what);
        WriteFile(Path("damaged.qfs"), c.file);
        FileReader reader(Path("damaged.qfs"));
        EXPECT_FALSE(doc.Load(reader));
        FileReader again(Path("damaged.qfs"));
        EXPECT_FALSE(doc.Append(again));
        EXPECT_EQ(Written([&](QIODevice& out) { doc.ExportXml(out); }), xml);
        EXPECT_EQ(doc.GetPageCount(), 2);
        EXPECT_EQ(doc.GetCurrentPageIndex(), 1);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.GetGlobalTexts(), store);
    }

    // The same bytes whole load; a section without pages gives one empty page.
    WriteFile(Path("whole.qfs"), Container(SectionHead(500, 600) + Le32(1) + oneText));
    FileReader whole(Path("whole.qfs"));
    ASSERT_TRUE(doc.Load(whole));
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 1);
    WriteFile(Path("none.qfs"), Container(SectionHead() + Le32(0)));
    FileReader none(Path("none.qfs"));
    ASSERT_TRUE(doc.Load(none));
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 0);
}

TEST_F(QuillfenFormFiles, FailedCommitReportsAndStaysModified)
{
    QuillfenForm doc(nullptr, 2100, 2975);
    doc.SetModified();
    const QString path = Path("blocked.qfs");
    {
        FileWriter writer(path, Tag::Temp);
        // The finished file cannot take the place of a folder.
        ASSERT_TRUE(QDir().mkdir(path));
        EXPECT_FALSE(doc.Save(writer));
    }
    EXPECT_TRUE(doc.IsModified());

    // Owners that add sections of their own commit themselves.
    const QString other = Path("sections.qfs");
    FileWriter writer(other, Tag::Form);
    ASSERT_TRUE(writer.BeginSection(Tag::Revd));
    WriteInt32(writer.GetStream(), 0);
    ASSERT_TRUE(doc.WriteSection(writer));
    ASSERT_TRUE(writer.Commit());
    EXPECT_TRUE(doc.IsModified());
    FileReader reader(other);
    QuillfenForm opened(nullptr, 1, 1);
    ASSERT_TRUE(opened.Load(reader));
    EXPECT_EQ(opened.GetWidth(), 2100);
}

TEST_F(QuillfenFormFiles, ExportXmlWritesEveryFieldInOrder)
{
    QuillfenForm doc(nullptr, 2100, 2975);
    GlobalTextStorage* texts = doc.GetGlobalTexts();
    texts->SetText(4, QStringLiteral("Name & \"Co\""));
    PageObject& page = *doc.GetPage(0);
    auto* text = Put<TextObject>(page, {10, 20, 110, 70});
    text->SetText("U" + Esc + QChar(2) + "N" + Esc + QChar(1) + "\n<x>");
    Put<GlobalTextObject>(page, {0, 0, 5, 5}, texts)->SetGID(4);
    auto* measure = Put<MeasureObject>(page, {0, 0, 5, 5});
    measure->AddSymbol(7);
    Put<LabelObject>(page, {0, 0, 5, 5});
    Put<BarcodeObject>(page, {0, 0, 5, 5});
    Put<ChoiceObject>(page, {0, 0, 5, 5})->SetText(QStringLiteral("yes;no"));
    Put<LinkObject>(page, {0, 0, 5, 5})->SetText(QStringLiteral("a.pdf;A"));
    TBitmap bitmap;
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    bitmap.Assign(image);
    Put<PictureObject>(page, {0, 0, 5, 5})->SetGraphic(&bitmap);
    auto* group = Put<GroupObject>(page, {}, texts);
    Put<LabelObject>(*group, {0, 0, 5, 5});
    doc.AddPage();

    const QByteArray base0505 = "<Left>0</Left>\n<Top>0</Top>\n<Right>0.5</Right>\n<Bottom>0.5</Bottom>\n";
    const QByteArray borders1 = "<LeftBorder>0.1</LeftBorder>\n<TopBorder>0.1</TopBorder>\n"
                                "<RightBorder>0.1</RightBorder>\n<BottomBorder>0.1</BottomBorder>\n";
    const QByteArray borders0 = "<LeftBorder>0</LeftBorder>\n<TopBorder>0</TopBorder>\n"
                                "<RightBorder>0</RightBorder>\n<BottomBorder>0</BottomBorder>\n";
    const QByteArray colors = "<ForeColor>0</ForeColor>\n<BackColor>16777215</BackColor>\n";
    const QByteArray textTail = "<Align>4</Align>\n<Font>Arial</Font>\n<Size>40</Size>\n";
    const QByteArray label = "<Label>" + base0505 + borders0 + colors + "</Label>\n";
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<Quillfen>\n"
        "<Width>210</Width>\n<Height>297.5</Height>\n"
        "<GID>4</GID>\n<Text>Name &amp; &quot;Co&quot;</Text>\n"
        "<Count>2</Count>\n"
        "<Page><Count>9</Count>\n"
        "<Text><Left>1</Left>\n<Top>2</Top>\n<Right>11</Right>\n<Bottom>7</Bottom>\n" + borders1 + colors +
        "<String>U<Style>2</Style>\nN<Style>1</Style>\n<br/>\n&lt;x&gt;</String>\n" + textTail +
        "<Type>0</Type>\n</Text>\n"
        "<Global>" + base0505 + borders1 + colors + "<String></String>\n" + textTail +
        "<Type>1</Type>\n<GID>4</GID>\n</Global>\n"
        "<Measure>" + base0505 + borders1 + colors + textTail +
        "<Type>1</Type>\n<Format>7</Format>\n<Symbol1>7</Symbol1>\n<DecimalPosition>0</DecimalPosition>\n"
        "</Measure>\n" + label +
        "<Barcode>" + base0505 + borders1 + colors + "<String>00000000</String>\n" + textTail +
        "<Type>0</Type>\n</Barcode>\n"
        "<Choice>" + base0505 + borders1 + colors + "<String>yes;no</String>\n" + textTail +
        "<Type>0</Type>\n</Choice>\n"
        "<Link>" + base0505 + borders1 + colors + "<String>a.pdf;A</String>\n" + textTail +
        "<Type>0</Type>\n</Link>\n"
        "<Picture>" + base0505 + borders1 + colors + "</Picture>\n"
        "<Group><Count>1</Count>\n" + label + "</Group>\n"
        "</Page>\n"
        "<Page><Count>0</Count>\n</Page>\n"
        "</Quillfen>\n";

    ASSERT_TRUE(doc.ExportXml(Path("doc.xml")));
    EXPECT_EQ(FileBytes(Path("doc.xml")), expected);
    EXPECT_FALSE(doc.ExportXml(Path("missing/doc.xml")));
}

TEST_F(QuillfenFormFiles, EveryPageRendersScaledToPng)
{
    QuillfenForm doc(nullptr, 2100, 2975);
    FillDocument(doc);
    auto* marker = Put<LabelObject>(*doc.GetPage(1), {250, 1500, 500, 1750});
    marker->SetBackColor(0x0000FF);

    for (int p = 0; p < doc.GetPageCount(); ++p) {
        doc.SelectPage(p);
        const QuillfenZoom& zoom = doc.GetZoom();
        QImage image(zoom.ModelToScreen(doc.GetWidth()), zoom.ModelToScreen(doc.GetHeight()), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PainterCanvas canvas(painter);
            doc.DrawScaled(canvas);
            EXPECT_TRUE(painter.transform().isIdentity());
        }
        const QString file = Path(QStringLiteral("page%1.png").arg(p + 1));
        ASSERT_TRUE(image.save(file));
        const QImage back(file);
        ASSERT_EQ(back.size(), QSize(840, 1190));
        // At zoom 100 a model unit is 0.4 pixel.
        if (p == 1) {
            EXPECT_EQ(back.pixelColor(150, 650), QColor(Qt::red));
            EXPECT_EQ(back.pixelColor(150, 750), QColor(Qt::white));
        } else {
            EXPECT_EQ(back.pixelColor(200, 100), QColor(0xFF, 0xFF, 0xCC)) << "the text's back colour";
            EXPECT_EQ(back.pixelColor(500, 500), QColor(0xC0, 0xC0, 0xC0)) << "the label";
        }
    }
}
