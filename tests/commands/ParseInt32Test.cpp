#include "ParseInt32.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

TEST(ParseInt32, ReadsDecimalAndHexadecimal) {
    struct Row {
        const char* name;
        const char* text;
        std::optional<std::int32_t> want;
    } rows[] = {
        {"plain", "600", 600},
        {"negative", "-1", -1},
        {"plus sign", "+7", 7},
        {"dollar hex", "$FF", 255},
        {"0x hex", "0x1f", 31},
        {"upper 0X", "0X10", 16},
        {"system colour bits", "$FF00000F", -16777201},
        {"system colour decimal", "-16777201", -16777201},
        {"largest", "2147483647", 2147483647},
        {"smallest", "-2147483648", INT32_MIN},
        {"decimal overflow", "2147483648", std::nullopt},
        {"hex overflow", "$100000000", std::nullopt},
        {"empty", "", std::nullopt},
        {"sign only", "-", std::nullopt},
        {"prefix only", "0x", std::nullopt},
        {"trailing junk", "12a", std::nullopt},
        {"word", "true", std::nullopt},
        {"inner blank", "1 2", std::nullopt},
        {"decimal point", "1.5", std::nullopt},
        {"hex digits without prefix", "ff", std::nullopt},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ParseInt32(r.text), r.want) << r.name;
}

} // namespace
