#pragma once
// The key codes of the program: the Windows virtual-key numbering, 0..255. The key table,
// the key names of the settings file and the NUM-key strings are indexed by these codes, and
// the window side translates every key event into one of them. Digit and letter keys have
// the codes of their characters ('0'..'9', 'A'..'Z'): Key0 + d and KeyA + n.
namespace bansho::vk {

inline constexpr int Cancel = 3;
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Clear = 12;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18; // Alt
inline constexpr int Pause = 19;
inline constexpr int Capital = 20;
inline constexpr int Kana = 21;
inline constexpr int Kanji = 25; // Alt + Zenkaku/Hankaku: the IME switch
inline constexpr int Escape = 27;
inline constexpr int Convert = 28;
inline constexpr int NonConvert = 29;
inline constexpr int Space = 32;
inline constexpr int Prior = 33; // Page Up
inline constexpr int Next = 34;  // Page Down
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Select = 41;
inline constexpr int Execute = 43;
inline constexpr int Snapshot = 44;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Help = 47;
inline constexpr int Key0 = 48;
inline constexpr int KeyA = 65;
inline constexpr int LWin = 91;
inline constexpr int RWin = 92;
inline constexpr int Apps = 93;
inline constexpr int Numpad0 = 96;
inline constexpr int Multiply = 106;
inline constexpr int Add = 107;
inline constexpr int Separator = 108;
inline constexpr int Subtract = 109;
inline constexpr int Decimal = 110;
inline constexpr int Divide = 111;
inline constexpr int F1 = 112;
inline constexpr int F4 = 115;
inline constexpr int F12 = 123;
inline constexpr int F24 = 135;
inline constexpr int NumLock = 144;
inline constexpr int Scroll = 145;
inline constexpr int OemNecEqual = 146; // keypad "="
inline constexpr int LShift = 160;      // 160..165: left and right Shift, Control, Alt
inline constexpr int RMenu = 165;
inline constexpr int Oem1 = 186; // ";:" (US), ":*" (JIS)
inline constexpr int OemPlus = 187;
inline constexpr int OemComma = 188;
inline constexpr int OemMinus = 189;
inline constexpr int OemPeriod = 190;
inline constexpr int Oem2 = 191; // "/?"
inline constexpr int Oem3 = 192; // "`~" (US), "@`" (JIS)
inline constexpr int Oem4 = 219; // "["
inline constexpr int Oem5 = 220; // backslash (US), yen (JIS)
inline constexpr int Oem6 = 221; // "]"
inline constexpr int Oem7 = 222; // "'" (US), "^" (JIS)
inline constexpr int Oem102 = 226;
inline constexpr int DbeAlphanumeric = 240;
inline constexpr int DbeKatakana = 241;
inline constexpr int DbeHiragana = 242;
inline constexpr int DbeSbcsChar = 243;
inline constexpr int DbeDbcsChar = 244;
inline constexpr int DbeRoman = 245;

// What a character no key produces gives (and "no code" in a byte string).
inline constexpr int NoKey = 0xFF;

} // namespace bansho::vk
