#pragma once
// Reading the filled record texts that every saved form repeats in its
// section "revd": a tree of blocks ("page", "grp ") closed by "epag", "egrp"
// or "end ", holding "text" records of a kind and a UTF-8 text. Each block
// that holds an ID text is one inspection record; the texts of a block
// without an ID belong to the record of the block around it.

#include "revisionlist/RevisionTableRow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSet>
#include <QString>

#include <vector>

// Blocks deeper than this are more than any form the form reader accepts
// can hold (its pages sit one level below the section).
int MaxFilledValuesDepth();

// Texts that many records repeat (descriptions, dates, notes, places) kept
// once for a whole scan: the records that hold one share its memory, which
// for a large tree is most of the memory the records take.
class RepeatedTexts
{
public:
    // The text kept earlier that equals `text`, else `text` (kept from now on
    // while there is room).
    QString Share(const QString& text);

private:
    QSet<QString> m_texts;
};

// The records of the section's ID blocks, in the order their blocks end.
// Each carries the file path (field 4), the modification text (field 5, when
// not empty), its page (counted from 1 in "page" order) and its block number
// (counted in the order blocks begin, the section itself being 0).
// False, with no records, for a section that is truncated, holds a chunk code
// of no known kind, a text longer than the bytes left, or blocks nested
// deeper than MaxFilledValuesDepth(): a damaged file adds nothing.
// Texts other than names and IDs, which tell records apart, go through
// `repeated` when one is given.
bool ReadFilledValues(QByteArrayView section, const QString& filePath, const QString& modified,
                      std::vector<RevisionTableRow>& records, RepeatedTexts* repeated = nullptr);

enum class FilledValuesFile {
    Read,        // a form; `section` holds its "revd" bytes
    NotAForm,    // no container, or a document of another type
    NoSection,   // a form without filled values
    Unreadable,  // cannot be opened or read
};
// Reads the container header and, for a form, only the bytes of its section
// "revd" (up to the next section or the end of the file), never its pages.
FilledValuesFile ReadFilledValuesSection(const QString& path, QByteArray& section);
