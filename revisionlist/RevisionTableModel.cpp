#include "revisionlist/RevisionTableModel.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "platform/UserDialogs.h"
#include "revisionlist/QuillfenRevisionTableThread.h"
#include "revisionlist/RevisionFilters.h"
#include "revisionlist/RevisionListDocument.h"
#include "storage/File.h"

#include <cmath>

RevisionTableModel::RevisionTableModel(QObject* parent) : QAbstractTableModel(parent) {}

RevisionTableModel::~RevisionTableModel()
{
    // A scan still running hands its result to nobody.
    if (m_scan) {
        m_scan->Terminate();
        delete m_scan; // waits for the worker; its completion is never run
    }
}

int RevisionTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.ShownRows().size()) + 1;
}

int RevisionTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.VisibleColumns().size());
}

QVariant RevisionTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    const RevisionTableRow* row = ShownRow(index.row());
    const RevisionTableColumn* column = VisibleColumn(index.column());
    if (!row || !column)
        return QString();
    return row->GetField(column->GetNumber());
}

QVariant RevisionTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal) {
        const RevisionTableColumn* column = VisibleColumn(section);
        if (!column)
            return QVariant();
        if (role == Qt::DisplayRole)
            return column->GetCaption();
        if (role == SortMarkRole)
            return static_cast<int>(section == m_sortColumn ? (m_sortAscending ? Ascending : Descending) : NoMark);
        return QVariant();
    }
    if (role == Qt::DisplayRole)
        return section + 1;
    if (role == ValidityRole) {
        const RevisionTableRow* row = ShownRow(section);
        TDateTime next = 0;
        if (!row || !TryStrToDateTime(row->GetField(RevisionTableRow::NextRevision), next))
            return static_cast<int>(NoMark);
        return static_cast<int>(next < Date() ? Expired : Valid);
    }
    return QVariant();
}

Qt::ItemFlags RevisionTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool RevisionTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return false;
    const QString text = value.toString();
    const RevisionTableColumn* column = VisibleColumn(index.column());
    m_modified = true;
    if (RevisionTableRow* row = ShownRow(index.row())) {
        if (column)
            row->SetField(column->GetNumber(), text);
        emit dataChanged(index, index);
        // The row's validity mark follows its Next revision.
        if (column && column->GetNumber() == RevisionTableRow::NextRevision)
            emit headerDataChanged(Qt::Vertical, index.row(), index.row());
        return true;
    }
    if (text.isEmpty())
        return false;
    auto row = std::make_unique<RevisionTableRow>();
    row->PadFields(m_list.FieldCount());
    if (column)
        row->SetField(column->GetNumber(), text);
    AddRow(std::move(row));
    return true;
}

