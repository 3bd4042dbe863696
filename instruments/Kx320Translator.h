#pragma once
// Kx320: installation tester with up to three values per record (main
// result, accompanying value, mains voltage or frequency); residual-current
// tests carry the rated current as their note. Older block protocol, no
// settings.

#include "instruments/InstrumentTranslator.h"

class Kx320Translator final : public InstrumentTranslator
{
public:
    Kx320Translator();

    void DecodeData(InstrumentData& data) override;
};
