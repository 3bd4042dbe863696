#pragma once
// Memory images of the models that keep measurements in numbered slots:
// 32-byte blocks that start with the bank bytes of their slots.

#include "common/TranslatorTestTools.h"
#include "instruments/InstrumentSetup.h"

#include <QByteArray>
#include <QString>

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
