#include "documents/QuillfenForm.h"

#include "common/LegacyStreams.h"
#include "documents/MeasureObject.h"
#include "documents/PictureObject.h"
#include "instruments/QuantityTable.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

const QByteArray Page = "Page    ";
const QByteArray End = "TemplEof";

QByteArray Body(const QByteArray& records, int32_t width = 2100, int32_t height = 2975)
{
    return "Template" + Le32(width) + Le32(height) + records;
}

QByteArray OldStream(const QByteArray& records, int32_t tag = Tag::QFT)
{
    return Le32(tag) + Le32(7) + Body(records);
}

bool Import(QuillfenForm& doc, const QByteArray& bytes)
{
    ReadBuffer in(bytes);
    return doc.ImportLegacy(in);
}

// The one object of a single-object stream.
std::unique_ptr<AbstractFormObject> ImportOne(const OldObject& object)
{
    QuillfenForm doc(nullptr, 100, 100);
    EXPECT_TRUE(Import(doc, OldStream(Page + object.Record() + End)));
    PageObject* page = doc.GetPage(0);
    if (page->GetCount() != 1)
        return nullptr;
    return page->RemoveObject(page->GetObject(0));
}

QByteArray BmpBytes()
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    image.save(&out, "BMP");
    return out.data();
}

} // namespace

