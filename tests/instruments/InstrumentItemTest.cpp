#include <gtest/gtest.h>

#include "common/RecordBytes.h"
#include "instruments/InstrumentItem.h"
#include "instruments/QuantityTable.h"
#include "platform/DateTime.h"
#include "platform/NumberText.h"
#include "storage/File.h"
#include "storage/Utf8.h"

#include <QBuffer>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int kVoltage = 1;      // U LN, V, SI prefix
constexpr int kResistance = 15;  // R ISO, ohm, SI prefix
constexpr int kTemperature = 16; // t, degrees C, plain
constexpr int kPowerFactor = 23; // Cos phi, no unit, plain

QByteArray Utf8(const char* text)
{
    return QByteArray(text);
}

InstrumentItem Item(double value, int quantity = kVoltage, bool over = false)
{
    return InstrumentItem(value, quantity, true, over);
}

QByteArray SavedBytes(const InstrumentItem& item)
{
    return Written([&item](QIODevice& out) { item.Save(out); });
}

} // namespace

TEST(QuantityTable, RowsAreLookedUpOnlyInsideTheTable)
{
    EXPECT_EQ(FindQuantityRow(-1), nullptr);
    EXPECT_EQ(FindQuantityRow(Quantity::Count), nullptr);
    EXPECT_EQ(FindQuantityRow(Quantity::DateTime), nullptr);
    ASSERT_NE(FindQuantityRow(47), nullptr);
    EXPECT_STREQ(FindQuantityRow(47)->Unit, "F");
    EXPECT_TRUE(GetQuantityDescription(1000).isEmpty());
}

