// The five operations of a transfer and the block loops they share.

#include "instruments/InstrumentTransfer.h"

#include "instruments/InstrumentTransferWindow.h"
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

std::unique_ptr<InstrumentTranslator> InstrumentTransfer::Connect(InstrumentTransferWindow& thread,
                                                                  bool report)
{
    auto translator = CreateTranslator();
    if (!translator && report)
        thread.ShowError(TransferResult::NotConnected);
    return translator;
}

TransferResult InstrumentTransfer::MoveBlocks(int count, InstrumentTranslator& t,
                                              InstrumentTransferWindow& thread,
                                              const std::function<bool(int)>& moveBlock)
{
    thread.ShowProgress(QString::fromLatin1(t.GetModelName()));
    TransferResult result = TransferResult::Success;
    for (int i = 0; i < count && result == TransferResult::Success; ++i) {
        if (thread.IsTerminated()) {
            result = TransferResult::Interrupted;
        } else {
            thread.SetProgress(i * 100 / count);
            if (!moveBlock(i))
                result = TransferResult::TransmissionFailed;
        }
    }
    thread.HideProgress();
    thread.ShowError(result); // says nothing for Success
    return result;
}

TransferResult InstrumentTransfer::ReadBlocks(int start, int count, InstrumentTranslator& t,
                                              InstrumentTransferWindow& thread)
{
    // The older protocol counts the blocks of every read from 0.
    const bool numbered = t.UsesNumberedBlocks();
    return MoveBlocks(count, t, thread, [&](int i) {
        return numbered ? ReadNumberedBlockWithRetry(t, start + i) : ReadOldBlockWithRetry(t, i);
    });
}

TransferResult InstrumentTransfer::WriteBlocks(int start, int count, InstrumentTranslator& t,
                                               InstrumentTransferWindow& thread)
{
    return MoveBlocks(count, t, thread,
                      [&](int i) { return WriteNumberedBlockWithRetry(t, start + i); });
}

TransferResult InstrumentTransfer::ReadArea(InstrumentTransferWindow& thread,
                                            int (InstrumentTranslator::*start)() const,
                                            int (InstrumentTranslator::*length)() const,
                                            const std::function<void(InstrumentTranslator&)>& decode)
{
    const auto t = Connect(thread, true);
    if (!t)
        return TransferResult::NotConnected;
    const BlockRange range = BlocksOf(((*t).*start)(), ((*t).*length)(), t->GetBlockSize());
    const TransferResult result = ReadBlocks(range.start, range.count, *t, thread);
    if (result == TransferResult::Success)
        decode(*t);
    return result;
}

TransferResult InstrumentTransfer::ReadData(InstrumentData& data, InstrumentTransferWindow& thread)
{
    return ReadArea(thread, &InstrumentTranslator::GetDataStart, &InstrumentTranslator::GetDataLength,
                    [&](InstrumentTranslator& t) { t.DecodeData(data); });
}

TransferResult InstrumentTransfer::ReadSetup(InstrumentSetup& setup, InstrumentTransferWindow& thread)
{
    return ReadArea(thread, &InstrumentTranslator::GetSetupStart, &InstrumentTranslator::GetSetupLength,
                    [&](InstrumentTranslator& t) { t.DecodeSetup(setup); });
}

TransferResult InstrumentTransfer::WriteSetup(InstrumentSetup& setup, InstrumentTransferWindow& thread)
{
    const auto t = Connect(thread, true);
    if (!t)
        return TransferResult::NotConnected;
    const BlockRange range = BlocksOf(t->GetSetupStart(), t->GetSetupLength(), t->GetBlockSize());
    // Writing the area of a model that cannot encode its settings (or cannot
    // take writes at all) would overwrite the instrument's settings with
    // fill bytes.
    if (range.count > 0 && (!t->UsesNumberedBlocks() || !t->CanWriteSetup())) {
        thread.ShowError(TransferResult::NotSupported);
        return TransferResult::NotSupported;
    }
    if (range.count > 0 && KeepsUndescribedBytes(*t)) {
        const TransferResult read = ReadBlocks(range.start, range.count, *t, thread);
        if (read != TransferResult::Success)
            return read;
    }
    t->EncodeSetup(setup);
    return WriteBlocks(range.start, range.count, *t, thread);
}

TransferResult InstrumentTransfer::GetDefaultSetup(InstrumentSetup& setup,
                                                   InstrumentTransferWindow& thread)
{
    const auto t = Connect(thread, false);
    if (!t)
        return TransferResult::NotConnected;
    t->GetDefaultSetup(setup);
    return TransferResult::Success;
}

TransferResult InstrumentTransfer::WriteDatabase(InstrumentDatabase& database,
                                                 InstrumentTransferWindow& thread)
{
    const auto t = Connect(thread, true);
    if (!t)
        return TransferResult::NotConnected;
    t->EncodeDatabase(database);
    const BlockRange range =
        BlocksOf(t->GetDatabaseStart(), t->GetDatabaseLength(), t->GetBlockSize());
    return WriteBlocks(range.start, range.count, *t, thread);
}
