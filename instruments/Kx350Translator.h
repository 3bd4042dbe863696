#pragma once
// The Kx350 installation tester: mains voltages, loop and line impedance with
// short-circuit current, protective-conductor and insulation resistance and
// residual-current device tests in 1000 seven-byte slots. It has no settings
// the program may write.

#include "instruments/InstrumentTranslator.h"

class Kx350Translator final : public InstrumentTranslator
{
public:
    Kx350Translator();

    void DecodeData(InstrumentData& data) override;
};
