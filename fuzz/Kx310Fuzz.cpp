// Decodes an arbitrary Kx310 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx310Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx310Translator t;
    return FuzzDecodeData(t, data, size);
}
