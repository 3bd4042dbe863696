// The five operations of a transfer and the block loops they share.

#include "instruments/InstrumentTransfer.h"

#include "instruments/InstrumentTranslator.h"

#include <algorithm>
#include <array>

namespace {

// Models whose setup area holds bytes the settings description does not
// cover. A settings write sends those bytes back as the instrument holds
// them (read just before), instead of the fill bytes of a fresh image.
constexpr std::array<int, 1> SetupKeepsUndescribedBytes{ModelCode::Kx420};

bool KeepsUndescribedBytes(const InstrumentTranslator& t)
{
    return std::find(SetupKeepsUndescribedBytes.begin(), SetupKeepsUndescribedBytes.end(),
                     t.GetModel().Code)
           != SetupKeepsUndescribedBytes.end();
}

// An area's first block and its number of blocks; a length that is not a
// whole number of blocks still moves its last bytes.
struct BlockRange
{
    int start;
    int count;
};

BlockRange BlocksOf(int start, int length, int blockSize)
{
    if (blockSize <= 0 || length <= 0)
        return {0, 0};
    return {start / blockSize, (length + blockSize - 1) / blockSize};
}

} // namespace

std::unique_ptr<InstrumentTranslator> InstrumentTransfer::Connect(TransferListener& listener,
                                                                  bool report, TransferResult& failure)
{
    auto translator = CreateTranslator();
    if (!translator) {
        // A device that went away while it was asked is a broken line, not a
        // missing instrument.
        failure = IsLinkGone() ? TransferResult::TransmissionFailed : TransferResult::NotConnected;
        if (report)
            listener.ShowError(failure);
    }
    return translator;
}

TransferResult InstrumentTransfer::MoveBlocks(int count, InstrumentTranslator& t,
                                              TransferListener& listener,
                                              const std::function<bool(int)>& moveBlock)
{
    listener.ShowProgress(QString::fromLatin1(t.GetModelName()));
    TransferResult result = TransferResult::Success;
    for (int i = 0; i < count && result == TransferResult::Success; ++i) {
        if (listener.IsTerminated()) {
            result = TransferResult::Interrupted;
        } else {
            listener.SetProgress(i * 100 / count);
            if (!moveBlock(i))
                result = TransferResult::TransmissionFailed;
        }
    }
    listener.HideProgress();
    listener.ShowError(result); // says nothing for Success
    return result;
}

TransferResult InstrumentTransfer::ReadBlocks(int start, int count, InstrumentTranslator& t,
                                              TransferListener& listener)
{
    // The older protocol counts the blocks of every read from 0.
    const bool numbered = t.UsesNumberedBlocks();
    return MoveBlocks(count, t, listener, [&](int i) {
        return numbered ? ReadNumberedBlockWithRetry(t, start + i) : ReadOldBlockWithRetry(t, i);
    });
}

TransferResult InstrumentTransfer::WriteBlocks(int start, int count, InstrumentTranslator& t,
                                               TransferListener& listener)
{
    return MoveBlocks(count, t, listener,
                      [&](int i) { return WriteNumberedBlockWithRetry(t, start + i); });
}

TransferResult InstrumentTransfer::ReadArea(TransferListener& listener,
                                            int (InstrumentTranslator::*start)() const,
                                            int (InstrumentTranslator::*length)() const,
                                            const std::function<void(InstrumentTranslator&)>& decode)
{
    TransferResult failure = TransferResult::NotConnected;
    const auto t = Connect(listener, true, failure);
    if (!t)
        return failure;
    const BlockRange range = BlocksOf(((*t).*start)(), ((*t).*length)(), t->GetBlockSize());
    const TransferResult result = ReadBlocks(range.start, range.count, *t, listener);
    if (result == TransferResult::Success)
        decode(*t);
    return result;
}

TransferResult InstrumentTransfer::ReadData(InstrumentData& data, TransferListener& listener)
{
    return ReadArea(listener, &InstrumentTranslator::GetDataStart, &InstrumentTranslator::GetDataLength,
                    [&](InstrumentTranslator& t) { t.DecodeData(data); });
}

TransferResult InstrumentTransfer::ReadSetup(InstrumentSetup& setup, TransferListener& listener)
{
    return ReadArea(listener, &InstrumentTranslator::GetSetupStart, &InstrumentTranslator::GetSetupLength,
                    [&](InstrumentTranslator& t) { t.DecodeSetup(setup); });
}

TransferResult InstrumentTransfer::WriteSetup(InstrumentSetup& setup, TransferListener& listener)
{
    TransferResult failure = TransferResult::NotConnected;
    const auto t = Connect(listener, true, failure);
    if (!t)
        return failure;
    const BlockRange range = BlocksOf(t->GetSetupStart(), t->GetSetupLength(), t->GetBlockSize());
    // Writing the area of a model that cannot encode its settings (or cannot
    // take writes at all) would overwrite the instrument's settings with
    // fill bytes.
    if (range.count > 0 && (!t->UsesNumberedBlocks() || !t->CanWriteSetup())) {
        listener.ShowError(TransferResult::NotSupported);
        return TransferResult::NotSupported;
    }
    if (range.count > 0 && KeepsUndescribedBytes(*t)) {
        const TransferResult read = ReadBlocks(range.start, range.count, *t, listener);
        if (read != TransferResult::Success)
            return read;
    }
    t->EncodeSetup(setup);
    return WriteBlocks(range.start, range.count, *t, listener);
}

TransferResult InstrumentTransfer::GetDefaultSetup(InstrumentSetup& setup,
                                                   TransferListener& listener)
{
    TransferResult failure = TransferResult::NotConnected;
    const auto t = Connect(listener, false, failure);
    if (!t)
        return failure;
    t->GetDefaultSetup(setup);
    return TransferResult::Success;
}

TransferResult InstrumentTransfer::WriteDatabase(InstrumentDatabase& database,
                                                 TransferListener& listener)
{
    TransferResult failure = TransferResult::NotConnected;
    const auto t = Connect(listener, true, failure);
    if (!t)
        return failure;
    t->EncodeDatabase(database);
    const BlockRange range =
        BlocksOf(t->GetDatabaseStart(), t->GetDatabaseLength(), t->GetBlockSize());
    return WriteBlocks(range.start, range.count, *t, listener);
}
