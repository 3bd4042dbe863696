#pragma once
// The revision list's content: its columns (all of them, the order the user
// arranged, the visible ones), its records (all of them, and the ones shown,
// in display order) and the scan settings saved with it. The list owns its
// columns and records; the other lists point into them.

#include "revisionlist/RevisionTableColumn.h"
#include "revisionlist/RevisionTableRow.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

using RevisionRowList = std::vector<std::unique_ptr<RevisionTableRow>>;

class RevisionList
{
public:
    // The default columns, no records.
    RevisionList();
    // No columns, no records: for readers that build a list of their own.
    static RevisionList Empty();
    RevisionList(RevisionList&&) = default;
    RevisionList& operator=(RevisionList&&) = default;

    // Back to the twelve default columns and no records; the scan settings stay.
    void Reset();

    // --- columns
    const RevisionColumnList& Columns() const { return m_columns; }
    const std::vector<RevisionTableColumn*>& OrderedColumns() const { return m_order; }
    const std::vector<RevisionTableColumn*>& VisibleColumns() const { return m_visible; }
    // Null for a position out of range.
    RevisionTableColumn* GetColumn(int i) const;
    RevisionTableColumn* GetOrderedColumn(int i) const;
    RevisionTableColumn* GetVisibleColumn(int i) const;
    // Appends to all columns, the order and the visible columns.
    RevisionTableColumn* AddColumn(std::unique_ptr<RevisionTableColumn> column);
    // A column the user adds takes the highest number in use + 1 (at least
    // 12), so numbers are never shared and never change.
    int NextColumnNumber() const;
    // Replaces the order and the visible columns (every pointer must be one of
    // Columns(); visible ones must be in the order). Columns of all columns
    // that are not in the new order are removed as by RemoveColumn.
    void SetColumnOrder(const std::vector<RevisionTableColumn*>& order,
                        const std::vector<RevisionTableColumn*>& visible);
    // Frees the column and empties its field in every record; other columns
    // and fields keep their numbers.
    void RemoveColumn(const RevisionTableColumn* column);
    // The number of fields every record carries: one per field number up to
    // the highest column number, at least the column count.
    int FieldCount() const;

    // --- records
    const RevisionRowList& Rows() const { return m_rows; }
    const std::vector<RevisionTableRow*>& ShownRows() const { return m_shown; }
    RevisionTableRow* GetRow(int i) const;
    RevisionTableRow* GetShownRow(int i) const;
    // Pads the record to FieldCount() and appends it to all and shown records.
    RevisionTableRow* AddRow(std::unique_ptr<RevisionTableRow> row);
    // Removes and frees the records (any order, duplicates allowed); the shown
    // records become all records.
    void RemoveRows(const std::vector<const RevisionTableRow*>& rows);
    // Every record extended to FieldCount().
    void PadRows();
    void ShowAllRows();
    // The filters and sorting replace the shown list (RevisionFilters.h).
    void SetShownRows(std::vector<RevisionTableRow*> shown) { m_shown = std::move(shown); }

    // The first record, in storage order, whose ID is exactly `id`.
    RevisionTableRow* FindRowById(const QString& id) const;
    // Every record's ID in storage order.
    QStringList RowIds() const;

    // --- scan settings saved with the list
    QString baseFolder;
    bool scanSubfolders = true;

    // Builders for readers: take ownership without touching order or padding.
    void AdoptColumn(std::unique_ptr<RevisionTableColumn> column);
    void AdoptRow(std::unique_ptr<RevisionTableRow> row);
    void SetOrderLists(std::vector<RevisionTableColumn*> order, std::vector<RevisionTableColumn*> visible);

private:
    int HighestNumber() const;

    RevisionColumnList m_columns;
    std::vector<RevisionTableColumn*> m_order;
    std::vector<RevisionTableColumn*> m_visible;
    RevisionRowList m_rows;
    std::vector<RevisionTableRow*> m_shown;
};
