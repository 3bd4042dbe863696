// Reading the settings of whatever model the answers identify into the
// caller's description.
#include "fuzz/WholeTransferFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InstrumentSetup target;
    target.AddBank(std::make_unique<InstrumentSetupBank>(77))
        ->AddItem(std::make_unique<InstrumentSetupItemNumber>(5, 1.5f, QStringLiteral("s"), 0.0f, 9.0f, true));
    const QByteArray before = SetupBytes(target);
    const TransferResult result =
        FuzzWholeTransfer(data, size, [&](InstrumentTransfer& transfer, RecordingListener& listener, int) {
            return transfer.ReadSetup(target, listener);
        });
    if (result != TransferResult::Success && SetupBytes(target) != before)
        __builtin_trap();
    return 0;
}
