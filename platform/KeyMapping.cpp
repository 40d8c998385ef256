// The pure part of the key translation: X key facts -> Windows virtual-key code and
// character -> key. The tables it reads are in KeyTables.cpp.
#include "KeyMapping.h"

#include "KeyTables.h"

#include <QList>

#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <initializer_list>

namespace bansho::platform {

using namespace keytables;

namespace {

bool IsKeypadSym(std::uint32_t sym) {
    return sym >= XK_KP_Space && sym <= XK_KP_Equal;
}

// The character a keysym types (0 for none).
char32_t SymChar(std::uint32_t sym) {
    return sym ? xkb_keysym_to_utf32(sym) : 0;
}

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
bool IsAsciiLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

// A key that types characters: its code from the symbols of its two lowest levels.
int CharacterKeyCode(std::uint32_t keycode, std::uint32_t base, std::uint32_t shifted) {
    const char32_t c0 = SymChar(base), c1 = SymChar(shifted);
    if (c0 == U' ') return vk::Space;
    // Digit and letter keys keep their code whatever the shift state types.
    if (IsDigit(c0)) return vk::Key0 + int(c0 - U'0');
    if (IsAsciiLetter(c0)) return int(c0 & ~char32_t(0x20));
    if (IsDigit(c1)) return vk::Key0 + int(c1 - U'0'); // e.g. the French number row
    // Four codes follow their character on every layout, on either level: the JIS ';'
    // key is OEM_PLUS because Shift gives '+'.
    for (char32_t c : {c0, c1}) {
        if (c == U'+') return vk::OemPlus;
    }
    for (char32_t c : {c0, c1}) {
        if (c == U',') return vk::OemComma;
        if (c == U'-') return vk::OemMinus;
        if (c == U'.') return vk::OemPeriod;
    }
    // The two extra keys of ISO and JIS keyboards.
    if (keycode == kKeycodeLsgt || keycode == kKeycodeAb11) return vk::Oem102;
    switch (c0) {
    case U';':
    case U':':
        return vk::Oem1;
    case U'/':
        return vk::Oem2;
    case U'`':
    case U'@':
        return vk::Oem3;
    case U'[':
        return vk::Oem4;
    case U'\\':
    case U'\u00A5':
        return vk::Oem5; // backslash, or yen on the JIS yen key
    case U']':
        return vk::Oem6;
    case U'\'':
    case U'^':
        return vk::Oem7;
    case U'=':
        return vk::OemPlus;
    default:
        break;
    }
    return UsPositionCode(keycode);
}

// The character a Qt key event typed, when it typed one.
char32_t EventChar(const KeyFacts& facts) {
    if (facts.text.size() >= 1) {
        const char32_t c = facts.text.toUcs4().value(0);
        if (c >= 0x20 && c != 0x7F) return c;
    }
    if (facts.qtKey >= 0x20 && facts.qtKey <= 0xFF) return char32_t(facts.qtKey);
    return 0;
}

// Keys searched for a character: the ISO/JIS extra keys only when no other key types it,
// as Windows lists them after the main block.
struct Match {
    std::uint32_t keycode = 0;
    bool shift = false;
};

Match FindCharKey(char32_t ch, const Keymap& keymap) {
    auto pass = [&](bool extraKeys, bool shifted) -> Match {
        Match first, nonDigit;
        for (std::uint32_t kc = kKeycodeFirst; kc <= kKeycodeLast; ++kc) {
            if ((kc == kKeycodeLsgt || kc == kKeycodeAb11) != extraKeys) continue;
            const KeySyms& s = keymap.keys[kc];
            if (IsKeypadSym(s.base) || IsKeypadSym(s.shifted)) continue;
            if (SymChar(shifted ? s.shifted : s.base) != ch) continue;
            if (!first.keycode) first = {kc, shifted};
            // A character on a digit key's shifted level and also on another key (the JIS
            // '~'): Windows has it on the other key only.
            if (!IsDigit(SymChar(s.base))) {
                nonDigit = {kc, shifted};
                break;
            }
        }
        return nonDigit.keycode ? nonDigit : first;
    };
    for (bool extra : {false, true}) {
        for (bool shifted : {false, true}) {
            if (Match m = pass(extra, shifted); m.keycode) return m;
        }
    }
    return {};
}

} // namespace

int VirtualKeyFromFacts(const KeyFacts& facts) {
    // What the key produced decides for the keypad (NumLock) and the keys without text.
    if (facts.sym) {
        if (int code = KeypadCode(facts.sym, facts.keycode); code >= 0) return code;
        if (int code = SpecialCode(facts.sym); code >= 0) return code;
    } else if (facts.qtKey) {
        if (facts.modifiers.testFlag(Qt::KeypadModifier)) {
            if (int code = QtKeypadCode(facts.qtKey); code >= 0) return code;
        }
        if (int code = QtSpecialCode(facts.qtKey); code >= 0) return code;
    }
    if (facts.baseSym) {
        // A keypad key whose produced symbol is unknown: take the digit level.
        if (IsKeypadSym(facts.baseSym)) {
            const int code =
                KeypadCode(facts.shiftSym ? facts.shiftSym : facts.baseSym, facts.keycode);
            if (code >= 0) return code;
        }
        if (int code = SpecialCode(facts.baseSym); code >= 0) return code;
        return CharacterKeyCode(facts.keycode, facts.baseSym, facts.shiftSym);
    }
    if (facts.sym) return CharacterKeyCode(facts.keycode, facts.sym, 0);
    return UsPositionCode(facts.keycode);
}

KeyFacts CompleteFromKeymap(KeyFacts facts, const Keymap& keymap) {
    if (facts.baseSym) return facts;
    if (facts.keycode >= kKeycodeFirst && facts.keycode <= kKeycodeLast) {
        const KeySyms& s = keymap.keys[facts.keycode];
        if (s.base) {
            facts.baseSym = s.base;
            facts.shiftSym = s.shifted;
        }
        return facts;
    }
    if (facts.keycode || facts.modifiers.testFlag(Qt::KeypadModifier)) return facts;
    if (QtSpecialCode(facts.qtKey) >= 0) return facts;
    const char32_t ch = EventChar(facts);
    if (!ch) return facts;
    if (const Match m = FindCharKey(ch, keymap); m.keycode) {
        facts.keycode = m.keycode;
        facts.baseSym = keymap.keys[m.keycode].base;
        facts.shiftSym = keymap.keys[m.keycode].shifted;
    }
    return facts;
}

KeyScan ScanChar(char32_t ch, const Keymap& keymap) {
    switch (ch) {
    case U'\b':
        return {vk::Back, false};
    case U'\t':
        return {vk::Tab, false};
    case U'\r':
    case U'\n':
        return {vk::Return, false};
    case 0x1B:
        return {vk::Escape, false};
    case U' ':
        return {vk::Space, false};
    default:
        break;
    }
    if (ch < 0x20 || ch == 0x7F) return {};
    const Match m = FindCharKey(ch, keymap);
    if (!m.keycode) return {};
    const KeySyms& s = keymap.keys[m.keycode];
    KeyFacts facts;
    facts.keycode = m.keycode;
    facts.sym = m.shift ? s.shifted : s.base;
    facts.baseSym = s.base;
    facts.shiftSym = s.shifted;
    const int code = VirtualKeyFromFacts(facts);
    if (code <= 0 || code >= vk::NoKey) return {};
    return {code, m.shift};
}

} // namespace bansho::platform