TEST(OldTemplate, BodyOfPagesAndObjectsBecomesTheDocument)
{
    int32_t panelWidth = 0;
    QuillfenForm doc([&](int32_t w, int32_t) { panelWidth = w; }, 100, 100);
    doc.AddPage();

    OldObject id;
    id.kind = 1;
    id.text = u"Line 1\rH\xFFFF\x02" u"2\xFFFF\x01O";
    id.font = "Times New Roman";
    id.size = 55;
    id.align = 0x100 + 7; // only the low byte counts
    id.fore = 0x0000FF;
    id.back = 0x00FF00;
    id.borders[0] = 0;
    id.borders[1] = 3;
    id.borders[2] = 0x1FF; // low byte 255, more than a record can hold
    id.borders[3] = 0x105;
    OldObject plain;
    plain.left = -5;
    plain.text = std::u16string(u"A\0B", 3);

    const QByteArray records = "Unknown " + Page + id.Record() + plain.Record() + Page + End + Page;
    ASSERT_TRUE(Import(doc, OldStream(records, Tag::QFF)));
    EXPECT_EQ(doc.GetPageCount(), 2);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetWidth(), 2100);
    EXPECT_EQ(doc.GetHeight(), 2975);
    EXPECT_EQ(panelWidth, 840);
    ASSERT_EQ(doc.GetPage(0)->GetCount(), 2);
    EXPECT_EQ(doc.GetPage(1)->GetCount(), 0);

    auto* text = dynamic_cast<TextObject*>(doc.GetPage(0)->GetObject(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetTypeCode(), ObjectCode::Text);
    EXPECT_EQ(text->GetType(), 3);
    EXPECT_EQ(text->GetText(), QString::fromUtf16(u"Line 1\nH\x1b\x02" u"2\x1b\x01O"));
    EXPECT_EQ(text->GetFontName(), QByteArray("Times New Roman"));
    EXPECT_EQ(text->GetSize(), 55);
    EXPECT_EQ(text->GetAlign(), 7);
    EXPECT_EQ(text->GetRect(), (TRect{10, 20, 310, 120}));
    EXPECT_EQ(text->GetLeftBorder(), 0);
    EXPECT_EQ(text->GetTopBorder(), 3);
    EXPECT_EQ(text->GetRightBorder(), 127);
    EXPECT_EQ(text->GetBottomBorder(), 5);
    EXPECT_EQ(text->GetForeColor(), 0x0000FF);
    EXPECT_EQ(text->GetBackColor(), 0x00FF00);

    auto* second = dynamic_cast<TextObject*>(doc.GetPage(0)->GetObject(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetText(), QStringLiteral("A"));
    EXPECT_EQ(second->GetType(), TextObject::FixedText);
    EXPECT_EQ(second->GetRect(), (TRect{0, 20, 300, 120})) << "moved back onto the page at its width";
}

TEST(OldTemplate, KindsMakeTheirFields)
{
    const struct
    {
        int32_t kind;
        int32_t code; // 0: nothing is made
        int32_t type;
        int32_t quantity;
    } cases[] = {
        {0, ObjectCode::Measure, MeasureObject::MeasuredValue, MeasureObject::NoSymbol},
        {1, ObjectCode::Text, 3, 0},
        {2, ObjectCode::Text, 1, 0},
        {3, ObjectCode::Measure, MeasureObject::MeasuredValue, 1},
        {5, ObjectCode::Measure, MeasureObject::MeasuredValue, 3},
        {Quantity::Count + 1, ObjectCode::Measure, MeasureObject::MeasuredValue, Quantity::Count - 1},
        {Quantity::Count + 2, ObjectCode::Measure, MeasureObject::MeasuredValue, Quantity::Count - 1},
        {999, ObjectCode::Measure, MeasureObject::MeasuredValue, Quantity::Count - 1},
        {1000, ObjectCode::Text, 1, 0},
        {1001, ObjectCode::Text, 0, 0},
        {1002, ObjectCode::Text, 1, 0},
        {1003, ObjectCode::Picture, 0, 0},
        {1004, 0, 0, 0},
        {1500, 0, 0, 0},
        {-1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        OldObject record;
        record.kind = c.kind;
        record.text = u"12";
        record.font = "Courier";
        record.size = 33;
        record.align = 13;
        std::unique_ptr<AbstractFormObject> field = ImportOne(record);
        if (c.code == 0) {
            EXPECT_EQ(field, nullptr);
            continue;
        }
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->GetTypeCode(), c.code);
        EXPECT_EQ(field->GetRect(), (TRect{10, 20, 310, 120}));
        if (auto* text = dynamic_cast<TextObject*>(field.get())) {
            EXPECT_EQ(text->GetType(), c.type);
            EXPECT_EQ(text->GetFontName(), QByteArray("Courier"));
            EXPECT_EQ(text->GetSize(), 33);
            EXPECT_EQ(text->GetAlign(), 13);
        }
        if (auto* measure = dynamic_cast<MeasureObject*>(field.get())) {
            EXPECT_EQ(measure->GetFormat(), 2);
            EXPECT_EQ(measure->GetSymbol(0), c.quantity);
            EXPECT_EQ(measure->GetSymbol(1), MeasureObject::NoSymbol);
            EXPECT_EQ(measure->GetText(), QString());
        } else if (c.code == ObjectCode::Text) {
            EXPECT_EQ(static_cast<TextObject*>(field.get())->GetText(), QStringLiteral("12"));
        }
    }
}

TEST(OldTemplate, PictureBytesAreConsumedWhateverTheKind)
{
    QuillfenForm doc(nullptr, 100, 100);
    OldObject picture;
    picture.kind = 1003;
    picture.picture = BmpBytes();
    OldObject dropped;
    dropped.kind = 1500;
    dropped.picture = "not a picture, but read all the same";
    OldObject after;
    after.text = u"after";
    ASSERT_TRUE(Import(doc, OldStream(Page + picture.Record() + dropped.Record() + after.Record() + End)));
    PageObject* page = doc.GetPage(0);
    ASSERT_EQ(page->GetCount(), 2);
    auto* field = dynamic_cast<PictureObject*>(page->GetObject(0));
    ASSERT_NE(field, nullptr);
    ASSERT_NE(field->GetGraphic(), nullptr);
    EXPECT_EQ(field->GetGraphic()->Kind(), GraphicKind::Bitmap);
    EXPECT_EQ(field->GetGraphic()->Size(), QSize(3, 2));
    EXPECT_EQ(page->GetObject(1)->GetText(), QStringLiteral("after"));

    // A picture field of no bytes has no picture.
    picture.picture.clear();
    std::unique_ptr<AbstractFormObject> empty = ImportOne(picture);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(static_cast<PictureObject*>(empty.get())->GetGraphic(), nullptr);
}

TEST(OldTemplate, StyleWordsAreTakenAsTheyStand)
{
    OldObject record;
    // A style word that reads as a carriage return or as the escape itself
    // stays what it is; a line's carriage return becomes a line feed.
    record.text = u"a\xFFFF\rb\r\xFFFF\xFFFF" u"c\xFFFF";
    std::unique_ptr<AbstractFormObject> field = ImportOne(record);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetText(), QString::fromUtf16(u"a\x1b\rb\n\x1b\xFFFF" u"c\x1b"));
}

