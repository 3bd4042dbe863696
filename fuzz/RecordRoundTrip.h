#pragma once
// Shared checks of the record fuzz targets: a record that loaded must save
// and load again to the very same bytes.

#include <QBuffer>
#include <QByteArray>

#include <cstdlib>

template <typename T>
QByteArray SavedRecord(const T& object)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    object.Save(out);
    return out.data();
}

// `fresh` makes an empty object of the same kind to read the saved bytes into.
template <typename T, typename Fresh>
void CheckRoundTrip(const T& loaded, Fresh fresh)
{
    QByteArray first = SavedRecord(loaded);
    QBuffer again(&first);
    again.open(QIODevice::ReadOnly);
    auto reread = fresh();
    if (!reread.Load(again) || SavedRecord(reread) != first)
        std::abort();
}
