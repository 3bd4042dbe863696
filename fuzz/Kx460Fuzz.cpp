// Decodes an arbitrary Kx460 memory image.

#include "fuzz/TranslatorFuzzTarget.h"
#include "instruments/Kx460Translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Kx460Translator t;
    return FuzzDecodeData(t, data, size);
}
