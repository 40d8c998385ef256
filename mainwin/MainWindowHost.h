#pragma once
// The one adapter between the engine and the windows: beeps, the system clipboard, the error
// box, the focus, the window commands and the display. The receipt goes straight to the
// history window (ReceiptObserver).
#include "EngineHost.h"

namespace bansho {

class TMForm;

class MainWindowHost final : public EngineHost {
public:
    explicit MainWindowHost(TMForm& form) : form_(form) {}

    void Beep() override;
    void CheckBeep() override;
    std::string GetClipboardText(std::size_t maxBytes) override;
    void SetClipboardText(const std::string& text) override;
    void ShowNotFloatError(const std::string& message) override;

    void FocusMain() override;
    void WindowCommand(unsigned command) override;
    void DisplayChanged() override;

private:
    TMForm& form_;
};

} // namespace bansho
