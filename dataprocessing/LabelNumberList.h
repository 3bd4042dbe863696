#pragma once
// The barcode wizard's number list as a list model: texts (label numbers or
// record IDs) kept sorted, duplicates allowed, each entry possibly carrying
// the label the sheet made for it. The entries live with the data window's
// document, which builds the label sheet from them; the wizard edits them
// through this model.

#include "dataprocessing/QuillfenTransferForm.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

// A label number as the list shows it: at least eight digits, zero-padded.
QString FormatLabelNumber(int32_t number);

class LabelNumberList : public QAbstractListModel
{
    Q_OBJECT

public:
    // Beyond this the sheet would run to thousands of pages: a number list
    // that would pass it is refused.
    static constexpr int MaxEntries = 100000;

    // Entries of its own until SetEntries hands over the document's.
    explicit LabelNumberList(QObject* parent = nullptr);

    // The entries the model edits (not owned; null: its own again).
    void SetEntries(std::vector<LabelNumber>* entries);
    // Tells the views that the owner changed the entries behind the model.
    void Refresh();
    std::vector<LabelNumber>& Entries() { return *m_entries; }
    const std::vector<LabelNumber>& Entries() const { return *m_entries; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int Count() const { return static_cast<int>(m_entries->size()); }
    // Empty for an index out of range.
    QString GetText(int index) const;

    // Inserts many texts at once, each at its sorted place after equal texts.
    void AddAll(std::vector<QString> texts);
    // Removes the entries at the indexes; their labels stay with the sheet.
    void Remove(QList<int> indexes);
    void Clear();

private:
    std::vector<LabelNumber> m_own;
    std::vector<LabelNumber>* m_entries = &m_own;
};

// The numbers of one item of a number list: a number ("25"), or a range
// ("8-20") that is empty when its end is below its start.
struct NumberRange
{
    int64_t First = 0;
    int64_t Last = -1;
    int64_t Count() const { return Last < First ? 0 : Last - First + 1; }
};

// One item, white space ignored; nothing when it is not a number or range
// of numbers from 0 to 2147483647 with at most 10001 numbers.
std::optional<NumberRange> ParseNumberItem(QStringView item);

struct NumberListResult
{
    enum Outcome { Added, BadItem, TooMany };
    Outcome Result = Added;
    // The item that stopped the parse, as a position and length in the text.
    int Start = 0;
    int Length = 0;
};

// Adds the numbers of a comma-separated list ("8-20,25,30-33,45") item by
// item; the first bad item, or the first that would take the list past
// MaxEntries, stops it and is reported; the items before it stay added.
NumberListResult AddNumberList(LabelNumberList& list, const QString& text);
