#pragma once
// How the columns of the printed revision list are laid across a sheet. A
// line starts with the record number's margin, then the columns at their
// widths. A line wider than the printable width is scaled down to it, but
// text is not made smaller than readable: below that scale the columns
// after the first continue on further sheets that print the same records,
// each sheet repeating the first column so that it says whose fields it
// holds.
//
// Lengths are in the printed list's units; the caller maps them to paper.

#include <vector>

// The smallest scale at which printed list text still reads well.
inline constexpr double MinListPrintScale = 2.0 / 3.0;

struct ListColumnSheets
{
    // The factor on every length of a printed line: fonts, column widths,
    // margin and line height alike.
    double scale = 1.0;
    // Each column's printed width before scaling: its own width, cut down
    // only where the column alone would not fit on a sheet.
    std::vector<int> widths;
    // Per sheet of one page of records, the columns it prints, left to
    // right; every column once, and the first on every sheet. Never empty.
    std::vector<std::vector<int>> bands;
};

// Lays columns of the given widths after a margin of `leadWidth` across a
// printable width of `printableWidth`, all in the same units.
ListColumnSheets LayListColumns(const std::vector<int>& widths, int leadWidth,
                                double printableWidth);
