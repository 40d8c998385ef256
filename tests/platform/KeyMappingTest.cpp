// Key presses as the X server delivers them -> the code Windows reports for the same key.
#include "KeyMapping.h"

#include <QKeyEvent>

#include <X11/keysym.h>
#include <gtest/gtest.h>

using namespace bansho;

using namespace bansho::platform;

namespace {

constexpr auto Kp = Qt::KeypadModifier;
constexpr auto Sh = Qt::ShiftModifier;
constexpr auto No = Qt::NoModifier;

// One X11 key press: keycode, produced keysym, the key's unshifted and shifted keysyms,
// Qt's key, modifiers and text.
struct XRow {
    const char* name;
    std::uint32_t keycode, sym, base, shifted;
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char* text;
    int expected;
};

void RunRows(std::initializer_list<XRow> rows) {
    for (const XRow& r : rows) {
        SCOPED_TRACE(r.name);
        KeyFacts f;
        f.keycode = r.keycode;
        f.sym = r.sym;
        f.baseSym = r.base;
        f.shiftSym = r.shifted;
        f.qtKey = r.qtKey;
        f.modifiers = r.mods;
        f.text = QString::fromUtf8(r.text);
        EXPECT_EQ(VirtualKeyFromFacts(f), r.expected);
    }
}

} // namespace

TEST(KeyMapping, KeypadIsToldApartFromTheMainBlock) {
    RunRows({
        {"keypad 5, NumLock on", 84, XK_KP_5, XK_KP_Begin, XK_KP_5, Qt::Key_5, Kp, "5", 101},
        {"keypad 0, NumLock on", 90, XK_KP_0, XK_KP_Insert, XK_KP_0, Qt::Key_0, Kp, "0", 96},
        {"keypad 9, NumLock on", 81, XK_KP_9, XK_KP_Prior, XK_KP_9, Qt::Key_9, Kp, "9", 105},
        {"main-block 5", 14, XK_5, XK_5, XK_percent, Qt::Key_5, No, "5", 53},
        {"keypad times", 63, XK_KP_Multiply, XK_KP_Multiply, XK_KP_Multiply, Qt::Key_Asterisk, Kp,
         "*", 106},
        {"keypad plus", 86, XK_KP_Add, XK_KP_Add, XK_KP_Add, Qt::Key_Plus, Kp, "+", 107},
        {"keypad minus", 82, XK_KP_Subtract, XK_KP_Subtract, XK_KP_Subtract, Qt::Key_Minus, Kp, "-",
         109},
        {"keypad point", 91, XK_KP_Decimal, XK_KP_Delete, XK_KP_Decimal, Qt::Key_Period, Kp, ".",
         110},
        {"keypad decimal comma (de) is still the point key", 91, XK_KP_Separator, XK_KP_Delete,
         XK_KP_Separator, Qt::Key_Comma, Kp, ",", 110},
        {"keypad divide", 106, XK_KP_Divide, XK_KP_Divide, XK_KP_Divide, Qt::Key_Slash, Kp, "/",
         111},
        {"keypad Enter is 13", 104, XK_KP_Enter, XK_KP_Enter, 0, Qt::Key_Enter, Kp, "\r", 13},
        {"keypad equals", 125, XK_KP_Equal, XK_KP_Equal, 0, Qt::Key_Equal, Kp, "=", 146},
        {"keypad 1, NumLock off, is End", 87, XK_KP_End, XK_KP_End, XK_KP_1, Qt::Key_End, Kp, "",
         35},
        {"keypad 5, NumLock off, is Clear", 84, XK_KP_Begin, XK_KP_Begin, XK_KP_5, Qt::Key_Clear,
         Kp, "", 12},
        {"keypad 8, NumLock off, is Up", 80, XK_KP_Up, XK_KP_Up, XK_KP_8, Qt::Key_Up, Kp, "", 38},
        {"keypad 0, NumLock off, is Insert", 90, XK_KP_Insert, XK_KP_Insert, XK_KP_0,
         Qt::Key_Insert, Kp, "", 45},
        {"keypad point, NumLock off, is Delete", 91, XK_KP_Delete, XK_KP_Delete, XK_KP_Decimal,
         Qt::Key_Delete, Kp, "", 46},
        {"Shift + keypad 3 with NumLock on gives Page Down", 89, XK_KP_Next, XK_KP_Next, XK_KP_3,
         Qt::Key_PageDown, Kp | Sh, "", 34},
    });
}

