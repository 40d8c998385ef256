// Times, dates and the re-key check typed into the real main window with key events: digits
// and operators on the keypad, the new commands on keys assigned in the settings file and from
// the 補助 menu.
#include "Beep.h"
#include "MessageBoxes.h"
#include "StatusBarPanels.h"
#include "TMForm.h"

#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace bansho;

namespace {

class TimeDaysWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = std::filesystem::path(dir_.path().toStdString()) / "bansho.ENV";
        platform::SetBeepHook([this] { ++beeps_; });
        platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
        // ';' the time key, '[' the date key, ']' both ends, '\'' the re-key check (the key
        // names are Shift_JIS: "CKEY-：" and "CKEY-＾").
        std::ofstream f(env_, std::ios::binary);
        f << "[COMMAND]\r\nCKEY-\x81\x46=60\r\nCKEY-[=61\r\nCKEY-]=62\r\nCKEY-\x81\x4f=63\r\n";
    }
    void TearDown() override {
        form_.reset();
        platform::SetBeepHook([] {});
    }

    TMForm& Start() {
        form_ = std::make_unique<TMForm>(env_);
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        return *form_;
    }

    // Digits and + - * / = on the keypad; ':' the time key, 'd' the date key, 'b' both ends,
    // 'k' the re-key check.
    void Type(const std::string& keys) {
        for (const char c : keys) {
            Qt::Key key = Qt::Key_unknown;
            Qt::KeyboardModifiers mods = Qt::KeypadModifier;
            if (c >= '0' && c <= '9') key = static_cast<Qt::Key>(Qt::Key_0 + (c - '0'));
            else if (c == '+') key = Qt::Key_Plus;
            else if (c == '-') key = Qt::Key_Minus;
            else if (c == '*') key = Qt::Key_Asterisk;
            else if (c == '/') key = Qt::Key_Slash;
            else if (c == '=') key = Qt::Key_Enter;
            else if (c == '.') key = Qt::Key_Period;
            else {
                mods = Qt::NoModifier;
                if (c == ':') key = Qt::Key_Semicolon;
                else if (c == 'd') key = Qt::Key_BracketLeft;
                else if (c == 'b') key = Qt::Key_BracketRight;
                else if (c == 'k') key = Qt::Key_Apostrophe;
            }
            ASSERT_NE(key, Qt::Key_unknown) << c;
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form_.get(),
                            key, mods);
        }
    }
    QString Shown() const { return form_->DNumber->text(); }
    QString Label() const { return form_->NumMark->text(); }

    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> form_;
    int beeps_ = 0;
};

TEST_F(TimeDaysWindow, ExamplesThroughTheKeys) {
    const struct {
        const char* keys;
        const char* shown;
        const char* label;
        int beeps;
    } rows[] = {
        {"1:23:45:", "1:23:45", "", 0},
        {"1:23", "1:23", "", 0},           // the minutes as typed
        {"7:30*800=", "6,000.", "", 0},    // hours times a wage is an amount
        {"1:30+2:45=", "4:15:00", "", 0},
        {"0:99+", "1:39:00", "", 0},       // 99 minutes carry
        {"8:45=:", "8.75", "", 0},         // a result in decimal hours
        {"8:45=::", "8:45:00", "", 0},     // and back
        {"20261120d-20260427d=", "207.", "", 0},
        {"b20261120d-20260427d=", "208.", "", 0}, // both ends counted
        {"20261207d+30=", "2027-01-06", "", 0},
        {"20260230d", "20,260,230.", "日付×", 1}, // refused, never a wrong date
        {"5+3=k5+3=", "8.", "検算OK", 0},
        // The check's own sound (a test's beep hook hears it as one beep).
        {"5+3=k5+4=", "4.", "検算×", 1},
        {"5+3=k5+4=k", "3.", "前", 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.keys);
        form_.reset();
        beeps_ = 0;
        Start();
        Type(r.keys);
        EXPECT_EQ(Shown(), QString::fromUtf8(r.shown));
        EXPECT_EQ(Label(), QString::fromUtf8(r.label));
        EXPECT_EQ(beeps_, r.beeps);
    }
}

TEST_F(TimeDaysWindow, BothEndsMarkAndTheMenuItems) {
    TMForm& f = Start();
    QMenu* m = f.CommandMenu(204);
    ASSERT_NE(m, nullptr);
    const auto actions = m->actions();
    ASSERT_GE(actions.size(), 4);
    // 時間, 日付, 両端入れ, 検算 are the last four items of the 補助 menu.
    Type("7");
    actions[actions.size() - 4]->trigger();
    Type("30=");
    EXPECT_EQ(Shown(), QStringLiteral("7:30:00"));
    actions[actions.size() - 2]->trigger();
    EXPECT_EQ(f.SBar->SelectorPanel()->text(), QStringLiteral("両端"));
    Type("20261207");
    actions[actions.size() - 3]->trigger();
    EXPECT_EQ(Shown(), QStringLiteral("2026-12-07"));
    actions[actions.size() - 2]->trigger();
    EXPECT_EQ(f.SBar->SelectorPanel()->text(), QString());
}

} // namespace
