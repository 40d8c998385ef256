#include "WindowHelpers.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <cstring>

#if QT_CONFIG(xcb) && defined(BANSHO_HAVE_X11)
#include <X11/Xlib.h>
#define BANSHO_X11_FOCUS 1
#endif

namespace bansho::platform {

bool IsWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool CanSetOpacity() {
    return !IsWayland();
}
bool CanStayOnTop() {
    return !IsWayland();
}

void SetWindowAlpha(QWidget* window, int alpha) {
    if (!window || !CanSetOpacity()) return;
    alpha = alpha < 0 ? 0 : (alpha > 255 ? 255 : alpha);
    window->setWindowOpacity(alpha / 255.0);
}

int WindowAlpha(const QWidget* window) {
    return window ? qRound(window->windowOpacity() * 255.0) : 255;
}

void SetStayOnTop(QWidget* window, bool on) {
    if (!window || !CanStayOnTop()) return;
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window->windowFlags()) return;
    if (QWindow* handle = window->windowHandle()) {
        // QWidget::setWindowFlags would hide the window and show it again, activated; the
        // native window takes the new state in place and keeps the focus where it is.
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

bool IsStayOnTop(const QWidget* window) {
    return window && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void PreferXWayland(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strncmp(argv[i], "-platform=", 10) == 0)
            return;
    }
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    if (qEnvironmentVariableIsEmpty("DISPLAY")) return; // no XWayland: native Wayland it is
    qputenv("QT_QPA_PLATFORM", "xcb");
}

void TakeKeyboard(QWidget* window) {
    if (!window || !window->isVisible()) return;
    window->activateWindow();
#ifdef BANSHO_X11_FOCUS
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (Display* dpy = x11->display()) {
            XSetInputFocus(dpy, static_cast<::Window>(window->winId()), RevertToParent, CurrentTime);
            XFlush(dpy);
        }
    }
#endif
}

} // namespace bansho::platform
