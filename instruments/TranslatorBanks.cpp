// The shared rules that create banks, items and settings lookups.

#include "instruments/InstrumentData.h"
#include "instruments/InstrumentItem.h"
#include "instruments/InstrumentSetup.h"
#include "instruments/InstrumentTranslator.h"
#include "instruments/QuantityTable.h"
#include "instruments/TranslatorRules.h"

#include <cstdlib>
#include <memory>

namespace TranslatorRules {

void AddItem(InstrumentBank& bank, double value, int quantity, QByteArrayView note, bool primary,
             bool over)
{
    bank.AddItem(std::make_unique<InstrumentItem>(value, quantity, note, primary, over));
}

void AddRuleItem(InstrumentBank& bank, const ItemRule& rule, const RawValue& value)
{
    if (rule.Quantity == NoItem)
        return;
    // Clamped first, then the absolute value, then scaled in double.
    const int raw = rule.Absolute ? std::abs(value.Value) : value.Value;
    AddItem(bank, static_cast<double>(raw) * rule.Scale, rule.Quantity,
            rule.Note ? QByteArrayView(rule.Note) : QByteArrayView(), rule.Primary, value.Over);
}

void AddKindItems(InstrumentBank& bank, const KindRow& row, const std::array<int, MaxRawValues>& raw,
                  ClampRule rule)
{
    std::array<RawValue, MaxRawValues> clamped;
    for (int i = 0; i < MaxRawValues; ++i)
        clamped[static_cast<std::size_t>(i)] =
            ClampRaw(raw[static_cast<std::size_t>(i)], row.Limits[static_cast<std::size_t>(i)], rule);
    for (const ItemRule& item : row.Items) {
        if (item.Source < 0 || item.Source >= MaxRawValues)
            continue;
        AddRuleItem(bank, item, clamped[static_cast<std::size_t>(item.Source)]);
    }
}

InstrumentBank& NumberedBank(InstrumentData& data, int number)
{
    const int index = data.FindBankByNumber(number);
    if (InstrumentBank* found = data.GetBank(index))
        return *found;
    InstrumentBank* bank = data.AddBank(std::make_unique<InstrumentBank>(number));
    AddItem(*bank, number, Quantity::Bank, {}, false, false);
    return *bank;
}

InstrumentBank& HeaderBank(InstrumentData& data, QByteArrayView name, HeaderReuse reuse,
                           int groupSameNumber, bool* created)
{
    if (created)
        *created = false;
    if (reuse != HeaderReuse::Never) {
        const int index = data.FindBank(name);
        const bool reusable = groupSameNumber == 1
                              || (reuse == HeaderReuse::WhenGroupedOrLast && index == data.GetCount() - 1);
        if (index >= 0 && reusable)
            return *data.GetBank(index);
    }
    if (created)
        *created = true;
    return *data.AddBank(std::make_unique<InstrumentNumber>(name));
}

void AddDateItem(InstrumentBank& bank, const InstrumentTranslator& t, int recordOffset)
{
    AddItem(bank, DateRecordValue(t, recordOffset), Quantity::DateTime, {}, false, false);
}

void DecodeNumberedSlots(const InstrumentTranslator& t, InstrumentData& data, const SlotLayout& layout,
                         const SlotDecoder& decode)
{
    data.Clear();
    const int start = t.GetDataStart();
    for (int block = 0; block < layout.BlockCount; ++block) {
        const int blockOffset = start + block * layout.BlockSize;
        for (int slot = 0; slot < layout.SlotsPerBlock; ++slot) {
            const uint8_t bankByte = t.GetByte(blockOffset + slot);
            if (bankByte == 0xFF)
                continue;
            InstrumentBank& bank = NumberedBank(data, bankByte + 1);
            decode(t, blockOffset + layout.SlotsPerBlock + slot * layout.SlotSize, bank);
        }
    }
    data.RemoveEmptyBanks();
}

void DecodeThreeByteSlots(const InstrumentTranslator& t, InstrumentData& data,
                          std::span<const KindRow> rows)
{
    DecodeNumberedSlots(t, data, ThreeByteSlots, [rows](const InstrumentTranslator& image, int offset,
                                                        InstrumentBank& bank) {
        const int kind = static_cast<int8_t>(image.GetByte(offset));
        if (const KindRow* row = FindKindRow(rows, kind))
            AddKindItems(bank, *row, {image.GetInt16(offset + 1), 0, 0});
    });
}

void DecodeRecordStream(const InstrumentTranslator& t, InstrumentData& data, const RecordStream& stream,
                        const HeaderName& headerName, const MeasurementDecoder& measurement)
{
    data.Clear();
    InstrumentBank* current = data.AddBank(std::make_unique<InstrumentNumber>(QByteArrayView("0")));
    for (int i = 0; i < stream.Count; ++i) {
        const int offset = stream.Start + i * RecordSize;
        switch (t.GetByte(offset)) {
        case HeaderRecord:
            current = &HeaderBank(data, headerName(t, offset), stream.Reuse, stream.GroupSameNumber);
            break;
        case MeasurementRecord:
            measurement(t, offset, *current);
            break;
        case DateRecord:
            AddDateItem(*current, t, offset);
            break;
        default:
            break; // erased or unknown record
        }
    }
    data.RemoveEmptyBanks();
}

void DecodeInt16HeaderStream(const InstrumentTranslator& t, InstrumentData& data,
                             std::span<const KindRow> rows, ClampRule rule)
{
    const RecordStream stream{t.GetDataStart(), Int16HeaderRecordCount, HeaderReuse::Never, 0};
    DecodeRecordStream(t, data, stream, Int16HeaderName,
                       [rows, rule](const InstrumentTranslator& tr, int offset, InstrumentBank& bank) {
                           DecodeKindRecord(tr, offset, bank, rows, rule);
                       });
}

void DecodeKindRecord(const InstrumentTranslator& t, int recordOffset, InstrumentBank& bank,
                      std::span<const KindRow> rows, ClampRule rule)
{
    const int kind = static_cast<int8_t>(t.GetByte(recordOffset + 1));
    const KindRow* row = FindKindRow(rows, kind);
    if (!row)
        return;
    AddKindItems(bank, *row,
                 {t.GetInt16(recordOffset + 2), t.GetInt16(recordOffset + 4), t.GetInt16(recordOffset + 6)},
                 rule);
}

const InstrumentSetupItemNumber* FindNumber(const InstrumentSetupBank& group, int itemId)
{
    return dynamic_cast<const InstrumentSetupItemNumber*>(group.FindItem(itemId));
}

const InstrumentSetupItemChoice* FindChoice(const InstrumentSetupBank& group, int itemId)
{
    return dynamic_cast<const InstrumentSetupItemChoice*>(group.FindItem(itemId));
}

const InstrumentSetupItemNumber* NumberAt(const InstrumentSetupBank& group, int index)
{
    return dynamic_cast<const InstrumentSetupItemNumber*>(group.GetItem(index));
}

} // namespace TranslatorRules
