#pragma once
// A host that ignores everything the engine tells it: for benchmarks and for tests that care
// about one or two calls only (derive and override those).
#include "EngineHost.h"

#include <cstddef>
#include <string>

class NullEngineHost : public EngineHost {
public:
    void Beep() override {}
    std::string GetClipboardText() override { return {}; }
    void SetClipboardText(const std::string&) override {}
    void ShowNotFloatError(const std::string&) override {}
    void RowAppended(std::size_t) override {}
    void RowReplaced(std::size_t) override {}
    void RowInserted(std::size_t) override {}
    void RowRemoved(std::size_t) override {}
    void RowsSwapped(std::size_t, std::size_t) override {}
    void HistoryCleared() override {}
    void LampOff() override {}
    void LampOn() override {}
    void FocusMain() override {}
    void WindowCommand(unsigned) override {}
    void DisplayChanged() override {}
};
