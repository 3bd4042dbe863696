#include "instruments/InstrumentSetup.h"

#include "instruments/OwnedList.h"
#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/NumberText.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace {

// Language string of each setting id; ids past the table (and negative ids)
// take the first entry.
constexpr std::array<int, 10> kItemNameIds{
    StringId::PowerOff,            // 0
    StringId::BacklightOff,        // 1
    StringId::Copper,              // 2
    StringId::Aluminium,           // 3
    StringId::Distance,            // 4
    StringId::Frequency,           // 5
    StringId::ResistanceBeepLimit, // 6
    StringId::LanguageCaption,     // 7
    StringId::Beep,                // 8
    StringId::RpeBeepLimit,        // 9
};
// Language string of each group id, likewise.
constexpr std::array<int, 5> kGroupNameIds{StringId::GeneralGroup, StringId::Copper,
                                           StringId::Aluminium, StringId::Distance,
                                           StringId::Frequency};

template <size_t N>
QString NameFromTable(const std::array<int, N>& table, int id)
{
    const size_t index = id >= 0 && static_cast<size_t>(id) < N ? static_cast<size_t>(id) : 0;
    return MainLanguage.GetString(table[index]);
}

template <typename T>
T* LastWithId(const std::vector<std::unique_ptr<T>>& list, int id)
{
    const auto found = std::find_if(list.rbegin(), list.rend(),
                                    [id](const auto& element) { return element->GetId() == id; });
    return found == list.rend() ? nullptr : found->get();
}

} // namespace

QString InstrumentSetupItem::GetName() const
{
    return NameFromTable(kItemNameIds, m_id);
}

// --- Number ------------------------------------------------------------------

InstrumentSetupItemNumber::InstrumentSetupItemNumber(int id, float value, QString unit,
                                                     float minimum, float maximum, bool zeroAllowed)
    : InstrumentSetupItem(id)
    , m_unit(std::move(unit))
    , m_value(value)
    , m_minimum(minimum)
    , m_maximum(maximum)
    , m_zeroAllowed(zeroAllowed)
{
}

bool InstrumentSetupItemNumber::SetValue(float value)
{
    const bool accepted = m_minimum == m_maximum || (value == 0 && m_zeroAllowed)
                          || (m_minimum <= value && value <= m_maximum);
    if (accepted)
        m_value = value;
    return accepted;
}

QString InstrumentSetupItemNumber::GetText() const
{
    return GetName() + u'\t' + FormatFloat(QStringLiteral("0.###"), m_value) + u' ' + m_unit;
}

// --- Choice ------------------------------------------------------------------

InstrumentSetupItemChoice::InstrumentSetupItemChoice(int id, int optionListId, int selected)
    : InstrumentSetupItem(id)
    , m_optionListId(optionListId)
    , m_selected(std::max(selected, 0))
{
}

void InstrumentSetupItemChoice::SetSelected(int index)
{
    m_selected = std::max(index, 0);
}

int InstrumentSetupItemChoice::GetOptionCount() const
{
    return static_cast<int>(MainLanguage.GetString(m_optionListId).count(u';')) + 1;
}

QString InstrumentSetupItemChoice::GetOption(int index) const
{
    const QStringList options = MainLanguage.GetString(m_optionListId).split(u';');
    return options[std::clamp<qsizetype>(index, 0, options.size() - 1)];
}

QString InstrumentSetupItemChoice::GetText() const
{
    return GetName() + u'\t' + GetOption(m_selected);
}

// --- Group -------------------------------------------------------------------

InstrumentSetupBank::~InstrumentSetupBank()
{
    Clear();
}

QString InstrumentSetupBank::GetName() const
{
    return NameFromTable(kGroupNameIds, m_id);
}

InstrumentSetupItem* InstrumentSetupBank::AddItem(std::unique_ptr<InstrumentSetupItem> item)
{
    return OwnedList::Append(m_items, std::move(item));
}

InstrumentSetupItem* InstrumentSetupBank::GetItem(int index) const
{
    return OwnedList::At(m_items, index);
}

InstrumentSetupItem* InstrumentSetupBank::FindItem(int id) const
{
    return LastWithId(m_items, id);
}

void InstrumentSetupBank::Clear()
{
    OwnedList::Clear(m_items);
}

// --- Setup -------------------------------------------------------------------

InstrumentSetup::~InstrumentSetup()
{
    Clear();
}

InstrumentSetupBank* InstrumentSetup::AddBank(std::unique_ptr<InstrumentSetupBank> bank)
{
    return OwnedList::Append(m_banks, std::move(bank));
}

InstrumentSetupBank* InstrumentSetup::GetBank(int index) const
{
    return OwnedList::At(m_banks, index);
}

InstrumentSetupBank* InstrumentSetup::FindBank(int groupId) const
{
    return LastWithId(m_banks, groupId);
}

void InstrumentSetup::Clear()
{
    OwnedList::Clear(m_banks);
}
