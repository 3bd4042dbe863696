#pragma once
// Kx340: appliance and installation tester storing 1000 eight-byte records,
// each a main value and an accompanying value, with number records that open
// banks. Older block protocol; its settings are not read.

#include "instruments/InstrumentTranslator.h"

class Kx340Translator final : public InstrumentTranslator
{
public:
    // groupSameNumber 1: a number seen before gathers its records in the bank
    // it opened first.
    explicit Kx340Translator(int groupSameNumber);

    void DecodeSetup(InstrumentSetup& setup) override;
    void DecodeData(InstrumentData& data) override;

    int GetGroupSameNumber() const { return m_groupSameNumber; }

private:
    int m_groupSameNumber;
};
