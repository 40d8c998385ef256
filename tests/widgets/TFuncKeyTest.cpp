// The function-key bar: layout, lists, clicks and the program-wide F-key hook.
#include "TFuncKey.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

using namespace bansho;

using bansho::FunctionKeyButton;
using bansho::TFuncKey;

namespace {

std::vector<int> Lefts(const TFuncKey& bar) {
    std::vector<int> out;
    for (int i = 0; i < TFuncKey::kKeys; ++i)
        out.push_back(bar.GetKey(i)->x());
    return out;
}

struct LayoutRow {
    const char* name;
    int width, count, mergin;
    std::vector<int> lefts;
    int keyWidth;
};

} // namespace

TEST(TFuncKeyLayout, GroupsAndGapsFollowTheKeyCount) {
    const LayoutRow rows[] = {
        {"777 wide, 12 keys, Mergin 2",
         777,
         12,
         2,
         {0, 64, 128, 192, 260, 324, 388, 452, 521, 585, 649, 713},
         64},
        {"777 wide, 12 keys, Mergin 0",
         777,
         12,
         0,
         {0, 64, 128, 192, 260, 324, 388, 452, 521, 585, 649, 713},
         64},
        {"777 wide, 10 keys, Mergin 2",
         777,
         10,
         2,
         {0, 77, 154, 231, 308, 392, 469, 546, 623, 700, 777, 854},
         77},
        {"777 wide, 8 keys, Mergin 2",
         777,
         8,
         2,
         {0, 96, 192, 288, 393, 489, 585, 681, 777, 873, 969, 1065},
         96},
        {"600 wide, 12 keys, Mergin 15",
         600,
         12,
         15,
         {0, 47, 94, 141, 206, 253, 300, 347, 412, 459, 506, 553},
         47},
    };
    for (const LayoutRow& r : rows) {
        SCOPED_TRACE(r.name);
        TFuncKey bar;
        bar.SetKeyCount(r.count);
        bar.SetMergin(r.mergin);
        bar.resize(r.width, 24);
        EXPECT_EQ(Lefts(bar), r.lefts);
        EXPECT_EQ(bar.GetKey(0)->width(), r.keyWidth);
        const int last = bar.GetKey(r.count - 1)->geometry().right() + 1;
        EXPECT_EQ(last, r.width) << "the last shown key ends at the right edge";
        EXPECT_EQ(bar.GetKey(5)->height(), 24);
        EXPECT_EQ(bar.GetKey(5)->y(), 0);
    }
}

TEST(TFuncKeyLayout, Mergin2With12KeysHasFivePixelsOfRest) {
    // rest = 777 - 4 - 12 * 64 = 5: two pixels into the first gap, three into the second.
    const TFuncKey::Layout l = TFuncKey::ComputeLayout(777, 12, 2);
    EXPECT_EQ(l.left[4] - (l.left[3] + l.width), 2 + 2);
    EXPECT_EQ(l.left[8] - (l.left[7] + l.width), 2 + 3);
}

TEST(TFuncKeyLayout, InvalidCountsAndMerginsAreIgnored) {
    TFuncKey bar;
    bar.resize(777, 24);
    const std::vector<int> before = Lefts(bar);
    bar.SetKeyCount(9);
    EXPECT_EQ(bar.KeyCount(), 12);
    bar.SetMergin(16);
    EXPECT_EQ(bar.Mergin(), 2);
    bar.SetMergin(-1);
    EXPECT_EQ(bar.Mergin(), 2);
    EXPECT_EQ(Lefts(bar), before);
    bar.SetMergin(15);
    EXPECT_EQ(bar.Mergin(), 15);
    bar.SetMergin(0);
    EXPECT_EQ(bar.Mergin(), 0);
}

TEST(TFuncKeyLayout, ResizeLaysOutAgain) {
    TFuncKey bar;
    bar.resize(400, 24);
    bar.resize(777, 30);
    EXPECT_EQ(bar.GetKey(11)->x(), 713);
    EXPECT_EQ(bar.GetKey(11)->height(), 30);
}

TEST(TFuncKey, StartsWithF1ToF12AndTheirKeyCodes) {
    TFuncKey bar;
    EXPECT_EQ(bar.height(), 24);
    EXPECT_EQ(bar.Mergin(), 2);
    EXPECT_EQ(bar.KeyCount(), 12);
    EXPECT_TRUE(bar.KeyHook());
    EXPECT_TRUE(bar.FlatClick());
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(bar.GetKey(i)->Caption(), QStringLiteral("F%1").arg(i + 1));
        EXPECT_EQ(bar.GetKey(i)->Tag(), 112 + i);
        EXPECT_TRUE(bar.GetKey(i)->Hint().isEmpty());
    }
    EXPECT_EQ(bar.GetKey(-1), nullptr);
    EXPECT_EQ(bar.GetKey(12), nullptr);
}

