#pragma once
// A host that records what the engine asks of the main window.
#include "EngineHost.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace bansho::testing {

class FakeHost : public EngineHost {
public:
    std::string clipboard;
    int beeps = 0;
    int checkBeeps = 0; // the re-key check's sound for a difference
    int focusCalls = 0;
    int displayChanges = 0;
    std::vector<std::string> errors;
    std::vector<unsigned> windowCommands;

    void Beep() override { ++beeps; }
    void CheckBeep() override { ++checkBeeps; }
    std::size_t clipboardAsked = 0; // the most bytes of the clipboard a paste asked for
    std::string GetClipboardText(std::size_t maxBytes) override {
        clipboardAsked = std::max(clipboardAsked, maxBytes);
        return clipboard.substr(0, maxBytes);
    }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ShowNotFloatError(const std::string& message) override { errors.push_back(message); }
    void FocusMain() override { ++focusCalls; }
    void WindowCommand(unsigned command) override { windowCommands.push_back(command); }
    void DisplayChanged() override { ++displayChanges; }
};

} // namespace bansho::testing
