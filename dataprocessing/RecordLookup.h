#pragma once
// The revision list as the label wizard and the label sheet see it: the IDs
// of its records and a record found by its ID. The revision list window
// implements it; tests give a list of their own.

#include <QString>
#include <QStringList>

class RevisionTableRow;

class RecordLookup
{
public:
    virtual ~RecordLookup() = default;
    // The ID (field 1) of every record, in the list's order.
    virtual QStringList ListRowIds() const = 0;
    // The first record, in storage order, whose ID equals the text exactly;
    // null when there is none.
    virtual const RevisionTableRow* FindRowById(const QString& id) const = 0;
};
