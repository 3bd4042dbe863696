#pragma once
// The protocol steps of a transfer, which the program reaches only through
// its five operations, opened up for the protocol tests and fuzz targets.

#include "instruments/InstrumentTransfer.h"

class TransferSteps final : public InstrumentTransfer
{
public:
    using InstrumentTransfer::InstrumentTransfer;

    using InstrumentTransfer::CreateTranslator;
    using InstrumentTransfer::Identify;
    using InstrumentTransfer::IdentifyFast;
    using InstrumentTransfer::IdentifySlow;
    using InstrumentTransfer::ReadByte;
    using InstrumentTransfer::ReadNumberedBlock;
    using InstrumentTransfer::ReadNumberedBlockWithRetry;
    using InstrumentTransfer::ReadOldBlock;
    using InstrumentTransfer::ReadOldBlockWithRetry;
    using InstrumentTransfer::ReadOldDecodedByte;
    using InstrumentTransfer::ReadRawByte;
    using InstrumentTransfer::WriteByte;
    using InstrumentTransfer::WriteFrame;
    using InstrumentTransfer::WriteNumberedBlock;
    using InstrumentTransfer::WriteNumberedBlockWithRetry;
};
