#pragma once
// How the printed receipt's lines fall on pages. Plain arithmetic on line heights, so that
// the rules can be checked without a printer: a sheet repeats its heading on every page and
// keeps the closing block (total, count and what follows them) on the page of the last rows;
// a roll is one strip that may break anywhere, since its pages join without a gap.
#include <vector>

namespace bansho {

// The lines [first, end) of one page.
struct PageSpan {
    int first = 0;
    int end = 0;
    bool operator==(const PageSpan&) const = default;
};

struct PaginationRule {
    double firstPage = 0; // height free for lines on the first page
    double nextPages = 0; // on every later page
    // The index of the first closing line; the number of lines when there is none.
    int closingFrom = 0;
    // How many rows before the closing block go with it to its page; 0 lets a page break
    // fall anywhere (a roll).
    int keepRows = 0;
};

// The pages for lines of the given heights, in order; every line on exactly one page, at
// least one line on a page. A line taller than a whole page gets a page of its own.
std::vector<PageSpan> Paginate(const std::vector<double>& heights, const PaginationRule& rule);

} // namespace bansho
