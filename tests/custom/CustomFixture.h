#pragma once
// A real main window with a stand-in history window, and every box, beep and colour dialog
// answered by the test.
#include "Beep.h"
#include "ColorChooser.h"
#include "HistoryLink.h"
#include "MessageBoxes.h"
#include "TCForm.h"
#include "TMForm.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace bansho::testing {

// Records what the dialogs ask of the history window.
class FakeHistory : public HistoryLink {
public:
    QWidget window;
    std::vector<std::pair<ColorValue, ColorValue>> colors; // SetListColors calls
    int activations = 0;
    std::optional<bool> hints;

    QWidget* Window() override { return &window; }
    void ShowHistory() override {}
    void HistoryKey(HistoryAction) override {}
    void SetListColors(ColorValue background, ColorValue text) override {
        colors.emplace_back(background, text);
    }
    void FormActivate() override { ++activations; }
    void SetButtonHints(bool on) override { hints = on; }
};

class CustomFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = std::filesystem::path(dir_.path().toStdString()) / "bansho.ENV";
        platform::SetBeepHook([this] { ++beeps; });
        platform::SetMessageHook([this](const platform::MessageRequest& r) {
            messages.push_back(r);
            if (r.kind != platform::MessageKind::Question) return false;
            if (answers.empty()) return false;
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        });
        SetColorChooser([this](QWidget*, ColorValue initial) {
            presets.push_back(initial);
            return nextColor;
        });
        main = std::make_unique<TMForm>(env_);
        main->SetHistoryWindow(&history);
    }

    void TearDown() override {
        main.reset();
        SetColorChooser({});
        platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
        platform::SetBeepHook([] {});
    }

    // The dialog as command 151 creates it; destroying it runs its closing step.
    std::unique_ptr<TCForm> Open() { return std::make_unique<TCForm>(*main); }

    std::vector<QString> Questions() const {
        std::vector<QString> q;
        for (const auto& m : messages)
            if (m.kind == platform::MessageKind::Question) q.push_back(m.text);
        return q;
    }

    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> main;
    FakeHistory history;
    int beeps = 0;
    std::vector<platform::MessageRequest> messages;
    std::deque<bool> answers; // Yes/No for the questions, in order; No when exhausted
    std::optional<ColorValue> nextColor;
    std::vector<ColorValue> presets;
};

} // namespace bansho::testing
