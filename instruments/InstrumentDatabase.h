#pragma once
// Inspection records sent to an instrument that keeps a list of objects to
// measure: each an ID, a name, a location and a date.

#include "platform/DateTime.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

class InstrumentDatabaseItem
{
public:
    static constexpr int IdLength = 14;
    static constexpr int TextLength = 16;
    using Id = std::array<char, IdLength + 1>;          // NUL-terminated
    using Text = std::array<char16_t, TextLength + 1>;  // zero-filled after the text

    // The ID from the id text unless that text is "0" (then it stays blank);
    // name and location are set when not empty.
    InstrumentDatabaseItem(QByteArrayView id, const QString& name, const QString& location,
                           TDateTime date);

    // 14 blanks, then the text right-aligned: its last character at position
    // 13, before the terminating NUL. A longer text gives its first 14
    // characters; a NUL ends the text.
    void SetId(QByteArrayView text);
    // Zero-filled, then at most 16 UTF-16 units of the text.
    void SetName(const QString& text);
    void SetLocation(const QString& text);

    // The 14 ID characters.
    QByteArray GetId() const;
    // The texts up to their first zero unit.
    QString GetName() const;
    QString GetLocation() const;
    TDateTime GetDate() const { return m_date; }

    // The fields as stored, for packing and exact comparison.
    const Id& GetIdField() const { return m_id; }
    const Text& GetNameField() const { return m_name; }
    const Text& GetLocationField() const { return m_location; }

    bool HasBlankId() const;

private:
    Id m_id;
    Text m_name{};
    Text m_location{};
    TDateTime m_date;
};

class InstrumentDatabase
{
public:
    void Add(InstrumentDatabaseItem item);
    // nullptr for an index outside the list.
    const InstrumentDatabaseItem* GetItem(int index) const;
    int GetCount() const { return static_cast<int>(m_items.size()); }
    void Clear() { m_items.clear(); }

    // By the ID fields compared byte by byte; since IDs are right-aligned in
    // blanks, numeric IDs of different lengths come in numeric order. Items
    // with equal IDs keep their order.
    void SortById();
    // Drops every item whose ID is all blanks, keeping the order of the rest.
    void RemoveBlankIds();

private:
    std::vector<InstrumentDatabaseItem> m_items;
};

// The names the revision list's upload uses for the same two classes.
using UploadRecord = InstrumentDatabaseItem;
using UploadList = InstrumentDatabase;
