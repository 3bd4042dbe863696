#pragma once
// The connection to one handheld instrument: the serial link with its frame
// escapes and checksums, identification, the numbered and the older block
// exchanges, and the five operations the transfer threads run.
//
// One object serves one transfer. It is created, used and destroyed by the
// worker thread that runs the transfer and is never shared.

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
    // Frame start bytes of the numbered-block protocol.
    static constexpr uint8_t StartIdentify = 0xAA;
    static constexpr uint8_t StartRead = 0xAB;
    static constexpr uint8_t StartWrite = 0xAC;
    static constexpr uint8_t Refusal = 0xAD;
    static constexpr uint8_t Escape = 0x1B;
    // The older block protocol.
    static constexpr uint8_t OldRequest = 0xA5;
    static constexpr uint8_t OldRepeat = 0x55;
    static constexpr uint8_t OldStart = 0x01;
    static constexpr uint8_t OldEscape = 0x0B;
    static constexpr int OldBlockSize = 32;
    static constexpr int SlowBaud = 19200;
    static constexpr int FastBaud = 115200;
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
    // The device reported a hard error: the operation ends as a failed
    // transmission instead of trying again.
    bool IsLinkGone() const;

    // --- the link ---
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

    // Every byte after the first that could be taken for a frame start (or
    // is the escape itself) travels as 0x1B, byte XOR 0x20.
    static QByteArray EscapeFrame(QByteArrayView frame);
    // `body` followed by its complemented CRC-16, low byte first.
    static QByteArray SealFrame(QByteArrayView body);
    static bool IsFrameIntact(QByteArrayView frame);

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

    // --- operations (run by a transfer thread, which shows progress and errors
    // as the listener; tests listen in memory) ---
    TransferResult ReadData(InstrumentData& data, TransferListener& listener);
    TransferResult ReadSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult WriteSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult GetDefaultSetup(InstrumentSetup& setup, TransferListener& listener);
    TransferResult WriteDatabase(InstrumentDatabase& database, TransferListener& listener);

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
