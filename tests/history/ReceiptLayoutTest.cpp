// How the printed receipt's lines fall on pages: a few cases by hand, then random receipts
// checked against the rules as a reader of the pages sees them.
#include "ReceiptLayout.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace bansho;

namespace {

std::vector<double> Lines(int rows, int closing, double row = 10, double closingLine = 14) {
    std::vector<double> h(static_cast<std::size_t>(rows), row);
    if (closing > 0) {
        h.push_back(6); // the rule before the closing lines
        for (int i = 0; i < closing; ++i)
            h.push_back(closingLine);
    }
    return h;
}

TEST(Paginate, CasesByHand) {
    struct Row {
        const char* name;
        std::vector<double> heights;
        PaginationRule rule;
        std::vector<PageSpan> want;
    } rows[] = {
        {"all on one page", Lines(5, 2), {100, 100, 5, 3}, {{0, 8}}},
        {"no lines", {}, {100, 100, 0, 3}, {}},
        // 9 rows fill a page of 90; the closing block would stand alone: three rows go with it.
        {"closing never alone", Lines(9, 2), {90, 90, 9, 3}, {{0, 6}, {6, 12}}},
        // On a roll the break falls where the page is full.
        {"roll breaks anywhere", Lines(9, 2), {90, 90, 9, 0}, {{0, 9}, {9, 12}}},
        // Ten rows fit with the rule but not the total: the block moves, with three rows.
        {"block does not fit behind the rows", Lines(10, 2), {106, 106, 10, 3}, {{0, 7}, {7, 13}}},
        {"fewer rows than kept", Lines(2, 2), {25, 40, 2, 3}, {{0, 2}, {2, 5}}},
        // A block taller than any page is broken where it must be.
        {"block taller than a page", Lines(1, 6), {40, 40, 1, 3}, {{0, 3}, {3, 5}, {5, 7}, {7, 8}}},
        {"a line taller than a page", {50, 5}, {20, 20, 2, 0}, {{0, 1}, {1, 2}}},
        {"smaller first page", Lines(6, 0), {20, 40, 6, 0}, {{0, 2}, {2, 6}}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Paginate(r.heights, r.rule), r.want) << r.name;
}

double Sum(const std::vector<double>& h, int first, int end) {
    return std::accumulate(h.begin() + first, h.begin() + end, 0.0);
}

TEST(Paginate, RandomReceiptsKeepEveryRule) {
    std::mt19937 rng(27);
    for (int round = 0; round < 3000; ++round) {
        const int rows = std::uniform_int_distribution<int>(0, 120)(rng);
        const int closing = std::uniform_int_distribution<int>(0, 6)(rng);
        const double row = std::uniform_real_distribution<double>(8, 20)(rng);
        const std::vector<double> h = Lines(rows, closing, row, row * 1.4);
        PaginationRule rule;
        rule.nextPages = std::uniform_real_distribution<double>(30, 400)(rng);
        rule.firstPage = rule.nextPages * std::uniform_real_distribution<double>(0.5, 1)(rng);
        rule.closingFrom = rows;
        rule.keepRows = std::uniform_int_distribution<int>(0, 1)(rng) * 3;
        const auto pages = Paginate(h, rule);
        SCOPED_TRACE(::testing::Message() << "round " << round << " rows " << rows << " closing "
                                        << closing << " page " << rule.nextPages);

        // Every line once, in order, no page empty.
        int next = 0;
        for (const auto& p : pages) {
            ASSERT_EQ(p.first, next);
            ASSERT_LT(p.first, p.end);
            next = p.end;
        }
        ASSERT_EQ(next, static_cast<int>(h.size()));

        // Each page holds what fits, or a single line that fits nowhere.
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const double space = i == 0 ? rule.firstPage : rule.nextPages;
            if (pages[i].end - pages[i].first > 1) {
                EXPECT_LE(Sum(h, pages[i].first, pages[i].end), space + 1e-9);
            }
        }

        const int n = static_cast<int>(h.size());
        if (rule.keepRows == 0) {
            // A roll: every page but the last is full (the next line would not fit).
            for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
                const double space = i == 0 ? rule.firstPage : rule.nextPages;
                EXPECT_GT(Sum(h, pages[i].first, pages[i].end + 1), space);
            }
        } else if (closing > 0) {
            // A sheet: the closing block with the rows kept before it is on one page,
            // whenever that piece fits on a page at all.
            const int start = std::max(0, rows - rule.keepRows);
            if (Sum(h, start, n) <= rule.nextPages && (start > 0 || Sum(h, 0, n) <= rule.firstPage)) {
                EXPECT_LE(pages.back().first, start);
                // So the closing block never starts a page while there are rows.
                if (rows > 0) {
                    EXPECT_LT(pages.back().first, rows);
                }
            }
        }
    }
}

} // namespace
