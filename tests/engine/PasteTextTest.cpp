// Numbers as people copy them, and the texts that must stay refused.
#include "EngineRig.h"
#include "PasteText.h"

#include <gtest/gtest.h>

using namespace bansho;
using namespace bansho::testing;

namespace {

struct PasteCase {
    const char* name;
    const char* clip;
    const char* entry; // InNum after the paste
};

const PasteCase kPasteCases[] = {
    // Forms that become the plain number
    {"yen mark and thousands separators", "¥1,234", "1234"},
    {"full-width digits, comma and yen word", "１，２３４円", "1234"},
    {"surrounding blanks and a fraction", " 12,345.67 ", "12345.67"},
    {"minus sign U+2212", "−500", "-500"},
    {"full-width minus", "－５００", "-500"},
    {"dollar and cents", "$3.50", "3.50"},
    {"full-width yen mark with a blank", "￥ 9,800", "9800"},
    {"yen word after a blank", "1,000 円", "1000"},
    {"full-width point", "３．１４", "3.14"},
    {"minus before the yen mark", "-¥1,500", "-1500"},
    {"yen mark before the minus", "¥-1,500", "-1500"},
    {"leading plus dropped", "+42", "42"},
    {"full-width plus dropped", "＋４２", "42"},
    {"ideographic space around", "\u3000７７\u3000", "77"},
    {"spreadsheet cell line end", "1,234\r\n", "1234"},
    {"point first gets its zero", ".5", "0.5"},
    {"fifteen digits", "123,456,789,012,345", "123456789012345"},
    {"fifteen digits with a fraction", "1234567890.12345", "1234567890.12345"},
    {"several separators", "1,234,567", "1234567"},
    // Texts that stay as they were (the error box comes at use)
    {"two points", "1.2.3", "1.2.3"},
    {"letters", "abc", "abc"},
    {"exponent form", "1e5", "1e5"},
    {"sixteen digits", "1234567890123456", "1234567890123456"},
    {"sixteen digits with separators", "1,234,567,890,123,456", "1,234,567,890,123,456"},
    {"comma as a decimal comma", "1,5", "1,5"},
    {"comma in the fraction", "1.234,5", "1.234,5"},
    {"group of four after a comma", "1,0000", "1,0000"},
    {"inner blank", "1 2\n", "1 2"},
    {"sign alone", "-", "-"},
    {"currency alone", "¥", "¥"},
    {"two signs", "--5", "--5"},
    {"sign after the digits", "500-", "500-"},
    // Bytes that are no UTF-8 are refused as binary, never read as the digits they resemble
    {"overlong bytes are no digit", "\xC0\xB1\xC0\xB2", ""},
    {"an overlong point is none", "1\xC0\xAE" "5", ""},
};

TEST(PasteText, NumbersAsPeopleCopyThem) {
    for (const auto& r : kPasteCases) {
        EngineRig rig;
        rig.host.clipboard = r.clip;
        rig.Keys("paste");
        EXPECT_EQ(rig.engine.InNum.Text, r.entry) << r.name;
    }
}

// What a paste takes of a clipboard that is long, has many lines or holds binary data.
TEST(PasteText, OnlyTheFirstLineOfTextIsTaken) {
    const std::string longLine = std::string(kPasteReadLimit + 10, '1');
    const std::string millionLines = [] {
        std::string s;
        for (int i = 0; i < 1000000; ++i)
            s += "12\n";
        return s;
    }();
    const struct {
        const char* name;
        std::string clip;
        const char* entry; // nullptr: refused with a beep, the entry stays "7"
    } rows[] = {
        {"the first of a million lines", millionLines, "12"},
        {"a number, then a long text", "1,234\n" + std::string(5000000, 'x'), "1234"},
        {"blank lines before the number", "\r\n  \n\t¥500\r\nabc", "500"},
        {"text in the first line is kept", "abc\n123", "abc"},
        {"a full-width line", "１２３\n４５６", "123"},
        {"a first line longer than is read", longLine, nullptr},
        {"a first line just short of the limit", std::string(kPasteReadLimit - 1, '2') + "\n",
         "2222222222222222222222"},
        {"a NUL", std::string("12\0 34", 6), nullptr},
        {"a NUL after the first line", std::string("12\n\0", 4), nullptr},
        {"other control characters", "12\x01\x02", nullptr},
        {"DEL", "5\x7F", nullptr},
        {"bytes that are no UTF-8", "\x89PNG\r\n\x1a\n", nullptr},
        {"a lone continuation byte", "12\x80", nullptr},
        {"a character cut by the end of what is read",
         "1\n" + std::string(kPasteReadLimit - 3, 'a') + "円" + std::string(100, 'a'), "1"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EngineRig rig;
        rig.Keys("7");
        rig.host.clipboard = r.clip;
        rig.Keys("paste");
        EXPECT_LE(rig.host.clipboardAsked, kPasteReadLimit + 1) << "read only the start";
        if (r.entry) {
            EXPECT_EQ(rig.engine.InNum.Text, r.entry);
            EXPECT_EQ(rig.host.beeps, 0);
        } else {
            EXPECT_EQ(rig.engine.InNum.Text, "7");
            EXPECT_EQ(rig.host.beeps, 1);
        }
    }
}

TEST(PasteText, NormalisedNumberCalculates) {
    EngineRig rig;
    rig.host.clipboard = "¥1,234";
    rig.Keys("paste + 1 =");
    EXPECT_TRUE(rig.host.errors.empty());
    EXPECT_EQ(rig.Caption(), "1,235.");
}

} // namespace
