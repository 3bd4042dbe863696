#pragma once
// Bar layout of an Interleaved 2 of 5 barcode: digits in pairs, the first of
// each pair in five bars, the second in the five spaces between them; every
// digit has two wide (two-module) and three narrow (one-module) elements.

#include <QStringView>

#include <vector>

// One bar, from its left edge to its right edge (device units).
struct BarcodeBar
{
    int left;
    int right;
    bool operator==(const BarcodeBar&) const = default;
};

// Modules of a code of `digitCount` digits: start (4), 14 per pair, stop (4).
int Interleaved25Modules(int digitCount);

// The bars of `digits` spread over x0..x1. A trailing odd digit is not drawn,
// and a character that is no digit draws as 0.
std::vector<BarcodeBar> Interleaved25Bars(QStringView digits, int x0, int x1);
