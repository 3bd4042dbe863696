#pragma once
// One inspection record of the revision list: text fields addressed by field
// number, and the page and group of the saved form it was read from.

#include <QString>
#include <QStringList>

#include <cstdint>

class RevisionTableRow
{
public:
    // The standard fields; 12 and above belong to columns the user adds.
    enum Field {
        Name = 0,
        Id = 1,
        Description = 2,
        NextRevision = 3,
        FileName = 4,
        Modified = 5,
        Note1 = 6,
        Note5 = 10,
        Location = 11,
    };
    static constexpr int StandardFieldCount = 12;

    // Twelve empty fields, page 0, group 0.
    RevisionTableRow();

    // Empty for a field that does not exist.
    QString GetField(int k) const;
    // The same without a copy, for loops over many records.
    const QString& FieldText(int k) const;
    // Stores the text with every line feed replaced by a blank (a record is
    // one line in the grid and in the text export); nothing for a field that
    // does not exist.
    void SetField(int k, const QString& text);
    void SetFieldIfNotEmpty(int k, const QString& text);
    void AddField(const QString& text);
    // Appends empty fields up to n, only when n is at least 6 and above the
    // current count; fields are never removed here.
    void PadFields(int n);
    // Empties every field, keeping their number.
    void ClearFields();
    int GetFieldCount() const { return static_cast<int>(m_fields.size()); }

    // The field a form text of this kind (its field Type) fills: -1 for the
    // kinds that belong to no record field.
    static int FieldOfTextType(int kind);
    void SetFieldByTextType(int kind, const QString& text);

    // Any of Name, ID, Description, Next revision and the notes is filled;
    // File name, Modified, Location and user fields do not count.
    bool HasContent() const;
    // Takes the other row's non-empty standard fields; page, group and user
    // fields stay.
    void CopyFrom(const RevisionTableRow& other);

    int32_t GetPage() const { return m_page; }
    void SetPage(int32_t page) { m_page = page; }
    int32_t GetGroup() const { return m_group; }
    void SetGroup(int32_t group) { m_group = group; }

    bool operator==(const RevisionTableRow&) const = default;

private:
    QStringList m_fields;
    int32_t m_page = 0;  // counted from 1; 0 when the row came from no form
    int32_t m_group = 0; // block number within the file, outermost 0
};

// A pass over many records waits mostly for memory: the records, their field
// lists and their texts lie scattered. Called at record i of a pass ending
// at `end`, this asks ahead for record i + 8, the field list of record i + 4
// and the text of `field` in record i + 2 (no text for a field below 0),
// each step needing the one before it in memory already. `rows` holds
// pointers of any kind.
template <typename Rows>
void PrefetchRecordsAhead(const Rows& rows, size_t i, size_t end, int field)
{
    if (i + 8 < end)
        __builtin_prefetch(&*rows[i + 8]);
    if (field < 0)
        return;
    if (i + 4 < end)
        __builtin_prefetch(&rows[i + 4]->FieldText(field));
    if (i + 2 < end)
        __builtin_prefetch(rows[i + 2]->FieldText(field).constData());
}
