#include "revisionlist/RevisionTableColumn.h"

#include "language/Language.h"
#include "language/StringIds.h"
#include "revisionlist/RevisionTableRow.h"

#include <array>

namespace {
constexpr std::array<int, RevisionTableColumn::DefaultCaptionCount> DefaultCaptionIds = {
    StringId::RecordName,         StringId::RecordId,       StringId::RecordDescription,
    StringId::RecordNextRevision, StringId::RecordFileName, StringId::RecordModified,
    StringId::RecordNote1,        StringId::RecordNote2,    StringId::RecordNote3,
    StringId::RecordNote4,        StringId::RecordNote5,    StringId::RecordLocation,
};

struct DefaultColumn
{
    int number;
    RevisionTableColumn::ColumnType type;
    int width;
};
constexpr DefaultColumn DefaultColumns[] = {
    {RevisionTableRow::Name, RevisionTableColumn::Text, 120},
    {RevisionTableRow::Id, RevisionTableColumn::Number, 80},
    {RevisionTableRow::Location, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Description, RevisionTableColumn::Text, 300},
    {RevisionTableRow::NextRevision, RevisionTableColumn::Date, 80},
    {RevisionTableRow::FileName, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Modified, RevisionTableColumn::Date, 80},
    {RevisionTableRow::Note1, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Note1 + 1, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Note1 + 2, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Note1 + 3, RevisionTableColumn::Text, 100},
    {RevisionTableRow::Note5, RevisionTableColumn::Text, 100},
};
} // namespace

RevisionTableColumn::RevisionTableColumn(int32_t number, int32_t type, int32_t width)
    : m_number(number), m_width(width)
{
    SetType(type);
}

RevisionTableColumn::RevisionTableColumn(const QString& caption, int32_t number, int32_t type,
                                         int32_t width)
    : RevisionTableColumn(number, type, width)
{
    m_caption = caption;
}

int RevisionTableColumn::GetDefaultCaptionId() const
{
    return m_number >= 0 && m_number < DefaultCaptionCount ? DefaultCaptionIds[m_number] : 0;
}

QString RevisionTableColumn::GetCaption() const
{
    if (!m_caption.isEmpty())
        return m_caption;
    const int id = GetDefaultCaptionId();
    return id != 0 ? MainLanguage.GetString(id) : QString();
}

void RevisionTableColumn::SetType(int32_t type)
{
    m_type = type >= 0 && type < TypeCount ? type : Text;
}

QString RevisionTableColumn::TypeName(int32_t type)
{
    return MainLanguage.GetString(StringId::ColumnTypeText
                                  + (type >= 0 && type < TypeCount ? type : Text));
}

RevisionColumnList DefaultRevisionColumns()
{
    RevisionColumnList columns;
    for (const DefaultColumn& c : DefaultColumns)
        columns.push_back(std::make_unique<RevisionTableColumn>(c.number, c.type, c.width));
    return columns;
}
