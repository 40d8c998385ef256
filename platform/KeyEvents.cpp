// The live part of the key translation: the X server's keymap and Qt's key events.
#include "KeyMapping.h"

#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QRegularExpression>

#include <atomic>

#if QT_CONFIG(xcb) && defined(BANSHO_HAVE_X11)
#include <X11/XKBlib.h>
#define BANSHO_X11_KEYMAP 1
#endif

namespace bansho::platform {

namespace {

std::atomic<KeyLayout> g_fallbackLayout{KeyLayout::Us};

#ifdef BANSHO_X11_KEYMAP
Display* X11Display() {
    if (!qGuiApp) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

// The keymap of the group in effect now, read fresh so that a layout switched while the
// program runs is seen at once.
bool ReadX11Keymap(Keymap& out) {
    Display* dpy = X11Display();
    if (!dpy) return false;
    XkbStateRec state{};
    if (XkbGetState(dpy, XkbUseCoreKbd, &state) != Success) return false;
    XkbDescPtr xkb = XkbGetMap(dpy, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (!xkb) return false;
    for (int kc = xkb->min_key_code; kc <= xkb->max_key_code && kc < 256; ++kc) {
        const int groups = XkbKeyNumGroups(xkb, kc);
        if (groups <= 0) continue;
        const int group = state.group < groups ? state.group : state.group % groups;
        const int width = XkbKeyGroupWidth(xkb, kc, group);
        KeySyms& s = out.keys[kc];
        s.base = width > 0 ? std::uint32_t(XkbKeySymEntry(xkb, kc, 0, group)) : 0;
        s.shifted = width > 1 ? std::uint32_t(XkbKeySymEntry(xkb, kc, 1, group)) : 0;
    }
    XkbFreeKeyboard(xkb, 0, True);
    return true;
}
#endif

} // namespace

KeyLayout FallbackLayout() {
    return g_fallbackLayout.load();
}
void SetFallbackLayout(KeyLayout layout) {
    g_fallbackLayout.store(layout);
}

KeyLayout KeyLayoutFromConfig(const QString& config) {
    static const QRegularExpression line(QStringLiteral("^\\s*XKBLAYOUT\\s*=\\s*\"?([^\",\\s]*)"),
                                         QRegularExpression::MultilineOption);
    const auto match = line.match(config);
    return match.hasMatch() && match.captured(1) == QLatin1String("jp") ? KeyLayout::Jis
                                                                        : KeyLayout::Us;
}

KeyLayout SystemKeyLayout() {
    QFile file(QStringLiteral("/etc/default/keyboard"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return KeyLayout::Us;
    return KeyLayoutFromConfig(QString::fromUtf8(file.readAll()));
}

bool HasX11Keymap() {
#ifdef BANSHO_X11_KEYMAP
    return X11Display() != nullptr;
#else
    return false;
#endif
}

Keymap ActiveKeymap() {
#ifdef BANSHO_X11_KEYMAP
    Keymap live;
    if (ReadX11Keymap(live)) return live;
#endif
    return BuiltinKeymap(FallbackLayout());
}

KeyFacts FactsFromEvent(const QKeyEvent& event) {
    KeyFacts facts;
    facts.keycode = event.nativeScanCode();
    facts.sym = event.nativeVirtualKey();
    facts.qtKey = event.key();
    facts.modifiers = event.modifiers();
    facts.text = event.text();
    if (facts.keycode > 255) facts.keycode = 0;
    // Synthetic events (tests, input methods) carry no native data: go by Qt's key.
    if (facts.keycode == 0) facts.sym = 0;
#ifdef BANSHO_X11_KEYMAP
    if (facts.keycode != 0 && X11Display()) {
        Keymap live;
        if (ReadX11Keymap(live)) return CompleteFromKeymap(facts, live);
    }
#endif
    return CompleteFromKeymap(facts, BuiltinKeymap(FallbackLayout()));
}

int VirtualKey(const QKeyEvent& event) {
    return VirtualKeyFromFacts(FactsFromEvent(event));
}

char32_t TypedChar(const QKeyEvent& event) {
    const QList<uint> chars = event.text().toUcs4();
    if (chars.size() != 1 || chars[0] < 0x20 || chars[0] == 0x7F) return 0;
    return static_cast<char32_t>(chars[0]);
}

KeyScan VkKeyScan(char32_t ch) {
    return ScanChar(ch, ActiveKeymap());
}

std::uint8_t KeyCodeForChar(char32_t ch) {
    const KeyScan scan = VkKeyScan(ch);
    return static_cast<std::uint8_t>(scan.vk);
}

} // namespace bansho::platform
