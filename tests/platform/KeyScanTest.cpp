// Character -> key code and shift state, as VkKeyScanA answers on each layout.
#include "KeyMapping.h"

#include <gtest/gtest.h>

#include <string>

using namespace bansho;

using namespace bansho::platform;

namespace {

struct ScanRow {
    const char* name;
    char32_t ch;
    int vk;
    bool shift;
};

void RunRows(KeyLayout layout, std::initializer_list<ScanRow> rows) {
    for (const ScanRow& r : rows) {
        SCOPED_TRACE(r.name);
        const KeyScan s = ScanChar(r.ch, BuiltinKeymap(layout));
        EXPECT_EQ(s.vk, r.vk);
        if (r.vk != vk::NoKey) {
            EXPECT_EQ(s.shift, r.shift);
        }
    }
}

std::string Codes(KeyLayout layout, const char* chars) {
    std::string out;
    for (const char* p = chars; *p; ++p)
        out += static_cast<char>(
            ScanChar(char32_t(static_cast<unsigned char>(*p)), BuiltinKeymap(layout)).vk);
    return out;
}

const std::string
    kFactoryKeys("\x4D\x4A\x4B\x4C\x55\x49\x4F\x37\x38\x39\xBE\xBC\xBB\x30\x50\xBD\xBF", 17);

} // namespace

TEST(KeyScan, FactoryNumKeyCharactersOnJisGiveTheFactoryCodes) {
    EXPECT_EQ(Codes(KeyLayout::Jis, "mjkluio789.,;0p-/"), kFactoryKeys);
    // Upper-case letters give the same keys.
    EXPECT_EQ(Codes(KeyLayout::Jis, "MJKLUIO789.,;0P-/"), kFactoryKeys);
}

TEST(KeyScan, FactoryNumKeyCharactersOnUsDifferOnlyInTheSemicolonKey) {
    std::string expected = kFactoryKeys;
    expected[12] = '\xBA'; // the US semicolon key is OEM_1
    EXPECT_EQ(Codes(KeyLayout::Us, "mjkluio789.,;0p-/"), expected);
}

TEST(KeyScan, UsLayout) {
    RunRows(KeyLayout::Us, {
                               {"m", U'm', 0x4D, false},
                               {"M needs Shift", U'M', 0x4D, true},
                               {"7", U'7', 0x37, false},
                               {"! is Shift+1", U'!', 0x31, true},
                               {"* is Shift+8, not the keypad", U'*', 0x38, true},
                               {"+ is Shift+=", U'+', 0xBB, true},
                               {"=", U'=', 0xBB, false},
                               {"< is Shift+comma, not the ISO key", U'<', 0xBC, true},
                               {";", U';', 0xBA, false},
                               {"backslash", U'\\', 0xDC, false},
                               {"~", U'~', 0xC0, true},
                               {"double quote", U'"', 0xDE, true},
                               {"_", U'_', 0xBD, true},
                               {"space", U' ', 0x20, false},
                               {"carriage return", U'\r', 0x0D, false},
                               {"tab", U'\t', 0x09, false},
                               {"backspace", U'\b', 0x08, false},
                               {"escape", U'\x1b', 0x1B, false},
                               {"e acute: no key", U'é', vk::NoKey, false},
                               {"yen: no key", U'¥', vk::NoKey, false},
                               {"hiragana: no key", U'あ', vk::NoKey, false},
                               {"control character: no key", U'\x01', vk::NoKey, false},
                           });
}

TEST(KeyScan, JisLayout) {
    RunRows(KeyLayout::Jis, {
                                {";", U';', 0xBB, false},
                                {"+ is Shift+semicolon key", U'+', 0xBB, true},
                                {":", U':', 0xBA, false},
                                {"* is Shift+colon key", U'*', 0xBA, true},
                                {"@", U'@', 0xC0, false},
                                {"` is Shift+@", U'`', 0xC0, true},
                                {"^", U'^', 0xDE, false},
                                {"~ is Shift+^, not Shift+0", U'~', 0xDE, true},
                                {"[", U'[', 0xDB, false},
                                {"]", U']', 0xDD, false},
                                {"backslash is the yen key", U'\\', 0xDC, false},
                                {"| is Shift+yen key", U'|', 0xDC, true},
                                {"_ is Shift+ro key", U'_', 0xE2, true},
                                {"= is Shift+minus", U'=', 0xBD, true},
                                {"double quote is Shift+2", U'"', 0x32, true},
                                {"apostrophe is Shift+7", U'\'', 0x37, true},
                                {"( is Shift+8", U'(', 0x38, true},
                                {"hiragana: no key", U'あ', vk::NoKey, false},
                            });
}

TEST(KeyScan, ActiveLayoutWithoutXServerIsTheFallback) {
    ASSERT_FALSE(HasX11Keymap());
    SetFallbackLayout(KeyLayout::Jis);
    EXPECT_EQ(KeyCodeForChar(U';'), 0xBB);
    EXPECT_EQ(KeyCodeForChar(U'あ'), 0xFF);
    SetFallbackLayout(KeyLayout::Us);
    EXPECT_EQ(KeyCodeForChar(U';'), 0xBA);
    EXPECT_EQ(VkKeyScan(U'P').vk, 0x50);
    EXPECT_TRUE(VkKeyScan(U'P').shift);
}
