#pragma once
// The engine's way out to the main window: the main window implements it, tests fake it.
// The receipt has its own seam, ReceiptObserver.
#include <cstddef>
#include <string>

namespace bansho {

class EngineHost {
public:
    virtual ~EngineHost() = default;

    // The system's default alert sound.
    virtual void Beep() = 0;
    // The re-key check found an entry that differs: a sound unlike the refusal beep.
    virtual void CheckBeep() { Beep(); }
    // Plain-text clipboard, UTF-8. Reading gives at most the first `maxBytes` bytes of the
    // text (the rest is never fetched), and nothing when there is no text or its owner does
    // not answer within a moment.
    virtual std::string GetClipboardText(std::size_t maxBytes) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // Error box (stop icon, OK, titled with the program title). `message` is complete:
    // "'<text>' は浮動小数点数ではありません。".
    virtual void ShowNotFloatError(const std::string& message) = 0;

    // Give the input focus back to the main window (after every command).
    virtual void FocusMain() = 0;

    // Commands that belong to the window layer (kWindowCommands in Commands.h). The engine
    // refreshes its marks after ToggleNumKey, ToggleStatusBar and Customize.
    virtual void WindowCommand(unsigned command) = 0;

    // The display model (CalcEngine::Display()) has changed. It comes once, at the end of the
    // command (or other engine call) that changed it, and not at all when the call left the
    // model as it was.
    virtual void DisplayChanged() = 0;
};

} // namespace bansho
