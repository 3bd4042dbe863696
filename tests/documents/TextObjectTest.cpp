#include "documents/StyledText.h"
#include "documents/TextObject.h"
#include "instruments/InstrumentItem.h"
#include "storage/Utf8.h"

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

const QChar Esc(27);

QString Styled(const char16_t* text)
{
    // '~' stands for ESC in the literals below.
    QString s = QString::fromUtf16(text);
    s.replace(u'~', Esc);
    return s;
}

QByteArray FontSlot(const QByteArray& name)
{
    QByteArray slot = name;
    slot.resize(32, '\0');
    return slot;
}

// A field whose inner box is (1, 1, 199, 301): 198 wide, 300 high.
TextObject Field(const QString& text, int align)
{
    TextObject t;
    t.SetRect(0, 0, 200, 302);
    t.SetText(text);
    t.SetAlign(align);
    t.SetForeColor(0x0000AA);
    t.SetBackColor(0x00EEEE);
    return t;
}

struct Pos
{
    int32_t x;
    int32_t y;
    QString text;
};

void ExpectTexts(const RecordingCanvas& canvas, const std::vector<Pos>& expected)
{
    const auto texts = canvas.Texts();
    ASSERT_EQ(texts.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(texts[i].text, expected[i].text) << i;
        EXPECT_EQ(texts[i].x, expected[i].x) << i;
        EXPECT_EQ(texts[i].y, expected[i].y) << i;
    }
}

} // namespace

TEST(TextRecord, NewFieldWritesItsDefaults)
{
    EXPECT_EQ(SavedRecord(TextObject()), BaseRecord() + TextRecordTail(""));
    EXPECT_EQ(TextObject().GetTypeCode(), FourCC("text"));
}

TEST(TextRecord, RoundTripKeepsEveryFieldAndTheFontSlotAsItStands)
{
    QByteArray slot = FontSlot("Times");
    slot[20] = 'x'; // junk after the name's NUL travels unchanged
    const QByteArray record = BaseRecord() + Bytes({1}) + Le32(5) + QByteArray("A\x1b\x02" "\xc3\xa9", 5)
                              + Bytes({13}) + slot + Le32(-7) + Bytes({3});
    ReadBuffer in(record);
    TextObject t;
    ASSERT_TRUE(t.Load(in));
    EXPECT_EQ(t.GetText(), Styled(u"A~\u0002\u00e9"));
    EXPECT_EQ(t.GetAlign(), 13);
    EXPECT_EQ(t.GetFontName(), "Times");
    EXPECT_EQ(t.GetSize(), -7);
    EXPECT_EQ(t.GetType(), 3);
    EXPECT_TRUE(t.IsFillable());
    EXPECT_EQ(SavedRecord(t), record);
}

TEST(TextRecord, FontNameKeepsAtMost31Characters)
{
    const QByteArray full(32, 'F');
    ReadBuffer in(BaseRecord() + Bytes({1}) + Le32(0) + Bytes({4}) + full + Le32(40) + Bytes({0}));
    TextObject t;
    ASSERT_TRUE(t.Load(in));
    EXPECT_EQ(t.GetFontName(), QByteArray(31, 'F'));

    t.SetFontName(QByteArray(40, 'G'));
    EXPECT_EQ(t.GetFontName(), QByteArray(31, 'G'));
    t.SetFontName("Courier");
    const QByteArray saved = SavedRecord(t);
    EXPECT_EQ(saved.mid(29 + 1 + 4 + 1, 32), FontSlot("Courier")); // the old name's tail is cleared
}

TEST(TextRecord, AlignmentOutOfRangeKeepsTheOldOne)
{
    for (int stored : {18, 200}) {
        ReadBuffer in(BaseRecord() + TextRecordTail("", static_cast<uint8_t>(stored)));
        TextObject t;
        ASSERT_TRUE(t.Load(in));
        EXPECT_EQ(t.GetAlign(), 4) << stored;
    }
    TextObject t;
    t.SetAlign(17);
    t.SetAlign(18);
    t.SetAlign(-1);
    EXPECT_EQ(t.GetAlign(), 17);
}

TEST(TextRecord, DamagedRecordsReportDamageAndKeepTheField)
{
    const QByteArray base = BaseRecord() + Bytes({1});
    const QByteArray cases[] = {
        base + Le32(1000) + "abc",                          // text longer than the stream
        base + Le32(-1) + Bytes({4}) + FontSlot("X") + Le32(40) + Bytes({0}), // negative length
        base + Le32(2) + "ab" + Bytes({4}) + FontSlot("X"), // cut inside the fixed tail
        base.left(20),                                       // cut inside the base record
    };
    for (const QByteArray& record : cases) {
        ReadBuffer in(record);
        TextObject t;
        t.SetText(QStringLiteral("keep"));
        EXPECT_FALSE(t.Load(in));
        EXPECT_TRUE(IsStreamDamaged(in));
        EXPECT_EQ(t.GetText(), QStringLiteral("keep"));
        EXPECT_EQ(t.GetFontName(), "Arial");
    }
}

