#pragma once
// The measure field: holds its own copy of one measured item, shows it in a
// chosen format and colours or replaces it by its limits. The inherited text
// is shown while the field holds no value.

#include "documents/MeasureLimit.h"
#include "documents/TextObject.h"
#include "instruments/InstrumentItem.h"

#include <array>
#include <memory>

class MeasureObject : public TextObject
{
public:
    static constexpr int SymbolCount = 10;
    static constexpr int32_t NoSymbol = -1;
    // The item's text flags: symbol, value, unit and note.
    static constexpr int32_t DefaultFormat = 7;
    static constexpr int32_t MaxDecimalPosition = 5;
    // Type 1 takes measured values; Type 3 takes the instrument number and
    // the bank (the record's ID number).
    static constexpr int32_t MeasuredValue = 1;
    static constexpr int32_t NumberField = 3;
    // Texts shown or typed are cut to this many UTF-16 units (display) or
    // UTF-8 bytes (typed values).
    static constexpr int MaxTextLength = 249;
    static constexpr uint8_t RecordVersion = 3;

    MeasureObject();
    // Deep copies of the value and the limit; the Type is kept, so a copy of
    // a number field still takes instrument numbers.
    MeasureObject(const MeasureObject& other);
    ~MeasureObject() override;

    bool Load(QIODevice& stream) override;
    void Save(QIODevice& stream) const override;
    void WriteXml(QIODevice& out) const override;
    TColor GetForeColor() const override;
    TColor GetBackColor() const override;
    // With a value: the value as a plain number (with its over sign), the
    // form in which SetText reads it back. Without: the stored text.
    QString GetText() const override;
    QString GetDisplayText() const override;
    // With a value: a null text drops the value, any other is parsed into
    // it. Without a value the text becomes the stored text.
    void SetText(const QString& text) override;
    // Holds a copy of the item (none for a null item); the quantity is the
    // caller's business.
    void Fill(const InstrumentItem* item) override;
    bool IsFillable() const override;
    std::unique_ptr<AbstractFormObject> Clone() const override;
    int32_t GetTypeCode() const override;
    // 3 makes a number field that accepts exactly the instrument number and
    // the bank; anything else makes an ordinary field and keeps the symbols.
    void SetType(int32_t type) override;

    int32_t GetFormat() const { return Format; }
    void SetFormat(int32_t format) { Format = format; }
    int32_t GetDecimalPosition() const { return DecimalPosition; }
    // Values outside 0..5 are ignored.
    void SetDecimalPosition(int32_t position);

    const InstrumentItem* GetValue() const { return Value.get(); }
    // Holds a copy of the item; null drops the value.
    void SetValue(const InstrumentItem* item);
    const MeasureLimit* GetLimit() const { return Limit.get(); }
    // Holds a copy of the limit; null removes it.
    void SetLimit(const MeasureLimit* limit);

    // The accepted quantities: indexes into the quantity table, packed at
    // the front, NoSymbol in the unused slots.
    bool HasNoSymbols() const;
    bool HasSymbol(int32_t quantity) const;
    // NoSymbol for a slot outside 0..9.
    int32_t GetSymbol(int slot) const;
    // Into the first free slot, unless present or all slots are used.
    void AddSymbol(int32_t quantity);
    // Every occurrence; the rest move forward in order.
    void RemoveSymbol(int32_t quantity);
    void ClearSymbols();

private:
    // The limit's colour for the given action when the value passes a bound
    // with that action (the lower bound first), else `stored`.
    TColor LimitColor(int32_t action, TColor stored) const;

    int32_t Format = DefaultFormat;
    std::array<int32_t, SymbolCount> Symbols;
    std::unique_ptr<InstrumentItem> Value;
    std::unique_ptr<MeasureLimit> Limit;
    int32_t DecimalPosition = 0;
};
