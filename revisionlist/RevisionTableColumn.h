#pragma once
// One column of the revision list: the record field it shows, how its values
// compare when sorting, its caption and its width.

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class RevisionTableColumn
{
public:
    enum ColumnType { Text = 0, Number = 1, Date = 2 };
    static constexpr int TypeCount = 3;
    // Numbers below this have a default caption table entry.
    static constexpr int DefaultCaptionCount = 20;

    RevisionTableColumn(int32_t number, int32_t type, int32_t width);
    RevisionTableColumn(const QString& caption, int32_t number, int32_t type, int32_t width);

    // The language id of the default caption; 0 when the number has none.
    int GetDefaultCaptionId() const;
    // The custom caption, else the default caption in the current language,
    // else empty: default captions follow a language change.
    QString GetCaption() const;
    QString GetCustomCaption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }

    int32_t GetNumber() const { return m_number; }
    int32_t GetType() const { return m_type; }
    // A type outside text, number and date is stored as text, so stepping the
    // type by one cycles text -> number -> date -> text.
    void SetType(int32_t type);
    int32_t GetWidth() const { return m_width; }
    void SetWidth(int32_t width) { m_width = width; }

    // The name of a type for the user ("Text", "Number", "Date").
    static QString TypeName(int32_t type);

private:
    int32_t m_number;
    int32_t m_type = Text;
    QString m_caption;
    int32_t m_width;
};

using RevisionColumnList = std::vector<std::unique_ptr<RevisionTableColumn>>;

// The twelve columns a new list starts with, in display order (Location
// stands third, so a column's place is not its number).
RevisionColumnList DefaultRevisionColumns();
