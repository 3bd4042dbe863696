#include "revisionlist/RevisionFilledValues.h"

#include "documents/GroupObject.h"
#include "revisionlist/ByteCursor.h"
#include "storage/File.h"

#include <QFile>
#include <QtEndian>

#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>

namespace {
constexpr int32_t PageCode = FourCC("page");
constexpr int32_t GroupCode = FourCC("grp ");
constexpr int32_t TextCode = FourCC("text");
constexpr int32_t EndCode = FourCC("end ");
constexpr int32_t EndPageCode = FourCC("epag");
constexpr int32_t EndGroupCode = FourCC("egrp");
constexpr int IdKind = 3;
// Longer texts are seldom repeated word for word; the set stays bounded.
constexpr qsizetype MaxRepeatedLength = 256;
constexpr qsizetype MaxRepeatedTexts = 65536;

// Enough for the filled values of most saved forms in one read.
constexpr qint64 FirstReadSize = 16384;

class FilledValuesParser
{
public:
    FilledValuesParser(QByteArrayView section, const QString& path, const QString& modified,
                       std::vector<RevisionTableRow>& records, RepeatedTexts* repeated)
        : m_cursor(section), m_path(path), m_modified(modified), m_records(records), m_repeated(repeated)
    {
    }

    // One block: its chunks up to its closing code. False on damage.
    bool ReadGroup(RevisionTableRow* parent, int page, int depth)
    {
        if (depth > MaxFilledValuesDepth())
            return false;
        const int number = m_groupCounter++;
        RevisionTableRow row;
        bool hasId = false;
        bool located = false; // the file's name and time are in the row
        for (;;) {
            const std::optional<int32_t> code = m_cursor.Int32();
            if (!code)
                return false;
            if (*code == EndCode || *code == EndPageCode || *code == EndGroupCode)
                break;
            if (*code == PageCode || *code == GroupCode) {
                if (*code == PageCode)
                    ++page;
                if (!ReadGroup(&row, page, depth + 1))
                    return false;
            } else if (*code == TextCode) {
                const std::optional<int32_t> kind = m_cursor.Int32();
                if (!kind)
                    return false;
                if (RevisionTableRow::FieldOfTextType(*kind) >= 0) {
                    hasId = hasId || *kind == IdKind;
                    // A nested page met since the last text moves the row to it.
                    row.SetPage(page);
                    row.SetGroup(number);
                    if (!located) {
                        row.SetField(RevisionTableRow::FileName, m_path);
                        if (!m_modified.isEmpty())
                            row.SetField(RevisionTableRow::Modified, m_modified);
                        located = true;
                    }
                }
                const std::optional<QString> text = m_cursor.WideText();
                if (!text)
                    return false;
                const int field = RevisionTableRow::FieldOfTextType(*kind);
                if (m_repeated && field > RevisionTableRow::Id)
                    row.SetField(field, m_repeated->Share(*text));
                else
                    row.SetFieldByTextType(*kind, *text);
            } else {
                // A chunk of no known kind: what follows cannot be found.
                return false;
            }
        }
        if (row.HasContent()) {
            if (hasId)
                m_records.push_back(std::move(row));
            else if (parent)
                parent->CopyFrom(row);
        }
        return true;
    }

private:
    ByteCursor m_cursor;
    const QString& m_path;
    const QString& m_modified;
    std::vector<RevisionTableRow>& m_records;
    RepeatedTexts* m_repeated;
    int m_groupCounter = 0;
};
} // namespace

int MaxFilledValuesDepth() { return GroupObject::MaxNestingDepth + 1; }

QString RepeatedTexts::Share(const QString& text)
{
    const auto kept = m_texts.constFind(text);
    if (kept != m_texts.cend())
        return *kept;
    if (text.size() <= MaxRepeatedLength && m_texts.size() < MaxRepeatedTexts)
        m_texts.insert(text);
    return text;
}

bool ReadFilledValues(QByteArrayView section, const QString& filePath, const QString& modified,
                      std::vector<RevisionTableRow>& records, RepeatedTexts* repeated)
{
    std::vector<RevisionTableRow> read;
    FilledValuesParser parser(section, filePath, modified, read, repeated);
    if (!parser.ReadGroup(nullptr, 0, 0))
        return false;
    for (RevisionTableRow& row : read)
        records.push_back(std::move(row));
    return true;
}

FilledValuesFile ReadFilledValuesSection(const QString& path, QByteArray& section)
{
    // Plain unbuffered C streams: a scan opens thousands of files and needs
    // only a few hundred bytes of each, which QFile's checks and buffers
    // would cost several times over.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "rb"),
                                                               &std::fclose);
    if (!file)
        return FilledValuesFile::Unreadable;
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    std::array<char, ContainerLayout::HeaderSize> head;
    if (std::fread(head.data(), 1, head.size(), file.get()) < head.size())
        return FilledValuesFile::NotAForm;
    ContainerHeader header;
    for (size_t k = 0; k < header.size(); ++k)
        header[k] = qFromLittleEndian<int32_t>(head.data() + 4 * k);
    if (!HasSections(header) || header[1] != Tag::Form)
        return FilledValuesFile::NotAForm;

    const std::optional<qint64> start = SectionOffset(header, Tag::Revd);
    if (!start)
        return FilledValuesFile::NoSection;
    // The section runs to the next section that begins after it, or to the
    // end of the file.
    qint64 end = std::numeric_limits<qint64>::max();
    for (int k = 0; k < ContainerLayout::SectionSlots; ++k) {
        const qint64 offset = static_cast<uint32_t>(header[3 + 2 * k]);
        if (header[2 + 2 * k] != 0 && offset > *start)
            end = std::min(end, offset);
    }
    section.resize(0);
    if (*start >= end)
        return FilledValuesFile::Read;
    if (std::fseek(file.get(), static_cast<long>(*start), SEEK_SET) != 0)
        return FilledValuesFile::Unreadable;
    // The buffer grows only as bytes arrive: a damaged header that names an
    // offset far past the end of the file costs no more than the file has.
    qint64 wanted = end - *start;
    while (wanted > 0) {
        const qint64 chunk = std::min(wanted, std::max<qint64>(FirstReadSize, section.size()));
        const qsizetype have = section.size();
        section.resize(have + chunk);
        const qint64 got = static_cast<qint64>(std::fread(section.data() + have, 1, chunk, file.get()));
        section.resize(have + got);
        if (got < chunk)
            break;
        wanted -= got;
    }
    return FilledValuesFile::Read;
}
