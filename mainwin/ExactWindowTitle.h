#pragma once
// Qt appends the application's display name to every window title it hands to the window
// system (" バンショ  ver 3.22 —  バンショ v3.22"). The program's windows carry their own
// titles exactly, so on X11 the title properties are written again as the window has it.
class QWidget;

namespace bansho {

// Keeps the window system's title of `window` equal to its windowTitle() from now on
// (when the native window is created, shown, or its title changes). Elsewhere nothing.
void KeepExactWindowTitle(QWidget* window);

} // namespace bansho
