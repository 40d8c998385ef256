// The conversion rates in the settings file: their own section, written only once used.
#include "Settings.h"
#include "StartedProgram.h"

#include "KeyConfig.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace bansho;
using bansho::testing::Program;

namespace {

// A file as the program wrote it before it had conversion rates.
std::string FileWithoutRates() {
    Program p;
    p.LoadText("", false);
    p.option.TaxRate = "8";
    p.window.Left = 40;
    return p.SaveBytes();
}

TEST(ConversionSettings, AFileThatNeverUsedThemReadsAndSavesByteForByte) {
    const std::string bytes = FileWithoutRates();
    ASSERT_EQ(bytes.find("CONVERT"), std::string::npos);
    Program q;
    q.LoadText(bytes);
    EXPECT_TRUE(q.option.Rate2.empty());
    EXPECT_TRUE(q.option.RateName1.empty());
    EXPECT_EQ(q.SaveBytes(bytes), bytes);
}

TEST(ConversionSettings, RatesAndNamesComeBackAfterARestart) {
    Program p;
    p.LoadText(FileWithoutRates());
    p.option.RateName1 = "円";
    p.option.RateName2 = "USD";
    p.option.Rate2 = "0.0067";
    p.option.RateName3 = "坪";
    p.option.Rate3 = "3.30579";
    const std::string bytes = p.SaveBytes(FileWithoutRates());
    // Shift_JIS in the file, as every text of it: 円 is 0x89 0x7E.
    EXPECT_NE(bytes.find("[CONVERT]\r\nName1=\x89\x7E\r\nName2=USD\r\nRate2=0.0067\r\n"),
              std::string::npos);
    Program q;
    q.LoadText(bytes);
    EXPECT_EQ(q.option.RateName1, "円");
    EXPECT_EQ(q.option.RateName2, "USD");
    EXPECT_EQ(q.option.Rate2, "0.0067");
    EXPECT_EQ(q.option.RateName3, "坪");
    EXPECT_EQ(q.option.Rate3, "3.30579");
    EXPECT_EQ(q.SaveBytes(bytes), bytes);

    // Cleared again: the file that held them is told so, and reads back empty.
    q.option.Rate3.clear();
    q.option.RateName3.clear();
    Program r;
    r.LoadText(q.SaveBytes(bytes));
    EXPECT_EQ(r.option.Rate2, "0.0067");
    EXPECT_TRUE(r.option.Rate3.empty());
    EXPECT_TRUE(r.option.RateName3.empty());
}

TEST(ConversionSettings, ValuesTheDialogWouldRefuseReadAsNotSet) {
    struct Row {
        const char* key;
        const char* value;
        bool kept;
    } rows[] = {
        {"Rate2", "0.0067", true},   {"Rate2", "150", true},       {"Rate2", "0", false},
        {"Rate2", "-1.5", false},    {"Rate2", "1e3", false},      {"Rate2", "1,000", false},
        {"Rate2", ".", false},       {"Rate2", "2 x", false},       {"Rate2", "1234567890123456", false},
        {"Rate2", "0.0000000000000001", false}, {"Rate2", ".5", true},
        {"Name2", "USD", true},      {"Name2", "   ", false},      {"Name2", "a,b", false},
        {"Name2", "0123456789012", false},
    };
    for (const auto& r : rows) {
        Program p;
        p.LoadText(std::string("[CONVERT]\r\n") + r.key + "=" + r.value + "\r\n");
        const std::string& got = std::string(r.key) == "Rate2" ? p.option.Rate2 : p.option.RateName2;
        EXPECT_EQ(got, r.kept ? r.value : "") << r.key << "=" << r.value;
    }
}

} // namespace
