// Times typed with the time key and calculated with, against a model in whole seconds.
#include "EngineRig.h"
#include "TimeValue.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

using namespace bansho;
using namespace bansho::testing;

namespace {

// The model's own display form: hours with thousands separators, two-digit minutes and seconds.
std::string ModelTimeText(std::int64_t s) {
    std::string sign = s < 0 ? "-" : "";
    const std::int64_t a = s < 0 ? -s : s;
    std::string h = std::to_string(a / 3600);
    for (int i = static_cast<int>(h.size()) - 3; i > 0; i -= 3)
        h.insert(static_cast<std::size_t>(i), ",");
    char ms[8];
    std::snprintf(ms, sizeof ms, ":%02d:%02d", static_cast<int>(a / 60 % 60),
                  static_cast<int>(a % 60));
    return sign + h + ms;
}

constexpr std::int64_t kLimit = 100'000'000'000LL * 3600; // eleven hour digits

// One time as a user types it, and the seconds it means.
struct TypedTime {
    std::string keys;
    std::int64_t seconds = 0;
};

TypedTime RandomTime(std::mt19937_64& rng, bool atStart) {
    TypedTime t;
    const int kind = static_cast<int>(rng() % 6);
    // Hours: mostly small, sometimes near the limit.
    std::int64_t h = 0;
    std::string hk;
    if (rng() % 20 == 0) {
        h = 90'000'000'000LL + static_cast<std::int64_t>(rng() % 9'999'999'999ULL);
    } else {
        h = static_cast<std::int64_t>(rng() % (rng() % 2 ? 24 : 10000));
    }
    hk = std::to_string(h);
    const int m = static_cast<int>(rng() % 100), s = static_cast<int>(rng() % 100);
    switch (kind) {
    case 0: // all three fields closed
        t.keys = hk + " #60 " + std::to_string(m) + " #60 " + std::to_string(s) + " #60";
        t.seconds = h * 3600 + m * 60 + s;
        break;
    case 1: // the minutes closed by the operator that follows: "7 [時] 30 +"
        t.keys = hk + " #60 " + std::to_string(m);
        t.seconds = h * 3600 + m * 60;
        break;
    case 2: // the seconds closed by the operator
        t.keys = hk + " #60 " + std::to_string(m) + " #60 " + std::to_string(s);
        t.seconds = h * 3600 + m * 60 + s;
        break;
    case 3: // no hours at the start of a number: "[時] 45"
        if (atStart) {
            t.keys = "#60 " + std::to_string(m);
            t.seconds = m * 60;
        } else {
            t.keys = hk + " #60";
            t.seconds = h * 3600;
        }
        break;
    case 4: { // decimal hours, to the nearest second, half away from zero
        const int hundredths = static_cast<int>(rng() % 100000); // 0.00 .. 999.99 hours
        t.keys = std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) +
                 std::to_string(hundredths % 10) + " #60";
        t.seconds = (hundredths * 36 * 2 + 1) / 2; // hundredths of an hour are 36 s each
        break;
    }
    default: // a whole time with its sign changed
        t.keys = hk + " #60 " + std::to_string(m) + " #60 " + std::to_string(s) + " #60 neg";
        t.seconds = -(h * 3600 + m * 60 + s);
        break;
    }
    return t;
}

// Seconds divided by a whole number, to the nearest second, half away from zero.
std::int64_t ModelDivide(std::int64_t s, std::int64_t n) {
    const std::int64_t a = s < 0 ? -s : s;
    std::int64_t q = a / n;
    if ((a % n) * 2 >= n) ++q;
    return s < 0 ? -q : q;
}

// 10,000 random sequences: times added and subtracted, divided by whole numbers, and at the
// end sometimes multiplied by a number (a plain amount) or turned into decimal hours.
// A time as the display shows it reads back to its seconds; a field past 59, a separator out of
// place or a time past the limit reads as none.
TEST(TimeText, TheShownFormReadsBack) {
    std::mt19937_64 rng(60);
    for (int i = 0; i < 20000; ++i) {
        std::int64_t s = static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(kLimit));
        if (i % 2) s = static_cast<std::int64_t>(rng() % 400000);
        if (i % 3 == 0) s = -s;
        ASSERT_EQ(ParseTimeText(ModelTimeText(s)), s) << ModelTimeText(s);
    }
    constexpr std::int64_t no = INT64_MIN; // refused
    const struct {
        const char* text;
        std::int64_t seconds;
    } rows[] = {
        {"7:30", 27000},          {"7:5:3", 25503},     {"1234:00:00", 4442400},
        {"1,234:00:01", 4442401}, {"-0:01:30", -90},    {"0:00", 0},
        {"1:60:00", no},          {"1:00:60", no},      {"1:75:00", no},
        {"1,2:00:00", no},        {",123:00:00", no},   {"1234,567:00:00", no},
        {"1:000:00", no},         {"1:00:00:00", no},   {"100", no},
        {":30", no},              {"1:", no},           {"1::00", no},
        {"--1:00", no},           {"1:0a", no},         {"100,000,000,000:00:00", no},
        {"99,999,999,999:59:59", kLimit - 1},
    };
    for (const auto& r : rows) {
        const auto v = ParseTimeText(r.text);
        if (r.seconds == no)
            EXPECT_FALSE(v) << r.text;
        else
            EXPECT_EQ(v, r.seconds) << r.text;
    }
}

