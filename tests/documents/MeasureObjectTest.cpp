#include "documents/MeasureObject.h"

#include "common/FieldRecords.h"
#include "common/RecordingCanvas.h"
#include "instruments/QuantityTable.h"

#include <gtest/gtest.h>

namespace {

constexpr int TrippingTime = 6;

QByteArray SymbolBytes(std::initializer_list<int32_t> used)
{
    QByteArray bytes;
    for (int32_t s : used)
        bytes += Le32(s);
    for (size_t i = used.size(); i < MeasureObject::SymbolCount; ++i)
        bytes += Le32(-1);
    return bytes;
}

// A limit on the tripping time: at most 0.3 s, at least 0.02 s.
MeasureLimit TimeLimit(int32_t type)
{
    MeasureLimit limit;
    limit.SetMaximum(0.3);
    limit.SetMaxType(type);
    limit.SetMaxColor(0x0000FF);
    limit.SetMaxText(QStringLiteral("TOO SLOW"));
    limit.SetMinimum(0.02);
    limit.SetMinType(type);
    limit.SetMinColor(0xFF0000);
    limit.SetMinText(QStringLiteral("TOO FAST"));
    return limit;
}

std::unique_ptr<MeasureObject> TimeField(double seconds, int32_t limitType)
{
    auto field = std::make_unique<MeasureObject>();
    field->SetFormat(10); // the value as it is, no symbol or unit
    field->SetDecimalPosition(3);
    const MeasureLimit limit = TimeLimit(limitType);
    field->SetLimit(&limit);
    const InstrumentItem item(seconds, TrippingTime, true, false);
    field->Fill(&item);
    return field;
}

std::unique_ptr<MeasureObject> Reloaded(const MeasureObject& field)
{
    ReadBuffer in(SavedRecord(field));
    auto read = std::make_unique<MeasureObject>();
    EXPECT_TRUE(read->Load(in));
    EXPECT_TRUE(in.atEnd());
    return read;
}

} // namespace

TEST(MeasureObjectSymbolsTest, SlotsStayPackedAndBounded)
{
    MeasureObject field;
    EXPECT_TRUE(field.HasNoSymbols());
    for (int q : {4, 7, 9, 7, -1})
        field.AddSymbol(q);
    EXPECT_FALSE(field.HasSymbol(-1)); // free slots accept nothing
    field.RemoveSymbol(4);
    EXPECT_EQ(SavedRecord(field).right(44), SymbolBytes({7, 9}) + Le32(0));

    for (int q = 20; q < 40; ++q)
        field.AddSymbol(q);
    EXPECT_EQ(field.GetSymbol(9), 27);
    EXPECT_FALSE(field.HasSymbol(28));
    EXPECT_EQ(field.GetSymbol(10), -1);
    EXPECT_EQ(field.GetSymbol(-1), -1);

    field.SetType(MeasureObject::NumberField);
    EXPECT_EQ(field.GetType(), 3);
    EXPECT_EQ(SavedRecord(field).right(44), SymbolBytes({Quantity::InstrumentNumber, Quantity::Bank}) + Le32(0));
    field.SetType(2);
    EXPECT_EQ(field.GetType(), 1);
    EXPECT_TRUE(field.HasSymbol(Quantity::Bank));

    for (int position : {5, 6, -1})
        field.SetDecimalPosition(position);
    EXPECT_EQ(field.GetDecimalPosition(), 5);
}

TEST(MeasureObjectTextTest, ValueReplacesTheStoredTextUntilDropped)
{
    MeasureObject field;
    field.SetText(QStringLiteral("fallback"));
    EXPECT_EQ(field.GetDisplayText(), QStringLiteral("fallback"));

    const InstrumentItem item(0.35, TrippingTime, false, false);
    field.Fill(&item);
    EXPECT_EQ(field.GetDisplayText(), QStringLiteral("t\x1b\x02" "A\x1b\x01=0.35 s "));
    EXPECT_EQ(field.GetText(), QStringLiteral("0.35"));

    // Typed texts are parsed into the value and read back as plain numbers.
    field.SetText(QStringLiteral("> 1,5 k"));
    EXPECT_EQ(field.GetValue()->GetValue(), 1500);
    EXPECT_EQ(field.GetText(), QStringLiteral(">1500"));
    // Only the first 249 bytes are read: the scale letter after them is not.
    field.SetText(QString(248, u' ') + QStringLiteral("7k"));
    EXPECT_EQ(field.GetValue()->GetValue(), 7);

    field.SetText(QString());
    EXPECT_EQ(field.GetValue(), nullptr);
    EXPECT_EQ(field.GetDisplayText(), QStringLiteral("fallback"));
}

