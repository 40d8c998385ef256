#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <chrono>
#include <optional>

#if QT_CONFIG(xcb) && defined(BANSHO_HAVE_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#define BANSHO_X11_CLIPBOARD 1
#endif

namespace bansho::platform {

namespace {

std::string Head(const QString& text, std::size_t maxBytes) {
    // A UTF-16 unit is at least one byte of UTF-8: no more units than bytes are converted.
    const auto units = static_cast<qsizetype>(std::min<std::size_t>(maxBytes, 1u << 30));
    QByteArray bytes = QStringView(text).left(units).toUtf8();
    if (static_cast<std::size_t>(bytes.size()) > maxBytes) bytes.truncate(static_cast<qsizetype>(maxBytes));
    return bytes.toStdString();
}

#ifdef BANSHO_X11_CLIPBOARD
using Clock = std::chrono::steady_clock;

// Waits for the event that `wanted` accepts, until the deadline.
template <typename Wanted>
bool WaitForEvent(Display* dpy, Clock::time_point deadline, XEvent& ev, Wanted wanted) {
    for (;;) {
        while (XPending(dpy) > 0) {
            XNextEvent(dpy, &ev);
            if (wanted(ev)) return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{ConnectionNumber(dpy), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

// An owner that answers with the older STRING type sends ISO 8859-1.
std::string Latin1ToUtf8(const std::string& s) {
    std::string out;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (b >> 6)));
            out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return out;
}

// Reads the property's first bytes; deletes nothing.
std::string ReadProperty(Display* dpy, Window w, Atom prop, std::size_t maxBytes, Atom* type) {
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const long longs = static_cast<long>((maxBytes + 3) / 4);
    std::string out;
    if (XGetWindowProperty(dpy, w, prop, 0, longs, False, AnyPropertyType, type, &format, &count,
                           &after, &data) == Success &&
        data) {
        if (format == 8) out.assign(reinterpret_cast<char*>(data), std::min<std::size_t>(count, maxBytes));
        XFree(data);
    }
    return out;
}

// The selection asked for over a connection of its own, so that the wait never holds up the
// program's event loop beyond the deadline. A large text comes in pieces (INCR): only the
// first piece is taken, and the transfer ends with the connection.
std::string X11ClipboardHead(Display* programDisplay, std::size_t maxBytes) {
    Display* dpy = XOpenDisplay(DisplayString(programDisplay));
    if (!dpy) return {};
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    const Atom incr = XInternAtom(dpy, "INCR", False);
    const Atom prop = XInternAtom(dpy, "BANSHO_PASTE", False);
    std::string out;
    if (XGetSelectionOwner(dpy, clipboard) != None) {
        const Window w = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(dpy, w, PropertyChangeMask);
        XConvertSelection(dpy, clipboard, utf8, prop, w, CurrentTime);
        XFlush(dpy);
        const auto deadline = Clock::now() + std::chrono::milliseconds(kClipboardWaitMs);
        XEvent ev{};
        if (WaitForEvent(dpy, deadline, ev,
                         [&](const XEvent& e) {
                             return e.type == SelectionNotify && e.xselection.requestor == w;
                         }) &&
            ev.xselection.property != None) {
            Atom type = None;
            out = ReadProperty(dpy, w, prop, maxBytes, &type);
            if (type == incr) {
                out.clear();
                XDeleteProperty(dpy, w, prop); // asks for the first piece
                XFlush(dpy);
                if (WaitForEvent(dpy, deadline, ev, [&](const XEvent& e) {
                        return e.type == PropertyNotify && e.xproperty.atom == prop &&
                               e.xproperty.state == PropertyNewValue;
                    }))
                    out = ReadProperty(dpy, w, prop, maxBytes, &type);
            }
            if (type == XA_STRING) {
                out = Latin1ToUtf8(out);
                if (out.size() > maxBytes) out.resize(maxBytes);
            } else if (type != utf8 && type != incr) {
                out.clear();
            }
        }
        XDestroyWindow(dpy, w);
    }
    XCloseDisplay(dpy);
    return out;
}
#endif

} // namespace

std::string ClipboardTextHead(std::size_t maxBytes) {
    QClipboard* clip = QGuiApplication::clipboard();
    if (!clip) return {};
#ifdef BANSHO_X11_CLIPBOARD
    if (!clip->ownsClipboard()) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (x11->display()) return X11ClipboardHead(x11->display(), maxBytes);
        }
    }
#endif
    // The program's own copy, and the clipboard of every other platform: already in memory.
    const QMimeData* data = clip->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return {};
    return Head(data->text(), maxBytes);
}

} // namespace bansho::platform