TEST(OldTemplate, WrongStreamsAndDamageAreReported)
{
    QuillfenForm doc(nullptr, 100, 100);
    doc.GetPage(0)->AddObject(std::make_unique<TextObject>());
    doc.SetModified();

    // Another kind of stream leaves the document as it was.
    for (const QByteArray& other : {Le32(Tag::QFD) + Le32(0) + Body(Page + End), QByteArray("QF"), QByteArray()}) {
        EXPECT_FALSE(Import(doc, other));
        EXPECT_EQ(doc.GetPageCount(), 1);
        EXPECT_EQ(doc.GetPage(0)->GetCount(), 1);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.GetWidth(), 100);
    }

    OldObject good;
    QByteArray cut = good.Record();
    cut.chop(3);
    OldObject hugeText;
    QByteArray hugeTextRecord = hugeText.Record().replace(8, 4, Le32(0x40000000));
    QByteArray negativeFont = good.Record().replace(12, 4, Le32(-1));
    QByteArray hugePicture = good.Record();
    hugePicture.replace(hugePicture.size() - 4, 4, Le32(0x7FFFFFFF));

    const struct
    {
        const char* what;
        QByteArray stream;
        int pages;   // after the import
        int objects; // on the first page
    } damaged[] = {
        {"no body tag", Le32(Tag::QFT) + Le32(0) + "Templat", 1, 0},
        {"no size", Le32(Tag::QFT) + Le32(0) + "Template" + Le32(5), 1, 0},
        {"no end tag", OldStream(Page + good.Record() + Page + Page), 3, 1},
        {"half a tag at the end", OldStream(Page + good.Record() + "Temp"), 1, 1},
        {"object cut short", OldStream(Page + good.Record() + cut), 1, 1},
        {"huge text length", OldStream(Page + good.Record() + hugeTextRecord + End), 1, 1},
        {"negative font length", OldStream(Page + negativeFont + End), 1, 0},
        {"huge picture length", OldStream(Page + hugePicture + End), 1, 0},
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.what);
        doc.SetModified();
        EXPECT_FALSE(Import(doc, c.stream));
        ASSERT_EQ(doc.GetPageCount(), c.pages);
        EXPECT_EQ(doc.GetPage(0)->GetCount(), c.objects);
        EXPECT_EQ(doc.GetCurrentPageIndex(), 0);
        EXPECT_FALSE(doc.IsModified());
    }

    // An object before any page ends the body there: a whole import of the
    // pages read so far, none, so the document keeps one empty page.
    doc.SetModified();
    EXPECT_TRUE(Import(doc, OldStream(good.Record() + Page + good.Record() + End)));
    ASSERT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 0);
    EXPECT_EQ(doc.GetCurrentPageIndex(), 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST(OldTemplate, BodyReadsFromWhereTheFormImportLeavesTheStream)
{
    QuillfenForm doc(nullptr, 100, 100);
    OldObject record;
    // The template body is followed by the other parts of an older form.
    ReadBuffer in(Body(Page + record.Record() + End, 1480, 2100) + "Data    ");
    ASSERT_TRUE(doc.ReadLegacyTemplate(in));
    EXPECT_EQ(doc.GetWidth(), 1480);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 1);
    EXPECT_EQ(in.read(8), QByteArray("Data    "));

    ReadBuffer wrong(QByteArray("Templat!") + Le32(1) + Le32(1));
    EXPECT_FALSE(doc.ReadLegacyTemplate(wrong));
    EXPECT_EQ(doc.GetPageCount(), 1);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 0);
}
