#pragma once
// Measured data: a list of banks, each a named list of measured items.

#include "instruments/InstrumentItem.h"
#include "instruments/InstrumentOldItem.h"
#include "storage/File.h"
#include "storage/PropertiesAbstract.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class InstrumentBank : public InstrumentAbstract, public PropertiesAbstract
{
public:
    static constexpr int32_t TypeCode = FourCC("bank");
    // Names hold at most 16 bytes; a stored name keeps at most 15.
    static constexpr int NameLength = 16;

    // Named with the decimal text of the number.
    explicit InstrumentBank(int number);
    // At most 16 bytes of the name are taken (up to a NUL, if any).
    explicit InstrumentBank(QByteArrayView name = {});
    // The name and clones of all items.
    InstrumentBank(const InstrumentBank& other);
    InstrumentBank& operator=(const InstrumentBank&) = delete;
    // Destroys the items, last first.
    ~InstrumentBank() override;

    const QByteArray& GetName() const { return m_name; }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    // nullptr for an index outside the list.
    InstrumentItem* GetItem(int index) const;
    // Takes ownership and returns the item; a null item is ignored.
    InstrumentItem* AddItem(std::unique_ptr<InstrumentItem> item);
    // Removes and destroys the item; false when it is not in this bank.
    bool RemoveItem(const InstrumentAbstract* item);
    void Clear();

    QByteArray GetText(int flags, int precision) const override;
    std::unique_ptr<InstrumentAbstract> Clone() const override;
    virtual std::unique_ptr<InstrumentBank> CloneBank() const;
    virtual int32_t GetTypeCode() const { return TypeCode; }

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;

    // Smallest stored record: version, item count, empty name.
    static constexpr qint64 MinRecordSize = 1 + 4 + 4;

protected:
    // "Bank" or "No": the label before the name and the XML element.
    virtual const char* GetLabel() const;
    virtual const char* GetXmlElement() const;

private:
    QByteArray m_name;
    std::vector<std::unique_ptr<InstrumentItem>> m_items;
};

// A bank identified by an instrument's record number.
class InstrumentNumber final : public InstrumentBank
{
public:
    static constexpr int32_t TypeCode = FourCC("no. ");

    explicit InstrumentNumber(int number) : InstrumentBank(number) {}
    explicit InstrumentNumber(QByteArrayView name = {}) : InstrumentBank(name) {}
    InstrumentNumber(const InstrumentNumber& other) = default;

    std::unique_ptr<InstrumentBank> CloneBank() const override;
    int32_t GetTypeCode() const override { return TypeCode; }

protected:
    const char* GetLabel() const override;
    const char* GetXmlElement() const override;
};

// One entry per record of an older data stream that creates something: a
// bank header (both empty), a measured item (owned by its bank in the data
// set) or a text record (owned here, since it belongs to no bank).
struct LegacyImportEntry
{
    InstrumentItem* Item = nullptr;
    std::unique_ptr<InstrumentOldItem> Text;
};
using LegacyImportList = std::vector<LegacyImportEntry>;

class InstrumentData : public PropertiesAbstract
{
public:
    InstrumentData() = default;
    InstrumentData(const InstrumentData&) = delete;
    InstrumentData& operator=(const InstrumentData&) = delete;
    ~InstrumentData() override;

    // Takes ownership and returns the bank; a null bank is ignored.
    InstrumentBank* AddBank(std::unique_ptr<InstrumentBank> bank);
    // Appends clones of every bank of `other`.
    void AppendCopies(const InstrumentData& other);
    int GetCount() const { return static_cast<int>(m_banks.size()); }
    // nullptr for an index outside the list.
    InstrumentBank* GetBank(int index) const;
    // Destroys all banks, last first.
    void Clear();
    // Destroys every bank without items, keeping the order of the rest.
    void RemoveEmptyBanks();
    // Destroys an item of one of the banks, or one of the banks; false when
    // the node is neither.
    bool Remove(const InstrumentAbstract* node);
    // Index of the last bank whose name equals the first 16 bytes of `name`;
    // -1 when none.
    int FindBank(QByteArrayView name) const;
    int FindBankByNumber(int number) const;
    // By name, compared byte by byte ("10" before "9"); equal names keep
    // their order.
    void SortBanks();

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;

    // Reads an older data body (from its "Data    " tag) into the set and
    // appends one entry per bank header and item record to `list`. True when
    // the body ends with its end tag; false for a foreign first tag, an
    // unknown tag, a damaged record or a body cut short (what was read stays).
    bool ImportLegacy(QIODevice& stream, LegacyImportList& list);
    // The value of an older item text, and whether it was marked over range.
    static double ParseLegacyValue(const QString& text, bool& over);

private:
    std::vector<std::unique_ptr<InstrumentBank>> m_banks;
};
