// The pricing keys, the item count and the conversion key in the real main window: keys the
// user assigned in the settings file, pressed as key events to the widget that has the focus.
#include "Beep.h"
#include "MessageBoxes.h"
#include "StatusBarPanels.h"
#include "TMForm.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace bansho;

namespace {

// G 原価, B 売価, R 粗利率, K 件数, Y conversion; 円, USD 0.0067, 坪 3.30579.
constexpr const char* kSettings = "[COMMAND]\r\nCKEY_G=55\r\nCKEY_B=56\r\nCKEY_R=57\r\n"
                                  "CKEY_K=58\r\nCKEY_Y=59\r\n\r\n"
                                  "[CONVERT]\r\nName1=\x89\x7E\r\nName2=USD\r\nRate2=0.0067\r\n"
                                  "Name3=\x92\xD8\r\nRate3=3.30579\r\n";

class PricingWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        env_ = std::filesystem::path(dir_.path().toStdString()) / "bansho.ENV";
        platform::SetBeepHook([this] { ++beeps_; });
        platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
        std::ofstream(env_, std::ios::binary) << kSettings;
    }
    void TearDown() override {
        if (form_) form_->hide();
        form_.reset();
        platform::SetBeepHook([] {});
    }
    TMForm& Start(int width = 600) {
        form_ = std::make_unique<TMForm>(env_);
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        if (width != form_->width()) {
            form_->resize(width, form_->height());
            form_->FormResize();
        }
        return *form_;
    }
    // Each key goes where the keyboard's would: to the widget with the focus.
    void Type(const char* keys) {
        for (const char* p = keys; *p; ++p) {
            QWidget* target = QApplication::focusWidget();
            ASSERT_NE(target, nullptr);
            const char c = *p;
            if (c == ' ') continue;
            if (c >= '0' && c <= '9')
                QTest::keyClick(target, static_cast<Qt::Key>(Qt::Key_0 + (c - '0')),
                                Qt::KeypadModifier);
            else if (c == '+')
                QTest::keyClick(target, Qt::Key_Plus, Qt::KeypadModifier);
            else if (c == '=')
                QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            else
                QTest::keyClick(target, static_cast<Qt::Key>(Qt::Key_A + (c - 'A')));
        }
    }
    QString Shown() const { return form_->DNumber->text(); }
    QString Label() const { return form_->NumMark->text(); }

    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> form_;
    int beeps_ = 0;
};

TEST_F(PricingWindow, WorkedExamplesThroughTheKeys) {
    struct Row {
        const char* keys;
        const char* shown;
        const char* label;
    } rows[] = {
        {"1500 G 20 R B", "1,875.", "売価"}, {"B", "375.", "粗利"},
        {"2000 B 30 R G", "1,400.", "原価"}, {"1500 G 2000 B R", "25.", "粗利率"},
        {"100 G 20 R B", "125.", "売価"},
    };
    Start();
    for (const auto& r : rows) { // one after the other, as a shopkeeper goes on
        Type(r.keys);
        EXPECT_EQ(Shown(), QString::fromUtf8(r.shown)) << r.keys;
        EXPECT_EQ(Label(), QString::fromUtf8(r.label)) << r.keys;
    }
}

TEST_F(PricingWindow, TheCountIsMarkedInTheStatusBarAndBesideTheNumberWithoutIt) {
    TMForm& f = Start();
    Type("100+200+300=");
    EXPECT_EQ(f.SBar->ItemsPanel()->text(), QStringLiteral("件数 3"));
    EXPECT_TRUE(f.SBar->ItemsPanel()->isVisible());
    EXPECT_EQ(f.ItemsMark->text(), QString());
    Type("K");
    EXPECT_EQ(Shown(), QStringLiteral("3."));
    EXPECT_EQ(Label(), QStringLiteral("件数"));
    f.ToggleStatusBar();
    EXPECT_EQ(f.ItemsMark->text(), QStringLiteral("件数 3"));
}

TEST_F(PricingWindow, ConversionStepsThroughTheRatesWithTheirNames) {
    Start();
    Type("100 Y");
    EXPECT_EQ(Shown(), QStringLiteral("0.67"));
    EXPECT_EQ(Label(), QStringLiteral("USD"));
    Type("Y");
    EXPECT_EQ(Shown(), QStringLiteral("330.579"));
    EXPECT_EQ(Label(), QStringLiteral("坪"));
    Type("Y");
    EXPECT_EQ(Shown(), QStringLiteral("100."));
    EXPECT_EQ(Label(), QStringLiteral("円"));
}

// The labels and the count's panel are whole at the narrowest and at a wide window.
TEST_F(PricingWindow, LabelsAndTheCountPanelAreWholeAtEveryWidth) {
    for (const int width : {280, 600, 1600}) {
        TMForm& f = Start(width);
        Type("1500 G 2000 B R 100+200+300+400+500+600+700+800+900+1000+1100+1200+");
        for (const char* keys : {"1500 G", "1500 G 20 R", "100 Y", "R"}) {
            Type(keys);
            const QLabel* l = f.NumMark;
            EXPECT_FALSE(l->text().isEmpty()) << keys;
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
                << width << " " << keys;
            EXPECT_LE(l->fontMetrics().height(), l->height()) << width << " " << keys;
        }
        const QLabel* items = f.SBar->ItemsPanel();
        ASSERT_TRUE(items->isVisible());
        EXPECT_EQ(items->text(), QStringLiteral("件数 12"));
        EXPECT_LE(items->fontMetrics().horizontalAdvance(items->text()), items->width()) << width;
        EXPECT_LE(items->geometry().right(), f.SBar->width() - 1) << width;
        TearDown();
        SetUp();
    }
}

TEST_F(PricingWindow, TheEntryMenuReachesTheNewKeysInTheFactorySet) {
    TMForm& f = Start();
    QMenu* m = f.CommandMenu(204);
    ASSERT_NE(m, nullptr);
    QStringList texts;
    for (QAction* a : m->actions())
        texts << a->text();
    for (const char* t : {"原価", "売価", "粗利率", "件数", "換算"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    // The worked example through the menu.
    auto choose = [&](const char* caption) {
        for (QAction* a : m->actions())
            if (a->text() == QString::fromUtf8(caption)) a->trigger();
    };
    Type("1500");
    choose("原価");
    // An arrow key has no command: the next digit still starts a new number.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    Type("20");
    EXPECT_EQ(Shown(), QStringLiteral("20."));
    choose("粗利率");
    choose("売価");
    EXPECT_EQ(Shown(), QStringLiteral("1,875."));
}

} // namespace
