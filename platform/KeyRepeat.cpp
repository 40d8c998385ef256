#include "KeyRepeat.h"

#include "HeldKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

#include <cstdint>

#if QT_CONFIG(xcb) && defined(BANSHO_HAVE_X11)
#define BANSHO_X11_REPEAT 1
#endif

namespace bansho::platform {

namespace {

HeldKeys& Keys() {
    static HeldKeys keys;
    return keys;
}

// Sees each key event once, when the window system hands it to a window and before any
// widget (or the function-key bar's filter) does.
class HeldKeyWatch : public QObject {
public:
    explicit HeldKeyWatch(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType())
            return false;
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (type == QEvent::KeyPress)
            Keys().Press(key->nativeScanCode(), key->timestamp(), key->isAutoRepeat(),
                         reinterpret_cast<std::uintptr_t>(watched));
        else
            Keys().Release(key->nativeScanCode(), key->timestamp(), key->isAutoRepeat());
        return false;
    }
};

#ifdef BANSHO_X11_REPEAT
// Below, after X11's names that clash with Qt's.
void AskForDetectableAutoRepeat();
void ForgetKeysReleasedElsewhere();
#endif

} // namespace

void WatchHeldKeys() {
    static QPointer<HeldKeyWatch> watch;
    if (watch || !qGuiApp) return;
    watch = new HeldKeyWatch(qGuiApp);
    qGuiApp->installEventFilter(watch);
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, watch,
                     [](Qt::ApplicationState state) {
                         if (state != Qt::ApplicationActive) return;
#ifdef BANSHO_X11_REPEAT
                         // The X server knows which keys are down now.
                         ForgetKeysReleasedElsewhere();
#else
                         Keys().Clear();
#endif
                     });
#ifdef BANSHO_X11_REPEAT
    AskForDetectableAutoRepeat();
#endif
}

bool IsKeyRepeat(const QKeyEvent& e) {
    return e.isAutoRepeat() || Keys().WasRepeat(e.nativeScanCode(), e.timestamp());
}

} // namespace bansho::platform

#ifdef BANSHO_X11_REPEAT
#include <X11/XKBlib.h>

namespace bansho::platform {
namespace {

// Qt reads a held key's release and press apart and marks them as a repeat only when the
// press has already arrived; asked for detectable auto-repeat, the X server sends no
// releases while the key is held.
void AskForDetectableAutoRepeat() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(x11->display(), True, &supported);
}

// The program has the keyboard again: a key released while another program had it is up.
void ForgetKeysReleasedElsewhere() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) {
        Keys().Clear();
        return;
    }
    char down[32] = {};
    XQueryKeymap(x11->display(), down);
    Keys().ForgetReleased([&down](unsigned code) {
        return code < 256 && (down[code / 8] >> (code % 8)) & 1;
    });
}

} // namespace
} // namespace bansho::platform
#endif
