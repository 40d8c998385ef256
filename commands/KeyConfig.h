#pragma once
// The key configuration: which keyboard key performs which command, the three sets of
// twelve function keys, and the NUM-key mode that turns letter keys into a keypad.
// Plain data; the windows own one instance and hand it to the functions below.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Options.h"
#include "VirtualKeys.h"

namespace bansho {

inline constexpr int kKeyCodeCount = 256;
inline constexpr int kFuncSetCount = 3;
inline constexpr int kNumKeyPositions = 17;

// Filler of an unused function key.
inline constexpr std::string_view kEmptyFuncCaption = "****";
inline constexpr std::string_view kEmptyFuncCommand = "255";

// NUM-key mode: position p of UserKEY/UserTCH is turned into position p of these rows.
// The key-code row reads "0123456789nlkmjo=" as key codes: the digits, then the keypad
// point, separator, plus, minus, multiply, divide, and code 61 (which the table maps to "=").
inline constexpr std::string_view kNumKeyVKRow = "0123456789nlkmjo=";
inline constexpr std::string_view kNumKeyRow = "0123456789.,+-*/=";
// Factory NUM keys: M J K L U I O 7 8 9, period, comma, semicolon, 0, P, minus, slash, as
// the Japanese keyboard gives their codes (semicolon is OemPlus there).
inline constexpr char kFactoryUserKEYBytes[kNumKeyPositions] = {
    'M',
    'J',
    'K',
    'L',
    'U',
    'I',
    'O',
    '7',
    '8',
    '9',
    char(vk::OemPeriod),
    char(vk::OemComma),
    char(vk::OemPlus),
    '0',
    'P',
    char(vk::OemMinus),
    char(vk::Oem2),
};
inline constexpr std::string_view kFactoryUserKEY{kFactoryUserKEYBytes, kNumKeyPositions};
inline constexpr std::string_view kFactoryUserTCH = "mjkluio789.,;0p-/";

// Factory function-key sets A, B, C: captions and command numbers as comma text.
extern const std::array<std::string_view, kFuncSetCount> kFactoryFuncDispStr;
const std::array<std::string, kFuncSetCount>& FactoryFuncCommand();

struct KeyConfig {
    // Command of each key code; 255 does nothing.
    std::array<std::int32_t, kKeyCodeCount> KeyTable{};
    // Set i: FuncDispStr[i] holds the twelve captions and FuncCommand[i] the twelve
    // command numbers, each as comma text; item k belongs to function key k+1.
    std::array<std::string, kFuncSetCount> FuncDispStr;
    std::array<std::string, kFuncSetCount> FuncCommand;
};

// Names of the keys that may be reassigned and that the settings file stores, indexed by
// key code; empty for keys that keep their factory entry for ever. 78 are named.
const std::array<std::string, kKeyCodeCount>& KeyNames();

// The factory state: the key table, the function-key sets, NUM-key mode off and the
// factory NUM-key strings. FuncSet and KeyCUST are left alone.
void InitKeyTBL(KeyConfig& keys, TOption& option, TCalcStatus& status);

// Brings each caption list to at least twelve items ("****") and each command list to at
// least twelve ("255"), after dropping trailing commas.
void NormalizeFuncSets(KeyConfig& keys);

// NUM-key translation of a key code: the first position of UserKEY that holds the code
// gives the keypad key of that position; codes not found come back unchanged. Positions
// after the seventeenth have no keypad key and are not translated.
int TranslateNumKey(int code, const TOption& option);

// NUM-key translation of a typed character, letters compared without regard to case:
// the first position of UserTCH holding the character gives the keypad character.
// Positions are counted in characters.
char32_t TranslateNumChar(char32_t ch, const TOption& option);

// Command 50: the next function-key set, A after C. The caller then shows the set.
void CycleFuncSet(TCalcStatus& status);

// Command 51: NUM-key mode on or off. The caller then refreshes the NUM mark.
void ToggleNumKey(TCalcStatus& status);

// One function key as the bar shows it.
struct FunctionKeyEntry {
    std::string Caption;
    int Command = 255; // 255 for an item that is not a command number 0..255
    std::string Hint;  // the command's description; empty for an unknown number
};

// The keys of function-key set `set` (0..2): as many as both lists have items, at most 12.
std::vector<FunctionKeyEntry> FuncSetKeys(const KeyConfig& keys, int set);

} // namespace bansho
