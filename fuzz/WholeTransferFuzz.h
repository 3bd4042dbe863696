#pragma once
// The body of the fuzz targets that play the instrument's side of a whole
// operation: the input's first byte is the grouping option (and picks the
// settings a write sends), the rest a session of answers, one per request
// the program writes (see TransferSession.h). Whatever the answers:
//  - the operation ends after a bounded number of reads: each try begins with
//    a write and ends at its first silent read, and the tries are bounded;
//  - the user is told exactly the result (nothing on success) and the
//    progress window is closed;
//  - on any result but success the caller's data and settings keep their
//    bytes; what a success decodes is sound.

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTransfer.h"
#include "instruments/InstrumentTranslator.h"
#include "tests/common/RecordBytes.h"
#include "tests/common/RecordingListener.h"
#include "tests/common/ScriptedLink.h"
#include "tests/common/TransferSession.h"

#include "fuzz/TranslatorFuzzTarget.h"

#include <memory>

// Every block of the largest image, tried to the full in both directions,
// after every identification attempt.
constexpr int MaxWholeTransferWrites =
    2 * InstrumentTransfer::Tries + 2 * (InstrumentTransfer::Tries + 1) * (262144 / 256);

inline QByteArray SavedData(const InstrumentData& data)
{
    return Written([&](QIODevice& out) { data.Save(out); });
}

inline void CheckDecodedData(const InstrumentData& data)
{
    for (int b = 0; b < data.GetCount(); ++b) {
        const InstrumentBank& bank = *data.GetBank(b);
        for (int i = 0; i < bank.GetCount(); ++i)
            if (!IsSoundDecodedItem(*bank.GetItem(i)))
                __builtin_trap();
    }
}

// Runs `operation(transfer, listener, option)` against the session of the
// input and checks the bounds and what the user was told.
template <typename Operation>
TransferResult FuzzWholeTransfer(const uint8_t* data, size_t size, Operation operation)
{
    if (size < 1)
        return TransferResult::Success;
    const int option = data[0];
    SessionPlayer player(
        DecodeSession(QByteArrayView(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))));
    auto owned = std::make_unique<ScriptedLink>();
    ScriptedLink& link = *owned;
    player.Attach(link);
    InstrumentTransfer transfer(std::move(owned));
    transfer.SetGroupSameNumber(option & 1);
    RecordingListener listener;
    const TransferResult result = operation(transfer, listener, option);

    if (link.ReadsPastEnd() > player.Writes() || player.Writes() > MaxWholeTransferWrites)
        __builtin_trap();
    const std::vector<TransferResult> told =
        result == TransferResult::Success ? std::vector<TransferResult>{} : std::vector<TransferResult>{result};
    if (listener.Errors() != told || listener.Visible())
        __builtin_trap();
    return result;
}
