// The numbered-block protocol's reply readers over arbitrary line bytes:
// identification at both rates, block replies and write acknowledgements.
#include "tests/common/TransferSteps.h"
#include "tests/common/ScriptedLink.h"
#include "tests/common/TestTranslator.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the block size (32 or 256) and the block asked for.
    const int model = (data[0] & 1) ? ModelCode::Kx420 : ModelCode::Kx310;
    const int block = data[0] >> 1;
    QByteArray line(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    // Replies arrive only after each request, as on the line: feed the whole
    // input after the first write and let every reader take what it wants.
    auto link = std::make_unique<ScriptedLink>();
    bool fed = false;
    link->onWrite = [&](ScriptedLink& l, QByteArrayView) {
        if (!fed)
            l.Feed(line);
        fed = true;
    };
    TransferSteps transfer(std::move(link));
    TestTranslator t(model);
    transfer.IdentifySlow();
    fed = false;
    transfer.IdentifyFast();
    fed = false;
    for (int i = 0; i < 3; ++i)
        transfer.ReadNumberedBlock(t, block + i);
    transfer.WriteNumberedBlock(t, block);
    return 0;
}
