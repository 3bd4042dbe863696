// Writing settings to whatever model the answers identify, with the reads
// some models need first. The settings sent are the factory settings of the
// model the option byte picks, so that they may or may not fit the model
// that answers; the caller's description is never changed.
#include "fuzz/WholeTransferFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstrumentSetup source;
    const int pick = size > 0 ? data[0] >> 1 : 0;
    if (auto t = CreateTranslatorForModel(TranslatorModels[pick % TranslatorModels.size()].Code, 1))
        t->GetDefaultSetup(source);
    const QByteArray before = SetupBytes(source);
    FuzzWholeTransfer(data, size, [&](InstrumentTransfer& transfer, RecordingListener& listener, int) {
        return transfer.WriteSetup(source, listener);
    });
    if (SetupBytes(source) != before)
        __builtin_trap();
    return 0;
}
