#include "Sjis.h"
#include "Utf8.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

// True when every byte belongs to a valid UTF-8 sequence.
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t n = utf8::Decode(s, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::string utf8;
};

TEST(Sjis, DecodesTheBytesThatPlainShiftJisGetsWrong) {
    const DecodeCase cases[] = {
        {"backslash stays a backslash", "\x5C", "\\"},
        {"full-width reverse solidus", "\x81\x5F", "\xEF\xBC\xBC"},
        {"wave dash is the full-width tilde", "\x81\x60", "\xEF\xBD\x9E"},
        {"NEC row circled one", "\x87\x40", "\xE2\x91\xA0"},
        {"first kanji", "\x88\x9F", "\xE4\xBA\x9C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sjis::ToUtf8(c.bytes), c.utf8) << c.name;
        EXPECT_EQ(sjis::FromUtf8(c.utf8), c.bytes) << c.name;
    }
}

TEST(Sjis, BadBytesNeverStopTheConversion) {
    const std::string bad = std::string("A\x81") + "\xFF" + "B" + "\x82";
    const std::string out = sjis::ToUtf8(bad);
    EXPECT_TRUE(IsUtf8(out));
    EXPECT_EQ(out.front(), 'A');
    EXPECT_NE(out.find('B'), std::string::npos);
    // Invalid UTF-8 going out becomes '?' and the rest survives.
    EXPECT_EQ(sjis::FromUtf8(std::string("x\xC3y")), "x?y");
}

TEST(Sjis, WidthsAndTruncationCountShiftJisBytes) {
    EXPECT_EQ(sjis::Width("abc"), 3u);
    EXPECT_EQ(sjis::Width("＋1"), 3u);
    EXPECT_EQ(sjis::Width("ｱ"), 1u); // half-width kana is one byte
    EXPECT_EQ(sjis::Truncate("あいう", 5), "あい");
    EXPECT_EQ(sjis::Truncate("aあ", 2), "a");
    EXPECT_EQ(sjis::Truncate("abc", 10), "abc");
}

} // namespace

// The one UTF-8 reader of the program: what counts as one character, read forwards (text
// widths, cutting) and backwards (shift-right deletes the last character).
TEST(Utf8, CharacterLengthsForwardsAndBackwards) {
    const struct {
        const char* name;
        std::string_view text;
        std::size_t first; // CharLen(text, 0)
        std::size_t last;  // LastCharLen(text)
    } cases[] = {
        {"ascii", "12", 1, 1},
        {"two-byte letter", "\xC3\xA9", 2, 2},
        {"three-byte kana", "\xE3\x81\x82", 3, 3},
        {"four-byte emoji", "\xF0\x9F\x98\x80", 4, 4},
        {"digit after kana", "\xE3\x81\x82" "5", 3, 1},
        {"stray continuation byte", "\xA9\xA9", 1, 1},
        {"sequence cut short", "\xE3\x81", 1, 1},
        {"letter with one continuation byte too many", "\xC3\xA9\xA9", 2, 1},
        {"overlong slash", "\xC0\xAF", 1, 1},
        {"surrogate", "\xED\xA0\x80", 1, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8::CharLen(c.text, 0), c.first) << c.name;
        EXPECT_EQ(utf8::LastCharLen(c.text), c.last) << c.name;
    }
}
