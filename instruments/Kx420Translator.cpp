#include "instruments/Kx420Translator.h"

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/TranslatorRules.h"

#include <QString>

#include <memory>

using namespace TranslatorRules;

namespace {

constexpr int V = 0; // first raw value
constexpr int S = 1; // second raw value
constexpr bool P = true;
constexpr bool Acc = false;
constexpr const char* KD = "KD420";

// kind -> limits of the two values, items in the order they are added.
constexpr KindRow Kinds[] = {
    Kind(0, 0, Limits(3999, 999), Item(15, V, 1000, P), Item(22, S, 1, Acc)),
    Kind(1, 1, Limits(3999, 999), Item(15, V, 10000, P), Item(22, S, 1, Acc)),
    Kind(2, 2, Limits(3999, 999), Item(15, V, 100000, P), Item(22, S, 1, Acc)),
    Kind(3, 3, Limits(3999, 999), Item(12, V, 0.01, P), Item(8, S, 0.1, Acc)),
    Kind(4, 4, Limits(3999, 999), Item(1, V, 0.1, P), Item(8, S, 0.1, Acc)),
    Kind(5, 5, Limits(9999, 199), Item(13, V, 1, P), Item(23, S, 0.01, Acc)),
    Kind(6, 6, Limits(9999, 199), Item(14, V, 1, P), Item(23, S, 0.01, Acc)),
    Kind(8, 8, Limits(1999, 999), Item(7, V, 0.01, P), Item(24, S, 0.01, P)),
    Kind(9, 9, Limits(3999, 3999), Item(16, V, 0.1, P)),
    Kind(10, 10, Limits(1999, 3999), Item(5, V, 0.00001, P)),
    Kind(11, 11, Limits(9999, 3999), Item(17, V, 1, P)),
    Kind(12, 12, Limits(1999, 3999), Item(20, V, 0.00001, P)),
    Kind(13, 13, Limits(1999, 3999), Item(18, V, 0.00001, P)),
    Kind(17, 19, Limits(3999, 999), Item(1, V, 0.1, P, KD), Item(8, S, 0.1, Acc)),
    Kind(20, 22, Limits(3999, 999), Item(12, V, 0.01, P, KD), Item(8, S, 0.1, Acc)),
    Kind(23, 26, Limits(9999, 199), Item(13, V, 1, P, KD), Item(23, S, 0.01, Acc)),
    Kind(27, 30, Limits(9999, 199), Item(14, V, 1, P, KD), Item(23, S, 0.01, Acc)),
    Kind(31, 31, Limits(3999, 3999), Item(5, V, 0.00001, P, KD)),
    Kind(32, 32, Limits(3999, 3999), Item(18, V, 0.00001, P, KD)),
    Kind(33, 33, Limits(3999, 3999), Item(19, V, 0.000001, P, KD)),
    Kind(35, 35, Limits(3999, 9999), Item(19, V, 0.000001, P), Item(34, S, 0.001, Acc)),
    Kind(36, 36, Limits(3999, 3999), Item(35, V, 0.000001, P)),
    Kind(37, 37, Limits(3999, 3999), Item(36, V, 0.000001, P)),
    Kind(38, 38, Limits(3999, 3999), Item(37, V, 0.000001, P)),
    Kind(39, 39, Limits(1999, 3999), Item(38, V, 0.000001, P)),
    Kind(40, 40, Limits(1999, 3999), Item(5, V, 0.00001, P)),
    Kind(41, 41, Limits(1999, 3999), Item(18, V, 0.00001, P)),
    Kind(42, 42, Limits(3999, 9999), Item(19, V, 0.000001, P), Item(34, S, 0.001, Acc)),
    Kind(43, 43, Limits(3999, 3999), Item(37, V, 0.000001, P)),
    Kind(44, 44, Limits(1999, 3999), Item(38, V, 0.000001, P)),
    Kind(45, 45, Limits(3999, 3999), Item(39, V, 0.1, P)),
    Kind(58, 58, Limits(1999, 3999), Item(40, V, 0.0001, P)),
    Kind(59, 59, Limits(1999, 3999), Item(40, V, 0.001, P)),
    Kind(60, 60, Limits(1999, 3999), Item(40, V, 0.01, P)),
    // The second value is the main result here.
    Kind(61, 61, Limits(199, 1999), Item(42, S, 0.1, P), Item(44, V, 0.1, Acc)),
    Kind(62, 62, Limits(1999, 3999), Item(41, V, 0.1, P)),
    Kind(63, 63, Limits(1999, 3999), Item(43, V, 0.00001, P)),
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
    {Kx420Translator::LanguageItem, 265, 0, 0}, // "English;Czech"
    {Kx420Translator::BeepItem, 269, 1, 1},     // "Off;On"
};
constexpr int BeepLimitAddress = 2;
constexpr double BeepLimitDefault = 1.0;

void BuildSetup(InstrumentSetup& setup, const int (&selected)[std::size(Choices)], double beepLimit)
{
    setup.Clear();
    InstrumentSetupBank* group = setup.AddBank(std::make_unique<InstrumentSetupBank>(Kx420Translator::SetupGroup));
    for (std::size_t i = 0; i < std::size(Choices); ++i) {
        auto choice = std::make_unique<InstrumentSetupItemChoice>(Choices[i].ItemId, Choices[i].OptionList, 0);
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
