#pragma once
// The models that keep their measurements in the 2000 three-byte slots and
// their settings in checksummed sections of the setup area (Kx310, Kx330):
// decoding the data, the factory settings and reading and writing the
// settings share one implementation, driven by each model's kind table and
// settings groups.

#include "instruments/ChecksummedSetup.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/TranslatorRules.h"

#include <span>

class ChecksummedSlotTranslator : public InstrumentTranslator
{
public:
    void GetDefaultSetup(InstrumentSetup& setup) override;
    void EncodeSetup(const InstrumentSetup& setup) override;
    void DecodeSetup(InstrumentSetup& setup) override;
    void DecodeData(InstrumentData& data) override;

protected:
    // The tables must outlive the translator (the models' static tables).
    ChecksummedSlotTranslator(int modelCode, std::span<const TranslatorRules::KindRow> kinds,
                              std::span<const ChecksummedSetup::WordGroup> groups);

private:
    std::span<const TranslatorRules::KindRow> m_kinds;
    std::span<const ChecksummedSetup::WordGroup> m_groups;
};
