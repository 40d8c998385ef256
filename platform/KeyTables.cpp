// The tables of the key translation: keysyms and Qt keys to virtual-key codes, and the
// built-in keymaps of the US and JIS layouts.
#include "KeyTables.h"

#include <X11/keysym.h>

namespace bansho::platform {

namespace keytables {

// Keypad keysyms; with NumLock off the keypad delivers the navigation symbols.
int KeypadCode(std::uint32_t sym, std::uint32_t keycode) {
    if (sym >= XK_KP_0 && sym <= XK_KP_9) return vk::Numpad0 + int(sym - XK_KP_0);
    switch (sym) {
    case XK_KP_Multiply:
        return vk::Multiply;
    case XK_KP_Add:
        return vk::Add;
    // Layouts with a decimal comma put KP_Separator on the decimal-point key.
    case XK_KP_Separator:
        return keycode == kKeycodeKpdl ? vk::Decimal : vk::Separator;
    case XK_KP_Subtract:
        return vk::Subtract;
    case XK_KP_Decimal:
        return vk::Decimal;
    case XK_KP_Divide:
        return vk::Divide;
    case XK_KP_Enter:
        return vk::Return;
    case XK_KP_Equal:
        return vk::OemNecEqual;
    case XK_KP_Home:
        return vk::Home;
    case XK_KP_Left:
        return vk::Left;
    case XK_KP_Up:
        return vk::Up;
    case XK_KP_Right:
        return vk::Right;
    case XK_KP_Down:
        return vk::Down;
    case XK_KP_Prior:
        return vk::Prior;
    case XK_KP_Next:
        return vk::Next;
    case XK_KP_End:
        return vk::End;
    case XK_KP_Begin:
        return vk::Clear;
    case XK_KP_Insert:
        return vk::Insert;
    case XK_KP_Delete:
        return vk::Delete;
    case XK_KP_Space:
        return vk::Space;
    case XK_KP_Tab:
        return vk::Tab;
    default:
        return -1;
    }
}

// Keys that type no character (and Space, which is the same key everywhere).
int SpecialCode(std::uint32_t sym) {
    if (sym >= XK_F1 && sym <= XK_F24) return vk::F1 + int(sym - XK_F1);
    switch (sym) {
    case XK_BackSpace:
        return vk::Back;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return vk::Tab;
    case XK_Clear:
    case XK_Begin:
        return vk::Clear;
    case XK_Return:
        return vk::Return;
    case XK_Pause:
        return vk::Pause;
    case XK_Break:
        return vk::Cancel;
    case XK_Scroll_Lock:
        return vk::Scroll;
    case XK_Sys_Req:
    case XK_Print:
        return vk::Snapshot;
    case XK_Escape:
        return vk::Escape;
    case XK_Delete:
        return vk::Delete;
    case XK_Home:
        return vk::Home;
    case XK_Left:
        return vk::Left;
    case XK_Up:
        return vk::Up;
    case XK_Right:
        return vk::Right;
    case XK_Down:
        return vk::Down;
    case XK_Prior:
        return vk::Prior;
    case XK_Next:
        return vk::Next;
    case XK_End:
        return vk::End;
    case XK_Select:
        return vk::Select;
    case XK_Execute:
        return vk::Execute;
    case XK_Insert:
        return vk::Insert;
    case XK_Menu:
        return vk::Apps;
    case XK_Help:
        return vk::Help;
    case XK_Num_Lock:
        return vk::NumLock;
    case XK_Shift_L:
    case XK_Shift_R:
        return vk::Shift;
    case XK_Control_L:
    case XK_Control_R:
        return vk::Control;
    case XK_Caps_Lock:
    case XK_Shift_Lock:
        return vk::Capital;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
    case XK_ISO_Level3_Shift:
        return vk::Menu;
    case XK_Super_L:
        return vk::LWin;
    case XK_Super_R:
        return vk::RWin;
    case XK_space:
        return vk::Space;
    // The Japanese keys, as the 106/109 keyboard driver of Windows names them.
    case XK_Henkan_Mode:
        return vk::Convert;
    case XK_Muhenkan:
        return vk::NonConvert;
    case XK_Kanji:
        return vk::Kanji;
    case XK_Zenkaku_Hankaku:
    case XK_Hankaku:
        return vk::DbeSbcsChar;
    case XK_Zenkaku:
        return vk::DbeDbcsChar;
    case XK_Hiragana_Katakana:
    case XK_Hiragana:
        return vk::DbeHiragana;
    case XK_Katakana:
        return vk::DbeKatakana;
    case XK_Eisu_toggle:
    case XK_Eisu_Shift:
        return vk::DbeAlphanumeric;
    case XK_Romaji:
        return vk::DbeRoman;
    case XK_Kana_Lock:
    case XK_Kana_Shift:
        return vk::Kana;
    default:
        return -1;
    }
}

// Where a key lies on the US keyboard: the code Windows gives a key whose symbols say
// nothing (non-Latin layouts, keys without symbols).
int UsPositionCode(std::uint32_t keycode) {
    static constexpr const char kRowAd[] = "QWERTYUIOP";
    static constexpr const char kRowAc[] = "ASDFGHJKL";
    static constexpr const char kRowAb[] = "ZXCVBNM";
    if (keycode >= 10 && keycode <= 18) return vk::Key0 + int(keycode - 9); // 1..9
    if (keycode >= 24 && keycode <= 33) return kRowAd[keycode - 24];
    if (keycode >= 38 && keycode <= 46) return kRowAc[keycode - 38];
    if (keycode >= 52 && keycode <= 58) return kRowAb[keycode - 52];
    switch (keycode) {
    case 19:
        return vk::Key0;
    case 20:
        return vk::OemMinus;
    case 21:
        return vk::OemPlus;
    case 34:
        return vk::Oem4;
    case 35:
        return vk::Oem6;
    case 47:
        return vk::Oem1;
    case 48:
        return vk::Oem7;
    case 49:
        return vk::Oem3;
    case 51:
        return vk::Oem5;
    case 59:
        return vk::OemComma;
    case 60:
        return vk::OemPeriod;
    case 61:
        return vk::Oem2;
    case kKeycodeLsgt:
    case kKeycodeAb11:
        return vk::Oem102;
    case 132:
        return vk::Oem5; // JIS yen key
    default:
        return 0;
    }
}

// Qt's keypad keys (KeypadModifier set) when the platform gave no keysym.
int QtKeypadCode(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return vk::Numpad0 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk:
        return vk::Multiply;
    case Qt::Key_Plus:
        return vk::Add;
    case Qt::Key_Comma:
        return vk::Separator;
    case Qt::Key_Minus:
        return vk::Subtract;
    case Qt::Key_Period:
        return vk::Decimal;
    case Qt::Key_Slash:
        return vk::Divide;
    case Qt::Key_Equal:
        return vk::OemNecEqual;
    default:
        return -1;
    }
}

// Qt's keys that type no character.
int QtSpecialCode(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return vk::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Escape:
        return vk::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return vk::Tab;
    case Qt::Key_Backspace:
        return vk::Back;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return vk::Return;
    case Qt::Key_Insert:
        return vk::Insert;
    case Qt::Key_Delete:
        return vk::Delete;
    case Qt::Key_Pause:
        return vk::Pause;
    case Qt::Key_Print:
    case Qt::Key_SysReq:
        return vk::Snapshot;
    case Qt::Key_Clear:
        return vk::Clear;
    case Qt::Key_Home:
        return vk::Home;
    case Qt::Key_End:
        return vk::End;
    case Qt::Key_Left:
        return vk::Left;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_Shift:
        return vk::Shift;
    case Qt::Key_Control:
        return vk::Control;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return vk::Menu;
    case Qt::Key_CapsLock:
        return vk::Capital;
    case Qt::Key_NumLock:
        return vk::NumLock;
    case Qt::Key_ScrollLock:
        return vk::Scroll;
    case Qt::Key_Super_L:
        return vk::LWin;
    case Qt::Key_Super_R:
        return vk::RWin;
    case Qt::Key_Menu:
        return vk::Apps;
    case Qt::Key_Help:
        return vk::Help;
    case Qt::Key_Cancel:
        return vk::Cancel;
    case Qt::Key_Space:
        return vk::Space;
    case Qt::Key_Henkan:
        return vk::Convert;
    case Qt::Key_Muhenkan:
        return vk::NonConvert;
    case Qt::Key_Kanji:
        return vk::Kanji;
    case Qt::Key_Zenkaku_Hankaku:
    case Qt::Key_Hankaku:
        return vk::DbeSbcsChar;
    case Qt::Key_Zenkaku:
        return vk::DbeDbcsChar;
    case Qt::Key_Hiragana_Katakana:
    case Qt::Key_Hiragana:
        return vk::DbeHiragana;
    case Qt::Key_Katakana:
        return vk::DbeKatakana;
    case Qt::Key_Eisu_toggle:
    case Qt::Key_Eisu_Shift:
        return vk::DbeAlphanumeric;
    case Qt::Key_Romaji:
        return vk::DbeRoman;
    case Qt::Key_Kana_Lock:
    case Qt::Key_Kana_Shift:
        return vk::Kana;
    default:
        return -1;
    }
}

} // namespace keytables

