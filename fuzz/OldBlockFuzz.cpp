// The older block protocol's reader over arbitrary line bytes.
#include "tests/common/TransferSteps.h"
#include "tests/common/ScriptedLink.h"
#include "tests/common/TestTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int expected = data[0] * 2; // past the image for the larger values
    auto link = std::make_unique<ScriptedLink>(
        QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
    TransferSteps transfer(std::move(link));
    TestTranslator t(ModelCode::Kx320);
    for (int i = 0; i < 4; ++i)
        transfer.ReadOldBlockWithRetry(t, expected + i);
    return 0;
}
