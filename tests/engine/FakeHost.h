#pragma once
// A host that records what the engine asks of the main window.
#include "EngineHost.h"

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
    std::string GetClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ShowNotFloatError(const std::string& message) override { errors.push_back(message); }
    void FocusMain() override { ++focusCalls; }
    void WindowCommand(unsigned command) override { windowCommands.push_back(command); }
    void DisplayChanged() override { ++displayChanges; }
};

} // namespace bansho::testing
