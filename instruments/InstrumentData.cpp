#include "instruments/InstrumentData.h"

#include <algorithm>

namespace {

// A name as the fixed 16-byte field holds it: up to the first NUL, at most
// `length` bytes.
QByteArray BoundedName(QByteArrayView name, qsizetype length)
{
    const qsizetype end = name.indexOf('\0');
    if (end >= 0)
        name = name.first(end);
    return name.first(std::min(name.size(), length)).toByteArray();
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
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

InstrumentItem* InstrumentBank::AddItem(std::unique_ptr<InstrumentItem> item)
{
    if (!item)
        return nullptr;
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

bool InstrumentBank::RemoveItem(const InstrumentAbstract* item)
{
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [item](const auto& own) { return own.get() == item; });
    if (found == m_items.end())
        return false;
    m_items.erase(found);
    return true;
}

void InstrumentBank::Clear()
{
    while (!m_items.empty())
        m_items.pop_back();
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
    if (BytesLeft(stream) < MinRecordSize) {
        MarkStreamDamaged(stream);
        return false;
    }
    const int version = ReadByte(stream);
    const int32_t count = ReadInt32(stream);
    if (version == 1)
        m_name = QByteArray::number(ReadInt32(stream));
    else
        m_name = BoundedName(ReadAnsiString(stream), NameLength - 1);
    if (IsStreamDamaged(stream) || count < 0
        || !CheckCount(stream, count, InstrumentItem::MinRecordSize)) {
        MarkStreamDamaged(stream);
        return false;
    }
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
    if (!bank)
        return nullptr;
    m_banks.push_back(std::move(bank));
    return m_banks.back().get();
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
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_banks[static_cast<size_t>(index)].get();
}

void InstrumentData::Clear()
{
    while (!m_banks.empty())
        m_banks.pop_back();
}

void InstrumentData::RemoveEmptyBanks()
{
    std::erase_if(m_banks, [](const auto& bank) { return bank->GetCount() == 0; });
}

bool InstrumentData::Remove(const InstrumentAbstract* node)
{
    if (!node)
        return false;
    for (const auto& bank : m_banks) {
        if (bank->RemoveItem(node))
            return true;
    }
    const auto found = std::find_if(m_banks.begin(), m_banks.end(),
                                    [node](const auto& bank) { return bank.get() == node; });
    if (found == m_banks.end())
        return false;
    m_banks.erase(found);
    return true;
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
    if (BytesLeft(stream) < 1 + 4) {
        MarkStreamDamaged(stream);
        return false;
    }
    ReadByte(stream); // version: every version has the same layout
    const int32_t count = ReadInt32(stream);
    if (count < 0 || !CheckCount(stream, count, kMinStoredBank)) {
        MarkStreamDamaged(stream);
        return false;
    }
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
