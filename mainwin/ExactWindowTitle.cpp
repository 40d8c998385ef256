#include "ExactWindowTitle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QWidget>

#include <cstdlib>
#include <cstring>

#if __has_include(<xcb/xcb.h>)
#include <xcb/xcb.h>
#define BANSHO_HAVE_XCB 1
#endif

namespace bansho {

namespace {

#ifdef BANSHO_HAVE_XCB
xcb_connection_t* X11Connection() {
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(r);
    return atom;
}
#endif

void WriteTitle(QWidget* w) {
#ifdef BANSHO_HAVE_XCB
    xcb_connection_t* c = X11Connection();
    if (!c || !w->testAttribute(Qt::WA_WState_Created)) return;
    static const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    const QByteArray title = w->windowTitle().toUtf8();
    const auto win = static_cast<xcb_window_t>(w->winId());
    for (xcb_atom_t property : {netWmName, static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)})
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, property, utf8, 8,
                            static_cast<std::uint32_t>(title.size()), title.constData());
    xcb_flush(c);
#else
    (void)w;
#endif
}

class TitleKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::WinIdChange:
        case QEvent::Show:
        case QEvent::WindowTitleChange:
            WriteTitle(static_cast<QWidget*>(watched));
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void KeepExactWindowTitle(QWidget* window) {
    if (!window) return;
    window->installEventFilter(new TitleKeeper(window));
    WriteTitle(window);
}

} // namespace bansho
