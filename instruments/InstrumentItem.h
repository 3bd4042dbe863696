#pragma once
// One measured value and the node interface of the measured-data tree.

#include "storage/File.h"
#include "storage/PropertiesAbstract.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <cstdint>
#include <memory>

// A node of the measured-data tree: a bank, an item or an older text record.
class InstrumentAbstract
{
public:
    virtual ~InstrumentAbstract() = default;

    // The node's text as UTF-8 (styled text: ESC + style word). Item flags:
    // bit 0 symbol, bit 1 unit, bit 2 note; 8..13 the measure field's scaled
    // formats with `precision` 0..5. Bank flags: bit 0 adds "Bank "/"No. ".
    virtual QByteArray GetText(int flags, int precision) const = 0;
    virtual bool IsPrimary() const { return false; }
    // A deep copy of the node.
    virtual std::unique_ptr<InstrumentAbstract> Clone() const = 0;

protected:
    InstrumentAbstract() = default;
    InstrumentAbstract(const InstrumentAbstract&) = default;
    InstrumentAbstract& operator=(const InstrumentAbstract&) = default;
};

class InstrumentItem final : public InstrumentAbstract, public PropertiesAbstract
{
public:
    static constexpr int32_t TypeCode = FourCC("inst");

    // A negative quantity becomes 0. The note is UTF-8; a null or empty
    // note means none.
    InstrumentItem(double value, int quantity, QByteArrayView note, bool primary, bool over);
    InstrumentItem(double value, int quantity, bool primary, bool over);
    InstrumentItem(const InstrumentItem& other) = default;
    InstrumentItem& operator=(const InstrumentItem& other) = default;
    ~InstrumentItem() override = default;

    double GetValue() const { return m_value; }
    int GetQuantity() const { return m_quantity; }
    bool IsOver() const { return m_over; }
    bool IsPrimary() const override { return m_primary; }

    // Null when the item has no note.
    QByteArray GetNote() const;
    // The note, or an empty (non-null) text.
    QByteArray GetNoteText() const;
    // An empty or null note clears it.
    void SetNote(QByteArrayView note);

    // Table symbol and unit; empty for the date-time quantity and for an
    // index with no row.
    QByteArray GetSymbol() const { return LookUpSymbol(m_quantity); }
    static QByteArray LookUpSymbol(int quantity);
    QByteArray GetUnit() const { return LookUpUnit(m_quantity); }
    static QByteArray LookUpUnit(int quantity);

    // "" unless over; then "<" for a negative value, ">" otherwise.
    QByteArray GetOverPrefix() const;
    // The value as shown: a date-time, with an SI prefix, or plain.
    QByteArray GetValueText() const;
    QByteArray FormatWithPrefix() const;
    QByteArray FormatPlain() const;

    QByteArray GetText(int flags, int precision) const override;
    QByteArray GetDefaultText() const { return GetText(0, 0); }

    // Parses a value typed by the user (UTF-8) into the value and the over flag.
    void SetValueText(QByteArrayView text);

    std::unique_ptr<InstrumentAbstract> Clone() const override;
    std::unique_ptr<InstrumentItem> CloneItem() const;
    int32_t GetTypeCode() const { return TypeCode; }

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;

    // Smallest stored record: version, value, quantity, empty note, two flags.
    static constexpr qint64 MinRecordSize = 1 + 8 + 4 + 4 + 1 + 1;

private:
    double m_value;
    int32_t m_quantity;
    QByteArray m_note; // empty = none
    bool m_primary;
    bool m_over;
};
