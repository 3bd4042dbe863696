#include "revisionlist/RevisionListDocument.h"

#include "revisionlist/AnsiText.h"
#include "revisionlist/ByteCursor.h"
#include "storage/File.h"
#include "storage/Utf8.h"

#include <algorithm>
#include <set>

namespace {
constexpr uint8_t ListVersion = 1;
// Caption length, number, type, width, order, visible.
constexpr qint64 MinColumnRecordSize = 4 + 4 + 1 + 4 + 4 + 1;
// Group, page; then a length per cell.
constexpr qint64 MinRowRecordSize = 4 + 4;
constexpr qint64 MinCellSize = 4;
constexpr int GapColumnWidth = 100;
constexpr int NoOrder = -1;

const char XmlPrologue[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n<Revision>\n";
const char XmlEpilogue[] = "</Revision>\n";
// What editors write at the start of a UTF-8 text file, when they mark it.
constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

// Whether the bytes are UTF-8 as the program decodes it: characters of one
// to three bytes, none written longer than it needs, no surrogate halves, no
// NUL. A text in an 8-bit code page seldom is, once it holds a letter above
// 127; one that holds none reads the same either way.
bool IsUtf8Text(QByteArrayView bytes)
{
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const auto continues = [&](qsizetype k) {
        return k < bytes.size() && (byte(k) & 0xC0) == 0x80;
    };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char b = byte(i);
        if (b == 0)
            return false;
        if (b < 0x80) {
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF && continues(i + 1)) {
            i += 2;
        } else if ((b & 0xF0) == 0xE0 && continues(i + 1) && continues(i + 2)) {
            const unsigned char second = byte(i + 1);
            if ((b == 0xE0 && second < 0xA0) || (b == 0xED && second >= 0xA0))
                return false;
            i += 3;
        } else {
            return false; // four-byte characters included: the program's UTF-8 has none
        }
    }
    return true;
}

// A column as the document stores it.
struct StoredColumn
{
    QString caption;
    int32_t number;
    int32_t type;
    int32_t width;
    int32_t order;
    bool visible;
};

int IndexIn(const std::vector<RevisionTableColumn*>& list, const RevisionTableColumn* c)
{
    const auto it = std::find(list.begin(), list.end(), c);
    return it == list.end() ? NoOrder : static_cast<int>(it - list.begin());
}

// Every column in all-columns order, then a hidden one for every field
// number below the highest that no column shows.
std::vector<StoredColumn> StoredColumns(const RevisionList& list)
{
    std::vector<StoredColumn> stored;
    std::set<int> numbers;
    for (const auto& c : list.Columns()) {
        stored.push_back({c->GetCaption(), c->GetNumber(), c->GetType(), c->GetWidth(),
                          IndexIn(list.OrderedColumns(), c.get()),
                          IndexIn(list.VisibleColumns(), c.get()) != NoOrder});
        numbers.insert(c->GetNumber());
    }
    const int highest = numbers.empty() ? -1 : *numbers.rbegin();
    for (int k = 0; k < highest; ++k)
        if (!numbers.count(k))
            stored.push_back({QString(""), k, RevisionTableColumn::Text, GapColumnWidth, NoOrder, false});
    return stored;
}

void WriteCaptionText(QIODevice& out, const char* name, const QString& text)
{
    WriteXmlWideText(out, name, text.isNull() ? QString("") : text);
}
} // namespace

void WriteList(QIODevice& out, const RevisionList& list)
{
    const std::vector<StoredColumn> columns = StoredColumns(list);
    WriteByte(out, ListVersion);
    WriteAnsiString(out, ToAnsi(list.baseFolder));
    WriteByte(out, list.scanSubfolders ? 1 : 0);
    WriteInt32(out, static_cast<int32_t>(columns.size()));
    for (const StoredColumn& c : columns) {
        WriteWideString(out, c.caption);
        WriteInt32(out, c.number);
        WriteByte(out, static_cast<uint8_t>(c.type));
        WriteInt32(out, c.width);
        WriteInt32(out, c.order);
        WriteByte(out, c.visible ? 1 : 0);
    }
    WriteInt32(out, static_cast<int32_t>(list.Rows().size()));
    for (const auto& row : list.Rows()) {
        WriteInt32(out, row->GetGroup());
        WriteInt32(out, row->GetPage());
        for (int k = 0; k < static_cast<int>(columns.size()); ++k)
            WriteWideString(out, row->GetField(k));
    }
}