TEST(KeyMapping, UsLayoutMainBlock) {
    RunRows({
        {"Shift+1 is the 1 key", 10, XK_exclam, XK_1, XK_exclam, Qt::Key_Exclam, Sh, "!", 49},
        {"Shift+0 is the 0 key", 19, XK_parenright, XK_0, XK_parenright, Qt::Key_ParenRight, Sh,
         ")", 48},
        {"a", 38, XK_a, XK_a, XK_A, Qt::Key_A, No, "a", 65},
        {"Shift+m", 58, XK_M, XK_m, XK_M, Qt::Key_M, Sh, "M", 77},
        {"Ctrl+c", 54, XK_c, XK_c, XK_C, Qt::Key_C, Qt::ControlModifier, "\x03", 67},
        {"semicolon", 47, XK_semicolon, XK_semicolon, XK_colon, Qt::Key_Semicolon, No, ";", 186},
        {"Shift+semicolon (colon)", 47, XK_colon, XK_semicolon, XK_colon, Qt::Key_Colon, Sh, ":",
         186},
        {"equals", 21, XK_equal, XK_equal, XK_plus, Qt::Key_Equal, No, "=", 187},
        {"Shift+equals (plus)", 21, XK_plus, XK_equal, XK_plus, Qt::Key_Plus, Sh, "+", 187},
        {"comma", 59, XK_comma, XK_comma, XK_less, Qt::Key_Comma, No, ",", 188},
        {"minus", 20, XK_minus, XK_minus, XK_underscore, Qt::Key_Minus, No, "-", 189},
        {"period", 60, XK_period, XK_period, XK_greater, Qt::Key_Period, No, ".", 190},
        {"slash", 61, XK_slash, XK_slash, XK_question, Qt::Key_Slash, No, "/", 191},
        {"grave", 49, XK_grave, XK_grave, XK_asciitilde, Qt::Key_QuoteLeft, No, "`", 192},
        {"left bracket", 34, XK_bracketleft, XK_bracketleft, XK_braceleft, Qt::Key_BracketLeft, No,
         "[", 219},
        {"backslash", 51, XK_backslash, XK_backslash, XK_bar, Qt::Key_Backslash, No, "\\", 220},
        {"right bracket", 35, XK_bracketright, XK_bracketright, XK_braceright, Qt::Key_BracketRight,
         No, "]", 221},
        {"apostrophe", 48, XK_apostrophe, XK_apostrophe, XK_quotedbl, Qt::Key_Apostrophe, No, "'",
         222},
        {"ISO key left of Z", 94, XK_less, XK_less, XK_greater, Qt::Key_Less, No, "<", 226},
    });
}

