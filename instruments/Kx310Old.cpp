#include "instruments/Kx310Old.h"

#include "instruments/Crc.h"
#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"
#include "platform/SerialPort.h"

#include <array>
#include <cmath>

namespace {

constexpr int Limit = 1999;

struct RecordKind
{
    int kind;
    int quantity;
    double scale;
    const char* note;
    bool absolute; // insulation resistances are shown without sign
};

// Kinds not listed give no item.
constexpr RecordKind Kinds[] = {
    {0, Quantity::InsulationResistance, 1e3, "50V", true},
    {1, Quantity::InsulationResistance, 1e4, "50V", true},
    {2, Quantity::InsulationResistance, 1e5, "50V", true},
    {3, Quantity::InsulationResistance, 1e6, "50V", true},
    {4, Quantity::InsulationResistance, 1e7, "50V", true},
    {5, Quantity::Temperature, 1, "PT100", false},
    {6, Quantity::Voltage, 1, nullptr, false},
    {7, Quantity::Voltage, 0.1, nullptr, false},
    {8, Quantity::InsulationResistance, 1e3, "100V", true},
    {9, Quantity::InsulationResistance, 1e4, "100V", true},
    {10, Quantity::InsulationResistance, 1e5, "100V", true},
    {11, Quantity::InsulationResistance, 1e6, "100V", true},
    {12, Quantity::InsulationResistance, 1e7, "100V", true},
    {13, Quantity::ProtectiveConductorResistance, 0.01, nullptr, false},
    {14, Quantity::ProtectiveConductorResistance, 0.1, nullptr, false},
    {15, Quantity::ProtectiveConductorResistance, 1, nullptr, false},
    {16, Quantity::InsulationResistance, 1e3, "250V", true},
    {17, Quantity::InsulationResistance, 1e4, "250V", true},
    {18, Quantity::InsulationResistance, 1e5, "250V", true},
    {19, Quantity::InsulationResistance, 1e6, "250V", true},
    {20, Quantity::InsulationResistance, 1e7, "250V", true},
    {21, Quantity::Temperature, 1, nullptr, false},
    {23, Quantity::ProtectionTestVoltage, 1, nullptr, false},
    {24, Quantity::InsulationResistance, 1e3, "500V", true},
    {25, Quantity::InsulationResistance, 1e4, "500V", true},
    {26, Quantity::InsulationResistance, 1e5, "500V", true},
    {27, Quantity::InsulationResistance, 1e6, "500V", true},
    {28, Quantity::InsulationResistance, 1e7, "500V", true},
    {29, Quantity::VoltageLN, 1, nullptr, false},
    {30, Quantity::VoltageLN, 0.1, nullptr, false},
    {32, Quantity::InsulationResistance, 1e3, "1000V", true},
    {33, Quantity::InsulationResistance, 1e4, "1000V", true},
    {34, Quantity::InsulationResistance, 1e5, "1000V", true},
    {35, Quantity::InsulationResistance, 1e6, "1000V", true},
    {36, Quantity::InsulationResistance, 1e7, "1000V", true},
    {37, Quantity::ConductorLength, 0.01, nullptr, false},
    {38, Quantity::ConductorLength, 0.1, nullptr, false},
    {39, Quantity::ConductorLength, 1, nullptr, false},
    {40, Quantity::ConductorLength, 0.001, nullptr, false},
    {41, Quantity::ConductorLength, 10, nullptr, false},
    {47, Quantity::Temperature, 1, "PT1000", false},
};

// The progress bar counts the bytes stored against this many.
constexpr int ProgressBytes = 530;

const std::array<uint16_t, 256>& CcittTable()
{
    static const std::array<uint16_t, 256> table = [] {
        std::array<uint16_t, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[size_t(i)] = CrcCcittUpdate(0, static_cast<uint8_t>(i));
        return t;
    }();
    return table;
}

} // namespace

Kx310Old::Kx310Old(const QString& portName)
    : m_portName(portName)
{
}

Kx310Old::~Kx310Old() = default;

void Kx310Old::Start(InstrumentData* target, Completion done)
{
    m_target = target;
    m_data = std::make_unique<InstrumentData>();
    Begin(std::move(done));
}

