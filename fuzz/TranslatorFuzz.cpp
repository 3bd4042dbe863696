// Every model's decoders over arbitrary memory images. Byte 0 picks the model
// code (codes without a translator are exercised too), byte 1 the grouping
// option; the rest is laid over the data area from its start, and again over
// the setup area, as a transfer would have filled them.
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTranslator.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    auto t = CreateTranslatorForModel(data[0] % 10, data[1] & 1);
    if (!t)
        return 0;
    const uint8_t* image = data + 2;
    const int length = static_cast<int>(std::min<size_t>(size - 2, static_cast<size_t>(t->GetImageSize())));
    t->CopyToImage(image, t->GetDataStart(), std::min(length, t->GetDataLength()));
    t->CopyToImage(image, t->GetSetupStart(), std::min(length, t->GetSetupLength()));
    // A block past the image end, as a bad reply's block number would place it.
    t->CopyToImage(image, t->GetImageSize() - length / 2, length);

    InstrumentData measured;
    t->DecodeData(measured);
    for (int b = 0; b < measured.GetCount(); ++b) {
        const InstrumentBank* bank = measured.GetBank(b);
        for (int i = 0; i < bank->GetCount(); ++i)
            bank->GetItem(i)->GetText(7, 0);
    }
    measured.Clear();

    InstrumentSetup setup;
    t->DecodeSetup(setup);
    if (t->CanWriteSetup())
        t->EncodeSetup(setup);
    t->GetDefaultSetup(setup);
    return 0;
}
