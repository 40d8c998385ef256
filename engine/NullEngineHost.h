#pragma once
// A host that ignores everything the engine tells it: for benchmarks and for tests that care
// about one or two calls only (derive and override those).
#include "EngineHost.h"

#include <string>

namespace bansho {

class NullEngineHost : public EngineHost {
public:
    void Beep() override {}
    std::string GetClipboardText(std::size_t) override { return {}; }
    void SetClipboardText(const std::string&) override {}
    void ShowNotFloatError(const std::string&) override {}
    void FocusMain() override {}
    void WindowCommand(unsigned) override {}
    void DisplayChanged() override {}
};

} // namespace bansho
