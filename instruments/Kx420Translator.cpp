#include "instruments/Kx420Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"
#include "language/StringIds.h"

#include <QString>

#include <memory>

using namespace TranslatorRules;

namespace {

constexpr const char* KD = "KD420";

// kind -> limits of the two values, items in the order they are added.
constexpr KindRow Kinds[] = {
    Kind(0, 0, Limits(3999, 999), Item(Quantity::InsulationResistance, FirstRaw, 1000, Primary),
        Item(Quantity::InsulationTestVoltage, SecondRaw, 1, Accompanying)),
    Kind(1, 1, Limits(3999, 999), Item(Quantity::InsulationResistance, FirstRaw, 10000, Primary),
        Item(Quantity::InsulationTestVoltage, SecondRaw, 1, Accompanying)),
    Kind(2, 2, Limits(3999, 999), Item(Quantity::InsulationResistance, FirstRaw, 100000, Primary),
        Item(Quantity::InsulationTestVoltage, SecondRaw, 1, Accompanying)),
    Kind(3, 3, Limits(3999, 999), Item(Quantity::ApplianceCurrent, FirstRaw, 0.01, Primary),
        Item(Quantity::Frequency, SecondRaw, 0.1, Accompanying)),
    Kind(4, 4, Limits(3999, 999), Item(Quantity::VoltageLN, FirstRaw, 0.1, Primary),
        Item(Quantity::Frequency, SecondRaw, 0.1, Accompanying)),
    Kind(5, 5, Limits(9999, 199), Item(Quantity::ActivePower, FirstRaw, 1, Primary),
        Item(Quantity::PowerFactor, SecondRaw, 0.01, Accompanying)),
    Kind(6, 6, Limits(9999, 199), Item(Quantity::ApparentPower, FirstRaw, 1, Primary),
        Item(Quantity::PowerFactor, SecondRaw, 0.01, Accompanying)),
    Kind(8, 8, Limits(1999, 999), Item(Quantity::ProtectiveConductorResistance, FirstRaw, 0.01, Primary),
        Item(Quantity::ResistorVoltage, SecondRaw, 0.01, Primary)),
    Kind(9, 9, Limits(3999, 3999), Item(Quantity::Temperature, FirstRaw, 0.1, Primary)),
    Kind(10, 10, Limits(1999, 3999), Item(Quantity::TrippingCurrent, FirstRaw, 0.00001, Primary)),
    Kind(11, 11, Limits(9999, 3999), Item(Quantity::Revolutions, FirstRaw, 1, Primary)),
    Kind(12, 12, Limits(1999, 3999), Item(Quantity::SubstitutedLeakageCurrent, FirstRaw, 0.00001, Primary)),
    Kind(13, 13, Limits(1999, 3999), Item(Quantity::ProtectiveConductorCurrent, FirstRaw, 0.00001, Primary)),
    Kind(17, 19, Limits(3999, 999), Item(Quantity::VoltageLN, FirstRaw, 0.1, Primary, KD),
        Item(Quantity::Frequency, SecondRaw, 0.1, Accompanying)),
    Kind(20, 22, Limits(3999, 999), Item(Quantity::ApplianceCurrent, FirstRaw, 0.01, Primary, KD),
        Item(Quantity::Frequency, SecondRaw, 0.1, Accompanying)),
    Kind(23, 26, Limits(9999, 199), Item(Quantity::ActivePower, FirstRaw, 1, Primary, KD),
        Item(Quantity::PowerFactor, SecondRaw, 0.01, Accompanying)),
    Kind(27, 30, Limits(9999, 199), Item(Quantity::ApparentPower, FirstRaw, 1, Primary, KD),
        Item(Quantity::PowerFactor, SecondRaw, 0.01, Accompanying)),
    Kind(31, 31, Limits(3999, 3999), Item(Quantity::TrippingCurrent, FirstRaw, 0.00001, Primary, KD)),
    Kind(32, 32, Limits(3999, 3999),
        Item(Quantity::ProtectiveConductorCurrent, FirstRaw, 0.00001, Primary, KD)),
    Kind(33, 33, Limits(3999, 3999), Item(Quantity::TouchCurrent, FirstRaw, 0.000001, Primary, KD)),
    Kind(35, 35, Limits(3999, 9999), Item(Quantity::TouchCurrent, FirstRaw, 0.000001, Primary),
        Item(Quantity::VoltageUF, SecondRaw, 0.001, Accompanying)),
    Kind(36, 36, Limits(3999, 3999), Item(Quantity::LeakageCurrentM1, FirstRaw, 0.000001, Primary)),
    Kind(37, 37, Limits(3999, 3999), Item(Quantity::LeakageCurrentM2, FirstRaw, 0.000001, Primary)),
    Kind(38, 38, Limits(3999, 3999), Item(Quantity::LeakageCurrentM3, FirstRaw, 0.000001, Primary)),
    Kind(39, 39, Limits(1999, 3999), Item(Quantity::LeakageCurrentM4, FirstRaw, 0.000001, Primary)),
    Kind(40, 40, Limits(1999, 3999), Item(Quantity::TrippingCurrent, FirstRaw, 0.00001, Primary)),
    Kind(41, 41, Limits(1999, 3999), Item(Quantity::ProtectiveConductorCurrent, FirstRaw, 0.00001, Primary)),
    Kind(42, 42, Limits(3999, 9999), Item(Quantity::TouchCurrent, FirstRaw, 0.000001, Primary),
        Item(Quantity::VoltageUF, SecondRaw, 0.001, Accompanying)),
    Kind(43, 43, Limits(3999, 3999), Item(Quantity::LeakageCurrentM3, FirstRaw, 0.000001, Primary)),
    Kind(44, 44, Limits(1999, 3999), Item(Quantity::LeakageCurrentM4, FirstRaw, 0.000001, Primary)),
    Kind(45, 45, Limits(3999, 3999), Item(Quantity::ResidualVoltage, FirstRaw, 0.1, Primary)),
    Kind(58, 58, Limits(1999, 3999), Item(Quantity::ClampCurrent, FirstRaw, 0.0001, Primary)),
    Kind(59, 59, Limits(1999, 3999), Item(Quantity::ClampCurrent, FirstRaw, 0.001, Primary)),
    Kind(60, 60, Limits(1999, 3999), Item(Quantity::ClampCurrent, FirstRaw, 0.01, Primary)),
    // The second value is the main result here.
    Kind(61, 61, Limits(199, 1999), Item(Quantity::VoltageU0P, SecondRaw, 0.1, Primary),
        Item(Quantity::OpenCircuitVoltage, FirstRaw, 0.1, Accompanying)),
    Kind(62, 62, Limits(1999, 3999), Item(Quantity::VoltageU1M, FirstRaw, 0.1, Primary)),
    Kind(63, 63, Limits(1999, 3999), Item(Quantity::CurrentIWP, FirstRaw, 0.00001, Primary)),
};

// The choice settings: item, option list string, setup byte, factory choice.
struct ChoiceSetting
{
    int ItemId;
    int OptionList;
    int Address;
    int Default;
};
constexpr ChoiceSetting Choices[] = {
    {Kx420Translator::LanguageItem, StringId::LanguageOptions, 0, 0},
    {Kx420Translator::BeepItem, StringId::OffOnOptions, 1, 1},
};
constexpr int BeepLimitAddress = 2;
constexpr double BeepLimitDefault = 1.0;

void BuildSetup(InstrumentSetup& setup, const int (&selected)[std::size(Choices)], double beepLimit)
{
    setup.Clear();
    InstrumentSetupBank* group
        = setup.AddBank(std::make_unique<InstrumentSetupBank>(Kx420Translator::SetupGroup));
    for (std::size_t i = 0; i < std::size(Choices); ++i) {
        auto choice
            = std::make_unique<InstrumentSetupItemChoice>(Choices[i].ItemId, Choices[i].OptionList, 0);
        choice->SetSelected(ChoiceFromByte(selected[i], choice->GetOptionCount()));
        group->AddItem(std::move(choice));
    }
    group->AddItem(std::make_unique<InstrumentSetupItemNumber>(
        Kx420Translator::BeepLimitItem, static_cast<float>(beepLimit), QStringLiteral("\u03A9"), 0.0f,
        static_cast<float>(UnsignedWordMaximum(Kx420Translator::BeepLimitFactor)), true));
}

} // namespace