TEST(KeyMapping, JisLayoutMainBlock) {
    RunRows({
        {"semicolon key is OEM_PLUS (Shift gives +)", 47, XK_semicolon, XK_semicolon, XK_plus,
         Qt::Key_Semicolon, No, ";", 187},
        {"Shift+semicolon key (plus)", 47, XK_plus, XK_semicolon, XK_plus, Qt::Key_Plus, Sh, "+",
         187},
        {"colon key is OEM_1", 48, XK_colon, XK_colon, XK_asterisk, Qt::Key_Colon, No, ":", 186},
        {"Shift+colon key (asterisk)", 48, XK_asterisk, XK_colon, XK_asterisk, Qt::Key_Asterisk, Sh,
         "*", 186},
        {"at key is OEM_3", 34, XK_at, XK_at, XK_grave, Qt::Key_At, No, "@", 192},
        {"left bracket key", 35, XK_bracketleft, XK_bracketleft, XK_braceleft, Qt::Key_BracketLeft,
         No, "[", 219},
        {"right bracket key", 51, XK_bracketright, XK_bracketright, XK_braceright,
         Qt::Key_BracketRight, No, "]", 221},
        {"caret key is OEM_7", 21, XK_asciicircum, XK_asciicircum, XK_asciitilde,
         Qt::Key_AsciiCircum, No, "^", 222},
        {"yen key (backslash) is OEM_5", 132, XK_backslash, XK_backslash, XK_bar, Qt::Key_Backslash,
         No, "\\", 220},
        {"yen key as yen (OADG 109A)", 132, XK_yen, XK_yen, XK_bar, Qt::Key_yen, No, "\u00a5", 220},
        {"ro key (backslash) is OEM_102", 97, XK_backslash, XK_backslash, XK_underscore,
         Qt::Key_Backslash, No, "\\", 226},
        {"Shift+ro key (underscore)", 97, XK_underscore, XK_backslash, XK_underscore,
         Qt::Key_Underscore, Sh, "_", 226},
        {"minus key", 20, XK_minus, XK_minus, XK_equal, Qt::Key_Minus, No, "-", 189},
        {"Shift+minus key (equals)", 20, XK_equal, XK_minus, XK_equal, Qt::Key_Equal, Sh, "=", 189},
        {"Shift+2 (double quote)", 11, XK_quotedbl, XK_2, XK_quotedbl, Qt::Key_QuoteDbl, Sh, "\"",
         50},
        {"Shift+7 (apostrophe)", 16, XK_apostrophe, XK_7, XK_apostrophe, Qt::Key_Apostrophe, Sh,
         "'", 55},
        {"comma", 59, XK_comma, XK_comma, XK_less, Qt::Key_Comma, No, ",", 188},
        {"period", 60, XK_period, XK_period, XK_greater, Qt::Key_Period, No, ".", 190},
        {"slash", 61, XK_slash, XK_slash, XK_question, Qt::Key_Slash, No, "/", 191},
        {"Zenkaku/Hankaku", 49, XK_Zenkaku_Hankaku, XK_Zenkaku_Hankaku, XK_Kanji,
         Qt::Key_Zenkaku_Hankaku, No, "", 243},
        {"Henkan", 100, XK_Henkan_Mode, XK_Henkan_Mode, 0, Qt::Key_Henkan, No, "", 28},
        {"Muhenkan", 102, XK_Muhenkan, XK_Muhenkan, 0, Qt::Key_Muhenkan, No, "", 29},
        {"Hiragana/Katakana", 101, XK_Hiragana_Katakana, XK_Hiragana_Katakana, 0,
         Qt::Key_Hiragana_Katakana, No, "", 242},
        {"Eisu", 66, XK_Eisu_toggle, XK_Eisu_toggle, XK_Caps_Lock, Qt::Key_Eisu_toggle, No, "",
         240},
    });
}

TEST(KeyMapping, KeysWithoutText) {
    RunRows({
        {"F1", 67, XK_F1, XK_F1, XK_F1, Qt::Key_F1, No, "", 112},
        {"Shift+F12", 96, XK_F12, XK_F12, XK_F12, Qt::Key_F12, Sh, "", 123},
        {"Alt+F4", 70, XK_F4, XK_F4, XK_F4, Qt::Key_F4, Qt::AltModifier, "", 115},
        {"Escape", 9, XK_Escape, XK_Escape, 0, Qt::Key_Escape, No, "\x1b", 27},
        {"Tab", 23, XK_Tab, XK_Tab, XK_ISO_Left_Tab, Qt::Key_Tab, No, "\t", 9},
        {"Shift+Tab", 23, XK_ISO_Left_Tab, XK_Tab, XK_ISO_Left_Tab, Qt::Key_Backtab, Sh, "", 9},
        {"Space", 65, XK_space, XK_space, 0, Qt::Key_Space, No, " ", 32},
        {"Backspace", 22, XK_BackSpace, XK_BackSpace, XK_BackSpace, Qt::Key_Backspace, No, "\b", 8},
        {"Enter", 36, XK_Return, XK_Return, 0, Qt::Key_Return, No, "\r", 13},
        {"Delete", 119, XK_Delete, XK_Delete, 0, Qt::Key_Delete, No, "\x7f", 46},
        {"Insert", 118, XK_Insert, XK_Insert, 0, Qt::Key_Insert, No, "", 45},
        {"Home", 110, XK_Home, XK_Home, 0, Qt::Key_Home, No, "", 36},
        {"End", 115, XK_End, XK_End, 0, Qt::Key_End, No, "", 35},
        {"Page Up", 112, XK_Prior, XK_Prior, 0, Qt::Key_PageUp, No, "", 33},
        {"Page Down", 117, XK_Next, XK_Next, 0, Qt::Key_PageDown, No, "", 34},
        {"Left", 113, XK_Left, XK_Left, 0, Qt::Key_Left, No, "", 37},
        {"Up", 111, XK_Up, XK_Up, 0, Qt::Key_Up, No, "", 38},
        {"Right", 114, XK_Right, XK_Right, 0, Qt::Key_Right, No, "", 39},
        {"Down", 116, XK_Down, XK_Down, 0, Qt::Key_Down, No, "", 40},
        {"Shift", 50, XK_Shift_L, XK_Shift_L, 0, Qt::Key_Shift, Sh, "", 16},
        {"Control", 37, XK_Control_L, XK_Control_L, 0, Qt::Key_Control, Qt::ControlModifier, "",
         17},
        {"Alt", 64, XK_Alt_L, XK_Alt_L, XK_Meta_L, Qt::Key_Alt, Qt::AltModifier, "", 18},
        {"Pause", 127, XK_Pause, XK_Pause, XK_Break, Qt::Key_Pause, No, "", 19},
    });
}