std::optional<RevisionList> ReadList(QByteArrayView section)
{
    ByteCursor in(section);
    if (!in.Byte())
        return std::nullopt;
    const std::optional<QByteArray> folder = in.AnsiText();
    const std::optional<uint8_t> subfolders = in.Byte();
    const std::optional<int32_t> n = in.Int32();
    if (!folder || !subfolders || !n || *n < 0 || *n > in.Remaining() / MinColumnRecordSize)
        return std::nullopt;

    // The document names every column itself.
    RevisionList result = RevisionList::Empty();
    result.baseFolder = FromAnsi(*folder);
    result.scanSubfolders = *subfolders != 0;
    std::vector<int32_t> orders;
    std::vector<bool> visible;
    const int32_t maxNumber = *n + RevisionTableColumn::DefaultCaptionCount;
    for (int32_t i = 0; i < *n; ++i) {
        const std::optional<QString> caption = in.WideText();
        const std::optional<int32_t> number = in.Int32();
        const std::optional<uint8_t> type = in.Byte();
        const std::optional<int32_t> width = in.Int32();
        const std::optional<int32_t> order = in.Int32();
        const std::optional<uint8_t> shown = in.Byte();
        if (!caption || !number || !type || !width || !order || !shown || *number < 0 || *number >= maxNumber)
            return std::nullopt;
        result.AdoptColumn(std::make_unique<RevisionTableColumn>(*caption, *number, *type, *width));
        orders.push_back(*order);
        visible.push_back(*shown != 0);
    }

    const std::optional<int32_t> m = in.Int32();
    if (!m || *m < 0 || *m > in.Remaining() / (MinRowRecordSize + MinCellSize * *n))
        return std::nullopt;
    for (int32_t i = 0; i < *m; ++i) {
        auto row = std::make_unique<RevisionTableRow>();
        const std::optional<int32_t> group = in.Int32();
        const std::optional<int32_t> page = in.Int32();
        if (!group || !page)
            return std::nullopt;
        row->SetGroup(*group);
        row->SetPage(*page);
        for (int32_t k = 0; k < *n; ++k) {
            const std::optional<QString> cell = in.WideText();
            if (!cell)
                return std::nullopt;
            if (k < RevisionTableRow::StandardFieldCount)
                row->SetField(k, *cell);
            else
                row->AddField(*cell);
        }
        result.AdoptRow(std::move(row));
    }

    // The order: for each place, the first column stored for it.
    std::vector<int> atPlace(*n, NoOrder);
    for (int32_t i = *n - 1; i >= 0; --i)
        if (orders[i] >= 0 && orders[i] < *n)
            atPlace[orders[i]] = i;
    std::vector<RevisionTableColumn*> order;
    std::vector<RevisionTableColumn*> shownColumns;
    for (const int index : atPlace) {
        if (index == NoOrder)
            continue;
        RevisionTableColumn* c = result.Columns()[index].get();
        order.push_back(c);
        if (visible[index])
            shownColumns.push_back(c);
    }
    result.SetOrderLists(std::move(order), std::move(shownColumns));
    result.PadRows();
    return result;
}

bool SaveListDocument(const QString& path, const RevisionList& list, QString* reason)
{
    try {
        FileWriter writer(path, Tag::Idx);
        writer.BeginSection(Tag::Revi); // the first of seven free slots
        WriteList(writer.GetStream(), list);
        if (writer.Commit())
            return true;
        if (reason)
            *reason = writer.ErrorString();
    } catch (const EFOpenError& error) {
        if (reason)
            *reason = error.Reason();
    }
    return false;
}

