#include "instruments/InstrumentData.h"

#include "instruments/OwnedList.h"

#include <algorithm>

namespace {

// A name as the fixed 16-byte field holds it: up to the first NUL, at most
// `length` bytes. Never null: an empty name is still a name, written as an
// empty "Number" element.
QByteArray BoundedName(QByteArrayView name, qsizetype length)
{
    const qsizetype end = name.indexOf('\0');
    if (end >= 0)
        name = name.first(end);
    QByteArray bounded = name.first(std::min(name.size(), length)).toByteArray();
    if (bounded.isNull())
        bounded = QByteArray("");
    return bounded;
}

// A stored bank record is preceded by its type code.
constexpr qint64 kMinStoredBank = 4 + InstrumentBank::MinRecordSize;

std::unique_ptr<InstrumentBank> CreateBank(int32_t typeCode)
{
    if (typeCode == InstrumentNumber::TypeCode)
        return std::make_unique<InstrumentNumber>();
    if (typeCode == InstrumentBank::TypeCode)
        return std::make_unique<InstrumentBank>();
    return nullptr;
}

} // namespace

// --- InstrumentBank ----------------------------------------------------------

InstrumentBank::InstrumentBank(int number)
    : m_name(QByteArray::number(number))
{
}

InstrumentBank::InstrumentBank(QByteArrayView name)
    : m_name(BoundedName(name, NameLength))
{
}

InstrumentBank::InstrumentBank(const InstrumentBank& other)
    : InstrumentAbstract(other)
    , PropertiesAbstract(other)
    , m_name(other.m_name)
{
    m_items.reserve(other.m_items.size());
    for (const auto& item : other.m_items)
        m_items.push_back(item->CloneItem());
}

InstrumentBank::~InstrumentBank()
{
    Clear();
}

InstrumentItem* InstrumentBank::GetItem(int index) const
{
    return OwnedList::At(m_items, index);
}

InstrumentItem* InstrumentBank::AddItem(std::unique_ptr<InstrumentItem> item)
{
    return OwnedList::Append(m_items, std::move(item));
}

bool InstrumentBank::RemoveItem(const InstrumentAbstract* item)
{
    return OwnedList::Erase(m_items, item);
}

void InstrumentBank::Clear()
{
    OwnedList::Clear(m_items);
}

QByteArray InstrumentBank::GetText(int flags, int) const
{
    if (flags & 1)
        return GetLabel() + m_name;
    return m_name;
}

std::unique_ptr<InstrumentAbstract> InstrumentBank::Clone() const
{
    return CloneBank();
}

std::unique_ptr<InstrumentBank> InstrumentBank::CloneBank() const
{
    return std::make_unique<InstrumentBank>(*this);
}

const char* InstrumentBank::GetLabel() const
{
    return "Bank ";
}

const char* InstrumentBank::GetXmlElement() const
{
    return "Bank";
}

bool InstrumentBank::Load(QIODevice& stream)
{
    Clear();
    if (!CheckCount(stream, 1, MinRecordSize))
        return false;
    const int version = ReadByte(stream);
    const int32_t count = ReadInt32(stream);
    if (version == 1)
        m_name = QByteArray::number(ReadInt32(stream));
    else
        m_name = BoundedName(ReadAnsiString(stream), NameLength - 1);
    if (IsStreamDamaged(stream) || !CheckCount(stream, count, InstrumentItem::MinRecordSize))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        auto item = std::make_unique<InstrumentItem>(0.0, 0, true, false);
        if (!item->Load(stream))
            return false;
        m_items.push_back(std::move(item));
    }
    return true;
}

void InstrumentBank::Save(QIODevice& stream) const
{
    WriteByte(stream, 2);
    WriteInt32(stream, GetCount());
    WriteAnsiString(stream, m_name);
    for (const auto& item : m_items)
        item->Save(stream);
}

