// Filled forms and measured data of the older generation: single streams of
// 8-byte tags and records. Nothing writes them any more; a damaged one is
// refused whole, so the window keeps what it showed (a form's filled part cut
// short is no damage: it has no other way to end early).

#include "dataprocessing/QuillfenTransferForm.h"

#include "documents/MeasureObject.h"
#include "documents/StyledText.h"

#include <QtEndian>

namespace {

constexpr qint64 TagSize = 8;
// The two int32 values after the tag of "ObjData " and "ObjText ".
constexpr qint64 RecordHeaderSize = 4 + 4;
const QByteArray FormsTag = QByteArrayLiteral("Forms   ");
const QByteArray PageTag = QByteArrayLiteral("Page    ");
const QByteArray DataTag = QByteArrayLiteral("ObjData ");
const QByteArray TextTag = QByteArrayLiteral("ObjText ");
const QByteArray EndTag = QByteArrayLiteral("FormsEof");

// UTF-16 little-endian bytes (an odd last byte is dropped), up to a NUL.
QString Utf16Text(const QByteArray& bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    return TextUpToNul(text);
}

bool ReadLegacyDataStream(QIODevice& stream, InstrumentData& read)
{
    if (ReadInt32(stream) != Tag::QFD)
        return false;
    LegacyImportList list;
    return read.ImportLegacy(stream, list) && !IsStreamDamaged(stream);
}

// The records of the filled part: pages copied from the template and field
// values taken from the data body. False when the part is damaged. The
// stream's end counts as the end of the part: a file cut short keeps the
// pages and values before the cut.
class FilledPartReader
{
public:
    FilledPartReader(QuillfenTransferForm& form, std::vector<std::unique_ptr<PageObject>> templates,
                     LegacyImportList& items)
        : m_form(form), m_templates(std::move(templates)), m_items(items)
    {
    }

    bool Read(QIODevice& stream)
    {
        for (;;) {
            if (BytesLeft(stream) < TagSize)
                return true;
            const QByteArray tag = ReadBytes(stream, TagSize);
            Step step = Step::Next;
            if (tag == EndTag)
                step = Step::End;
            else if (tag == PageTag)
                step = NextPage();
            else if (tag == DataTag)
                step = ReadObjData(stream);
            else if (tag == TextTag)
                step = ReadObjText(stream);
            // Any other name carries nothing.
            if (step != Step::Next)
                return step == Step::End;
        }
    }

private:
    enum class Step { Next, End, Damaged };

    Step NextPage()
    {
        // A page beyond the template's pages has nothing to be copied from:
        // the file does not belong to its own template.
        if (m_nextTemplate >= m_templates.size())
            return Step::Damaged;
        m_form.AddPage();
        // A real page, so that its filled values are written as a page block.
        auto copy = std::make_unique<PageObject>(*m_templates[m_nextTemplate++]);
        m_form.ReplacePage(m_form.GetPageCount() - 1, std::move(copy));
        m_page = m_form.GetPage(m_form.GetPageCount() - 1);
        return Step::Next;
    }

    AbstractFormObject* Field(int32_t index) const
    {
        return m_page ? m_page->GetObject(index) : nullptr;
    }

    Step ReadObjData(QIODevice& stream)
    {
        if (BytesLeft(stream) < RecordHeaderSize)
            return Step::End;
        const int32_t objectIndex = ReadInt32(stream);
        const int32_t itemIndex = ReadInt32(stream);
        if (itemIndex < 0)
            return Step::Damaged;
        AbstractFormObject* field = Field(objectIndex);
        if (!field || itemIndex >= static_cast<int32_t>(m_items.size()))
            return Step::Next;
        LegacyImportEntry& entry = m_items[static_cast<size_t>(itemIndex)];
        if (field->GetTypeCode() == ObjectCode::Measure && entry.Item) {
            static_cast<MeasureObject*>(field)->SetValue(entry.Item);
        } else if (field->GetTypeCode() == ObjectCode::Text && entry.Text) {
            field->SetText(entry.Text->GetWideText());
            entry.Text.reset(); // one text goes to one field
        }
        return Step::Next;
    }

    Step ReadObjText(QIODevice& stream)
    {
        if (BytesLeft(stream) < RecordHeaderSize)
            return Step::End;
        const int32_t objectIndex = ReadInt32(stream);
        const int32_t length = ReadInt32(stream);
        // The length counts bytes, as for the texts of the data body. A text
        // cut by the stream's end is not given to its field.
        if (length < 0)
            return Step::Damaged;
        if (length > BytesLeft(stream))
            return Step::End;
        const QString text = Utf16Text(ReadBytes(stream, length));
        if (AbstractFormObject* field = Field(objectIndex))
            field->SetText(text);
        return Step::Next;
    }

    QuillfenTransferForm& m_form;
    std::vector<std::unique_ptr<PageObject>> m_templates;
    size_t m_nextTemplate = 0;
    LegacyImportList& m_items;
    PageObject* m_page = nullptr;
};

} // namespace

bool QuillfenTransferForm::ImportLegacyForm(QIODevice& stream, InstrumentData& data)
{
    ClearStreamDamaged(stream);
    if (ReadInt32(stream) != Tag::QFF)
        return false;
    ReadInt32(stream);
    if (!ReadLegacyTemplate(stream))
        return false;
    data.Clear();
    LegacyImportList items;
    if (!data.ImportLegacy(stream, items) || IsStreamDamaged(stream))
        return false;

    std::vector<std::unique_ptr<PageObject>> templates;
    for (int i = 0; i < GetPageCount(); ++i)
        templates.push_back(std::make_unique<PageObject>(*GetPage(i)));
    DeletePages();

    bool read = true;
    if (ReadBytes(stream, TagSize) == FormsTag) {
        FilledPartReader filled(*this, std::move(templates), items);
        read = filled.Read(stream) && !IsStreamDamaged(stream);
    }
    // A form without pages must still be drawable and savable.
    if (GetPageCount() == 0)
        AddPage();
    SelectPage(0);
    SetModified(false);
    return read;
}

bool QuillfenTransferForm::AppendLegacyData(QIODevice& stream, InstrumentData& data)
{
    ClearStreamDamaged(stream);
    InstrumentData read;
    if (!ReadLegacyDataStream(stream, read))
        return false;
    data.AppendCopies(read);
    return true;
}

bool QuillfenTransferForm::ImportLegacyData(QIODevice& stream, InstrumentData& data)
{
    InstrumentData read;
    if (!AppendLegacyData(stream, read))
        return false;
    data.Clear();
    data.AppendCopies(read);
    return true;
}
