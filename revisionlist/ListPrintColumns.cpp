#include "revisionlist/ListPrintColumns.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {
// Of what a sheet has beside the margin, the repeated first column takes at
// most this share, so that a very wide first column still leaves room for
// the columns it names.
constexpr double FirstColumnShare = 0.5;
} // namespace

ListColumnSheets LayListColumns(const std::vector<int>& widths, int leadWidth,
                                double printableWidth)
{
    ListColumnSheets sheets;
    sheets.widths.reserve(widths.size());
    for (const int width : widths)
        sheets.widths.push_back(std::max(width, 0));
    const int count = static_cast<int>(sheets.widths.size());
    const int64_t total = std::accumulate(sheets.widths.begin(), sheets.widths.end(),
                                          int64_t(std::max(leadWidth, 0)));

    if (total <= 0 || printableWidth <= 0 || total * MinListPrintScale <= printableWidth) {
        sheets.scale = total > printableWidth && printableWidth > 0 ? printableWidth / total : 1.0;
        std::vector<int>& all = sheets.bands.emplace_back(sheets.widths.size());
        std::iota(all.begin(), all.end(), 0);
        return sheets;
    }

    // Split at the smallest readable scale; a column too wide for a sheet
    // is cut to what the sheet leaves it, its text stopped by the next text
    // of its line or by the paper's edge.
    sheets.scale = MinListPrintScale;
    const double room = std::max(0.0, printableWidth / MinListPrintScale - std::max(leadWidth, 0));
    if (count == 0) {
        sheets.bands.emplace_back();
        return sheets;
    }
    int& first = sheets.widths[0];
    first = static_cast<int>(std::min<double>(first, count > 1 ? room * FirstColumnShare : room));
    const double rest = room - first;
    std::vector<int> band{0};
    double used = 0;
    for (int i = 1; i < count; ++i) {
        int& width = sheets.widths[size_t(i)];
        width = static_cast<int>(std::min<double>(width, rest));
        if (band.size() > 1 && used + width > rest) {
            sheets.bands.push_back(std::move(band));
            band = {0};
            used = 0;
        }
        band.push_back(i);
        used += width;
    }
    sheets.bands.push_back(std::move(band));
    return sheets;
}
