#pragma once
// The connection to one handheld instrument: the serial link with its frame
// escapes and checksums, identification, the numbered and the older block
// exchanges, and the five operations the transfer threads run.
//
// One object serves one transfer. It is created, used and destroyed by the
// worker thread that runs the transfer and is never shared. The operations
// are its public face; the protocol steps below them are protected (tests
// reach them through a subclass), the bytes on the line are TransferFrame's.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "instruments/TransferListener.h"
#include "instruments/TransferResult.h"

class SerialLink;
class InstrumentTranslator;
class InstrumentData;
class InstrumentSetup;
class InstrumentDatabase;

class InstrumentTransfer
{
public:
    static constexpr int SlowBaud = 19200;
    static constexpr int FastBaud = 115200;
    // Exchanges of one block (and identification attempts per rate).
    static constexpr int Tries = 10;
    // A single-byte read gives up after this much silence.
    static constexpr int ReadTimeout = 400;

    // Opens `portName` at 19200 baud. A port that cannot be opened leaves the
    // link closed; every exchange then fails at once.
    explicit InstrumentTransfer(const QString& portName);
    // Runs the protocols over a link the caller made (memory links in tests).
    explicit InstrumentTransfer(std::unique_ptr<SerialLink> link);
    ~InstrumentTransfer();
    InstrumentTransfer(const InstrumentTransfer&) = delete;
    InstrumentTransfer& operator=(const InstrumentTransfer&) = delete;

    void SetGroupSameNumber(int value) { m_groupSameNumber = value; }
    int GetGroupSameNumber() const { return m_groupSameNumber; }
    bool IsOpen() const;

    // --- operations (run by a transfer thread, which shows progress and errors
    // as the listener; tests listen in memory). Each identifies the model and
    // creates its translator first. Results reach the object only on success:
    // the banks read replace the content of `data`, a setup read replaces
    // the content of `setup`; a source is never changed.
    TransferResult ReadData(InstrumentData& data, TransferListener& listener);
    TransferResult ReadSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult WriteSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult GetDefaultSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult WriteDatabase(InstrumentDatabase& database, TransferListener& listener);

protected:
    // --- the link ---
    // The device reported a hard error: the operation ends as a failed
    // transmission instead of trying again.
    bool IsLinkGone() const;
    bool SetBaudRate(int baud);
    bool WriteByte(uint8_t b);
    // Sends a frame escaped, in one write.
    bool WriteFrame(QByteArrayView frame);
    // One byte as it arrives, or -1.
    int ReadRawByte();
    // One byte of a numbered-protocol frame with its escape undone, or -1.
    int ReadByte();
    // One raw byte of the older protocol, fed into its running check.
    int ReadOldByte();
    // One byte of the older protocol with its escape undone, or -1.
    int ReadOldDecodedByte();

    // --- identification and blocks ---
    // The model code, or -1.
    int IdentifySlow();
    int IdentifyFast();
    int Identify();
    // Identify, then the translator of the model; null when none answers or
    // the model is unknown. `modelCode` (if given) receives the code.
    std::unique_ptr<InstrumentTranslator> CreateTranslator(int* modelCode = nullptr);

    bool ReadNumberedBlock(InstrumentTranslator& t, int block);
    bool ReadNumberedBlockWithRetry(InstrumentTranslator& t, int block);
    bool WriteNumberedBlock(InstrumentTranslator& t, int block);
    bool WriteNumberedBlockWithRetry(InstrumentTranslator& t, int block);
    bool ReadOldBlock(InstrumentTranslator& t, int expected);
    bool ReadOldBlockWithRetry(InstrumentTranslator& t, int expected);

private:
    int IdentifyAt(int baud, bool acceptText);
    int ReadIdentity(bool acceptText);
    // The translator of the identified model; without one, null and
    // `failure` set (and shown when `report`).
    std::unique_ptr<InstrumentTranslator> Connect(TransferListener& listener, bool report,
                                                  TransferResult& failure);
    // Reads the area the two translator operations give and decodes it
    // after a complete read.
    TransferResult ReadArea(TransferListener& listener, int (InstrumentTranslator::*start)() const,
                            int (InstrumentTranslator::*length)() const,
                            const std::function<void(InstrumentTranslator&)>& decode);
    // The block loop: progress, the cancel test before each block, and the
    // error box when a block cannot be moved.
    TransferResult MoveBlocks(int count, InstrumentTranslator& t, TransferListener& listener,
                              const std::function<bool(int)>& moveBlock);
    TransferResult ReadBlocks(int start, int count, InstrumentTranslator& t,
                              TransferListener& listener);
    TransferResult WriteBlocks(int start, int count, InstrumentTranslator& t,
                               TransferListener& listener);

    std::unique_ptr<SerialLink> m_link;
    int m_groupSameNumber = 1;
    uint16_t m_oldCrc = 0;
};
