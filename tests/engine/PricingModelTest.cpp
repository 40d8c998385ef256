// The pricing formulas and the conversion against an exact model of fractions written from the
// rules a shopkeeper reads (margin on the selling price), on random values, for every decimal
// selection, rounding rule and display mode.
#include "Conversion.h"
#include "Pricing.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace bansho;

namespace {

using Int = __int128;

Int Gcd(Int a, Int b) {
    if (a < 0) a = -a;
    if (b < 0) b = -b;
    while (b != 0) {
        const Int t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// A fraction kept in lowest terms with a positive denominator.
struct Frac {
    Int n = 0;
    Int d = 1;
    static Frac Of(Int n, Int d) {
        if (d < 0) {
            n = -n;
            d = -d;
        }
        const Int g = Gcd(n, d);
        return g > 1 ? Frac{n / g, d / g} : Frac{n, d};
    }
    friend Frac operator+(Frac a, Frac b) { return Of(a.n * b.d + b.n * a.d, a.d * b.d); }
    friend Frac operator-(Frac a, Frac b) { return Of(a.n * b.d - b.n * a.d, a.d * b.d); }
    friend Frac operator*(Frac a, Frac b) { return Of(a.n * b.n, a.d * b.d); }
    friend Frac operator/(Frac a, Frac b) { return Of(a.n * b.d, a.d * b.n); }
};

Frac FromText(const std::string& t) {
    Int n = 0, d = 1;
    bool neg = false, point = false;
    for (const char c : t) {
        if (c == '-') neg = true;
        else if (c == '.') point = true;
        else {
            n = n * 10 + (c - '0');
            if (point) d *= 10;
        }
    }
    return Frac::Of(neg ? -n : n, d);
}

std::string Digits(Int v) {
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

// The expected register of a result: the text, or "E" for the error display.
std::string Expected(Frac x, int acount, int decimals, int rule) {
    const bool neg = x.n < 0;
    const Int n = neg ? -x.n : x.n;
    const Int d = x.d;
    const Int e15 = 1000000000000000LL;
    if (n / d >= e15) return "E";                              // sixteen whole digits
    if (acount == 1 && n != 0 && n * 10000 < d) return "E";    // below 0.0001
    int k = decimals;
    int mode = rule;
    if (decimals < 0) {
        mode = 1; // half away from zero
        if (acount == 0) {
            k = 15;
        } else if (n >= d) {
            k = 15 - static_cast<int>(Digits(n / d).size());
        } else {
            int lead = 0; // zeros between the point and the first significant digit
            Int t = n;
            while (t != 0 && t * 10 < d) {
                t *= 10;
                ++lead;
            }
            k = 15 + lead;
        }
    }
    // q = floor(|x| * 10^k) and what is left, by long division.
    Int q = n / d, r = n % d;
    for (int i = 0; i < k; ++i) {
        q = q * 10 + (r * 10) / d;
        r = (r * 10) % d;
    }
    if ((mode == 1 && 2 * r >= d) || (mode == 2 && r != 0)) ++q;
    std::string s = Digits(q);
    while (static_cast<int>(s.size()) <= k)
        s.insert(s.begin(), '0');
    std::string whole = s.substr(0, s.size() - static_cast<std::size_t>(k));
    std::string frac = s.substr(s.size() - static_cast<std::size_t>(k));
    if (whole.size() > 15) return "E";
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    std::string out = (neg && (whole != "0" || !frac.empty())) ? "-" : "";
    out += whole;
    if (!frac.empty()) out += "." + frac;
    else if (acount == 0) out += ".";
    if (decimals < 0) {
        // The display's fifteen digits: the rest of the decimals is cut.
        int digits = 0;
        std::string cut;
        for (const char c : out) {
            if (c >= '0' && c <= '9' && ++digits > 15) break;
            cut += c;
        }
        out = cut;
    }
    return out;
}

std::string Got(const TCalcNum& n) {
    return n.Error ? "E" : n.Text;
}

// A random amount: 1-12 significant digits, 0-4 decimals, now and then negative or zero.
std::string RandomAmount(std::mt19937_64& rng, bool allowNegative) {
    const int digits = static_cast<int>(rng() % 12) + 1;
    const int decimals = static_cast<int>(rng() % 5);
    std::string s;
    for (int i = 0; i < digits; ++i)
        s += static_cast<char>('0' + rng() % 10);
    while (s.size() <= static_cast<std::size_t>(decimals))
        s.insert(s.begin(), '0');
    if (decimals > 0) s.insert(s.size() - static_cast<std::size_t>(decimals), ".");
    const std::size_t first = s.find_first_not_of('0');
    if (first == std::string::npos) return "0";
    if (s[first] == '.')
        s = s.substr(first - 1);
    else
        s = s.substr(first);
    if (allowNegative && rng() % 8 == 0) s = "-" + s;
    return s;
}

// A margin: mostly 0-99 with up to three decimals, sometimes negative, sometimes 100 or more.
std::string RandomMargin(std::mt19937_64& rng) {
    const auto pick = rng() % 20;
    if (pick == 0) return std::to_string(100 + rng() % 50);
    if (pick == 1) return "99.999";
    std::string s = std::to_string(rng() % 100);
    if (rng() % 2) s += "." + std::to_string(rng() % 1000);
    if (pick == 2) s = "-" + s;
    return s;
}

struct Selection {
    int acount, decimals, rule;
};

std::vector<Selection> EverySelection() {
    std::vector<Selection> all;
    for (int acount = 0; acount <= 1; ++acount)
        for (int decimals = -1; decimals <= 4; ++decimals)
            for (int rule = 0; rule <= 2; ++rule)
                if (decimals >= 0 || rule == 0) all.push_back({acount, decimals, rule});
    return all;
}

TEST(PricingModel, FormulasAgreeWithExactFractionsOnRandomValues) {
    const Frac hundred{100, 1};
    const Frac one{1, 1};
    for (const Selection& s : EverySelection()) {
        std::mt19937_64 rng(20261207 + s.acount * 100 + s.decimals * 10 + s.rule);
        const PricingFormat f{s.acount, s.decimals, s.rule};
        int failures = 0;
        for (int i = 0; i < bansho::testing::RandomRounds(10000) && failures < 5; ++i) {
            const std::string cost = RandomAmount(rng, true);
            std::string sell = RandomAmount(rng, true);
            if (rng() % 50 == 0) sell = "0";
            const std::string margin = RandomMargin(rng);
            const Frac c = FromText(cost), p = FromText(sell), m = FromText(margin);
            const bool marginTooBig = !((m - hundred).n < 0);

            TCalcNum got;
            const std::string where = cost + " / " + sell + " / " + margin + " acount " +
                                      std::to_string(s.acount) + " decimals " +
                                      std::to_string(s.decimals) + " rule " +
                                      std::to_string(s.rule);
            ASSERT_TRUE(SellFromCost(cost, margin, f, got, nullptr));
            const std::string sellWant =
                marginTooBig ? "E" : Expected(c / (one - m / hundred), s.acount, s.decimals, s.rule);
            EXPECT_EQ(Got(got), sellWant) << "sell from " << where;
            failures += Got(got) != sellWant;

            ASSERT_TRUE(CostFromSell(sell, margin, f, got, nullptr));
            const std::string costWant =
                marginTooBig ? "E" : Expected(p * (one - m / hundred), s.acount, s.decimals, s.rule);
            EXPECT_EQ(Got(got), costWant) << "cost from " << where;
            failures += Got(got) != costWant;

            ASSERT_TRUE(MarginFrom(cost, sell, f, got, nullptr));
            const std::string marginWant =
                p.n == 0 ? "E" : Expected((p - c) / p * hundred, s.acount, s.decimals, s.rule);
            EXPECT_EQ(Got(got), marginWant) << "margin from " << where;
            failures += Got(got) != marginWant;

            ASSERT_TRUE(ProfitFrom(cost, sell, f, got, nullptr));
            const std::string profitWant = Expected(p - c, s.acount, s.decimals, s.rule);
            EXPECT_EQ(Got(got), profitWant) << "profit from " << where;
            failures += Got(got) != profitWant;
        }
    }
}

TEST(PricingModel, WorkedExamples) {
    const PricingFormat f;
    struct Row {
        const char* what;
        bool (*formula)(std::string_view, std::string_view, const PricingFormat&, TCalcNum&,
                        std::string_view*);
        const char* a;
        const char* b;
        const char* want;
    } rows[] = {
        {"cost 1,500, margin 20 -> sell", SellFromCost, "1500", "20", "1875."},
        {"cost 1,500, sell 1,875 -> 粗利", ProfitFrom, "1500", "1875", "375."},
        {"sell 2,000, margin 30 -> cost", CostFromSell, "2000", "30", "1400."},
        {"cost 1,500, sell 2,000 -> margin", MarginFrom, "1500", "2000", "25."},
        {"cost 100, margin 20 -> sell", SellFromCost, "100", "20", "125."},
        {"margin 100 is the error display", SellFromCost, "100", "100", "E"},
        {"margin above 100 too", CostFromSell, "100", "100.5", "E"},
        {"sell 0 for the margin", MarginFrom, "100", "0", "E"},
    };
    for (const auto& r : rows) {
        TCalcNum got;
        ASSERT_TRUE(r.formula(r.a, r.b, f, got, nullptr)) << r.what;
        EXPECT_EQ(Got(got), r.want) << r.what;
    }
    TCalcNum got;
    std::string_view bad;
    EXPECT_FALSE(SellFromCost("12a", "20", f, got, &bad));
    EXPECT_EQ(bad, "12a");
}

TEST(ConversionModel, HomeToARateAndBackIsTheStartUpToTheDisplaysDigits) {
    std::mt19937_64 rng(59);
    for (int acount = 0; acount <= 1; ++acount) {
        for (int i = 0; i < 10000; ++i) {
            const std::string amount = RandomAmount(rng, true);
            std::string rate = RandomAmount(rng, false);
            if (FromText(rate).n == 0) rate = "0.0067";
            ASSERT_TRUE(IsValidRate(rate)) << rate;
            TCalcNum there, back;
            ASSERT_TRUE(ConvertFromHome(amount, rate, acount, -1, 0, there));
            const std::string thereWant = Expected(FromText(amount) * FromText(rate), acount, -1, 0);
            ASSERT_EQ(Got(there), thereWant) << amount << " x " << rate;
            if (there.Error) continue;
            ASSERT_TRUE(ConvertToHome(there.Text, rate, acount, -1, 0, back));
            ASSERT_EQ(Got(back), Expected(FromText(there.Text) / FromText(rate), acount, -1, 0));
            if (back.Error) continue;
            // Up to the display's digits: the difference is below one unit of the last digit
            // the converted amount kept, carried back through the rate, and of the start's own.
            const Frac diff = FromText(back.Text) - FromText(amount);
            const Frac absDiff = diff.n < 0 ? Frac{-diff.n, diff.d} : diff;
            const std::string& t = there.Text;
            const auto point = t.find('.');
            const int kept = point == std::string::npos ? 0 : static_cast<int>(t.size() - point - 1);
            Int unit = 1;
            for (int k = 0; k < kept; ++k)
                unit *= 10;
            const Frac lost = Frac::Of(1, unit) / FromText(rate);
            const int backKept = [&] {
                const auto p = back.Text.find('.');
                return p == std::string::npos ? 0 : static_cast<int>(back.Text.size() - p - 1);
            }();
            Int backUnit = 1;
            for (int k = 0; k < backKept; ++k)
                backUnit *= 10;
            const Frac bound = lost + Frac::Of(1, backUnit);
            // absDiff <= bound, by cross products; past 128 bits as long doubles.
            const bool within = [&] {
                Int l, r;
                if (__builtin_mul_overflow(absDiff.n, bound.d, &l) ||
                    __builtin_mul_overflow(bound.n, absDiff.d, &r))
                    return static_cast<long double>(absDiff.n) / static_cast<long double>(absDiff.d) <=
                           static_cast<long double>(bound.n) / static_cast<long double>(bound.d);
                return l <= r;
            }();
            EXPECT_TRUE(within)
                << amount << " -> " << there.Text << " -> " << back.Text << " at " << rate;
            // Where nothing was cut on the way, the amount comes back exactly. Both sides are
            // compared as cross products, each within 128 bits or the case is left out.
            const auto exactly = [](const Frac& shown, const Frac& worked) {
                Int l, r;
                if (__builtin_mul_overflow(shown.n, worked.d, &l) ||
                    __builtin_mul_overflow(worked.n, shown.d, &r))
                    return false;
                return l == r;
            };
            const Frac thereWorked = [&] {
                const Frac a = FromText(amount), r = FromText(rate);
                Int n, d;
                if (__builtin_mul_overflow(a.n, r.n, &n) || __builtin_mul_overflow(a.d, r.d, &d))
                    return Frac{1, 0}; // too large to work exactly: no cross product matches
                return Frac::Of(n, d);
            }();
            if (thereWorked.d != 0 && exactly(FromText(there.Text), thereWorked) &&
                exactly(FromText(back.Text), FromText(there.Text) / FromText(rate))) {
                EXPECT_EQ(diff.n, 0) << amount << " at " << rate;
            }
        }
    }
}

TEST(ConversionModel, RatesTheDialogAccepts) {
    for (const char* ok : {"0.0067", "3.30579", "150", ".5", "1.", "999999999999999"})
        EXPECT_TRUE(IsValidRate(ok)) << ok;
    for (const char* bad : {"", ".", "0", "0.000", "-1", "+1", "1e3", "1,5", "1.2.3", " 1",
                            "1234567890123456", "0.0000000000000001"})
        EXPECT_FALSE(IsValidRate(bad)) << bad;
    for (const char* ok : {"USD", "円", "坪", "ドル(米)"})
        EXPECT_TRUE(IsValidRateName(ok)) << ok;
    for (const char* bad : {"", "  ", "a,b", "\"x\"", "a\tb", "１２３４５６７"})
        EXPECT_FALSE(IsValidRateName(bad)) << bad;
}

} // namespace