Kx420Translator::Kx420Translator(int groupSameNumber)
    : InstrumentTranslator(ModelOf(ModelCode::Kx420)), m_groupSameNumber(groupSameNumber)
{
}

QByteArray Kx420Translator::HeaderName(const InstrumentTranslator& t, int recordOffset)
{
    QByteArray name;
    for (int i = 1; i < RecordSize; ++i) {
        const uint8_t byte = t.GetByte(recordOffset + i);
        for (int nibble : {byte >> 4, byte & 0x0F})
            if (nibble < 10)
                name.append(static_cast<char>('0' + nibble));
    }
    return name.isEmpty() ? QByteArray("0") : name;
}

void Kx420Translator::DecodeData(InstrumentData& data)
{
    const RecordStream stream{RecordStart, RecordCount, HeaderReuse::WhenGrouped, m_groupSameNumber};
    DecodeRecordStream(*this, data, stream, &Kx420Translator::HeaderName,
                       [](const InstrumentTranslator& t, int offset, InstrumentBank& bank) {
                           DecodeKindRecord(t, offset, bank, Kinds);
                       });
}

void Kx420Translator::GetDefaultSetup(InstrumentSetup& setup)
{
    int selected[std::size(Choices)];
    for (std::size_t i = 0; i < std::size(Choices); ++i)
        selected[i] = Choices[i].Default;
    BuildSetup(setup, selected, BeepLimitDefault);
}

void Kx420Translator::DecodeSetup(InstrumentSetup& setup)
{
    const int start = GetSetupStart();
    int selected[std::size(Choices)];
    for (std::size_t i = 0; i < std::size(Choices); ++i)
        selected[i] = GetByte(start + Choices[i].Address);
    BuildSetup(setup, selected, GetUInt16(start + BeepLimitAddress) / BeepLimitFactor);
}

void Kx420Translator::EncodeSetup(const InstrumentSetup& setup)
{
    const InstrumentSetupBank* group = setup.FindBank(SetupGroup);
    if (!group)
        return;
    const int start = GetSetupStart();
    for (const ChoiceSetting& setting : Choices)
        if (const InstrumentSetupItemChoice* choice = FindChoice(*group, setting.ItemId))
            SetByte(start + setting.Address,
                    static_cast<uint8_t>(ChoiceFromByte(choice->GetSelected(), choice->GetOptionCount())));
    if (const InstrumentSetupItemNumber* limit = FindNumber(*group, BeepLimitItem))
        SetUInt16(start + BeepLimitAddress, EncodeUnsignedWord(limit->GetValue(), BeepLimitFactor));
}