TEST(TFuncKey, ListsApplyToTheFirstTwelveKeysOnly) {
    TFuncKey bar;
    QStringList caps;
    for (int i = 0; i < 14; ++i)
        caps << QStringLiteral("K%1").arg(i);
    bar.SetCapList(caps);
    EXPECT_EQ(bar.GetKey(11)->Caption(), QStringLiteral("K11"));
    EXPECT_EQ(bar.CapList().size(), 14);

    bar.SetCapList({QStringLiteral("Ａ↓"), QStringLiteral("ＡＣ")});
    EXPECT_EQ(bar.GetKey(0)->Caption(), QStringLiteral("Ａ↓"));
    EXPECT_EQ(bar.GetKey(1)->Caption(), QStringLiteral("ＡＣ"));
    EXPECT_EQ(bar.GetKey(2)->Caption(), QStringLiteral("K2"))
        << "keys past a short list keep theirs";

    bar.SetTagList({QStringLiteral("50"), QStringLiteral("x"), QStringLiteral(" 25")});
    EXPECT_EQ(bar.GetKey(0)->Tag(), 50);
    EXPECT_EQ(bar.GetKey(1)->Tag(), 113) << "a tag that is no number leaves the old one";
    EXPECT_EQ(bar.GetKey(2)->Tag(), 25);

    bar.SetHintList({QStringLiteral("表示の切り替え")});
    EXPECT_EQ(bar.GetKey(0)->Hint(), QStringLiteral("表示の切り替え"));
    EXPECT_TRUE(bar.GetKey(0)->toolTip().isEmpty()) << "hints show only when switched on";
    bar.GetKey(0)->SetShowHint(true);
    EXPECT_EQ(bar.GetKey(0)->toolTip(), QStringLiteral("表示の切り替え"));
}

namespace {

// Records what the bar reports.
struct Clicks {
    std::vector<int> tags;
    std::vector<FunctionKeyButton*> senders;
    void Attach(TFuncKey& bar) {
        bar.OnClick = [this](FunctionKeyButton* sender, int key) {
            senders.push_back(sender);
            tags.push_back(key);
        };
    }
};

// A focusable field that records the keys that reach it.
class KeyRecorder : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        keys.push_back(e->key());
        QLineEdit::keyPressEvent(e);
    }
};

void Press(QWidget* target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
           bool autoRepeat = false) {
    QKeyEvent press(QEvent::KeyPress, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, QString(), autoRepeat);
    QApplication::sendEvent(target, &release);
}

} // namespace

TEST(TFuncKey, ClickReportsTheKeyAndItsTag) {
    TFuncKey bar;
    Clicks clicks;
    clicks.Attach(bar);
    std::vector<int> signalled;
    QObject::connect(&bar, &TFuncKey::KeyClicked, &bar,
                     [&](FunctionKeyButton*, int key) { signalled.push_back(key); });
    bar.GetKey(3)->SetTag(26);
    bar.GetKey(3)->click();
    ASSERT_EQ(clicks.tags, std::vector<int>{26});
    EXPECT_EQ(clicks.senders[0], bar.GetKey(3));
    EXPECT_EQ(signalled, std::vector<int>{26});
}

TEST(TFuncKeyHook, FKeysInAnotherWindowClickTheBar) {
    TFuncKey bar;
    bar.show();
    Clicks clicks;
    clicks.Attach(bar);
    KeyRecorder other;
    other.show();
    Press(&other, Qt::Key_F1);
    Press(&other, Qt::Key_F3, Qt::ShiftModifier);
    Press(&other, Qt::Key_F4, Qt::AltModifier);
    Press(&other, Qt::Key_F12, Qt::ControlModifier);
    Press(&other, Qt::Key_F13); // not one of the twelve
    Press(&other, Qt::Key_A);
    EXPECT_EQ(clicks.tags, (std::vector<int>{112, 114, 115, 123}));
    // The hook does not consume the key: it goes on to the focused window.
    EXPECT_EQ(other.keys, (std::vector<int>{Qt::Key_F1, Qt::Key_F3, Qt::Key_F4, Qt::Key_F12,
                                            Qt::Key_F13, Qt::Key_A}));
}

TEST(TFuncKeyHook, KeysBeyondTheVisibleBarStillWork) {
    TFuncKey bar;
    bar.resize(777, 24);
    bar.SetKeyCount(8);
    Clicks clicks;
    clicks.Attach(bar);
    QWidget target;
    Press(&target, Qt::Key_F10);
    Press(&target, Qt::Key_F12);
    EXPECT_EQ(clicks.tags, (std::vector<int>{121, 123}));
    EXPECT_GE(bar.GetKey(9)->x(), bar.width()) << "key 9 lies beyond the right edge";
}

