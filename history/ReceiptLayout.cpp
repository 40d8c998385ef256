#include "ReceiptLayout.h"

#include <algorithm>

namespace bansho {

std::vector<PageSpan> Paginate(const std::vector<double>& heights, const PaginationRule& rule) {
    const int n = static_cast<int>(heights.size());
    const int closing = std::clamp(rule.closingFrom, 0, n);
    // The closing block and the rows kept with it are one piece that a break may not enter,
    // unless the piece alone is taller than a page.
    const bool keep = rule.keepRows > 0 && closing < n;
    const int pieceStart = keep ? std::max(0, closing - rule.keepRows) : n;

    std::vector<PageSpan> pages;
    int i = 0;
    while (i < n) {
        const double space = pages.empty() ? rule.firstPage : rule.nextPages;
        const int first = i;
        double used = 0;
        while (i < n && (i == first || used + heights[static_cast<std::size_t>(i)] <= space)) {
            used += heights[static_cast<std::size_t>(i)];
            ++i;
        }
        if (i < n && i > pieceStart && pieceStart > first) i = pieceStart;
        pages.push_back({first, i});
    }
    return pages;
}

} // namespace bansho