TEST(QuantityTable, SymbolsAndUnitsAreStyledUtf8)
{
    EXPECT_EQ(InstrumentItem::LookUpSymbol(0), Utf8("Bank"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(3), Utf8("Z\x1b\x02S\x1b\x01"));
    EXPECT_EQ(InstrumentItem::LookUpUnit(3), Utf8("\xce\xa9"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(4), Utf8("U\x1b\x02I\xce\x94N\x1b\x01"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(11), Utf8("t\x1b\x02" "A 5X\x1b\x01"));
    EXPECT_EQ(InstrumentItem::LookUpUnit(16), Utf8("\xc2\xb0" "C"));
    EXPECT_EQ(InstrumentItem::LookUpUnit(17), Utf8("min.\x1b\x03-1\x1b\x01"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(21), Utf8("I\x1b\x02\xce\x94\x1b\x01(194)"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(23), Utf8("Cos \xcf\x86"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(25), Utf8("\x1b\x02\xce\x94\x1b\x01U"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(32), Utf8("\xcf\x81"));
    EXPECT_EQ(InstrumentItem::LookUpUnit(32), Utf8("\xce\xa9m"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(35), Utf8("I\x1b\x02 M1\x1b\x01"));
    EXPECT_EQ(InstrumentItem::LookUpSymbol(30), Utf8("No."));
    EXPECT_EQ(InstrumentItem::LookUpUnit(30), Utf8(""));
    EXPECT_EQ(FindQuantityRow(27)->DescriptionId, 157);
    EXPECT_EQ(FindQuantityRow(28)->DescriptionId, 156);
    EXPECT_EQ(FindQuantityRow(0)->DescriptionId, 218);
}

TEST(QuantityTable, EveryStyledTextReturnsToNormalAndPrefixesMatchTheirUnits)
{
    const auto endsNormal = [](const char* text) {
        int style = 1;
        for (const char* p = text; *p; ++p) {
            if (*p == '\x1b') {
                EXPECT_TRUE(p[1] == 1 || p[1] == 2 || p[1] == 3) << text;
                style = p[1];
                ++p;
            }
        }
        return style == 1;
    };
    for (int q = 0; q < Quantity::Count; ++q) {
        const QuantityRow* row = FindQuantityRow(q);
        ASSERT_NE(row, nullptr);
        EXPECT_TRUE(endsNormal(row->Symbol)) << q;
        EXPECT_TRUE(endsNormal(row->Unit)) << q;
        EXPECT_GT(row->DescriptionId, 0) << q;
    }
    // Rows shown without a prefix: bank, temperature, revolutions, power
    // factor, instrument number.
    for (int q : {0, 16, 17, 23, 30})
        EXPECT_FALSE(FindQuantityRow(q)->SiPrefix) << q;
    EXPECT_TRUE(FindQuantityRow(45)->SiPrefix);
}

TEST(InstrumentItem, ConstructionCopiesAndClampsNegativeQuantities)
{
    InstrumentItem item(1.5, -4, "50V", false, true);
    EXPECT_EQ(item.GetQuantity(), 0);
    EXPECT_FALSE(item.IsPrimary());
    EXPECT_TRUE(item.IsOver());
    EXPECT_EQ(item.GetNote(), Utf8("50V"));

    std::unique_ptr<InstrumentItem> copy = item.CloneItem();
    copy->SetNote("PT100");
    EXPECT_EQ(item.GetNote(), Utf8("50V"));
    EXPECT_EQ(copy->GetValue(), 1.5);
    EXPECT_TRUE(copy->IsOver());
    EXPECT_FALSE(copy->IsPrimary());

    InstrumentItem bare(2, kVoltage, true, false);
    EXPECT_TRUE(bare.GetNote().isNull());
    EXPECT_FALSE(bare.GetNoteText().isNull());
    EXPECT_TRUE(bare.GetNoteText().isEmpty());
    copy->SetNote({});
    EXPECT_TRUE(copy->GetNote().isNull());

    std::unique_ptr<InstrumentAbstract> node = item.Clone();
    EXPECT_NE(dynamic_cast<InstrumentItem*>(node.get()), nullptr);
}

TEST(InstrumentItemText, PrefixFollowsTheTruncatedDecimalExponent)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0 "},          {0.5, "0.5 "},       {0.1, "100 m"},    {-0.002, "-2 m"},
        {9999, "9999 "},    {10000, "10 k"},     {230, "230 "},     {-1500, "-1500 "},
        {-15000, "-15 k"},
        {1.5e6, "1.5 M"},   {2.2e-8, "22 n"},    {3e9, "3 G"},      {5e12, "5 T"},
        {1e-3, "1 m"},      {250000, "250 k"},   {999e6, "999 M"},
        {4.7e-6, "4.7 \xce\xbc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Item(c.value).FormatWithPrefix(), Utf8(c.text)) << c.value;

    // Outside the prefixes (and at or below 1e-11) the value stays unscaled.
    for (double v : {1e-12, 5e-11, 1e15, -2e20}) {
        EXPECT_EQ(Item(v).FormatWithPrefix(), EncodeUtf8(FloatToStr(v)) + ' ') << v;
    }
}

TEST(InstrumentItemText, OverRangeMarksTheSideOfTheRange)
{
    EXPECT_EQ(Item(-0.002, kVoltage, true).FormatWithPrefix(), Utf8("<-2 m"));
    EXPECT_EQ(Item(1999, kVoltage, true).FormatWithPrefix(), Utf8(">1999 "));
    EXPECT_EQ(Item(0, kVoltage, true).GetOverPrefix(), Utf8(">"));
    EXPECT_EQ(Item(5, kVoltage, false).GetOverPrefix(), Utf8(""));
    EXPECT_EQ(Item(-40, kTemperature, true).FormatPlain(), Utf8("<-40"));
}

TEST(InstrumentItemText, FlagsAddSymbolUnitAndNote)
{
    InstrumentItem voltage(230, kVoltage, "L1", true, false);
    EXPECT_EQ(voltage.GetText(0, 0), Utf8("230 "));
    EXPECT_EQ(voltage.GetText(1, 0), Utf8("U\x1b\x02LN\x1b\x01=230 "));
    EXPECT_EQ(voltage.GetText(2, 0), Utf8("230 V"));
    EXPECT_EQ(voltage.GetText(4, 0), Utf8("230  L1"));
    EXPECT_EQ(voltage.GetText(7, 0), Utf8("U\x1b\x02LN\x1b\x01=230 V L1"));
    EXPECT_EQ(voltage.GetDefaultText(), voltage.GetText(0, 0));

    // Over range: no '=' after the symbol, the mark in its place.
    InstrumentItem insulation(999e6, kResistance, true, true);
    EXPECT_EQ(insulation.GetText(3, 0), Utf8("R\x1b\x02ISO\x1b\x01>999 M\xce\xa9"));
    // An item without a note still gets the separating blank.
    EXPECT_EQ(insulation.GetText(4, 0), Utf8(">999 M "));

    EXPECT_EQ(Item(25, kTemperature).GetText(3, 0), Utf8("t=25\xc2\xb0" "C"));
    EXPECT_EQ(Item(1234567, kTemperature).GetText(2, 0), Utf8("1234567\xc2\xb0" "C"));
    EXPECT_EQ(Item(0.95, kPowerFactor).GetText(3, 0), Utf8("Cos \xcf\x86=0.95"));
}

TEST(InstrumentItemText, QuantityWithoutARowIsPlainAndUnnamed)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    WriteByte(buffer, 1);
    WriteDouble(buffer, 12500);
    WriteInt32(buffer, 4711);
    WriteAnsiString(buffer, "x");
    WriteByte(buffer, 1);
    WriteByte(buffer, 0);
    buffer.seek(0);
    InstrumentItem item(0, 0, true, false);
    ASSERT_TRUE(item.Load(buffer));
    EXPECT_EQ(item.GetQuantity(), 4711);
    EXPECT_EQ(item.GetSymbol(), Utf8(""));
    EXPECT_EQ(item.GetUnit(), Utf8(""));
    EXPECT_EQ(item.GetText(7, 0), Utf8("=12500 x"));

    buffer.seek(9);
    WriteInt32(buffer, -7);
    buffer.seek(0);
    ASSERT_TRUE(item.Load(buffer));
    EXPECT_EQ(item.GetQuantity(), -7);
    EXPECT_EQ(item.GetText(3, 0), Utf8("=12500"));
}

TEST(InstrumentItemText, DateTimeShowsOnlyTheDateWhateverTheFlags)
{
    TDateTime when = 0;
    ASSERT_TRUE(TryEncodeDate(2024, 3, 5, when));
    TDateTime time = 0;
    ASSERT_TRUE(TryEncodeTime(10, 30, 0, 0, time));
    InstrumentItem item(when + time, Quantity::DateTime, "note", false, false);
    const QByteArray expected = EncodeUtf8(DateTimeToStr(when + time));
    EXPECT_EQ(expected, Utf8("3/5/2024 10:30:00"));
    for (int flags : {0, 1, 2, 3, 7})
        EXPECT_EQ(item.GetText(flags, 0), expected) << flags;
    EXPECT_EQ(item.GetValueText(), expected);
    EXPECT_EQ(item.GetSymbol(), Utf8(""));

    // A stored day count far outside the calendar must not break the text.
    InstrumentItem huge(1e300, Quantity::DateTime, false, false);
    huge.GetText(7, 0);
    InstrumentItem nan(std::numeric_limits<double>::quiet_NaN(), Quantity::DateTime, false, false);
    nan.GetText(7, 0);
}

TEST(InstrumentItemText, ScaledFormatsUsePrecisionPatterns)
{
    EXPECT_EQ(Item(0.0123).GetText(9, 2), Utf8("12.3"));
    EXPECT_EQ(Item(0.0123).GetText(9, 1), Utf8("12.3"));
    EXPECT_EQ(Item(0.0123).GetText(9, 3), Utf8("12.30"));
    EXPECT_EQ(Item(0.0123).GetText(9, 4), Utf8("12.300"));
    EXPECT_EQ(Item(0.0123).GetText(9, 5), Utf8("12.3000"));
    EXPECT_EQ(Item(0.0123).GetText(9, 0), Utf8("12.3"));
    EXPECT_EQ(Item(1.23456).GetText(10, 1), Utf8("1.235"));
    EXPECT_EQ(Item(2.5e-6).GetText(8, 1), Utf8("2.5"));
    EXPECT_EQ(Item(1500).GetText(11, 2), Utf8("1.5"));
    EXPECT_EQ(Item(1500).GetText(11, 4), Utf8("1.500"));
    EXPECT_EQ(Item(2.5e6).GetText(12, 1), Utf8("2.5"));
    EXPECT_EQ(Item(3e9).GetText(13, 1), Utf8("3"));
    EXPECT_EQ(Item(42).GetText(99, 1), Utf8("42"));
    EXPECT_EQ(Item(-0.5).GetText(10, 3), Utf8("-0.50"));
    EXPECT_EQ(Item(0).GetText(10, 4), Utf8("0.000"));
    // No over mark, symbol or unit in the scaled formats.
    EXPECT_EQ(Item(1999, kVoltage, true).GetText(10, 1), Utf8("1999"));
}

TEST(InstrumentItemText, ScaledFormatsSwitchToExponentOutsideTheFixedRange)
{
    EXPECT_EQ(Item(250000).GetText(10, 1), Utf8("2.5E+5"));
    EXPECT_EQ(Item(100000).GetText(10, 2), Utf8("1E+5"));
    EXPECT_EQ(Item(-100000).GetText(10, 2), Utf8("-1E+5"));
    EXPECT_EQ(Item(99999.5).GetText(10, 1), Utf8("99999.5"));
    EXPECT_EQ(Item(0.0001).GetText(10, 4), Utf8("0.000"));
    EXPECT_EQ(Item(-0.0001).GetText(10, 5), Utf8("-0.0001"));
    EXPECT_EQ(Item(0.00009).GetText(10, 4), Utf8("9E-5"));
    EXPECT_EQ(Item(-0.00009).GetText(10, 1), Utf8("-9E-5"));
    EXPECT_EQ(Item(1.2345e-7).GetText(10, 1), Utf8("1.235E-7"));
}

TEST(InstrumentItemText, NonFiniteValuesGiveTextsInEveryFamily)
{
    for (double v : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        for (int flags : {0, 7, 8, 10, 13}) {
            EXPECT_FALSE(Item(v).GetText(flags, 2).isEmpty()) << flags;
            EXPECT_FALSE(Item(v, kTemperature).GetText(flags, 0).isEmpty()) << flags;
        }
    }
}

TEST(InstrumentItemParse, TypedValuesWithOverMarksAndScaleLetters)
{
    struct Case
    {
        const char* text;
        double value;
        bool over;
    };
    const Case cases[] = {
        {"> 1,5 k", 1500, true},  {"12m", 0.012, false},     {"12M", 12e6, false},
        {"  < 3 G", 3e9, true},   {"2 g", 2e9, false},       {"7K", 7000, false},
        {"4.7u", 4.7e-6, false},  {"4.7U", 4.7e-6, false},   {"4.7\xce\xbc", 4.7e-6, false},
        {"-2.5", -2.5, false},    {"+3", 3, false},          {"1e3k", 1e6, false},
        {"1e", 1, false},         {"1.5e-2 m", 1.5e-5, false}, {".5", 0.5, false},
        {"5.", 5, false},         {"abc", 0, false},         {"", 0, false},
        {">", 0, true},           {"230 V", 230, false},     {"2 x", 2, false},
    };
    for (const Case& c : cases) {
        InstrumentItem item(99, kVoltage, true, !c.over);
        item.SetValueText(c.text);
        EXPECT_DOUBLE_EQ(item.GetValue(), c.value) << c.text;
        EXPECT_EQ(item.IsOver(), c.over) << c.text;
    }
}

TEST(InstrumentItemParse, OnlyTwoHundredCharactersAreRead)
{
    InstrumentItem item(0, kVoltage, true, false);
    item.SetValueText(QByteArray("1") + QByteArray(250, '0'));
    EXPECT_DOUBLE_EQ(item.GetValue(), 1e199);
    // The letter after a cut-off number is not read either.
    item.SetValueText(QByteArray(200, '1') + "k");
    EXPECT_LT(item.GetValue(), 1.2e200);
    item.SetValueText("1e999");
    EXPECT_TRUE(std::isinf(item.GetValue()));
    item.SetValueText("1e-999");
    EXPECT_EQ(item.GetValue(), 0);
}

TEST(InstrumentItemParse, DateTimeItemsTakeDateTextsOnly)
{
    InstrumentItem item(1.0, Quantity::DateTime, false, false);
    item.SetValueText("junk");
    EXPECT_EQ(item.GetValue(), 1.0);
    item.SetValueText("3/5/2024 10:30");
    EXPECT_EQ(item.GetText(0, 0), Utf8("3/5/2024 10:30:00"));
}

TEST(InstrumentItemRecord, SaveWritesTheFieldsInOrder)
{
    InstrumentItem item(230.5, kVoltage, "50V", true, false);
    QByteArray expected("\x01", 1);
    const double value = 230.5;
    expected += QByteArray(reinterpret_cast<const char*>(&value), 8);
    expected += QByteArray("\x01\x00\x00\x00\x03\x00\x00\x00" "50V" "\x01\x00", 13);
    EXPECT_EQ(SavedBytes(item), expected);

    // No note: a zero length.
    const QByteArray bare = SavedBytes(InstrumentItem(0, 16, false, true));
    EXPECT_EQ(bare.size(), InstrumentItem::MinRecordSize);
    EXPECT_EQ(bare.mid(13), QByteArray("\x00\x00\x00\x00\x00\x01", 6));
}

TEST(InstrumentItemRecord, LoadReadsWhatSaveWroteAndTakesAnyNonZeroFlag)
{
    InstrumentItem original(-0.00125, 47, "probe \xc3\xa9", false, true);
    QByteArray bytes = SavedBytes(original);
    InstrumentItem loaded(0, 0, true, false);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(loaded.Load(buffer));
    EXPECT_EQ(SavedBytes(loaded), bytes);

    bytes[bytes.size() - 2] = '\x07';
    bytes[bytes.size() - 1] = '\xff';
    buffer.seek(0);
    ASSERT_TRUE(loaded.Load(buffer));
    EXPECT_TRUE(loaded.IsPrimary());
    EXPECT_TRUE(loaded.IsOver());
}

TEST(InstrumentItemRecord, CutOrOversizedRecordsReportDamage)
{
    const QByteArray full = SavedBytes(InstrumentItem(1, 1, "note", true, false));
    for (qsizetype cut : {qsizetype(0), qsizetype(5), qsizetype(16), qsizetype(20), full.size() - 1}) {
        QByteArray bytes = full.left(cut);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        InstrumentItem item(0, 0, true, false);
        EXPECT_FALSE(item.Load(buffer)) << cut;
        EXPECT_TRUE(IsStreamDamaged(buffer)) << cut;
    }
    for (int32_t length : {-1, 1000000, INT32_MAX}) {
        QByteArray bytes = full;
        std::memcpy(bytes.data() + 13, &length, 4);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        InstrumentItem item(0, 0, true, false);
        EXPECT_FALSE(item.Load(buffer)) << length;
        EXPECT_TRUE(IsStreamDamaged(buffer)) << length;
    }
}

TEST(InstrumentItemRecord, XmlElements)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    InstrumentItem(230.5, kVoltage, "a<b", true, false).WriteXml(out);
    EXPECT_EQ(out.data(), QByteArray("<Item><Value>230.5</Value>\n<Symbol>1</Symbol>\n"
                                     "<Note>a&lt;b</Note>\n<Primary/>\n</Item>\n"));

    QBuffer bare;
    bare.open(QIODevice::WriteOnly);
    InstrumentItem(-3, 1000, false, true).WriteXml(bare);
    EXPECT_EQ(bare.data(), QByteArray("<Item><Value>-3</Value>\n<Symbol>1000</Symbol>\n"
                                      "<Over/>\n</Item>\n"));
}
