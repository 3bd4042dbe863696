#include "instruments/ChecksummedSlotTranslator.h"

ChecksummedSlotTranslator::ChecksummedSlotTranslator(int modelCode,
                                                     std::span<const TranslatorRules::KindRow> kinds,
                                                     std::span<const ChecksummedSetup::WordGroup> groups)
    : InstrumentTranslator(ModelOf(modelCode)), m_kinds(kinds), m_groups(groups)
{
}

void ChecksummedSlotTranslator::GetDefaultSetup(InstrumentSetup& setup)
{
    ChecksummedSetup::GetDefault(m_groups, setup);
}

void ChecksummedSlotTranslator::EncodeSetup(const InstrumentSetup& setup)
{
    ChecksummedSetup::Encode(*this, m_groups, setup);
}

void ChecksummedSlotTranslator::DecodeSetup(InstrumentSetup& setup)
{
    ChecksummedSetup::Decode(*this, m_groups, setup);
}

void ChecksummedSlotTranslator::DecodeData(InstrumentData& data)
{
    TranslatorRules::DecodeThreeByteSlots(*this, data, m_kinds);
}
