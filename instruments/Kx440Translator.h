#pragma once
// Kx440: insulation tester of the Kx420 generation (the Kx460's record
// stream) whose measurements carry three values: insulation resistance at
// two kinds of test, polarisation index, absorption ratio and capacitance.
// No settings, no upload area.

#include "instruments/InstrumentTranslator.h"

class Kx440Translator final : public InstrumentTranslator
{
public:
    Kx440Translator();

    void DecodeData(InstrumentData& data) override;
};
