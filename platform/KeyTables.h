#pragma once
// The tables of the key translation: keysyms and Qt keys to virtual-key codes, and where keys
// lie (KeyTables.cpp also holds the built-in keymaps). KeyMapping.cpp holds the logic that
// reads them. Internal to the platform layer.
#include "KeyMapping.h"

#include <cstdint>

namespace bansho::platform::keytables {

// X keycodes of the physical keys whose code depends on position rather than symbol.
inline constexpr std::uint32_t kKeycodeLsgt = 94; // ISO key left of Z (pc105)
inline constexpr std::uint32_t kKeycodeAb11 = 97; // JIS "ro" key right of slash
inline constexpr std::uint32_t kKeycodeKpdl = 91; // keypad decimal point
inline constexpr std::uint32_t kKeycodeFirst = 8;
inline constexpr std::uint32_t kKeycodeLast = 255;

// Keypad keysyms; with NumLock off the keypad delivers the navigation symbols. -1 when the
// symbol is not a keypad key's.
int KeypadCode(std::uint32_t sym, std::uint32_t keycode);
// Keys that type no character (and Space). -1 for the others.
int SpecialCode(std::uint32_t sym);
// Where a key lies on the US keyboard: the code for a key whose symbols say nothing; 0 when
// the key has none.
int UsPositionCode(std::uint32_t keycode);
// Qt's keypad keys (KeypadModifier set) when the platform gave no keysym; -1 for others.
int QtKeypadCode(int key);
// Qt's keys that type no character; -1 for others.
int QtSpecialCode(int key);

} // namespace bansho::platform::keytables