TEST(MeasureObjectLimitTest, LowerBoundWinsForTextsAndColours)
{
    // Bounds crossed over: a value of 7 is below 10 and above 5.
    MeasureLimit limit;
    limit.SetMinimum(10);
    limit.SetMaximum(5);
    limit.SetMinText(QStringLiteral("low"));
    limit.SetMaxText(QStringLiteral("high"));
    limit.SetMinColor(0x111111);
    limit.SetMaxColor(0x222222);
    MeasureObject field;
    const InstrumentItem item(7, 29, false, false);
    field.Fill(&item);
    struct Case
    {
        int32_t type;
        const char* text;
        TColor fore;
        TColor back;
    };
    for (const Case& c : {Case{MeasureLimit::ShowText, "low", clBlack, clWhite},
                          Case{MeasureLimit::ChangeTextColor, "U=7 V ", 0x111111, clWhite},
                          Case{MeasureLimit::ChangeBackColor, "U=7 V ", clBlack, 0x111111}}) {
        limit.SetMinType(c.type);
        limit.SetMaxType(c.type);
        field.SetLimit(&limit);
        EXPECT_EQ(field.GetDisplayText(), QString::fromUtf8(c.text)) << c.type;
        EXPECT_EQ(field.GetForeColor(), c.fore) << c.type;
        EXPECT_EQ(field.GetBackColor(), c.back) << c.type;
    }
    field.SetValue(nullptr);
    EXPECT_EQ(field.GetBackColor(), clWhite);
}

TEST(MeasureObjectLimitTest, TextAndColourTestsAgreeAtTheBound)
{
    // 0.1 + 0.2 lies just above 0.3; in single precision both are equal.
    const double justAbove = 0.1 + 0.2;
    EXPECT_EQ(TimeField(justAbove, MeasureLimit::ShowText)->GetDisplayText(), QStringLiteral("TOO SLOW"));
    EXPECT_EQ(TimeField(justAbove, MeasureLimit::ChangeTextColor)->GetForeColor(), 0x0000FF);
    EXPECT_EQ(TimeField(0.3, MeasureLimit::ShowText)->GetDisplayText(), QStringLiteral("0.30"));
    EXPECT_EQ(TimeField(0.3, MeasureLimit::ChangeTextColor)->GetForeColor(), clBlack);
}

TEST(MeasureObjectLimitTest, FractionalBoundStillHoldsAfterSaving)
{
    // Stored as whole numbers, 0.3 s became 0 and every passing time was flagged.
    const auto field = Reloaded(*TimeField(0.25, MeasureLimit::ChangeBackColor));
    EXPECT_EQ(field->GetLimit()->GetMaximum(), 0.3);
    EXPECT_EQ(field->GetBackColor(), clWhite);
    EXPECT_EQ(Reloaded(*TimeField(0.31, MeasureLimit::ChangeBackColor))->GetBackColor(), 0x0000FF);
}

TEST(MeasureObjectLimitTest, LongTextsAreCutWithoutSplittingACharacter)
{
    MeasureLimit limit;
    limit.SetMaximum(-1);
    limit.SetMaxType(MeasureLimit::ShowText);
    limit.SetMaxText(QString(248, u'a') + QString::fromUtf8("\xf0\x9f\x98\x80") + QStringLiteral("zz"));
    MeasureObject field;
    field.SetLimit(&limit);
    const InstrumentItem item(1, 29, false, false);
    field.Fill(&item);
    EXPECT_EQ(field.GetDisplayText(), QString(248, u'a'));
    limit.SetMaxText(QString(300, u'b'));
    field.SetLimit(&limit);
    EXPECT_EQ(field.GetDisplayText(), QString(249, u'b'));
}

TEST(MeasureObjectCopyTest, CloneKeepsTypeStoredTextAndOwnsItsParts)
{
    auto field = TimeField(0.25, MeasureLimit::ShowText);
    field->SetType(MeasureObject::NumberField);
    field->SetValue(nullptr);
    field->SetText(QStringLiteral("ID"));
    const InstrumentItem number(1234, Quantity::InstrumentNumber, true, false);
    field->Fill(&number);

    const std::unique_ptr<AbstractFormObject> clone = field->Clone();
    auto& copy = dynamic_cast<MeasureObject&>(*clone);
    EXPECT_EQ(copy.GetType(), MeasureObject::NumberField);
    EXPECT_TRUE(copy.HasSymbol(Quantity::InstrumentNumber));
    EXPECT_EQ(SavedRecord(copy), SavedRecord(*field));

    field->SetValue(nullptr);
    field->SetLimit(nullptr);
    EXPECT_EQ(copy.GetValue()->GetValue(), 1234);
    ASSERT_NE(copy.GetLimit(), nullptr);
    copy.SetValue(nullptr);
    EXPECT_EQ(copy.GetDisplayText(), QStringLiteral("ID"));
}

