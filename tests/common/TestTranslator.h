#pragma once
// A translator with the memory layout of a real model and no decoding, for
// exercising the block protocols without a model's decoder.

#include "instruments/InstrumentTranslator.h"

class TestTranslator final : public InstrumentTranslator
{
public:
    explicit TestTranslator(int modelCode) : InstrumentTranslator(ModelOf(modelCode)) {}
    void DecodeData(InstrumentData&) override {}
};