ListDocumentStatus OpenListDocument(const QString& path, RevisionList& list)
{
    try {
        FileReader reader(path);
        if (reader.GetTypeTag() != Tag::Idx)
            return ListDocumentStatus::NotAList;
        if (!reader.SeekSection(Tag::Revi) || IsStreamDamaged(reader.GetStream()))
            return ListDocumentStatus::Damaged;
        std::optional<RevisionList> read = ReadList(reader.GetStream().readAll());
        if (!read)
            return ListDocumentStatus::Damaged;
        list = std::move(*read);
        return ListDocumentStatus::Read;
    } catch (const EFOpenError&) {
        return ListDocumentStatus::Unreadable;
    }
}

void WriteListXml(QIODevice& out, const RevisionList& list)
{
    const std::vector<StoredColumn> columns = StoredColumns(list);
    out.write(XmlPrologue);
    WriteCaptionText(out, "Folder", list.baseFolder);
    WriteXmlEmptyTag(out, "SubDirs", list.scanSubfolders ? 1 : 0);
    WriteXmlInt(out, "ColCount", static_cast<int>(columns.size()));
    WriteXmlInt(out, "RowCount", static_cast<int>(list.Rows().size()));
    for (const StoredColumn& c : columns) {
        WriteXmlOpenTag(out, "Column");
        WriteCaptionText(out, "Caption", c.caption);
        WriteXmlInt(out, "Number", c.number);
        WriteXmlInt(out, "Type", c.type);
        WriteXmlInt(out, "Width", c.width);
        WriteXmlInt(out, "Order", c.order);
        WriteXmlEmptyTag(out, "Visible", c.visible ? 1 : 0);
        WriteXmlCloseTag(out, "Column");
    }
    for (const auto& row : list.Rows()) {
        WriteXmlOpenTag(out, "Row");
        WriteXmlInt(out, "Group", row->GetGroup());
        WriteXmlInt(out, "Page", row->GetPage());
        for (int k = 0; k < static_cast<int>(columns.size()); ++k)
            WriteCaptionText(out, "Cell", row->GetField(k));
        WriteXmlCloseTag(out, "Row");
    }
    out.write(XmlEpilogue);
}

void WriteListText(QIODevice& out, const RevisionList& list)
{
    const int cells = static_cast<int>(StoredColumns(list).size());
    for (const auto& row : list.Rows()) {
        QByteArray line;
        for (int k = 0; k < cells; ++k)
            line += ToAnsi(row->GetField(k)) + '\t';
        line += "\r\n";
        out.write(line);
    }
}

bool ListTextFitsCodePage(const RevisionList& list)
{
    const int cells = static_cast<int>(StoredColumns(list).size());
    return std::all_of(list.Rows().begin(), list.Rows().end(), [cells](const auto& row) {
        for (int k = 0; k < cells; ++k)
            if (!FitsAnsi(row->GetField(k)))
                return false;
        return true;
    });
}

RevisionRowList ReadListText(QByteArrayView text)
{
    // The export writes the code page, and older lists hold it; editors on
    // this system write UTF-8, whose texts are decoded as the list
    // document's are.
    const bool marked = text.startsWith(Utf8Mark);
    if (marked)
        text = text.sliced(Utf8Mark.size());
    QString (*const decode)(QByteArrayView) = marked || IsUtf8Text(text) ? DecodeUtf8Text : FromAnsi;
    // Line positions 0-9 and the record fields they fill.
    static constexpr int FieldAt[] = {0, 1, 2, 3, 6, 7, 8, 9, 10, 11};
    constexpr int Positions = static_cast<int>(std::size(FieldAt));
    RevisionRowList rows;
    RevisionTableRow working;
    int position = 0;
    QByteArray field;
    for (const char c : text) {
        if (c == '\r')
            continue;
        if (c != '\t' && c != '\n') {
            field += c;
            continue;
        }
        if (position < Positions)
            working.SetField(FieldAt[position], decode(field));
        field.clear();
        ++position;
        if (c == '\n') {
            position = 0;
            if (working.HasContent()) {
                auto row = std::make_unique<RevisionTableRow>();
                row->CopyFrom(working);
                rows.push_back(std::move(row));
            }
            working.ClearFields();
        }
    }
    return rows;
}

bool SaveExport(const QString& path, void (*write)(QIODevice&, const RevisionList&),
                const RevisionList& list, QString* reason)
{
    return SaveWholeFile(
        path, [&](QIODevice& out) { write(out, list); }, reason);
}
