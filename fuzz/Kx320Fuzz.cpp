// Decodes an arbitrary Kx320 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx320Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx320Translator t;
    return FuzzDecodeData(t, data, size);
}
