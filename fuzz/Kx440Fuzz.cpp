// Decodes an arbitrary Kx440 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx440Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx440Translator t;
    return FuzzDecodeData(t, data, size);
}
