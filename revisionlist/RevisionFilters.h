#pragma once
// Which records the revision list shows, and in which order. Filters replace
// the shown records and never change or remove a record; dates are the
// field texts parsed in the short date and time formats, and a text that
// does not parse leaves its record out of every date filter.

#include "platform/DateTime.h"

#include <QString>

class RevisionList;

// The text begins with the pattern, where '?' stands for any one character
// (also past the end of the text); both are compared up to their first 149
// characters, in lower case when `ignoreCase` is set.
bool MatchPattern(const QString& pattern, const QString& text, bool ignoreCase);

// All records, in storage order, whose Next revision is before `limit`.
void FilterByValidity(RevisionList& list, TDateTime limit);
// Of the shown records, those modified less than `days` days before the
// newest Modified among them.
void FilterNewFiles(RevisionList& list, int days = 7);
// Of the shown records, those whose field `field` matches the pattern.
void FilterByText(RevisionList& list, int field, const QString& pattern, bool ignoreCase);
// Of the shown records, those whose Next revision is before (`older`) or
// after the date; a record dated exactly then is dropped either way.
void FilterByDate(RevisionList& list, TDateTime date, bool older);

// Sorts the shown records by the field as text (locale-aware, case-sensitive),
// as a number (a text that is no number counts as 0) or as a date (a text
// that is no date counts as the zero date), by the column type.
void SortRows(RevisionList& list, int field, int type, bool ascending);

// Texts copied from one another share their characters: comparing where
// they are is enough then, and far cheaper than comparing what they hold.
bool SameText(const QString& a, const QString& b);

// True when the shown records are all the records (the shown ones are
// always distinct records of the list) in the very order ShowAllRows() and
// SortRows(field, Text, ascending) would give: keys never fall and records
// with equal keys are in storage order. Cheaper than sorting again.
bool ShowsAllRowsSortedAsText(const RevisionList& list, int field);
