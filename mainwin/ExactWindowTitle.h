#pragma once
// Qt appends the application's display name to every window title it hands to the window
// system (" バンショ  ver 3.22 —  バンショ v3.22", "確認 —  バンショ v3.22"). The program's
// windows carry their own titles exactly, so on X11 the title properties of every top-level
// window are written again as the window has it.

namespace bansho {

// From now on, for every top-level window of the program (main window, history window,
// dialogs, message boxes, the colour chooser, and any window added later), keeps the title
// the window manager shows equal to its windowTitle(): when the native window is created,
// shown, or its title changes. Safe to call more than once. Without an X connection it does
// nothing.
void KeepExactWindowTitles();

} // namespace bansho