TEST(TextXml, ElementsFollowTheBaseWithStyleSwitches)
{
    TextObject t;
    t.SetText(Styled(u"A~\u0002x<"));
    t.SetFontName("A&B");
    t.SetType(2);
    const QByteArray base = DefaultBaseXml();
    EXPECT_EQ(WrittenXml(t),
              base + "<String>A<Style>2</Style>\nx&lt;</String>\n<Align>4</Align>\n<Font>A&amp;B</Font>\n"
                     "<Size>40</Size>\n<Type>2</Type>\n");

    TextObject empty;
    empty.SetFontName("");
    EXPECT_EQ(WrittenXml(empty),
              base + "<String></String>\n<Align>4</Align>\n<Font></Font>\n<Size>40</Size>\n<Type>0</Type>\n");
}

TEST(TextField, TextIsNeverNullAndEndsAtANul)
{
    TextObject t;
    EXPECT_FALSE(t.GetText().isNull());
    t.SetText(QString());
    EXPECT_FALSE(t.GetText().isNull());
    t.SetText(QString::fromUtf16(u"ab\0cd", 5));
    EXPECT_EQ(t.GetText(), QStringLiteral("ab"));
}

TEST(TextField, FillTakesTheItemTextOnlyWhenFillable)
{
    const InstrumentItem item(230, 1, false, false);
    TextObject fixed;
    fixed.SetText(QStringLiteral("keep"));
    fixed.Fill(&item);
    EXPECT_EQ(fixed.GetText(), QStringLiteral("keep"));

    TextObject editable;
    editable.SetType(1);
    editable.SetText(QStringLiteral("keep"));
    editable.Fill(nullptr);
    EXPECT_EQ(editable.GetText(), QStringLiteral("keep"));
    editable.Fill(&item);
    const QByteArray utf8 = item.GetText(7, 0);
    EXPECT_EQ(editable.GetText(), DecodeUtf8(utf8, CountUtf8Chars(utf8)));
    EXPECT_TRUE(editable.GetText().contains(QStringLiteral("230")));

    editable.ClearFilledText();
    EXPECT_TRUE(editable.GetText().isEmpty());
    fixed.ClearFilledText();
    EXPECT_EQ(fixed.GetText(), QStringLiteral("keep"));
}

TEST(TextField, CloneCopiesEveryProperty)
{
    TextObject t = Field(QStringLiteral("abc"), 11);
    t.SetSize(55);
    t.SetFontName("Verdana");
    t.SetType(5);
    const auto clone = t.Clone();
    const auto* copy = dynamic_cast<const TextObject*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(SavedRecord(*copy), SavedRecord(t));
}

TEST(StyledLayout, LineCountSkipsStyleWords)
{
    EXPECT_EQ(CountStyledLines(u"a\nb\n"), 3);
    EXPECT_EQ(CountStyledLines(Styled(u"a~\nb")), 1);
    EXPECT_EQ(CountStyledLines(Styled(u"a~")), 1);
    // ESC ESC is a switch to the style ESC: the line feed after it counts.
    EXPECT_EQ(CountStyledLines(Styled(u"\n~~\nb")), 3);
    EXPECT_EQ(CountStyledLines(Styled(u"~~~\nb")), 1);
    // Over many thousand units, as a long text has them.
    EXPECT_EQ(CountStyledLines(QStringLiteral("ab\n").repeated(40000)), 40001);
    EXPECT_EQ(CountStyledLines(Styled(u"a~\n").repeated(40000) + QStringLiteral("\n")), 2);
}

TEST(StyledLayout, UprightBlockIsCentredBothWays)
{
    // Three lines in a box 300 high: the block starts (300 - 3 * 40) / 2 = 90 down.
    RecordingCanvas canvas;
    Field(QStringLiteral("A\nBB\nC"), 4).Draw(canvas, {});
    ExpectTexts(canvas, {{90, 91, "A"}, {80, 131, "B"}, {100, 131, "B"}, {90, 171, "C"}});
    const auto texts = canvas.Texts();
    for (const CanvasCall& call : texts) {
        EXPECT_EQ(call.font, (FontSpec{40, 0, 400, false, "Arial"}));
        EXPECT_EQ(call.textColor, 0x0000AA);
        EXPECT_EQ(call.brushColor, 0x00EEEE); // opaque cells in the back colour
        EXPECT_EQ(call.rect, (TRect{1, 1, 199, 301}));
        EXPECT_TRUE(call.clipped);
    }
}