TEST(MeasureObjectRecordTest, FullRecordRoundTripsByteForByte)
{
    auto field = TimeField(0.25, MeasureLimit::ShowText);
    field->AddSymbol(TrippingTime);
    field->AddSymbol(11);
    const QByteArray bytes = SavedRecord(*field);
    TextObject text;
    text.SetType(1);
    EXPECT_EQ(SavedRecord(MeasureObject()), SavedRecord(text) + Bytes({3, 7, 0, 0}) + SymbolBytes({}) + Le32(0));
    EXPECT_EQ(bytes, SavedRecord(text) + Bytes({3, 10, 1}) + SavedRecord(*field->GetValue()) + Bytes({1})
                         + SavedRecord(*field->GetLimit()) + SymbolBytes({6, 11}) + Le32(3));
    const auto read = Reloaded(*field);
    EXPECT_EQ(SavedRecord(*read), bytes);
    EXPECT_EQ(read->GetDisplayText(), QStringLiteral("0.25"));
}

TEST(MeasureObjectRecordTest, OlderVersionsKeepWhatTheyDoNotHold)
{
    const QByteArray text = SavedRecord(TextObject());
    // Version 2 with a limit of the integer version: symbols read, no decimal position.
    const QByteArray oldLimit = Bytes({1, 1}) + Le32(2) + Le32(0xFF) + Le32(0) + Bytes({0}) + Le32(0) + Le32(0)
                                + Le32(0);
    ReadBuffer v2(text + Bytes({2, 7, 0, 5}) + oldLimit + SymbolBytes({15}));
    MeasureObject field;
    field.SetDecimalPosition(4);
    ASSERT_TRUE(field.Load(v2));
    EXPECT_TRUE(v2.atEnd());
    EXPECT_EQ(field.GetDecimalPosition(), 4);
    EXPECT_TRUE(field.HasSymbol(15));
    EXPECT_EQ(field.GetLimit()->GetMinimum(), 2.0);
    EXPECT_EQ(SavedRecord(field).mid(text.size() + 4, 1), Bytes({MeasureLimit::RecordVersion}));

    // Version 1: nothing after the limit; a record without a value drops the held one.
    const InstrumentItem item(1, 1, false, false);
    field.Fill(&item);
    ReadBuffer v1(text + Bytes({1, 7, 0, 0}));
    ASSERT_TRUE(field.Load(v1));
    EXPECT_TRUE(v1.atEnd());
    EXPECT_TRUE(field.HasSymbol(15));
    EXPECT_EQ(field.GetValue(), nullptr);
    EXPECT_EQ(field.GetLimit(), nullptr);
}

TEST(MeasureObjectRecordTest, TruncatedRecordsReportDamage)
{
    auto full = TimeField(0.25, MeasureLimit::ShowText);
    const QByteArray whole = SavedRecord(*full);
    for (qsizetype n = 0; n < whole.size(); ++n) {
        ReadBuffer in(whole.left(n));
        MeasureObject field;
        EXPECT_FALSE(field.Load(in)) << n;
        EXPECT_TRUE(IsStreamDamaged(in)) << n;
    }
}

TEST(MeasureObjectXmlTest, FieldElementsWithoutTheText)
{
    auto field = TimeField(0.25, MeasureLimit::ShowText);
    const InstrumentItem item = *field->GetValue();
    field->SetValue(nullptr);
    field->SetText(QStringLiteral("not written"));
    field->Fill(&item);
    field->SetRect(10, 20, 110, 70);
    field->AddSymbol(TrippingTime);
    field->AddSymbol(11);
    field->RemoveSymbol(TrippingTime);
    const QByteArray xml = WrittenXml(*field);
    const QByteArray limit = WrittenXml(*field->GetLimit());
    const QByteArray expected = QByteArray("<Left>1</Left>\n<Top>2</Top>\n<Right>11</Right>\n<Bottom>7</Bottom>\n"
                                "<LeftBorder>0.1</LeftBorder>\n<TopBorder>0.1</TopBorder>\n"
                                "<RightBorder>0.1</RightBorder>\n<BottomBorder>0.1</BottomBorder>\n"
                                "<ForeColor>0</ForeColor>\n<BackColor>16777215</BackColor>\n"
                                "<Align>4</Align>\n<Font>Arial</Font>\n<Size>40</Size>\n<Type>1</Type>\n"
                                "<Format>10</Format>\n"
                                "<Item><Value>0.25</Value>\n<Symbol>6</Symbol>\n<Primary/>\n</Item>\n")
                                + limit + "<Symbol1>11</Symbol1>\n<DecimalPosition>3</DecimalPosition>\n";
    EXPECT_EQ(xml.toStdString(), expected.toStdString());
}

TEST(MeasureObjectDrawTest, DrawsTheDisplayTextInTheLimitColours)
{
    auto field = TimeField(0.01, MeasureLimit::ChangeTextColor);
    field->SetRect(0, 0, 400, 100);
    RecordingCanvas canvas;
    field->Draw(canvas, DrawContext{});
    ASSERT_FALSE(canvas.Rectangles().isEmpty());
    EXPECT_EQ(canvas.Rectangles().first().brushColor, clWhite);
    QString drawn;
    for (const CanvasCall& call : canvas.Texts()) {
        EXPECT_EQ(call.textColor, 0xFF0000);
        drawn += call.text;
    }
    EXPECT_EQ(drawn, QStringLiteral("0.01"));
}
