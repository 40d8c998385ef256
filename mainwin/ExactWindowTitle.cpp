#include "ExactWindowTitle.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
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

// Qt writes WM_NAME with the title alone (as compound text, which is what ICCCM asks for)
// and only _NET_WM_NAME with the display name appended; that one is written again.
void WriteTitle(QWidget* w) {
#ifdef BANSHO_HAVE_XCB
    xcb_connection_t* c = X11Connection();
    if (!c || !w->testAttribute(Qt::WA_WState_Created)) return;
    static const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
    static const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    const QByteArray title = w->windowTitle().toUtf8();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(w->winId()), netWmName,
                        utf8, 8, static_cast<std::uint32_t>(title.size()), title.constData());
    xcb_flush(c);
#else
    (void)w;
#endif
}

// Sees the events of every object of the program and acts on those of top-level widgets.
class TitleKeeper : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
        case QEvent::WinIdChange:
        case QEvent::Show:
        case QEvent::WindowTitleChange:
            if (watched->isWidgetType()) {
                auto* w = static_cast<QWidget*>(watched);
                // An untitled window (a menu, a tool tip) keeps the program's name.
                if (w->isWindow() && !w->windowTitle().isEmpty()) WriteTitle(w);
            }
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void KeepExactWindowTitles() {
    static QPointer<TitleKeeper> keeper;
    if (!qApp || keeper) return;
    keeper = new TitleKeeper(qApp);
    qApp->installEventFilter(keeper);
    // Windows that already exist.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->windowTitle().isEmpty()) WriteTitle(w);
}

} // namespace bansho
