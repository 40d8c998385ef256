#pragma once
// The system's default alert sound. Refused input must be heard, and the X bell alone is
// silent on most desktops, so the desktop's "bell" sound is played through the freedesktop
// sound theme, with the X bell where that cannot play. Never blocks.
#include <functional>

namespace bansho::platform {

void Beep();

// The re-key check's sound for an entry that differs: unlike the refusal beep (the desktop's
// "dialog-warning" sound, or the X bell twice where that cannot play). A beep hook set for
// tests hears it as one beep.
void MismatchBeep();

// Replaces what Beep() does (tests count beeps here and never play them). An empty
// function restores the sound. Returns the previous hook.
using BeepHook = std::function<void()>;
BeepHook SetBeepHook(BeepHook hook);

} // namespace bansho::platform
