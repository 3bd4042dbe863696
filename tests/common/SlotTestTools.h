#pragma once
// Memory images of the models that keep measurements in numbered slots:
// 32-byte blocks that start with the bank bytes of their slots.

#include "common/TranslatorTestTools.h"
#include "instruments/Crc.h"
#include "instruments/InstrumentSetup.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <vector>

// Slot s of the Kx310 and Kx330: block s / 8, bank byte at j, kind at
// 8 + 3j, raw value at 9 + 3j (j = s % 8).
inline void PutThreeByteSlot(InstrumentTranslator& t, int slot, int bank, int kind, int raw)
{
    const int block = slot / 8 * 32;
    const int j = slot % 8;
    t.SetByte(block + j, static_cast<uint8_t>(bank));
    t.SetByte(block + 8 + 3 * j, static_cast<uint8_t>(kind));
    PutInt16(t, block + 9 + 3 * j, raw);
}

// Slot s of the Kx350: block s / 4, bank byte at j, kind at 4 + 7j, then
// the three values W, X, C (j = s % 4).
inline void PutSevenByteSlot(InstrumentTranslator& t, int slot, int bank, int kind, int w, int x, int c)
{
    const int block = slot / 4 * 32;
    const int j = slot % 4;
    t.SetByte(block + j, static_cast<uint8_t>(bank));
    t.SetByte(block + 4 + 7 * j, static_cast<uint8_t>(kind));
    PutInt16(t, block + 5 + 7 * j, w);
    PutInt16(t, block + 7 + 7 * j, x);
    PutInt16(t, block + 9 + 7 * j, c);
}

// One slot's kind and raw values (the Kx310 and Kx330 use only the first),
// and the items it must give after its bank's number item.
struct SlotCase
{
    int Kind;
    std::array<int, 3> Raw;
    std::vector<ExpectedItem> Items;
};

// Puts case i into slot i with bank byte i, decodes, and expects bank i + 1
// to hold its number item and then exactly the case's items.
inline void ExpectSlotCases(InstrumentTranslator& t, bool sevenByteSlots, const std::vector<SlotCase>& cases)
{
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const SlotCase& c = cases[i];
        const int slot = static_cast<int>(i);
        if (sevenByteSlots)
            PutSevenByteSlot(t, slot, slot, c.Kind, c.Raw[0], c.Raw[1], c.Raw[2]);
        else
            PutThreeByteSlot(t, slot, slot, c.Kind, c.Raw[0]);
    }
    InstrumentData data;
    t.DecodeData(data);
    ASSERT_EQ(data.GetCount(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].Kind);
        const InstrumentBank* bank = data.GetBank(static_cast<int>(i));
        ASSERT_EQ(bank->GetName(), QByteArray::number(static_cast<int>(i) + 1));
        ASSERT_EQ(bank->GetCount(), 1 + static_cast<int>(cases[i].Items.size()));
        ExpectItem(bank->GetItem(0), {0, static_cast<double>(i + 1), false});
        for (std::size_t k = 0; k < cases[i].Items.size(); ++k)
            ExpectItem(bank->GetItem(static_cast<int>(k) + 1), cases[i].Items[k]);
    }
}

// Little-endian 16-bit words as image bytes.
inline QByteArray Words(std::initializer_list<int> words)
{
    QByteArray bytes;
    for (int word : words) {
        bytes.append(static_cast<char>(word & 0xFF));
        bytes.append(static_cast<char>((word >> 8) & 0xFF));
    }
    return bytes;
}

inline QByteArray ImageBytes(const InstrumentTranslator& t, int offset, int length)
{
    QByteArray bytes(length, '\0');
    EXPECT_TRUE(t.CopyFromImage(reinterpret_cast<uint8_t*>(bytes.data()), offset, length));
    return bytes;
}

inline void PutArea(InstrumentTranslator& t, int offset, const QByteArray& bytes)
{
    ASSERT_TRUE(t.CopyToImage(reinterpret_cast<const uint8_t*>(bytes.constData()), offset,
                              static_cast<int>(bytes.size())));
}

// The three setup sections of the Kx310 and Kx330 hold the same words.
inline void ExpectSameSetupWords(const InstrumentTranslator& a, const InstrumentTranslator& b)
{
    for (int section : {8064, 8096, 8128})
        EXPECT_EQ(ImageBytes(a, section, 30), ImageBytes(b, section, 30)) << section;
}

// The check word that must follow a 30-byte setup section of the Kx310 and Kx330.
inline uint16_t StoredCheck(const InstrumentTranslator& t, int section)
{
    return static_cast<uint16_t>(~Crc16(ImageBytes(t, section, 30)));
}

// The model's factory description, and an empty one (missing groups keep the
// factory words), both encode to exactly `area` from 8064 on and leave the
// data area erased.
template <typename Model>
void ExpectFactorySetupEncodesTo(const QByteArray& area)
{
    Model t;
    InstrumentSetup setup;
    t.GetDefaultSetup(setup);
    t.EncodeSetup(setup);
    EXPECT_EQ(ImageBytes(t, 8064, 128).toHex(), area.toHex());
    EXPECT_EQ(ImageBytes(t, 0, 8064), QByteArray(8064, '\xFF'));

    Model empty;
    empty.EncodeSetup(InstrumentSetup());
    EXPECT_EQ(ImageBytes(empty, 8064, 128).toHex(), area.toHex());
}

// The number setting at `index` of a group.
inline InstrumentSetupItemNumber* NumberItem(const InstrumentSetup& setup, int group, int index)
{
    InstrumentSetupBank* bank = setup.GetBank(group);
    return bank ? dynamic_cast<InstrumentSetupItemNumber*>(bank->GetItem(index)) : nullptr;
}

// Replaces a group's items by number settings of one id with these values.
inline void SetListValues(InstrumentSetup& setup, int groupId, int itemId, std::initializer_list<float> values)
{
    InstrumentSetupBank* bank = setup.FindBank(groupId);
    ASSERT_NE(bank, nullptr);
    bank->Clear();
    for (float value : values)
        bank->AddItem(std::make_unique<InstrumentSetupItemNumber>(itemId, value, QString(), 0.0f, 0.0f, true));
}

// Sets one number setting found by id; false when it is missing or refuses.
inline bool SetNumber(InstrumentSetup& setup, int groupId, int itemId, float value)
{
    InstrumentSetupBank* bank = setup.FindBank(groupId);
    auto* item = bank ? dynamic_cast<InstrumentSetupItemNumber*>(bank->FindItem(itemId)) : nullptr;
    return item && item->SetValue(value);
}
