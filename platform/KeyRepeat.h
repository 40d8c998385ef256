#pragma once
// Held keys: which key presses only repeat a key that is held down, however the window
// system delivers the repeat.
class QKeyEvent;

namespace bansho::platform {

// Starts watching every key press and release the program's windows receive (the first call;
// later ones do nothing) and asks the X server to send a held key as presses without releases
// (detectable auto-repeat), so that no repeat can pass for a new press. When the program
// has the keyboard again, a key released meanwhile counts as released.
void WatchHeldKeys();

// Whether this key press repeats a key held down: marked as a repeat, or found so by the
// watch (a second press without a release, or a release and press with one timestamp).
bool IsKeyRepeat(const QKeyEvent& e);

} // namespace bansho::platform
