#include "XProperties.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace bansho::testing {

namespace {

const QString kNone = QStringLiteral("<none>");

Window IdOf(const QWidget* w) {
    return static_cast<Window>(w->winId());
}

} // namespace

XProperties::XProperties() : dpy_(XOpenDisplay(nullptr)) {}

XProperties::~XProperties() {
    if (dpy_) XCloseDisplay(dpy_);
}

QString XProperties::WmName(const QWidget* window) {
    if (!dpy_ || !window) return {};
    XTextProperty prop{};
    if (!XGetWMName(dpy_, IdOf(window), &prop) || !prop.value) return kNone;
    char** list = nullptr;
    int count = 0;
    QString text = kNone;
    if (Xutf8TextPropertyToTextList(dpy_, &prop, &list, &count) >= Success && count > 0) {
        text.clear();
        for (int i = 0; i < count; ++i)
            text += QString::fromUtf8(list[i]);
    }
    if (list) XFreeStringList(list);
    XFree(prop.value);
    return text;
}

QString XProperties::NetWmName(const QWidget* window) {
    if (!dpy_ || !window) return {};
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(dpy_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(dpy_, "UTF8_STRING", False);
    if (XGetWindowProperty(dpy_, IdOf(window), name, 0, 4096, False, utf8, &type, &format, &n,
                           &after, &data) != Success ||
        type != utf8 || !data) {
        if (data) XFree(data);
        return kNone;
    }
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(n));
    XFree(data);
    return text;
}

QStringList XProperties::Atoms(const QWidget* window, const char* property) {
    QStringList names;
    if (!dpy_ || !window) return names;
    Atom type = None;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy_, IdOf(window), XInternAtom(dpy_, property, False), 0, 1024, False,
                           XA_ATOM, &type, &format, &n, &after, &data) == Success &&
        data && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data); // Xlib hands them as longs
        for (unsigned long i = 0; i < n; ++i) {
            char* s = XGetAtomName(dpy_, atoms[i]);
            if (s) {
                names << QString::fromLatin1(s);
                XFree(s);
            }
        }
    }
    if (data) XFree(data);
    return names;
}

void SyncProgramConnection() {
    QApplication::processEvents();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return;
    // Qt writes some properties through Xlib and some through xcb, on one connection.
    if (Display* d = x11->display()) XFlush(d);
    xcb_connection_t* c = x11->connection();
    xcb_flush(c);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace bansho::testing
