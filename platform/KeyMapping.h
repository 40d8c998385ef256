#pragma once
// Key events as Windows virtual-key codes. The key table, the key names of the settings
// file and the NUM-key strings are all indexed by the code that Windows reports for a key on
// the active layout, so every key event is translated here before the windows look at it.
//
// The core is pure: VirtualKeyFromFacts() sees a key press as the X server describes it (the
// X keycode, the keysym produced, and the unshifted and shifted keysyms of the physical key
// on the active layout) plus Qt's key, modifiers and text. Where the platform gives no X
// keymap (offscreen, Wayland without XWayland) the missing symbols are completed from a
// built-in US or JIS keymap.
#include <QString>
#include <Qt>

#include <array>
#include <cstdint>

#include "VirtualKeys.h"

class QKeyEvent;

namespace bansho::platform {

// Layouts the program knows without asking the X server.
enum class KeyLayout { Us, Jis };

// The two lowest shift levels of one physical key on a layout (X keysyms, 0 = none).
struct KeySyms {
    std::uint32_t base = 0;    // unshifted
    std::uint32_t shifted = 0; // with Shift
};

// One layout group: the symbols of every X keycode (8..255).
struct Keymap {
    std::array<KeySyms, 256> keys{};
};

// A key press as the platform describes it. Zero fields are unknown.
struct KeyFacts {
    std::uint32_t keycode = 0;  // X keycode (evdev code + 8) = QKeyEvent::nativeScanCode()
    std::uint32_t sym = 0;      // keysym actually produced = QKeyEvent::nativeVirtualKey()
    std::uint32_t baseSym = 0;  // the layout's unshifted keysym of the physical key
    std::uint32_t shiftSym = 0; // the layout's shifted keysym of the physical key
    int qtKey = 0;              // QKeyEvent::key()
    Qt::KeyboardModifiers modifiers = Qt::NoModifier; // incl. Qt::KeypadModifier
    QString text;                                     // QKeyEvent::text()
};

// The Windows virtual-key code for a key press, 0 when the key has none. Pure.
// Keypad keys give 96..111 (with NumLock off the navigation codes), keypad Enter 13,
// digit and letter keys their code whatever Shift says, punctuation the OEM code that
// Windows gives that key on the layout the symbols come from.
int VirtualKeyFromFacts(const KeyFacts& facts);

// Fills baseSym/shiftSym (and keycode, when only the key and text are known) from a keymap.
// Pure; fields already known are kept.
KeyFacts CompleteFromKeymap(KeyFacts facts, const Keymap& keymap);

// The built-in keymaps of the US (pc105) and Japanese (106/109) layouts, as X delivers them.
const Keymap& BuiltinKeymap(KeyLayout layout);

// The layout assumed where the X server cannot be asked. US until set; PlatformStartup()
// sets it from the system's keyboard configuration.
KeyLayout FallbackLayout();
void SetFallbackLayout(KeyLayout layout);
// The system's configured layout (/etc/default/keyboard: "jp" gives Jis), else Us.
KeyLayout SystemKeyLayout();
// The layout named by the first XKBLAYOUT entry of a keyboard configuration text. Pure.
KeyLayout KeyLayoutFromConfig(const QString& config);

// The keymap of the active layout: the X server's current group when the program runs on
// X11, else the built-in keymap of FallbackLayout().
Keymap ActiveKeymap();
// True when ActiveKeymap() reads the X server.
bool HasX11Keymap();

// Facts of a Qt key event, completed from the active keymap.
KeyFacts FactsFromEvent(const QKeyEvent& event);
// The virtual-key code of a Qt key event on the active layout (0 when none).
int VirtualKey(const QKeyEvent& event);
// The printable character a key event typed, 0 when it typed none.
char32_t TypedChar(const QKeyEvent& event);

// Character -> key, like VkKeyScanA: the code of the key that types the character on the
// layout and whether Shift is needed. vk is vk::NoKey when no key types it.
struct KeyScan {
    int vk = vk::NoKey;
    bool shift = false;
};
KeyScan ScanChar(char32_t ch, const Keymap& keymap);
// On the active layout.
KeyScan VkKeyScan(char32_t ch);
// The key-code byte for one character of the NUM-key string (shift dropped, 0xFF for none).
std::uint8_t KeyCodeForChar(char32_t ch);

} // namespace bansho::platform