TEST(KeyMapping, OtherLayoutsFallBackOnThePosition) {
    RunRows({
        {"Russian letter on the A key", 38, XK_Cyrillic_ef, XK_Cyrillic_ef, XK_Cyrillic_EF,
         Qt::Key_unknown, No, "ф", 65},
        {"French number row: & key is 1", 10, XK_ampersand, XK_ampersand, XK_1, Qt::Key_Ampersand,
         No, "&", 49},
        {"German u-umlaut key by its US place", 34, XK_udiaeresis, XK_udiaeresis, XK_Udiaeresis,
         Qt::Key_Udiaeresis, No, "ü", 219},
        {"German plus key", 35, XK_plus, XK_plus, XK_asterisk, Qt::Key_Plus, No, "+", 187},
        {"unknown key gives nothing", 0, 0, 0, 0, Qt::Key_unknown, No, "", 0},
    });
}

namespace {

// A synthetic event (tests, input methods): no keycode, no keysyms, only Qt's key and text.
struct QtRow {
    const char* name;
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char* text;
    int us, jis;
};

} // namespace

TEST(KeyMapping, QtKeysAloneAreReadThroughTheLayout) {
    const QtRow rows[] = {
        {"keypad 5", Qt::Key_5, Kp, "5", 101, 101},
        {"keypad Enter", Qt::Key_Enter, Kp, "\r", 13, 13},
        {"keypad plus", Qt::Key_Plus, Kp, "+", 107, 107},
        {"keypad Home (NumLock off)", Qt::Key_Home, Kp, "", 36, 36},
        {"main 5", Qt::Key_5, No, "5", 53, 53},
        {"Shift+1", Qt::Key_Exclam, Sh, "!", 49, 49},
        {"at sign", Qt::Key_At, Sh, "@", 50, 192},
        {"semicolon", Qt::Key_Semicolon, No, ";", 186, 187},
        {"colon", Qt::Key_Colon, Sh, ":", 186, 186},
        {"plus", Qt::Key_Plus, Sh, "+", 187, 187},
        {"caret", Qt::Key_AsciiCircum, Sh, "^", 54, 222},
        {"equals", Qt::Key_Equal, No, "=", 187, 189},
        {"apostrophe", Qt::Key_Apostrophe, No, "'", 222, 55},
        {"underscore", Qt::Key_Underscore, Sh, "_", 189, 226},
        {"backslash", Qt::Key_Backslash, No, "\\", 220, 220},
        {"m", Qt::Key_M, No, "m", 77, 77},
        {"Shift+M", Qt::Key_M, Sh, "M", 77, 77},
        {"Ctrl+C (control character text)", Qt::Key_C, Qt::ControlModifier, "\x03", 67, 67},
        {"slash", Qt::Key_Slash, No, "/", 191, 191},
        {"minus", Qt::Key_Minus, No, "-", 189, 189},
        {"period", Qt::Key_Period, No, ".", 190, 190},
        {"comma", Qt::Key_Comma, No, ",", 188, 188},
        {"F1", Qt::Key_F1, No, "", 112, 112},
        {"Escape", Qt::Key_Escape, No, "\x1b", 27, 27},
        {"Space", Qt::Key_Space, No, " ", 32, 32},
        {"Return", Qt::Key_Return, No, "\r", 13, 13},
    };
    for (const QtRow& r : rows) {
        SCOPED_TRACE(r.name);
        KeyFacts f;
        f.qtKey = r.qtKey;
        f.modifiers = r.mods;
        f.text = QString::fromUtf8(r.text);
        EXPECT_EQ(VirtualKeyFromFacts(CompleteFromKeymap(f, BuiltinKeymap(KeyLayout::Us))), r.us)
            << "US";
        EXPECT_EQ(VirtualKeyFromFacts(CompleteFromKeymap(f, BuiltinKeymap(KeyLayout::Jis))), r.jis)
            << "JIS";
    }
}

