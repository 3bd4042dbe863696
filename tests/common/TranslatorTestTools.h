#pragma once
// Building synthetic instrument memory images and checking decoded items.

#include <gtest/gtest.h>

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "instruments/InstrumentTranslator.h"

#include <QByteArray>

#include <cstdint>
#include <initializer_list>
#include <memory>

// Writes bytes into a translator's image from `offset` on.
inline void PutBytes(InstrumentTranslator& t, int offset, std::initializer_list<int> bytes)
{
    for (int byte : bytes)
        t.SetByte(offset++, static_cast<uint8_t>(byte));
}

// A signed 16-bit raw value, little-endian.
inline void PutInt16(InstrumentTranslator& t, int offset, int value)
{
    t.SetUInt16(offset, static_cast<uint16_t>(static_cast<int16_t>(value)));
}

// One eight-byte measurement record of the Kx420 generation.
inline void PutMeasurement(InstrumentTranslator& t, int offset, int kind, int first, int second = 0,
                           int third = 0)
{
    PutBytes(t, offset, {1, kind});
    PutInt16(t, offset + 2, first);
    PutInt16(t, offset + 4, second);
    PutInt16(t, offset + 6, third);
}

// An item as a decoder must produce it.
struct ExpectedItem
{
    int Quantity;
    double Value;
    bool Primary;
    bool Over = false;
    const char* Note = "";
};

inline void ExpectItem(const InstrumentItem* item, const ExpectedItem& expected)
{
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetQuantity(), expected.Quantity);
    EXPECT_DOUBLE_EQ(item->GetValue(), expected.Value) << "quantity " << expected.Quantity;
    EXPECT_EQ(item->IsPrimary(), expected.Primary) << "quantity " << expected.Quantity;
    EXPECT_EQ(item->IsOver(), expected.Over) << "quantity " << expected.Quantity;
    EXPECT_EQ(item->GetNoteText(), QByteArray(expected.Note)) << "quantity " << expected.Quantity;
}

// The bank's items from `first` on, exactly (no more, no fewer).
inline void ExpectItems(const InstrumentBank* bank, int first, std::initializer_list<ExpectedItem> items)
{
    ASSERT_NE(bank, nullptr);
    ASSERT_EQ(bank->GetCount(), first + static_cast<int>(items.size())) << "bank " << bank->GetName().constData();
    int index = first;
    for (const ExpectedItem& expected : items)
        ExpectItem(bank->GetItem(index++), expected);
}

// The bank names in order.
inline QList<QByteArray> BankNames(const InstrumentData& data)
{
    QList<QByteArray> names;
    for (int i = 0; i < data.GetCount(); ++i)
        names.append(data.GetBank(i)->GetName());
    return names;
}

// An all-0xFF image decodes to no banks, and what the set held is cleared.
inline void ExpectBlankImageGivesNoBanks(InstrumentTranslator& t)
{
    InstrumentData data;
    data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("old")));
    t.DecodeData(data);
    EXPECT_EQ(data.GetCount(), 0);
}

// A bank header of the Kx460 and Kx440: a signed 16-bit number at bytes 2-3.
inline void PutInt16Header(InstrumentTranslator& t, int offset, int number)
{
    PutBytes(t, offset, {0, 0xFF});
    PutInt16(t, offset + 2, number);
}

// A measurement record alone in a fresh image of the model decodes into
// bank "0" with exactly these items, or into no bank when there are none.
template <typename Model>
void ExpectLoneMeasurement(int kind, int first, int second, int third, std::initializer_list<ExpectedItem> items)
{
    SCOPED_TRACE(testing::Message() << "kind " << kind);
    Model t;
    PutMeasurement(t, 0, kind, first, second, third);
    InstrumentData data;
    t.DecodeData(data);
    if (items.size() == 0) {
        EXPECT_EQ(data.GetCount(), 0);
        return;
    }
    ASSERT_EQ(BankNames(data), QList<QByteArray>{"0"});
    ExpectItems(data.GetBank(0), 0, items);
}

// The translator the factory makes for a model code.
template <typename Model>
void ExpectFactoryModel(int code, const char* name, bool settingsWritable)
{
    const std::unique_ptr<InstrumentTranslator> t = CreateTranslatorForModel(code, 0);
    ASSERT_NE(dynamic_cast<Model*>(t.get()), nullptr) << code;
    EXPECT_EQ(t->GetModelName(), QByteArray(name));
    EXPECT_EQ(t->CanWriteSetup(), settingsWritable);
}
