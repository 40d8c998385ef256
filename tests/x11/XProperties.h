#pragma once
// Reads window properties the way a window manager does: over a connection of its own to the
// X server, after the program's own connection has been flushed and answered.
#include <QString>
#include <QStringList>

class QWidget;
typedef struct _XDisplay Display;

namespace bansho::testing {

class XProperties {
public:
    XProperties(); // connects to $DISPLAY
    ~XProperties();
    XProperties(const XProperties&) = delete;
    XProperties& operator=(const XProperties&) = delete;

    bool Ok() const { return dpy_ != nullptr; }
    // WM_NAME, decoded from whatever encoding it was written in (STRING, COMPOUND_TEXT,
    // UTF8_STRING); "<none>" when the window has none.
    QString WmName(const QWidget* window);
    // _NET_WM_NAME (UTF-8); "<none>" when the window has none.
    QString NetWmName(const QWidget* window);
    // The atom names of an atom-list property (_NET_WM_STATE).
    QStringList Atoms(const QWidget* window, const char* property);

private:
    Display* dpy_ = nullptr;
};

// Waits until the X server has carried out everything the program has asked of it so far.
void SyncProgramConnection();

} // namespace bansho::testing