TEST(TFuncKeyHook, HookOffDoesNothing) {
    TFuncKey bar;
    Clicks clicks;
    clicks.Attach(bar);
    bar.SetKeyHook(false);
    QWidget target;
    Press(&target, Qt::Key_F1);
    EXPECT_TRUE(clicks.tags.empty());
    bar.SetKeyHook(true);
    Press(&target, Qt::Key_F1);
    EXPECT_EQ(clicks.tags.size(), 1u);
}

TEST(TFuncKeyHook, AutoRepeatedFKeysAreDroppedForTheWholeProgram) {
    TFuncKey bar;
    Clicks clicks;
    clicks.Attach(bar);
    KeyRecorder field;
    field.show();
    Press(&field, Qt::Key_F2);
    Press(&field, Qt::Key_F2, Qt::NoModifier, true);
    Press(&field, Qt::Key_F2, Qt::NoModifier, true);
    Press(&field, Qt::Key_A, Qt::NoModifier, true); // other keys repeat as usual
    EXPECT_EQ(clicks.tags, std::vector<int>{113}) << "holding F2 fires it once";
    EXPECT_EQ(field.keys, (std::vector<int>{Qt::Key_F2, Qt::Key_A}));
}

TEST(TFuncKeyHook, AKeyTravellingUpTheParentsClicksOnce) {
    TFuncKey bar;
    Clicks clicks;
    clicks.Attach(bar);
    QWidget window;
    auto* inner = new QWidget(&window); // ignores keys: they go on to the parent
    auto* innermost = new QWidget(inner);
    window.show();
    Press(innermost, Qt::Key_F5);
    Press(innermost, Qt::Key_F5);
    EXPECT_EQ(clicks.tags, (std::vector<int>{116, 116}));
}

TEST(TFuncKeyHook, WindowSystemKeysClickOnce) {
    // The path real key presses take: the window first, then its focus widget.
    TFuncKey bar;
    Clicks clicks;
    clicks.Attach(bar);
    QWidget window;
    auto* field = new KeyRecorder(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.windowHandle(), Qt::Key_F6);
    EXPECT_EQ(clicks.tags, std::vector<int>{117});
    EXPECT_EQ(field->keys, std::vector<int>{Qt::Key_F6});
}

TEST(TFuncKeyHook, WorksInsideAModalDialog) {
    TFuncKey bar;
    bar.show();
    Clicks clicks;
    clicks.Attach(bar);
    QDialog dialog;
    auto* field = new KeyRecorder(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(field);
    bool sent = false;
    QTimer::singleShot(0, &dialog, [&] {
        Press(field, Qt::Key_F1);
        Press(field, Qt::Key_F9, Qt::ShiftModifier);
        sent = true;
        dialog.accept();
    });
    dialog.exec();
    ASSERT_TRUE(sent);
    EXPECT_EQ(clicks.tags, (std::vector<int>{112, 120}));
    EXPECT_EQ(field->keys, (std::vector<int>{Qt::Key_F1, Qt::Key_F9}));
}

TEST(TFuncKeyHook, AClickThatOpensAModalDialogDoesNotFireTwice) {
    // F1 opens a dialog (as the customization command does); inside it F2 is pressed.
    // When the dialog closes, F1 goes on up its parents and must not click again.
    TFuncKey bar;
    std::vector<int> tags;
    QWidget window;
    auto* inner = new QWidget(&window);
    window.show();
    bar.OnClick = [&](FunctionKeyButton*, int key) {
        tags.push_back(key);
        if (key != 112) return;
        QDialog dialog;
        auto* field = new QLineEdit(&dialog);
        QTimer::singleShot(0, &dialog, [&] {
            Press(field, Qt::Key_F2);
            dialog.accept();
        });
        dialog.exec();
    };
    Press(inner, Qt::Key_F1);
    EXPECT_EQ(tags, (std::vector<int>{112, 113}));
}

TEST(TFuncKeyHook, EveryBarWithItsHookOnIsClickedAndDestroyedBarsAreForgotten) {
    auto first = std::make_unique<TFuncKey>();
    TFuncKey second;
    Clicks a, b;
    a.Attach(*first);
    b.Attach(second);
    QWidget target;
    Press(&target, Qt::Key_F7);
    EXPECT_EQ(a.tags.size(), 1u);
    EXPECT_EQ(b.tags.size(), 1u);
    first.reset();
    Press(&target, Qt::Key_F7);
    EXPECT_EQ(b.tags.size(), 2u);
}