TEST(StyledLayout, UprightPlacementsOfLinesAndBlock)
{
    struct Case
    {
        int align;
        int32_t x;
        int32_t y;
    };
    // One line 40 wide ("AB") and two lines: block height 80 in a box 300 high.
    for (const Case& c : {Case{0, 1, 1}, Case{3, 80, 1}, Case{6, 159, 1}, Case{1, 1, 111}, Case{2, 1, 221},
                          Case{8, 159, 221}}) {
        RecordingCanvas canvas;
        Field(QStringLiteral("AB\nAB"), c.align).Draw(canvas, {});
        const auto texts = canvas.Texts();
        ASSERT_EQ(texts.size(), 4) << c.align;
        EXPECT_EQ(texts[0].x, c.x) << c.align;
        EXPECT_EQ(texts[0].y, c.y) << c.align;
        EXPECT_EQ(texts[2].y, c.y + 40) << c.align;
    }
}

TEST(StyledLayout, SubscriptIsSmallerAndLoweredThenNormalAgain)
{
    RecordingCanvas canvas;
    Field(Styled(u"H~\u00022~\u0001O"), 6).Draw(canvas, {});
    // Width 20 + 12 + 20 = 52, right-aligned in 198.
    ExpectTexts(canvas, {{147, 1, "H"}, {167, 17, "2"}, {179, 1, "O"}});
    const auto texts = canvas.Texts();
    EXPECT_EQ(texts[1].font.Height, 24);
    EXPECT_EQ(texts[2].font.Height, 40);
}

TEST(StyledLayout, StyleCarriesOverToTheNextLine)
{
    // Superscript bold italic from the first line on: the second line is
    // measured and drawn in it (centred: (198 - 12) / 2 = 93).
    RecordingCanvas canvas;
    Field(Styled(u"~\u000Fa\nb"), 3).Draw(canvas, {});
    ExpectTexts(canvas, {{94, 1, "a"}, {94, 41, "b"}});
    const CanvasCall b = canvas.Texts()[1];
    EXPECT_EQ(b.font, (FontSpec{24, 0, 700, true, "Arial"}));
}

TEST(StyledLayout, TurnedLinesStackFromTheLeftAndRunUpward)
{
    // Align 9: block at the left, each line ending at the top edge.
    RecordingCanvas canvas;
    Field(QStringLiteral("AB\nC"), 9).Draw(canvas, {});
    ExpectTexts(canvas, {{1, 41, "AB"}, {41, 21, "C"}});
    EXPECT_EQ(canvas.Texts()[0].font.Escapement, 900);

    // Align 17: block at the right, each line starting at the bottom edge.
    RecordingCanvas right;
    Field(QStringLiteral("AB\nC"), 17).Draw(right, {});
    ExpectTexts(right, {{119, 301, "AB"}, {159, 301, "C"}});

    // Align 13: centred both ways; a subscript run is moved across by 40 %.
    RecordingCanvas centred;
    Field(Styled(u"A~\u0002bc"), 13).Draw(centred, {});
    // Line width 20 + 12 + 12 = 44: starts at 301 - (300 - 44) / 2 = 173.
    ExpectTexts(centred, {{80, 173, "A"}, {96, 153, "bc"}});
    EXPECT_EQ(centred.Texts()[1].font, (FontSpec{24, 900, 400, false, "Arial"}));
}

TEST(StyledLayout, TextEndingInEscAndEmptyTextStopCleanly)
{
    RecordingCanvas canvas;
    Field(Styled(u"AB~"), 0).Draw(canvas, {});
    ExpectTexts(canvas, {{1, 1, "A"}, {21, 1, "B"}});

    RecordingCanvas turned;
    Field(Styled(u"AB~"), 9).Draw(turned, {});
    EXPECT_EQ(turned.Texts().size(), 1);

    RecordingCanvas empty;
    Field(QString(), 4).Draw(empty, {});
    EXPECT_TRUE(empty.Texts().isEmpty());
    EXPECT_EQ(empty.Rectangles().size(), 5);
}

TEST(StyledLayout, DrawingRestoresTheCanvasFont)
{
    RecordingCanvas canvas;
    const FontSpec before{14, 0, 700, true, "Courier"};
    canvas.SetFont(before);
    Field(Styled(u"~\u0006x"), 4).Draw(canvas, {});
    EXPECT_EQ(canvas.GetFont(), before);
}

TEST(StyledLayout, HugeSizeFromADamagedRecordDoesNotOverflow)
{
    for (int align : {4, 8, 13, 17}) {
        TextObject t = Field(Styled(u"a\nb~\u0002c\nd"), align);
        t.SetSize(INT32_MAX);
        t.SetRect(INT32_MAX - 10, INT32_MAX - 10, INT32_MAX, INT32_MAX);
        RecordingCanvas canvas;
        t.Draw(canvas, {});
        EXPECT_FALSE(canvas.Texts().isEmpty());
    }
}

