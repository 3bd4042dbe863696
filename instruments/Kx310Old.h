#pragma once
// The transfer of the oldest Kx310 variant ("Kx310.1"). It does not answer
// identification: once the user starts the transfer on the instrument it
// sends its whole memory unasked at 1200 baud, a start character 'A' and a
// 532-byte dump of 128 four-byte records, which land in one bank "0".

#include "instruments/InstrumentTransferWindow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>

class InstrumentData;
class InstrumentItem;
class SerialLink;

class Kx310Old : public InstrumentTransferWindow
{
    Q_OBJECT

public:
    static constexpr int Baud = 1200;
    // A single-byte read gives up after this much silence.
    static constexpr int ReadTimeout = 200;
    static constexpr char StartCharacter = 'A';
    static constexpr int DumpSize = 532;
    static constexpr int RecordsStart = 17;
    static constexpr int RecordCount = 128;
    static constexpr int RecordSize = 4;
    static constexpr int CrcOffset = 529;
    // Reads that may come back empty during one dump before it is given up.
    static constexpr int MaxEmptyReads = 12;

    explicit Kx310Old(const QString& portName);
    ~Kx310Old() override;

    // On success the bank read is appended to `target` (on the main thread,
    // before `done` runs); `target` must live until then.
    void Start(InstrumentData* target, Completion done);

    // The dump's check: the most-significant-bit-first CRC-CCITT table driven
    // by the reflected update, starting at 0, no final complement.
    static uint16_t Crc16(const uint8_t* data, int length);
    static bool IsDumpIntact(QByteArrayView dump);
    // Clears `data` and fills one bank "0" from the records of a whole dump.
    static void DecodeData(QByteArrayView dump, InstrumentData& data);
    // The item of one record; null for kinds that give none.
    static std::unique_ptr<InstrumentItem> DecodeRecord(int raw, int kind);

    // Waits for the start character (silence does not end the wait, a cancel
    // does), then reads the dump, reporting progress. Success, Interrupted,
    // or TransmissionFailed after the 12th empty read or as soon as the
    // device is gone; `dump` holds DumpSize bytes on success.
    static TransferResult ReceiveDump(SerialLink& link, TransferListener& listener, QByteArray& dump);
    // The whole transfer after the port is open: receives the dump, checks
    // it and decodes it into `data`, which is replaced on success only.
    static TransferResult Receive(SerialLink& link, TransferListener& listener, InstrumentData& data);

protected:
    TransferResult Execute() override;
    void HandOver(TransferResult result) override;

private:
    QString m_portName;
    InstrumentData* m_target = nullptr;
    std::unique_ptr<InstrumentData> m_data;
};
