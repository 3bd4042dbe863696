// The sections a filled form adds to its container file, and the exports of
// its measured data.

#include "dataprocessing/QuillfenTransferForm.h"

#include "documents/StyledText.h"
#include "platform/NumberText.h"

namespace {

constexpr int32_t SectionEnd = FourCC("end ");
// The item flags of the exported texts: symbol, unit and note.
constexpr int AllTextFlags = 7;

constexpr char HtmlHead[] = "<HTML>\r\n<HEAD>\r\n<META HTTP-EQUIV=\"Content-Type\" "
                            "CONTENT=\"text/html; charset=utf-8\">\n<TITLE>List</TITLE>\r\n</HEAD>\r\n<BODY>\r\n";
constexpr char BlackFont[] = "<FONT COLOR=\"#000000\">";
constexpr char OverFont[] = "<FONT COLOR=\"#ff0000\"><I>";
constexpr char OverFontEnd[] = "</I></FONT>";

// The HTML element a style word opens; none for the normal style.
const char* StyleElement(int style, bool closing)
{
    if (style == Style::Subscript)
        return closing ? "</SUB>" : "<SUB>";
    if (style == Style::Superscript)
        return closing ? "</SUP>" : "<SUP>";
    return "";
}

// Copies a styled UTF-8 text: markup characters escaped, style switches as
// SUB/SUP elements and, in table cells, a TAB as a cell break. An ESC without
// a style byte after it ends the text.
void AppendHtmlText(QByteArray& out, const QByteArray& text, bool tabIsCell)
{
    int style = Style::Normal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '<') {
            out += "&lt;";
        } else if (c == '>') {
            out += "&gt;";
        } else if (c == char(Style::Esc)) {
            if (i + 1 >= text.size())
                break;
            out += StyleElement(style, true);
            style = static_cast<uint8_t>(text[++i]);
            out += StyleElement(style, false);
        } else if (c == '\t' && tabIsCell) {
            out += "</td><td>";
        } else {
            out += c;
        }
    }
}

bool IsOverItem(const InstrumentAbstract& node)
{
    const auto* item = dynamic_cast<const InstrumentItem*>(&node);
    return item && item->IsOver();
}

void AppendNodeHtml(QByteArray& out, const InstrumentAbstract& node)
{
    const bool over = IsOverItem(node);
    out += over ? OverFont : BlackFont;
    AppendHtmlText(out, node.GetText(AllTextFlags, 0), false);
    if (over)
        out += OverFontEnd;
}

void AppendItemCellsHtml(QByteArray& out, const InstrumentItem& item)
{
    const QByteArray text = item.GetQuantity() == QuillfenTransferForm::DateTimeQuantity
                                ? item.GetText(AllTextFlags, 0)
                                : item.GetSymbol() + '\t' + FloatToStr(item.GetValue()).toLatin1();
    out += item.IsOver() ? OverFont : BlackFont;
    out += "<td>";
    AppendHtmlText(out, text, true);
    out += "</td>";
    if (item.IsOver())
        out += OverFontEnd;
}

// The exports were written in the text mode of Windows, which stores every
// line feed as CR LF; the files keep exactly those bytes.
bool WriteTextModeFile(const QString& path, QByteArray content, QString* reason)
{
    content.replace("\n", "\r\n");
    return SaveWholeFile(
        path, [&content](QIODevice& out) { out.write(content); }, reason);
}

} // namespace

// --- Filled values and data ----------------------------------------------------

void QuillfenTransferForm::WriteFilledValues(FileWriter& writer) const
{
    writer.BeginSection(Tag::Revd);
    QIODevice& stream = writer.GetStream();
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i)->SaveFilledValues(stream);
    WriteInt32(stream, SectionEnd);
}

bool QuillfenTransferForm::WriteData(FileWriter& writer, const InstrumentData& data)
{
    if (!writer.BeginSection(Tag::Data))
        return false;
    data.Save(writer.GetStream());
    return true;
}

bool QuillfenTransferForm::AppendData(FileReader& reader, InstrumentData& data)
{
    if (!reader.SeekSection(Tag::Data))
        return false;
    // Read aside: a damaged section must not leave half its banks behind.
    InstrumentData read;
    if (!read.Load(reader.GetStream()) || IsStreamDamaged(reader.GetStream()))
        return false;
    data.AppendCopies(read);
    return true;
}

bool QuillfenTransferForm::ReadData(FileReader& reader, InstrumentData& data)
{
    InstrumentData read;
    if (!AppendData(reader, read))
        return false;
    data.Clear();
    data.AppendCopies(read);
    return true;
}

// --- Exports -------------------------------------------------------------------

QByteArray QuillfenTransferForm::HtmlList(const InstrumentData& data)
{
    QByteArray out = HtmlHead;
    for (int b = 0; b < data.GetCount(); ++b) {
        const InstrumentBank& bank = *data.GetBank(b);
        out += "<i><b>";
        AppendNodeHtml(out, bank);
        out += "</b></i><br>\r\n<br>\r\n";
        for (int i = 0; i < bank.GetCount(); ++i) {
            const InstrumentItem& item = *bank.GetItem(i);
            if (item.IsPrimary()) {
                out += "<b>";
                AppendNodeHtml(out, item);
                out += "</b><br>\r\n";
            } else {
                AppendNodeHtml(out, item);
                out += "<br>\r\n";
            }
        }
        out += "<HR align=left>\r\n";
    }
    out += "</BODY>";
    return out;
}

QByteArray QuillfenTransferForm::HtmlTable(const InstrumentData& data)
{
    QByteArray out = HtmlHead;
    out += "<TABLE>\r\n";
    for (int b = 0; b < data.GetCount(); ++b) {
        const InstrumentBank& bank = *data.GetBank(b);
        out += "<tr><td><i><b>";
        AppendNodeHtml(out, bank);
        out += "</b></i></td>";
        for (int i = 0; i < bank.GetCount(); ++i) {
            const InstrumentItem& item = *bank.GetItem(i);
            if (item.IsPrimary())
                out += "<b>";
            AppendItemCellsHtml(out, item);
            if (item.IsPrimary())
                out += "</b>";
        }
        out += "</tr>";
    }
    out += "</TABLE></BODY>";
    return out;
}

bool QuillfenTransferForm::ExportHtmlList(const QString& path, const InstrumentData& data,
                                          QString* reason)
{
    return WriteTextModeFile(path, HtmlList(data), reason);
}

bool QuillfenTransferForm::ExportHtmlTable(const QString& path, const InstrumentData& data,
                                           QString* reason)
{
    return WriteTextModeFile(path, HtmlTable(data), reason);
}

bool QuillfenTransferForm::ExportXmlWithData(const QString& path, const InstrumentData& data,
                                             QString* reason) const
{
    return SaveWholeFile(
        path, [&](QIODevice& out) { ExportXml(out, &data); }, reason);
}
