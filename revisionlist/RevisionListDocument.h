#pragma once
// The revision list as a document of type "idx " (one section "revi": the
// scan settings, the columns, the records), its XML and tab-separated
// exports and the tab-separated import.
//
// Every record stores one cell per stored column, by field number. A list
// whose column numbers have gaps (a user column was removed) stores a hidden
// column for each gap, so that every field keeps its place and a reader that
// counts cells by columns reads the document as it was written.

#include "revisionlist/RevisionList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <optional>

// The section "revi" at the stream's position.
void WriteList(QIODevice& out, const RevisionList& list);
// The section's bytes read into a new list; none when a count, a length or a
// column number cannot be right for the bytes there are, or the section ends
// early. The records are extended to the list's fields and all shown.
std::optional<RevisionList> ReadList(QByteArrayView section);

// A whole "idx " document. Failures leave any existing file as it was.
// False, with the system's reason when asked, when it could not be written.
bool SaveListDocument(const QString& path, const RevisionList& list, QString* reason = nullptr);
enum class ListDocumentStatus { Read, Unreadable, NotAList, Damaged };
ListDocumentStatus OpenListDocument(const QString& path, RevisionList& list);

// XML export (UTF-8, LF line ends).
void WriteListXml(QIODevice& out, const RevisionList& list);
// Every record in storage order, one cell per stored column followed by a
// TAB, each line ended by CR LF, in the 8-bit code page.
void WriteListText(QIODevice& out, const RevisionList& list);
// Whether the text export writes every character of every cell as it is
// (and no '?' for one the code page lacks).
bool ListTextFitsCodePage(const RevisionList& list);
// The records of tab-separated lines: positions 0-3 fill Name, ID,
// Description and Next revision, 4-9 Note 1 to Note 5 and Location; a line
// not ended by a line feed, and a line without content, gives no record.
// A text that is UTF-8 throughout, or marked as UTF-8 (the mark is dropped),
// is read as UTF-8; any other in the 8-bit code page.
RevisionRowList ReadListText(QByteArrayView text);

// Writes a file through `write`; false (the old file untouched, the reason
// when asked) on failure.
bool SaveExport(const QString& path, void (*write)(QIODevice&, const RevisionList&),
                const RevisionList& list, QString* reason = nullptr);
