#pragma once
// The Kx420: 256 KiB of memory in 256-byte blocks, a setup area of three
// settings, measured data as a stream of eight-byte records with bank
// headers and date records, and an upload area for inspection records.

#include "instruments/InstrumentTranslator.h"

class Kx420Translator final : public InstrumentTranslator
{
public:
    // Memory layout.
    static constexpr int DataHeaderStart = 512;
    static constexpr int RecordStart = 640;
    static constexpr int RecordCount = 10000;
    static constexpr int TimeStampStart = 545; // seconds, minutes, hours
    static constexpr int DateStampStart = 549; // day, month, year - 2000
    static constexpr int LocationTableStart = 81920;
    static constexpr int LocationEntrySize = 24;
    static constexpr int MaxLocations = 1000;
    static constexpr int UploadRecordStart = 106496;
    static constexpr int UploadRecordSize = 36;
    static constexpr int MaxUploadRecords = 4000;
    // Setup area: byte 0 language, byte 1 beep, bytes 2-3 the beep limit.
    static constexpr int SetupGroup = 0;
    static constexpr int LanguageItem = 7;
    static constexpr int BeepItem = 8;
    static constexpr int BeepLimitItem = 9;
    // The beep limit is stored as ohms x 100 in an unsigned word.
    static constexpr double BeepLimitFactor = 100.0;

    // groupSameNumber 1: a header whose number was seen before continues
    // that number's (last) bank.
    explicit Kx420Translator(int groupSameNumber);

    void GetDefaultSetup(InstrumentSetup& setup) override;
    void EncodeSetup(const InstrumentSetup& setup) override;
    void DecodeSetup(InstrumentSetup& setup) override;
    void DecodeData(InstrumentData& data) override;
    void EncodeDatabase(InstrumentDatabase& database) override;

    int GetGroupSameNumber() const { return m_groupSameNumber; }

    // The bank name of a header record: its BCD digits, padding nibbles
    // dropped; "0" when it has none.
    static QByteArray HeaderName(const InstrumentTranslator& t, int recordOffset);

private:
    int m_groupSameNumber;
};
