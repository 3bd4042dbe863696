// Decodes an arbitrary Kx330 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx330Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx330Translator t;
    return FuzzDecodeData(t, data, size);
}
