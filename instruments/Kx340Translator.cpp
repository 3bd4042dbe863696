#include "instruments/Kx340Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <array>

using namespace TranslatorRules;

namespace {

constexpr int RecordCount = 1000;
constexpr int Kx340RecordSize = 8;
constexpr int NumberRecord = 15;
constexpr int AnySubKind = -1;

// The item one raw value gives as a type, for one sub-kind or any. A type
// whose rows do not match the sub-kind gives no item.
struct TypeRow
{
    int Type;
    int SubKind;
    int Limit;
    int Quantity;
    double Scale;
    bool Absolute = false;
};

const std::array<TypeRow, 21> TypeRows = {{
    {1, AnySubKind, 3999, Quantity::VoltageLN, 0.1},
    {2, AnySubKind, 1999, Quantity::ApplianceCurrent, 0.01},
    // Insulation resistance: the sub-kind is the decade; the instrument
    // stores it signed, the resistance is its magnitude.
    {3, 2, 3999, Quantity::InsulationResistance, 100000.0, true},
    {3, 3, 3999, Quantity::InsulationResistance, 10000.0, true},
    {3, 4, 3999, Quantity::InsulationResistance, 1000.0, true},
    {4, 4, 3999, Quantity::ProtectiveConductorResistance, 0.001},
    {4, AnySubKind, 1999, Quantity::ProtectiveConductorResistance, 0.01},
    {5, AnySubKind, 3999, Quantity::ActivePower, 1.0},
    {6, AnySubKind, 3999, Quantity::ApparentPower, 1.0},
    {8, AnySubKind, 3999, Quantity::Temperature, 0.1},
    {9, AnySubKind, 9999, Quantity::Revolutions, 1.0},
    {10, AnySubKind, 1999, Quantity::ProtectiveConductorCurrent, 0.00001},
    {11, AnySubKind, 3999, Quantity::TouchCurrent, 0.000001},
    {12, AnySubKind, 1999, Quantity::SubstitutedLeakageCurrent, 0.00001},
    {13, AnySubKind, 1999, Quantity::DifferentialLeakageCurrent, 0.00001},
    {14, AnySubKind, 999, Quantity::ProtectiveConductorResistance, 0.001},
    {16, AnySubKind, 1999, Quantity::Frequency, 0.1},
    {17, AnySubKind, 999, Quantity::PowerFactor, 0.01},
    {18, AnySubKind, 999, Quantity::ResistorVoltage, 0.01},
    {19, AnySubKind, 9999, Quantity::InsulationTestVoltage, 1.0},
    {20, AnySubKind, 9999, Quantity::VoltageUF, 0.001},
}};

// The type of the accompanying value by the record's type; 0 (no row) for none.
constexpr std::array<int, 32> PairedTypes = {{
    0, 16, 16, 19, 0, 17, 17, 0, 0, 0, 0, 20, 0, 0, 18, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
}};

const TypeRow* FindTypeRow(int type, int subKind)
{
    for (const TypeRow& row : TypeRows)
        if (row.Type == type && (row.SubKind == AnySubKind || row.SubKind == subKind))
            return &row;
    return nullptr;
}

void AddValue(InstrumentBank& bank, int type, int raw, int subKind, bool primary)
{
    const TypeRow* row = FindTypeRow(type, subKind);
    if (!row)
        return;
    // Clamped first: the magnitude of -32768 would not fit the raw range.
    AddRuleItem(bank, Item(row->Quantity, 0, row->Scale, primary, nullptr, row->Absolute),
                ClampRaw(raw, row->Limit));
}

// Rotation counter, leakage and touch currents store their main value second.
bool MainValueSecond(int type) { return type >= 9 && type <= 11; }

} // namespace

Kx340Translator::Kx340Translator(int groupSameNumber)
    : InstrumentTranslator(ModelOf(ModelCode::Kx340)), m_groupSameNumber(groupSameNumber)
{
}

void Kx340Translator::DecodeSetup(InstrumentSetup& setup)
{
    setup.Clear();
}

void Kx340Translator::DecodeData(InstrumentData& data)
{
    data.Clear();
    int number = 0;
    for (int i = 0; i < RecordCount; ++i) {
        const int offset = GetDataStart() + Kx340RecordSize * i;
        const int recordByte = GetByte(offset);
        const int a = GetInt16(offset + 1);
        const int b = GetInt16(offset + 3);
        const int subKindA = GetByte(offset + 5);
        const int subKindB = GetByte(offset + 6);
        if (recordByte == NumberRecord)
            number = a + b * 10000;
        if (recordByte < 1 || recordByte > 127)
            continue;

        bool created = false;
        InstrumentBank& bank = HeaderBank(data, QByteArray::number(number),
                                          HeaderReuse::WhenGroupedOrLast, m_groupSameNumber, &created);
        if (created)
            AddItem(bank, number, Quantity::InstrumentNumber, {}, false, false);

        const int type = recordByte & 0x1F;
        const int paired = PairedTypes[static_cast<std::size_t>(type)];
        if (MainValueSecond(type)) {
            AddValue(bank, type, b, subKindB, true);
            AddValue(bank, paired, a, subKindA, false);
        } else {
            AddValue(bank, type, a, subKindA, true);
            AddValue(bank, paired, b, subKindB, false);
        }
    }
    data.RemoveEmptyBanks();
}