TEST(KeyMapping, KeycodeWithoutKeysymsIsReadFromTheFallbackKeymap) {
    // Wayland without XWayland: the keycode arrives, the keymap is the built-in one.
    KeyFacts f;
    f.keycode = 47;
    f.qtKey = Qt::Key_Semicolon;
    f.text = ";";
    EXPECT_EQ(VirtualKeyFromFacts(CompleteFromKeymap(f, BuiltinKeymap(KeyLayout::Us))), 186);
    EXPECT_EQ(VirtualKeyFromFacts(CompleteFromKeymap(f, BuiltinKeymap(KeyLayout::Jis))), 187);
}

class QtKeyEvents : public ::testing::Test {
protected:
    void TearDown() override { SetFallbackLayout(KeyLayout::Us); }
};

TEST_F(QtKeyEvents, SyntheticEventsFollowTheFallbackLayout) {
    ASSERT_FALSE(HasX11Keymap()); // offscreen
    const QKeyEvent semicolon(QEvent::KeyPress, Qt::Key_Semicolon, Qt::NoModifier, ";");
    const QKeyEvent keypad5(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier, "5");
    const QKeyEvent shift1(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, "!");
    SetFallbackLayout(KeyLayout::Us);
    EXPECT_EQ(VirtualKey(semicolon), 186);
    EXPECT_EQ(VirtualKey(keypad5), 101);
    EXPECT_EQ(VirtualKey(shift1), 49);
    SetFallbackLayout(KeyLayout::Jis);
    EXPECT_EQ(VirtualKey(semicolon), 187);
    EXPECT_EQ(VirtualKey(keypad5), 101);
    EXPECT_EQ(VirtualKey(shift1), 49);
}

TEST_F(QtKeyEvents, NativeDataOfTheEventIsUsed) {
    // As xcb delivers Shift+1 and the JIS colon key: keycode and keysym in the event.
    const QKeyEvent shift1(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier, 10, XK_exclam, 0,
                           "!");
    EXPECT_EQ(VirtualKey(shift1), 49);
    SetFallbackLayout(KeyLayout::Jis);
    const QKeyEvent colon(QEvent::KeyPress, Qt::Key_Colon, Qt::NoModifier, 48, XK_colon, 0, ":");
    EXPECT_EQ(VirtualKey(colon), 186);
    const QKeyEvent kpEnd(QEvent::KeyPress, Qt::Key_End, Qt::KeypadModifier, 87, XK_KP_End, 0, "");
    EXPECT_EQ(VirtualKey(kpEnd), 35);
}

TEST(KeyMapping, SystemKeyboardConfigurationNamesTheFallbackLayout) {
    struct Row {
        const char* name;
        const char* config;
        KeyLayout expected;
    } rows[] = {
        {"Japanese", "XKBMODEL=\"jp106\"\nXKBLAYOUT=\"jp\"\nXKBVARIANT=\"\"\n", KeyLayout::Jis},
        {"Japanese first of two", "XKBLAYOUT=\"jp,us\"\n", KeyLayout::Jis},
        {"unquoted", "  XKBLAYOUT=jp\n", KeyLayout::Jis},
        {"US", "XKBLAYOUT=\"us\"\n", KeyLayout::Us},
        {"US first, Japanese second", "XKBLAYOUT=\"us,jp\"\n", KeyLayout::Us},
        {"commented out", "#XKBLAYOUT=\"jp\"\n", KeyLayout::Us},
        {"no layout", "XKBMODEL=\"pc105\"\n", KeyLayout::Us},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(KeyLayoutFromConfig(QString::fromUtf8(r.config)), r.expected);
    }
}
