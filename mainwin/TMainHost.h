#pragma once
// The one adapter between the engine and the windows: beeps, the system clipboard, the error
// box, the history mirror, the focus and the window commands.
#include "EngineHost.h"

namespace bansho {

class TMForm;

class TMainHost final : public EngineHost {
public:
    explicit TMainHost(TMForm& form) : form_(form) {}

    void Beep() override;
    std::string GetClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void ShowNotFloatError(const std::string& message) override;

    void RowAppended(std::size_t index) override;
    void RowReplaced(std::size_t index) override;
    void RowInserted(std::size_t index) override;
    void RowRemoved(std::size_t index) override;
    void RowsSwapped(std::size_t i, std::size_t j) override;
    void HistoryCleared() override;
    void LampOff() override;
    void LampOn() override;

    void FocusMain() override;
    void WindowCommand(unsigned command) override;
    void DisplayChanged() override;

private:
    TMForm& form_;
};

} // namespace bansho
