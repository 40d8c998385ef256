// A decimal-comma locale must not change any result: the engine never asks the locale.
#include "DecimalCommaLocale.h"
#include "EngineRig.h"
#include "NumberText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

using namespace bansho;
using namespace bansho::testing;

namespace {

class DecimalCommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        if (PrepareDecimalCommaLocale().empty())
            GTEST_SKIP() << "no de_DE locale and localedef failed";
        ASSERT_NE(std::setlocale(LC_ALL, kDecimalCommaLocale), nullptr);
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(DecimalCommaLocale, ResultsAreUnchanged) {
    const struct {
        int acount;
        const char* keys;
        const char* caption;
    } rows[] = {
        {0, "0.1 + 0.2 =", "0.3"},
        {1, "0.1 + 0.2 =", "0.3"},
        {0, "20000 / 3 =", "6,666.66666666666"},
        {1, "20000 / 3 =", "6,666.66666666667"},
        {0, "1234.5 * 2 =", "2,469."},
        {0, "paste:1.25 + 1 =", "2.25"},
        {0, "1000 TE", "909.090909090909"},
    };
    for (const auto& r : rows) {
        EngineOptions o;
        o.acount = r.acount;
        EngineRig rig(o);
        rig.Keys(r.keys);
        EXPECT_EQ(rig.Caption(), r.caption) << r.keys;
        EXPECT_TRUE(rig.host.errors.empty()) << r.keys;
    }
}

TEST_F(DecimalCommaLocale, CommaIsNotADecimalPoint) {
    long double v = 0;
    EXPECT_TRUE(ParseNumber("1.5", v));
    EXPECT_EQ(v, 1.5L);
    EXPECT_FALSE(ParseNumber("1,5", v));
    bool overflow = false;
    EXPECT_EQ(FormatResult(1.5L, 0, 1, overflow), "1.5");
    EXPECT_EQ(FormatResult(1.5L, 1, 0, overflow), "1.5");
    EngineRig rig;
    rig.Keys("paste:1,5 + 1 =");
    ASSERT_EQ(rig.host.errors.size(), 1u);
    EXPECT_EQ(rig.host.errors[0], "'1,5' は浮動小数点数ではありません。");
}

} // namespace