void InstrumentBank::WriteXml(QIODevice& out) const
{
    WriteXmlOpenTag(out, GetXmlElement());
    WriteXmlInt(out, "Count", GetCount());
    WriteXmlText(out, "Number", m_name);
    for (const auto& item : m_items)
        item->WriteXml(out);
    WriteXmlCloseTag(out, GetXmlElement());
}

// --- InstrumentNumber --------------------------------------------------------

std::unique_ptr<InstrumentBank> InstrumentNumber::CloneBank() const
{
    return std::make_unique<InstrumentNumber>(*this);
}

const char* InstrumentNumber::GetLabel() const
{
    return "No. ";
}

const char* InstrumentNumber::GetXmlElement() const
{
    return "No";
}

// --- InstrumentData ----------------------------------------------------------

InstrumentData::~InstrumentData()
{
    Clear();
}

InstrumentBank* InstrumentData::AddBank(std::unique_ptr<InstrumentBank> bank)
{
    return OwnedList::Append(m_banks, std::move(bank));
}

void InstrumentData::AppendCopies(const InstrumentData& other)
{
    // Cloned first, so that appending a set to itself copies each bank once.
    std::vector<std::unique_ptr<InstrumentBank>> copies;
    copies.reserve(other.m_banks.size());
    for (const auto& bank : other.m_banks)
        copies.push_back(bank->CloneBank());
    for (auto& copy : copies)
        m_banks.push_back(std::move(copy));
}

InstrumentBank* InstrumentData::GetBank(int index) const
{
    return OwnedList::At(m_banks, index);
}

void InstrumentData::Clear()
{
    OwnedList::Clear(m_banks);
}

void InstrumentData::RemoveEmptyBanks()
{
    std::erase_if(m_banks, [](const auto& bank) { return bank->GetCount() == 0; });
}

bool InstrumentData::Remove(const InstrumentAbstract* node)
{
    for (const auto& bank : m_banks) {
        if (bank->RemoveItem(node))
            return true;
    }
    return OwnedList::Erase(m_banks, node);
}

int InstrumentData::FindBank(QByteArrayView name) const
{
    const QByteArray wanted = BoundedName(name, InstrumentBank::NameLength);
    for (int i = GetCount() - 1; i >= 0; --i) {
        if (m_banks[static_cast<size_t>(i)]->GetName() == wanted)
            return i;
    }
    return -1;
}

int InstrumentData::FindBankByNumber(int number) const
{
    return FindBank(QByteArray::number(number));
}

void InstrumentData::SortBanks()
{
    std::stable_sort(m_banks.begin(), m_banks.end(), [](const auto& a, const auto& b) {
        return a->GetName() < b->GetName();
    });
}

bool InstrumentData::Load(QIODevice& stream)
{
    if (!CheckCount(stream, 1, 1 + 4))
        return false;
    ReadByte(stream); // version: every version has the same layout
    const int32_t count = ReadInt32(stream);
    if (!CheckCount(stream, count, kMinStoredBank))
        return false;
    for (int32_t i = 0; i < count; ++i) {
        // An unknown code gives no length to skip its record by.
        std::unique_ptr<InstrumentBank> bank = CreateBank(ReadInt32(stream));
        if (!bank) {
            MarkStreamDamaged(stream);
            return false;
        }
        if (!AddBank(std::move(bank))->Load(stream))
            return false;
    }
    return true;
}

void InstrumentData::Save(QIODevice& stream) const
{
    WriteByte(stream, 1);
    WriteInt32(stream, GetCount());
    for (const auto& bank : m_banks) {
        WriteInt32(stream, bank->GetTypeCode());
        bank->Save(stream);
    }
}

void InstrumentData::WriteXml(QIODevice& out) const
{
    WriteXmlOpenTag(out, "Data");
    WriteXmlInt(out, "Count", GetCount());
    for (const auto& bank : m_banks)
        bank->WriteXml(out);
    WriteXmlCloseTag(out, "Data");
}
