// The re-key check against a model: random calculations keyed twice, the second time with one
// random change, must stop at the row the change made different; an identical second keying
// must pass.
#include "EngineRig.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

struct Entry {
    std::string number; // as typed, digit by digit
    char op = '+';      // the operator key before it (the first entry has none)
};

// The rows of the input receipt as the model sees them: the value typed and the operator that
// combines it; the first row "+".
struct Row {
    long double value;
    char op;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const std::vector<Entry>& entries) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < entries.size(); ++i)
        rows.push_back({std::strtold(entries[i].number.c_str(), nullptr), i == 0 ? '+' : entries[i].op});
    return rows;
}

std::string Keys(const std::vector<Entry>& entries) {
    std::string k;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) k += std::string(" ") + entries[i].op + " ";
        k += entries[i].number;
    }
    return k + " =";
}

std::string RandomNumber(std::mt19937_64& rng) {
    std::string n(1, static_cast<char>('1' + rng() % 9));
    const int digits = static_cast<int>(rng() % 6);
    for (int i = 0; i < digits; ++i)
        n += static_cast<char>('0' + rng() % 10);
    if (rng() % 4 == 0) n += "." + std::to_string(1 + rng() % 99);
    return n;
}

char RandomOp(std::mt19937_64& rng) {
    static const char kOps[] = {'+', '-', '*', '/'};
    return kOps[rng() % 4];
}

// The first row where the two receipts differ; at the end of the shorter one when it is the
// other's beginning; -1 when they are the same.
long FirstDifference(const std::vector<Row>& a, const std::vector<Row>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (!(a[i] == b[i])) return static_cast<long>(i);
    return a.size() == b.size() ? -1 : static_cast<long>(n);
}

TEST(ReKeyCheck, EveryChangeIsFoundAtItsRowAndAnIdenticalKeyingPasses) {
    std::mt19937_64 rng(63);
    EngineRig rig;
    int changes[4] = {};
    for (int calc = 0; calc < 3000; ++calc) {
        std::vector<Entry> first;
        const int n = 1 + static_cast<int>(rng() % 8);
        for (int i = 0; i < n; ++i)
            first.push_back({RandomNumber(rng), RandomOp(rng)});
        std::vector<Entry> second = first;
        const bool identical = calc % 4 == 0;
        if (!identical) {
            const std::size_t j = rng() % second.size();
            switch (rng() % 4) {
            case 0: { // a digit mistyped
                std::string& s = second[j].number;
                std::size_t p;
                do
                    p = rng() % s.size();
                while (s[p] == '.');
                char d;
                do
                    d = static_cast<char>((p == 0 ? '1' : '0') + rng() % (p == 0 ? 9 : 10));
                while (d == s[p]);
                s[p] = d;
                ++changes[0];
                break;
            }
            case 1: // another operator
                if (j == 0) {
                    second[j].number = RandomNumber(rng) + "9";
                } else {
                    char o;
                    do
                        o = RandomOp(rng);
                    while (o == second[j].op);
                    second[j].op = o;
                }
                ++changes[1];
                break;
            case 2: // an entry left out
                if (second.size() > 1) second.erase(second.begin() + static_cast<long>(j));
                else second[0].number += "1";
                ++changes[2];
                break;
            default: // an entry too many, anywhere up to after the last
                second.insert(second.begin() + static_cast<long>(rng() % (second.size() + 1)),
                              Entry{RandomNumber(rng), RandomOp(rng)});
                ++changes[3];
                break;
            }
        }
        const long want = FirstDifference(Rows(first), Rows(second));
        ASSERT_EQ(want < 0, identical) << Keys(first) << " / " << Keys(second);

        rig.Keys("AC " + Keys(first));
        const std::string total = rig.Caption();
        const std::size_t rows = rig.engine.HistoryCount();
        ASSERT_EQ(rows, first.size());
        const int checkBeeps = rig.host.checkBeeps;
        rig.Key("#63");
        ASSERT_EQ(rig.engine.Display().NumMark, "検算");
        rig.Keys(Keys(second));
        ASSERT_EQ(rig.engine.HistoryCount(), rows) << "the receipt of the first keying stays";
        if (identical) {
            EXPECT_EQ(rig.engine.Display().NumMark, "検算OK") << Keys(first);
            EXPECT_EQ(rig.Caption(), total);
            EXPECT_EQ(rig.host.checkBeeps, checkBeeps) << "a false alarm: " << Keys(first);
            continue;
        }
        ASSERT_EQ(rig.engine.Check().Current(), ReKeyCheck::State::Stopped)
            << Keys(first) << " / " << Keys(second);
        EXPECT_EQ(static_cast<long>(rig.engine.Check().Row()), want)
            << Keys(first) << " / " << Keys(second);
        EXPECT_EQ(rig.engine.Display().NumMark, "検算×");
        EXPECT_EQ(rig.host.checkBeeps, checkBeeps + 1);
        if (want < static_cast<long>(rows)) {
            EXPECT_EQ(rig.receipt.selected, want);
        }
        // 検算 shows the first keying's entry there, then the second's.
        rig.Key("#63");
        EXPECT_EQ(rig.engine.Display().NumMark, "前");
        if (want < static_cast<long>(rows)) {
            EXPECT_EQ(std::strtold(rig.engine.DispNum.Text.c_str(), nullptr),
                      Rows(first)[static_cast<std::size_t>(want)].value);
        }
        rig.Key("#63");
        EXPECT_EQ(rig.engine.Display().NumMark, "今");
        if (want < static_cast<long>(second.size())) {
            EXPECT_EQ(std::strtold(rig.engine.DispNum.Text.c_str(), nullptr),
                      Rows(second)[static_cast<std::size_t>(want)].value);
        }
        EXPECT_TRUE(rig.receipt.fault.empty()) << rig.receipt.fault;
    }
    for (const int c : changes)
        EXPECT_GT(c, 300); // every kind of change was tried
}

} // namespace