TEST(TimeModel, RandomSequencesAgreeWithWholeSeconds) {
    for (const int acount : {0, 1}) {
        std::mt19937_64 rng(60 + static_cast<unsigned>(acount));
        EngineOptions o;
        o.acount = acount;
        EngineRig rig(o);
        for (int seq = 0; seq < RandomRounds(5000); ++seq) {
            TypedTime first = RandomTime(rng, true);
            std::string keys = first.keys;
            std::int64_t model = first.seconds;
            bool error = false;
            const int steps = 1 + static_cast<int>(rng() % 5);
            for (int i = 0; i < steps; ++i) {
                const int op = static_cast<int>(rng() % 5);
                if (op <= 1) {
                    const TypedTime t = RandomTime(rng, true);
                    keys += (op == 0 ? " + " : " - ") + t.keys;
                    if (!error) model = op == 0 ? model + t.seconds : model - t.seconds;
                } else if (op == 2) {
                    const std::int64_t n = 1 + static_cast<std::int64_t>(rng() % 9);
                    keys += " / " + std::to_string(n);
                    if (!error) model = ModelDivide(model, n);
                } else {
                    const TypedTime t = RandomTime(rng, true);
                    keys += " + " + t.keys;
                    if (!error) model += t.seconds;
                }
                if (model <= -kLimit || model >= kLimit) error = true;
            }
            const int end = static_cast<int>(rng() % 4);
            if (end == 0) {
                const std::int64_t wage = 1 + static_cast<std::int64_t>(rng() % 5000);
                keys += " * " + std::to_string(wage) + " =";
                rig.Keys(keys);
                if (error) {
                    ASSERT_EQ(rig.Caption(), "- E -  ") << keys;
                } else {
                    // Hours times the wage, a plain amount.
                    const long double want = static_cast<long double>(model) * wage / 3600.0L;
                    long double got = 0;
                    ASSERT_EQ(rig.engine.DispNum.Kind, ValueKind::Number) << keys;
                    got = std::strtold(rig.engine.DispNum.Text.c_str(), nullptr);
                    if (std::fabs(want) >= 1e15L) {
                        ASSERT_EQ(rig.Caption(), "- E -  ") << keys;
                    } else {
                        ASSERT_LE(std::fabs(got - want), 1e-13L * std::max(1.0L, std::fabs(want)))
                            << keys << " -> " << rig.engine.DispNum.Text;
                        if (model * wage % 3600 == 0) {
                            ASSERT_EQ(std::llround(got), static_cast<long long>(want)) << keys;
                        }
                    }
                }
            } else {
                keys += " =";
                if (end == 1) keys += " #60"; // the result in decimal hours
                rig.Keys(keys);
                if (error) {
                    ASSERT_EQ(rig.Caption(), "- E -  ") << keys;
                } else if (end == 1) {
                    const long double got = std::strtold(rig.engine.DispNum.Text.c_str(), nullptr);
                    ASSERT_EQ(rig.engine.DispNum.Kind, ValueKind::Number) << keys;
                    const long double want = static_cast<long double>(model) / 3600.0L;
                    // Fifteen digits of the display, the last one cut or rounded.
                    ASSERT_LE(std::fabs(got - want), 1e-14L * std::max(1.0L, std::fabs(want)) + 1e-14L)
                        << keys << " -> " << rig.engine.DispNum.Text;
                    // And back to the same time from its decimal hours, when they were exact.
                    if (model % 36 == 0) {
                        rig.Key("#60");
                        ASSERT_EQ(rig.Caption(), ModelTimeText(model)) << keys;
                    }
                } else {
                    ASSERT_EQ(rig.Caption(), ModelTimeText(model)) << keys;
                    ASSERT_EQ(rig.engine.DispNum.Kind, ValueKind::Time);
                }
            }
            rig.Key("AC");
        }
    }
}

} // namespace