namespace {

using namespace keytables;

Keymap MakeUsKeymap() {
    Keymap m;
    auto set = [&](std::uint32_t kc, std::uint32_t base, std::uint32_t shifted = 0) {
        m.keys[kc] = {base, shifted};
    };
    set(9, XK_Escape);
    const char* digits = "1234567890";
    const char* shiftedDigits = "!@#$%^&*()";
    for (int i = 0; i < 10; ++i)
        set(10 + i, std::uint32_t(digits[i]), std::uint32_t(shiftedDigits[i]));
    set(20, XK_minus, XK_underscore);
    set(21, XK_equal, XK_plus);
    set(22, XK_BackSpace, XK_BackSpace);
    set(23, XK_Tab, XK_ISO_Left_Tab);
    auto letters = [&](std::uint32_t first, const char* row) {
        for (int i = 0; row[i]; ++i)
            set(first + i, std::uint32_t(row[i] | 0x20), std::uint32_t(row[i]));
    };
    letters(24, "QWERTYUIOP");
    letters(38, "ASDFGHJKL");
    letters(52, "ZXCVBNM");
    set(34, XK_bracketleft, XK_braceleft);
    set(35, XK_bracketright, XK_braceright);
    set(36, XK_Return);
    set(37, XK_Control_L);
    set(47, XK_semicolon, XK_colon);
    set(48, XK_apostrophe, XK_quotedbl);
    set(49, XK_grave, XK_asciitilde);
    set(50, XK_Shift_L);
    set(51, XK_backslash, XK_bar);
    set(59, XK_comma, XK_less);
    set(60, XK_period, XK_greater);
    set(61, XK_slash, XK_question);
    set(62, XK_Shift_R);
    set(63, XK_KP_Multiply, XK_KP_Multiply);
    set(64, XK_Alt_L, XK_Meta_L);
    set(65, XK_space);
    set(66, XK_Caps_Lock);
    for (std::uint32_t i = 0; i < 10; ++i)
        set(67 + i, XK_F1 + i, XK_F1 + i);
    set(77, XK_Num_Lock);
    set(78, XK_Scroll_Lock);
    set(79, XK_KP_Home, XK_KP_7);
    set(80, XK_KP_Up, XK_KP_8);
    set(81, XK_KP_Prior, XK_KP_9);
    set(82, XK_KP_Subtract, XK_KP_Subtract);
    set(83, XK_KP_Left, XK_KP_4);
    set(84, XK_KP_Begin, XK_KP_5);
    set(85, XK_KP_Right, XK_KP_6);
    set(86, XK_KP_Add, XK_KP_Add);
    set(87, XK_KP_End, XK_KP_1);
    set(88, XK_KP_Down, XK_KP_2);
    set(89, XK_KP_Next, XK_KP_3);
    set(90, XK_KP_Insert, XK_KP_0);
    set(91, XK_KP_Delete, XK_KP_Decimal);
    set(92, XK_ISO_Level3_Shift);
    set(kKeycodeLsgt, XK_less, XK_greater);
    set(95, XK_F11, XK_F11);
    set(96, XK_F12, XK_F12);
    set(100, XK_Henkan_Mode);
    set(101, XK_Hiragana_Katakana);
    set(102, XK_Muhenkan);
    set(104, XK_KP_Enter);
    set(105, XK_Control_R);
    set(106, XK_KP_Divide, XK_KP_Divide);
    set(107, XK_Print, XK_Sys_Req);
    set(108, XK_Alt_R, XK_Meta_R);
    set(110, XK_Home);
    set(111, XK_Up);
    set(112, XK_Prior);
    set(113, XK_Left);
    set(114, XK_Right);
    set(115, XK_End);
    set(116, XK_Down);
    set(117, XK_Next);
    set(118, XK_Insert);
    set(119, XK_Delete);
    set(125, XK_KP_Equal);
    set(127, XK_Pause, XK_Break);
    set(133, XK_Super_L);
    set(134, XK_Super_R);
    set(135, XK_Menu);
    return m;
}

Keymap MakeJisKeymap() {
    // The 106/109 keyboard: the main block differs, the rest is as on the US layout.
    Keymap m = MakeUsKeymap();
    auto set = [&](std::uint32_t kc, std::uint32_t base, std::uint32_t shifted = 0) {
        m.keys[kc] = {base, shifted};
    };
    const char* shiftedDigits = "!\"#$%&'()";
    for (int i = 0; i < 9; ++i)
        set(10 + i, std::uint32_t('1' + i), std::uint32_t(shiftedDigits[i]));
    set(19, XK_0, XK_asciitilde);
    set(20, XK_minus, XK_equal);
    set(21, XK_asciicircum, XK_asciitilde);
    set(132, XK_backslash, XK_bar);
    set(34, XK_at, XK_grave);
    set(35, XK_bracketleft, XK_braceleft);
    set(66, XK_Eisu_toggle, XK_Caps_Lock);
    set(47, XK_semicolon, XK_plus);
    set(48, XK_colon, XK_asterisk);
    set(51, XK_bracketright, XK_braceright);
    set(49, XK_Zenkaku_Hankaku, XK_Kanji);
    set(kKeycodeAb11, XK_backslash, XK_underscore);
    set(100, XK_Henkan_Mode, XK_Mode_switch);
    set(101, XK_Hiragana_Katakana, XK_Romaji);
    return m;
}

} // namespace

const Keymap& BuiltinKeymap(KeyLayout layout) {
    static const Keymap us = MakeUsKeymap();
    static const Keymap jis = MakeJisKeymap();
    return layout == KeyLayout::Jis ? jis : us;
}

} // namespace bansho::platform
