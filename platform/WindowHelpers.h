#pragma once
// Window opacity and stay-on-top, which only X11 (or XWayland) gives. Where the platform
// cannot have them the helpers do nothing and say nothing.
class QWidget;

namespace bansho::platform {

// True when the program runs as a native Wayland client.
bool IsWayland();
// Whether the window system honours opacity / a stay-on-top request.
bool CanSetOpacity();
bool CanStayOnTop();

// Constant opacity of a top-level window, 0 (invisible) .. 255 (opaque); clamped.
void SetWindowAlpha(QWidget* window, int alpha);
// Opacity as 0..255, read back from the window.
int WindowAlpha(const QWidget* window);

// Always-on-top on or off for a top-level window, without activating or hiding it.
void SetStayOnTop(QWidget* window, bool on);
// Gives `window` (shown) the keyboard now. Qt asks the X server with the time of the last
// event the program saw; a program that has seen nothing for a while is then older than the
// last change of the focus, and the server ignores it. This asks with the server's own time.
void TakeKeyboard(QWidget* window);
bool IsStayOnTop(const QWidget* window);

// Before QApplication exists: on a Wayland session with XWayland present, run through
// XWayland (positions, opacity and stay-on-top need it) unless the user chose a platform
// (-platform argument or QT_QPA_PLATFORM).
void PreferXWayland(int argc, char** argv);

} // namespace bansho::platform
