#pragma once
// A host that records what the engine asks of the windows, and mirrors the history rows the
// way the history window does, so tests can check that the mirror stays equal to the lists.
#include "CalcEngine.h"
#include "EngineHost.h"

#include <string>
#include <vector>

class FakeHost : public EngineHost {
public:
    const CalcEngine* engine = nullptr; // for the mirror
    std::string clipboard;
    int beeps = 0;
    int focusCalls = 0;
    int displayChanges = 0;
    bool lampOn = false;
    std::vector<std::string> errors;
    std::vector<unsigned> windowCommands;
    std::vector<std::string> mirror; // rows as a list box would hold them
    int selected = -1;

    void Beep() override { ++beeps; }
    std::string GetClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ShowNotFloatError(const std::string& message) override { errors.push_back(message); }
    void RowAppended(std::size_t index) override {
        mirror.insert(mirror.begin() + static_cast<std::ptrdiff_t>(index), Row(index));
        selected = static_cast<int>(index);
    }
    void RowReplaced(std::size_t index) override { mirror.at(index) = Row(index); }
    void RowInserted(std::size_t index) override {
        mirror.insert(mirror.begin() + static_cast<std::ptrdiff_t>(index), Row(index));
    }
    void RowRemoved(std::size_t index) override {
        mirror.erase(mirror.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void RowsSwapped(std::size_t i, std::size_t j) override {
        std::swap(mirror.at(i), mirror.at(j));
    }
    void HistoryCleared() override {
        mirror.clear();
        selected = -1;
    }
    void LampOff() override { lampOn = false; }
    void LampOn() override { lampOn = true; }
    void FocusMain() override { ++focusCalls; }
    void WindowCommand(unsigned command) override { windowCommands.push_back(command); }
    void DisplayChanged() override { ++displayChanges; }

private:
    std::string Row(std::size_t index) const {
        return engine ? engine->HistRows().at(index) : std::string();
    }
};
