#include "instruments/ChecksummedSetup.h"

#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/TranslatorRules.h"

#include <QString>

#include <algorithm>
#include <memory>

namespace ChecksummedSetup {

namespace {

constexpr int WordSize = 2;

int WordCount(const WordGroup& group)
{
    return static_cast<int>(group.FactoryValues.size());
}

// nullptr when a table gives a word no setting (a list without its setting).
const WordSetting* SettingOf(const WordGroup& group, int word)
{
    const std::size_t index = group.ByPosition ? 0 : static_cast<std::size_t>(word);
    return index < group.Settings.size() ? &group.Settings[index] : nullptr;
}

// Without a translator the description holds the factory values.
void BuildGroups(std::span<const WordGroup> groups, InstrumentSetup& setup, const InstrumentTranslator* t)
{
    const bool factory = t == nullptr;
    setup.Clear();
    for (const WordGroup& group : groups) {
        auto bank = std::make_unique<InstrumentSetupBank>(group.GroupId);
        for (int word = 0; word < WordCount(group); ++word) {
            const WordSetting* setting = SettingOf(group, word);
            if (!setting)
                continue;
            double value = group.FactoryValues[static_cast<std::size_t>(word)];
            if (!factory) {
                const int address = group.Address + WordSize * word;
                const double stored = setting->Coding == WordCoding::Signed
                                          ? static_cast<double>(t->GetInt16(address))
                                          : static_cast<double>(t->GetUInt16(address));
                value = stored * setting->FromWord;
            }
            bank->AddItem(std::make_unique<InstrumentSetupItemNumber>(
                setting->ItemId, static_cast<float>(value), QString::fromUtf16(setting->Unit),
                factory ? setting->DefaultMinimum : setting->Minimum, setting->Maximum,
                setting->ZeroAllowed));
        }
        setup.AddBank(std::move(bank));
    }
}

uint16_t EncodeSetting(const WordSetting& setting, double value)
{
    if (setting.RaiseBelow > 0 && value > 0 && value < setting.RaiseBelow)
        value = setting.RaiseBelow;
    if (setting.Coding == WordCoding::RoundedUnsigned)
        return TranslatorRules::EncodeUnsignedWord(value, setting.ToWord);
    return TranslatorRules::EncodeWord(value, setting.ToWord, setting.Addend);
}

} // namespace

void GetDefault(std::span<const WordGroup> groups, InstrumentSetup& setup)
{
    BuildGroups(groups, setup, nullptr);
}

void Decode(const InstrumentTranslator& t, std::span<const WordGroup> groups, InstrumentSetup& setup)
{
    BuildGroups(groups, setup, &t);
}

void Encode(InstrumentTranslator& t, std::span<const WordGroup> groups, const InstrumentSetup& setup)
{
    using TranslatorRules::FindNumber;
    using TranslatorRules::NumberAt;
    for (const WordGroup& group : groups) {
        for (int i = 0; i < SectionLength; ++i)
            t.SetByte(group.Address + i, 0);
        const InstrumentSetupBank* bank = setup.FindBank(group.GroupId);
        // Never more words than the section holds, whatever a table says.
        const int words = std::min(WordCount(group), SectionLength / WordSize);
        for (int word = 0; word < words; ++word) {
            const WordSetting* setting = SettingOf(group, word);
            if (!setting)
                continue;
            double value = group.FactoryValues[static_cast<std::size_t>(word)];
            const InstrumentSetupItemNumber* item = nullptr;
            if (bank)
                item = group.ByPosition ? NumberAt(*bank, word) : FindNumber(*bank, setting->ItemId);
            if (item)
                value = item->GetValue();
            t.SetUInt16(group.Address + WordSize * word, EncodeSetting(*setting, value));
        }
        TranslatorRules::StoreSetupChecksum(t, group.Address, SectionLength);
    }
}

} // namespace ChecksummedSetup