void RevisionTableModel::sort(int column, Qt::SortOrder order)
{
    const RevisionTableColumn* c = VisibleColumn(column);
    if (!c)
        return;
    m_sortColumn = column;
    m_sortAscending = order == Qt::AscendingOrder;
    emit layoutAboutToBeChanged();
    SortRows(m_list, c->GetNumber(), c->GetType(), m_sortAscending);
    emit layoutChanged();
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RevisionTableModel::SortByColumnClick(int column)
{
    const bool ascending = column == m_sortColumn ? !m_sortAscending : true;
    sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void RevisionTableModel::ChangeShownRows(ShownOrder order, const std::function<void()>& change)
{
    beginResetModel();
    change();
    if (order == ShownOrder::Stored)
        m_sortColumn = NotSorted;
    endResetModel();
}

void RevisionTableModel::ShowAllRows()
{
    ChangeShownRows(ShownOrder::Stored, [this] { m_list.ShowAllRows(); });
}

void RevisionTableModel::FilterByValidity(TDateTime limit)
{
    ChangeShownRows(ShownOrder::Stored, [&] { ::FilterByValidity(m_list, limit); });
}

void RevisionTableModel::FilterNewFiles(int days)
{
    ChangeShownRows(ShownOrder::Kept, [&] { ::FilterNewFiles(m_list, days); });
}

void RevisionTableModel::FilterByText(int column, const QString& pattern, bool ignoreCase)
{
    const RevisionTableColumn* c = VisibleColumn(column);
    if (!c)
        return;
    ChangeShownRows(ShownOrder::Kept,
                    [&] { ::FilterByText(m_list, c->GetNumber(), pattern, ignoreCase); });
}

void RevisionTableModel::FilterByDate(TDateTime date, bool older)
{
    ChangeShownRows(ShownOrder::Kept, [&] { ::FilterByDate(m_list, date, older); });
}

RevisionTableRow* RevisionTableModel::AddRow(std::unique_ptr<RevisionTableRow> row)
{
    const int at = static_cast<int>(m_list.ShownRows().size());
    // The new record takes the empty row's place; a new empty row follows.
    beginInsertRows(QModelIndex(), at + 1, at + 1);
    RevisionTableRow* added = m_list.AddRow(std::move(row));
    endInsertRows();
    emit dataChanged(index(at, 0), index(at, std::max(0, columnCount() - 1)));
    emit headerDataChanged(Qt::Vertical, at, at); // its validity mark
    return added;
}

void RevisionTableModel::RemoveRows(const QList<int>& rows)
{
    std::vector<const RevisionTableRow*> doomed;
    for (int r : rows)
        if (const RevisionTableRow* row = ShownRow(r))
            doomed.push_back(row);
    m_modified = true;
    ChangeShownRows(ShownOrder::Stored, [&] { m_list.RemoveRows(doomed); });
}

int RevisionTableModel::DuplicateRow(int row)
{
    const RevisionTableRow* source = ShownRow(row);
    if (!source)
        return -1;
    auto copy = std::make_unique<RevisionTableRow>();
    copy->CopyFrom(*source);
    RevisionTableRow* added = nullptr;
    ChangeShownRows(ShownOrder::Stored, [&] {
        added = m_list.AddRow(std::move(copy));
        m_list.ShowAllRows();
    });
    m_modified = true;
    const auto& shown = m_list.ShownRows();
    return static_cast<int>(std::find(shown.begin(), shown.end(), added) - shown.begin());
}

void RevisionTableModel::ColumnsChanged()
{
    m_modified = true;
    ChangeShownRows(ShownOrder::Kept, [this] { m_list.PadRows(); });
}

void RevisionTableModel::CaptionsChanged()
{
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void RevisionTableModel::ResetList()
{
    ChangeShownRows(ShownOrder::Stored, [this] {
        m_list.Reset();
        m_sortAscending = true;
        m_modified = false;
    });
    m_ownFile = false;
}

void RevisionTableModel::ReportFailure(int messageId, const QString& path,
                                       const QString& reason) const
{
    QString text = path + u'\n' + MainLanguage.GetString(messageId);
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    Dialogs().MessageBox(text, MainLanguage.GetString(StringId::RevisionList), MsgButtons::Ok,
                         MsgIcon::Error);
}

bool RevisionTableModel::OpenList(const QString& path)
{
    RevisionList read = RevisionList::Empty();
    switch (OpenListDocument(path, read)) {
    case ListDocumentStatus::Read: break;
    case ListDocumentStatus::NotAList: return false;
    case ListDocumentStatus::Unreadable:
        ReportFailure(StringId::FileNotOpened, path);
        return false;
    case ListDocumentStatus::Damaged:
        ReportFailure(StringId::ListDamaged, path);
        return false;
    }
    ChangeShownRows(ShownOrder::Stored, [&] { m_list = std::move(read); });
    m_fileName = path;
    m_ownFile = true;
    m_modified = false;
    return true;
}

bool RevisionTableModel::SaveList(const QString& path)
{
    QString reason;
    if (!SaveListDocument(path, m_list, &reason)) {
        ReportFailure(StringId::FileNotSaved, path, reason);
        return false;
    }
    m_fileName = path;
    m_ownFile = true;
    m_modified = false;
    return true;
}

bool RevisionTableModel::ExportXml(const QString& path)
{
    QString reason;
    if (SaveExport(path, WriteListXml, m_list, &reason))
        return true;
    ReportFailure(StringId::FileNotSaved, path, reason);
    return false;
}

bool RevisionTableModel::ExportText(const QString& path)
{
    QString reason;
    if (!SaveExport(path, WriteListText, m_list, &reason)) {
        ReportFailure(StringId::FileNotSaved, path, reason);
        return false;
    }
    // The file is still worth having, but the user must know it is not
    // exactly the list.
    if (!ListTextFitsCodePage(m_list))
        Dialogs().MessageBox(path + u'\n' + MainLanguage.GetString(StringId::CharactersReplaced),
                             MainLanguage.GetString(StringId::RevisionList), MsgButtons::Ok,
                             MsgIcon::Warning);
    return true;
}

bool RevisionTableModel::ImportText(const QString& path)
{
    ReadOnlyFile file(path);
    if (!file.OpenForReading()) {
        if (file.IsNotRegularFile())
            Dialogs().MessageBox(MainLanguage.GetString(StringId::NotRegularFile) + u'\n' + path,
                                 MainLanguage.GetString(StringId::RevisionList), MsgButtons::Ok,
                                 MsgIcon::Error);
        else
            ReportFailure(StringId::FileNotOpened, path);
        return false;
    }
    RevisionRowList rows = ReadListText(file.readAll());
    // Records that came from a file are worth a save question like typed ones.
    const bool added = !rows.empty();
    ChangeShownRows(ShownOrder::Stored, [&] {
        for (auto& row : rows)
            m_list.AddRow(std::move(row));
        m_list.ShowAllRows();
    });
    if (added)
        m_modified = true;
    return true;
}

QuillfenRevisionTableThread* RevisionTableModel::StartScan(bool eraseCell, ScanDone done)
{
    if (m_scan)
        return nullptr;
    auto* scan = new QuillfenRevisionTableThread(m_list, m_list.baseFolder, m_list.scanSubfolders,
                                                 eraseCell, m_withoutRecords);
    m_scan = scan;
    scan->Start([this, done = std::move(done)](RevisionScanResult& result) {
        m_scan = nullptr;
        m_withoutRecords = std::move(result.withoutRecords);
        ChangeShownRows(ShownOrder::Kept, [&] {
            ApplyScanResult(m_list, result);
            // The scan shows every record sorted by the first column.
            m_sortColumn = m_list.VisibleColumns().empty() ? NotSorted : 0;
            m_sortAscending = true;
        });
        m_modified = true;
        if (done)
            done(result);
    });
    return scan;
}

void RevisionTableModel::StopScan()
{
    if (m_scan)
        m_scan->Terminate();
}
