#pragma once
// Kx460: mains, power, leakage and welding-circuit tester of the Kx420
// generation (8-byte record stream with bank headers and date records).
// No settings, no upload area.

#include "instruments/InstrumentTranslator.h"

class Kx460Translator final : public InstrumentTranslator
{
public:
    Kx460Translator();

    void DecodeData(InstrumentData& data) override;
};
