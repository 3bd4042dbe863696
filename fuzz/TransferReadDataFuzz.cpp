// Reading the measured data of whatever model the answers identify, through
// identification, the block loop with its retries and the decoding into the
// caller's data set.
#include "fuzz/WholeTransferFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstrumentData target;
    target.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("kept")));
    const QByteArray before = SavedData(target);
    const TransferResult result =
        FuzzWholeTransfer(data, size, [&](InstrumentTransfer& transfer, RecordingListener& listener, int) {
            return transfer.ReadData(target, listener);
        });
    if (result != TransferResult::Success && SavedData(target) != before)
        __builtin_trap();
    CheckDecodedData(target);
    target.Clear();
    return 0;
}
