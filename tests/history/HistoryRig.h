#pragma once
// The real main window with the real history window, offscreen, for the window tests.
#include "Beep.h"
#include "CalcEngine.h"
#include "MessageBoxes.h"
#include "ReceiptListModel.h"
#include "ReceiptListView.h"
#include "TEForm.h"
#include "THForm.h"
#include "TMForm.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bansho::testing {

// The text with every blank taken out, as a printed page's text comes out.
inline QString NoBlanks(QString s) {
    return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

// Waits (handling events) until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& cond, int ms = 2000) {
    return QTest::qWaitFor(cond, ms);
}

class HistoryRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = std::filesystem::path(dir_.path().toStdString()) / "bansho.ENV";
        beeps_ = 0;
        platform::SetBeepHook([this] { ++beeps_; });
        messages_.clear();
        platform::SetMessageHook([this](const platform::MessageRequest& r) {
            messages_.push_back(r);
            return false;
        });
    }
    void TearDown() override {
        hist_.reset();
        if (form_) form_->hide();
        form_.reset();
        platform::SetBeepHook([] {});
        platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
    }

    // Main window, then the history window, as the program starts them. `setup` runs on the
    // main window's options before the history window is created.
    THForm& Start(const std::function<void(TMForm&)>& setup = {}) {
        form_ = std::make_unique<TMForm>(env_);
        if (setup) setup(*form_);
        form_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
        hist_ = std::make_unique<THForm>(*form_);
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        return *hist_;
    }

    CalcEngine& Engine() { return form_->Engine(); }
    TOption& Option() { return form_->Option(); }
    WindowOptions& WinOptions() { return form_->WinOptions(); }

    // Types a sequence on the calculator: digits, '.', + - * / and '='.
    void Type(const std::string& keys) {
        for (char c : keys) {
            int cmd = 255;
            if (c >= '0' && c <= '9') cmd = c - '0';
            switch (c) {
            case '.':
                cmd = 16;
                break;
            case '+':
                cmd = 17;
                break;
            case '-':
                cmd = 18;
                break;
            case '*':
                cmd = 19;
                break;
            case '/':
                cmd = 20;
                break;
            case '=':
                cmd = 21;
                break;
            default:
                break;
            }
            form_->ExecCommand(cmd);
        }
    }

    // A key pressed in the history window's list (where the keyboard is when it is active).
    void HistKey(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(hist_->HistWin, key, mods);
    }

    void ActivateHistory() {
        hist_->ShowHistory();
        hist_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(hist_.get()));
    }

    std::vector<std::string> Numbers() {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Engine().HistoryCount(); ++i)
            out.push_back(Engine().HistNumber(i));
        return out;
    }
    std::vector<std::string> Opes() {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < Engine().HistoryCount(); ++i)
            out.emplace_back(1, Engine().HistOpe(i));
        return out;
    }
    QString Shown() const { return form_->DNumber->text(); }

    // Runs `inDialog` on the entry edit dialog once it is open, then closes it with the close
    // box unless `inDialog` closed it. Returns whether a dialog was seen.
    std::shared_ptr<bool> OnDialog(std::function<void(TEForm&)> inDialog) {
        auto seen = std::make_shared<bool>(false);
        QTimer::singleShot(0, qApp, [seen, inDialog] {
            auto* d = dynamic_cast<TEForm*>(QApplication::activeModalWidget());
            if (!d) return;
            *seen = true;
            if (inDialog) inDialog(*d);
            if (d->isVisible()) d->reject();
        });
        return seen;
    }

    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> form_;
    std::unique_ptr<THForm> hist_;
    int beeps_ = 0;
    std::vector<platform::MessageRequest> messages_;
};

} // namespace bansho::testing