namespace {

// Line i of a long text: a number and two letters with a bold or normal switch
// between them, `tail` letters, and a switch to subscript or normal at the end
// that holds into the next line.
QString LongLine(int i, int tail)
{
    return QString::number(10000 + i) + Esc + QChar(i % 2 ? 5 : 1) + QStringLiteral("ab")
           + QString(tail, QChar(u'p' + i % 3)) + Esc + QChar(i % 3 ? 1 : 2);
}

QString LongText(int lines, int tail)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += LongLine(i, tail) + (i + 1 < lines ? QStringLiteral("\n") : QString());
    return text;
}

constexpr int LongLines = 1000;
constexpr int LongTail = 2000;

} // namespace

TEST(StyledLayout, LongTextDrawsWhatItsBoxShowsAsAShortOneWould)
{
    // 2 MB in a box that shows some 8 lines of 10 characters: upright and
    // turned, the calls are those of the text cut to its first 9 lines of 27
    // characters, style switches beyond the edges included.
    const QString whole = LongText(LongLines, LongTail);
    ASSERT_GT(whole.size(), 2'000'000);
    const QString cut = LongText(9, 20);
    for (int align : {0, 11}) {
        RecordingCanvas full;
        Field(whole, align).Draw(full, {});
        RecordingCanvas shown;
        Field(cut, align).Draw(shown, {});
        const auto texts = full.Texts();
        const auto expected = shown.Texts();
        ASSERT_EQ(texts.size(), expected.size()) << align;
        for (qsizetype i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].text, expected[i].text) << align << " " << i;
            EXPECT_EQ(texts[i].x, expected[i].x) << align << " " << i;
            EXPECT_EQ(texts[i].y, expected[i].y) << align << " " << i;
            EXPECT_EQ(texts[i].font, expected[i].font) << align << " " << i;
        }
    }
}

TEST(StyledLayout, LongTextCostsTheLinesItsBoxShows)
{
    // Centred both ways the box (198 x 300, lines 40 apart) shows the middle
    // of the text: the calls cover the 8 lines it shows and at most one
    // line pitch beyond each edge, and along a line the characters that fit
    // (20 wide, 12 as subscripts, which sit 16 lower) with that pitch too.
    constexpr int32_t Pitch = 40;
    const QString whole = LongText(LongLines, LongTail);
    RecordingCanvas upright;
    Field(whole, 4).Draw(upright, {});
    const auto calls = upright.Texts();
    QSet<int32_t> lineTops;
    for (const CanvasCall& call : calls)
        lineTops.insert(call.y - (call.font.Height < Pitch ? 16 : 0));
    EXPECT_GE(lineTops.size(), 8);
    EXPECT_LE(lineTops.size(), (300 + 2 * Pitch) / Pitch + 2);
    EXPECT_GE(calls.size(), 8 * 10);
    EXPECT_LE(calls.size(), lineTops.size() * ((198 + 2 * Pitch) / 12 + 2));

    // Turned, each line shows a piece of its 2000 letters, cut to the box.
    RecordingCanvas turned;
    Field(whole, 13).Draw(turned, {});
    const auto runs = turned.Texts();
    EXPECT_GE(runs.size(), 198 / Pitch);
    EXPECT_LE(runs.size(), 2 * ((198 + 2 * Pitch) / Pitch + 2));
    for (const CanvasCall& call : runs)
        EXPECT_LE(call.text.size(), (300 + 2 * Pitch) / 12 + 2);
}

TEST(StyledListText, MarkersTabsAndCarriageReturn)
{
    RecordingCanvas canvas;
    canvas.SetFont({9, 0, 400, false, "Keep"});
    DrawStyledText(canvas, "Arial", {10, 20, 300, 60}, Styled(u"R~\u0002PE~\u0001\tx\ry"), 100, false);
    ExpectTexts(canvas, {{10, 20, "R"}, {30, 32, "P"}, {44, 32, "E"}, {110, 20, "x"}});
    const auto texts = canvas.Texts();
    EXPECT_EQ(texts[0].font, (FontSpec{40, 0, 400, false, "Arial"}));
    EXPECT_EQ(texts[1].font.Height, 28);
    EXPECT_EQ(texts[1].rect, (TRect{10, 20, 300, 60}));
    EXPECT_EQ(canvas.GetFont(), (FontSpec{9, 0, 400, false, "Keep"}));

    RecordingCanvas super;
    DrawStyledText(super, "Arial", {0, 0, 100, 40}, Styled(u"m~\u00031"), 0, true);
    ExpectTexts(super, {{0, 0, "m"}, {20, 0, "1"}});
    EXPECT_EQ(super.Texts()[1].font, (FontSpec{28, 0, 700, false, "Arial"}));
}