uint16_t Kx310Old::Crc16(const uint8_t* data, int length)
{
    const auto& table = CcittTable();
    uint16_t crc = 0;
    for (int i = 0; i < length; ++i)
        crc = static_cast<uint16_t>((crc >> 8) ^ table[(crc ^ data[i]) & 0xFF]);
    return crc;
}

bool Kx310Old::IsDumpIntact(QByteArrayView dump)
{
    if (dump.size() < DumpSize)
        return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(dump.data());
    const uint16_t stored = bytes[CrcOffset] | bytes[CrcOffset + 1] << 8;
    return Crc16(bytes + RecordsStart, CrcOffset - RecordsStart) == stored;
}

std::unique_ptr<InstrumentItem> Kx310Old::DecodeRecord(int raw, int kind)
{
    for (const RecordKind& k : Kinds) {
        if (k.kind != kind)
            continue;
        const TranslatorRules::RawValue e = TranslatorRules::ClampRaw(raw, Limit);
        const double magnitude = k.absolute ? std::abs(e.Value) : e.Value;
        const QByteArrayView note = k.note ? QByteArrayView(k.note) : QByteArrayView();
        return std::make_unique<InstrumentItem>(magnitude * k.scale, k.quantity, note, true, e.Over);
    }
    return nullptr;
}

void Kx310Old::DecodeData(QByteArrayView dump, InstrumentData& data)
{
    data.Clear();
    InstrumentBank* bank = data.AddBank(std::make_unique<InstrumentBank>(QByteArrayView("0")));
    if (dump.size() < DumpSize)
        return;
    const auto* bytes = reinterpret_cast<const uint8_t*>(dump.data());
    for (int r = 0; r < RecordCount; ++r) {
        const uint8_t* record = bytes + RecordsStart + r * RecordSize;
        const auto raw = static_cast<int16_t>(record[0] | record[1] << 8);
        bank->AddItem(DecodeRecord(raw, record[2]));
    }
}

TransferResult Kx310Old::ReceiveDump(SerialLink& link, TransferListener& listener, QByteArray& dump)
{
    // The instrument talks when the user tells it to; until then only a
    // cancel ends the wait.
    // A device that went away ends it too: it would never talk again.
    while (!listener.IsTerminated()) {
        const int b = link.ReadByte();
        if (b == StartCharacter)
            break;
        if (b < 0 && link.IsGone())
            return TransferResult::TransmissionFailed;
    }
    dump.clear();
    dump.reserve(DumpSize);
    int empty = 0;
    while (dump.size() < DumpSize) {
        if (listener.IsTerminated())
            return TransferResult::Interrupted;
        const int b = link.ReadByte();
        if (b < 0) {
            if (link.IsGone() || ++empty >= MaxEmptyReads)
                return TransferResult::TransmissionFailed;
            continue;
        }
        dump.append(static_cast<char>(b));
        listener.SetProgress(int(dump.size()) * 100 / ProgressBytes);
    }
    return TransferResult::Success;
}

TransferResult Kx310Old::Receive(SerialLink& link, TransferListener& listener, InstrumentData& data)
{
    QByteArray dump;
    const TransferResult result = ReceiveDump(link, listener, dump);
    if (result != TransferResult::Success)
        return result;
    if (!IsDumpIntact(dump))
        return TransferResult::TransmissionFailed;
    DecodeData(dump, data);
    return TransferResult::Success;
}

TransferResult Kx310Old::Execute()
{
    SerialPort port;
    if (!port.Open(m_portName, Baud)) {
        ShowError(TransferResult::TransmissionFailed);
        return TransferResult::TransmissionFailed;
    }
    port.SetReadTimeout(ReadTimeout);
    SetProgress(0);
    ShowProgress(QStringLiteral("Kx310.1"));
    const TransferResult result = Receive(port, *this, *m_data);
    // The port is closed before any message, whatever the outcome, so that
    // the instrument is free while the user reads it.
    port.Close();
    HideProgress();
    ShowError(result);
    return result;
}

void Kx310Old::HandOver(TransferResult result)
{
    if (result == TransferResult::Success && m_target && m_data)
        m_target->AppendCopies(*m_data);
}
