// Keys held down on a real X server: the X server's own auto-repeat reaches the program, once
// as detectable auto-repeat (presses without releases, what the program asks for) and once as
// release and press pairs (what a client that did not ask gets, and which Qt marks as repeats
// only when it happens to see the press already queued). Only a digit repeats; every other key
// acts once however long it is held.
#include "CalcEngine.h"
#include "THForm.h"
#include "TMForm.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace bansho;

namespace {

constexpr int kGenerous = 60000; // ms; only a broken program waits this long

// Counts the key events the X server delivers to the program's windows, before the program
// decides anything about them.
class DeliveredKeys : public QObject {
public:
    DeliveredKeys() { qApp->installEventFilter(this); }
    ~DeliveredKeys() override { qApp->removeEventFilter(this); }
    int presses = 0;       // of the key being watched
    int markerReleases = 0; // of the key that ends a step

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (!watched->isWindowType()) return false;
        const auto* k = static_cast<const QKeyEvent*>(e);
        if (e->type() == QEvent::KeyPress && k->key() == watchedKey) ++presses;
        if (e->type() == QEvent::KeyRelease && k->key() == Qt::Key_Shift) ++markerReleases;
        return false;
    }

public:
    int watchedKey = 0;
};

void Xdotool(const QStringList& args) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0) << args.join(' ').toStdString();
}

// On the program's own connection to the X server (below: X11's names clash with Qt's).
bool ProgramAskedForDetectableRepeat();
void SetDetectableRepeat(bool on);

struct Outcome {
    DisplayModel display;
    std::size_t rows = 0;
    int funcSet = 0;
};

struct Row {
    const char* name;
    QStringList before; // tapped first
    QString held;       // xdotool's name of the key held
    int qtKey;          // the Qt key it arrives as
    QStringList after;  // tapped afterwards
    bool repeats;       // a digit: holding it types it again and again
};

class HeldKeysOnX11 : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_NE(qGuiApp->nativeInterface<QNativeInterface::QX11Application>(), nullptr);
    }

    // Opens fresh windows with the keyboard, types the row's keys (the one of them tapped or
    // held until the X server has repeated it several times) and reads what came of it.
    Outcome Run(const Row& r, bool hold) {
        Outcome out;
        const std::filesystem::path env =
            std::filesystem::path(dir_.path().toStdString()) / ("run" + std::to_string(++runs_));
        TMForm main(env / "bansho.ENV");
        THForm hist(main);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        main.activateWindow();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == main.windowHandle(); }, kGenerous));
        // The program asks the X server for detectable auto-repeat; the other way in which a
        // held key arrives is what a client gets that does not ask.
        EXPECT_TRUE(ProgramAskedForDetectableRepeat());
        if (!GetParam()) SetDetectableRepeat(false);

        DeliveredKeys seen;
        for (const QString& k : r.before) Xdotool({"key", k});
        seen.watchedKey = r.qtKey;
        if (hold) {
            Xdotool({"keydown", r.held});
            // Held until the X server's auto-repeat has sent the key a few more times.
            EXPECT_TRUE(QTest::qWaitFor([&] { return seen.presses >= 5; }, kGenerous))
                << "the X server did not repeat the held key";
            Xdotool({"keyup", r.held});
        } else {
            Xdotool({"key", r.held});
        }
        for (const QString& k : r.after) Xdotool({"key", k});
        // A tap of Shift, which does nothing, ends the step: once its release has arrived, so
        // has every key event before it.
        Xdotool({"key", "Shift_L"});
        EXPECT_TRUE(QTest::qWaitFor([&] { return seen.markerReleases >= 1; }, kGenerous));
        out.display = main.Engine().Display();
        out.rows = main.Engine().HistoryCount();
        out.funcSet = main.Status().FuncSet;
        if (!GetParam()) SetDetectableRepeat(true);
        return out;
    }

    QTemporaryDir dir_;
    int runs_ = 0;
};

TEST_P(HeldKeysOnX11, OnlyDigitsRepeatWhileHeld) {
    const Row rows[] = {
        {"000 on F9", {"5"}, "F9", Qt::Key_F9, {}, false},
        {"000 on the main block", {"5"}, "comma", Qt::Key_Comma, {}, false},
        {"+/- on F10", {"5"}, "F10", Qt::Key_F10, {}, false},
        {"keypad +", {"2"}, "KP_Add", Qt::Key_Plus, {"3", "KP_Enter"}, false},
        {"the next function-key set on F1", {}, "F1", Qt::Key_F1, {}, false},
        {"a digit", {"1"}, "7", Qt::Key_7, {}, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Outcome tapped = Run(r, false);
        const Outcome held = Run(r, true);
        if (r.repeats) {
            EXPECT_GT(held.display.Caption.size(), tapped.display.Caption.size())
                << held.display.Caption << " / " << tapped.display.Caption;
        } else {
            EXPECT_EQ(held.display.Caption, tapped.display.Caption);
            EXPECT_TRUE(held.display == tapped.display) << "marks or panels differ";
            EXPECT_EQ(held.rows, tapped.rows) << "receipt rows";
            EXPECT_EQ(held.funcSet, tapped.funcSet);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AsTheXServerSendsThem, HeldKeysOnX11, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& p) {
                             return std::string(p.param ? "DetectableAutoRepeat"
                                                        : "ReleaseAndPressPairs");
                         });

} // namespace

#include <X11/XKBlib.h>

namespace {

Display* ProgramDisplay() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
}

bool ProgramAskedForDetectableRepeat() {
    Bool supported = False;
    return XkbGetDetectableAutoRepeat(ProgramDisplay(), &supported);
}

void SetDetectableRepeat(bool on) {
    Bool supported = False;
    XkbSetDetectableAutoRepeat(ProgramDisplay(), on ? True : False, &supported);
    XSync(ProgramDisplay(), False);
}

} // namespace
