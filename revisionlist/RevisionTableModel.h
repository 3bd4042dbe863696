#pragma once
// The revision list as the window shows it: a table model over the shown
// records (one row each, plus an empty last row for typing a new record) and
// the visible columns, with the list's sorting, filters, document, exports,
// import and folder scan. The window stays a thin view over it.

#include "platform/DateTime.h"
#include "revisionlist/QuillfenRevisionTableThread.h"
#include "revisionlist/RevisionList.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>

class RevisionTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        // Vertical header: the validity mark of the record's Next revision.
        ValidityRole = Qt::UserRole + 1,
        // Horizontal header: the sort mark of the sort column.
        SortMarkRole,
    };
    enum Mark { NoMark = -1, Expired = 0, Valid = 1, Ascending = 0, Descending = 1 };
    // The sort column while the records are shown in their stored order.
    static constexpr int NotSorted = -1;

    explicit RevisionTableModel(QObject* parent = nullptr);
    ~RevisionTableModel() override;

    RevisionList& List() { return m_list; }
    const RevisionList& List() const { return m_list; }

    // --- QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Editing a record's cell, or the empty last row: a text there adds a
    // record. Either marks the list modified.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // Sorts by a visible column with its column type.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // A click on a column caption: the sort column again flips the direction,
    // another column sorts ascending.
    void SortByColumnClick(int column);
    // The column the shown records are sorted by; NotSorted when they are in
    // their stored order (after New, Open, Delete and "All files").
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

    // The shown record of a model row; null for the empty last row.
    RevisionTableRow* ShownRow(int row) const { return m_list.GetShownRow(row); }
    RevisionTableColumn* VisibleColumn(int column) const { return m_list.GetVisibleColumn(column); }

    // --- filters (Now() is read once per call by the caller's limit)
    void ShowAllRows();
    void FilterByValidity(TDateTime limit);
    void FilterNewFiles(int days = 7);
    void FilterByText(int column, const QString& pattern, bool ignoreCase);
    void FilterByDate(TDateTime date, bool older);

    // --- records
    RevisionTableRow* FindRowById(const QString& id) const { return m_list.FindRowById(id); }
    QStringList RowIds() const { return m_list.RowIds(); }
    RevisionTableRow* AddRow(std::unique_ptr<RevisionTableRow> row);
    // Removes the records of the given model rows (the empty row has none)
    // and shows every record. Marks the list modified.
    void RemoveRows(const QList<int>& rows);
    // Adds a copy of a record's standard fields and marks the list modified;
    // returns its model row, or -1.
    int DuplicateRow(int row);
    // After the columns were rearranged (setup dialog): every record gets
    // the list's fields; marks the list modified.
    void ColumnsChanged();
    // After a switch of language: the default column captions are redrawn.
    void CaptionsChanged();

    // --- the document
    // New: default columns, no records, sort by the first column ascending.
    // The file name stays, but no longer names this list's file.
    void ResetList();
    QString FileName() const { return m_fileName; }
    // Whether FileName() holds this list (it was read from or written to
    // it), so that Save may write there without asking for a name. After
    // New it holds an earlier list, which a Save must not silently replace.
    bool HasOwnFile() const { return m_ownFile; }
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }
    // Reads a list document. A file that is not one, or damaged, is reported
    // and leaves the current list as it was.
    bool OpenList(const QString& path);
    // Writes the list document; a failure is reported, and the list stays
    // modified. On success the file name becomes `path`.
    bool SaveList(const QString& path);
    bool ExportXml(const QString& path);
    bool ExportText(const QString& path);
    // Adds the records of a tab-separated file and shows every record; any
    // record added marks the list modified.
    bool ImportText(const QString& path);

    // --- the folder scan
    // Starts a scan of the list's base folder; the list must not be changed
    // structurally until it ends (IsScanning). When it has ended, its records
    // are in the list, the list is modified and `done` runs with what was read.
    // Null when a scan is running already.
    using ScanDone = std::function<void(const RevisionScanResult& result)>;
    QuillfenRevisionTableThread* StartScan(bool eraseCell, ScanDone done = {});
    bool IsScanning() const { return !m_scan.isNull(); }
    void StopScan();

private:
    // Whether a change of the shown records keeps their order or shows them
    // in their stored order, which no sort mark may claim to be sorted.
    enum class ShownOrder { Kept, Stored };
    void ChangeShownRows(ShownOrder order, const std::function<void()>& change);
    void ReportFailure(int messageId, const QString& path, const QString& reason = {}) const;

    RevisionList m_list;
    int m_sortColumn = NotSorted;
    bool m_sortAscending = true;
    QString m_fileName;
    bool m_ownFile = false;
    bool m_modified = false;
    QPointer<QuillfenRevisionTableThread> m_scan;
    FilesWithoutRecords m_withoutRecords; // from the last scan
};
