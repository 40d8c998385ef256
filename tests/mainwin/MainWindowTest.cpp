// The real main window, offscreen, driven with synthetic key events and commands.
#include "Beep.h"
#include "ColorValue.h"
#include "FakeReceipt.h"
#include "HistoryLink.h"
#include "KeyMapping.h"
#include "MessageBoxes.h"
#include "StatusBarPanels.h"
#include "TFuncKey.h"
#include "TMForm.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace bansho::testing;

using namespace bansho;

namespace {

// A stand-in history window that records what the main window asks of it.
class FakeHistory : public HistoryLink {
public:
    QWidget window;
    int shows = 0;
    std::vector<HistoryAction> keys;

    QWidget* Window() override { return &window; }
    void ShowHistory() override {
        ++shows;
        window.show();
    }
    void HistoryKey(HistoryAction action) override { keys.push_back(action); }
};

class MainWindow : public ::testing::Test {
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
        if (form_) {
            form_->hide();
            form_.reset();
        }
        platform::SetBeepHook([] {});
    }

    TMForm& Start() {
        form_ = std::make_unique<TMForm>(env_);
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        return *form_;
    }

    void WriteEnv(const std::string& text) {
        std::ofstream f(env_, std::ios::binary);
        f << text;
    }
    std::string ReadEnv() const {
        std::ifstream f(env_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(form_.get(), key, mods);
    }
    void Keypad(Qt::Key key) { Key(key, Qt::KeypadModifier); }
    void Keys(std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        for (Qt::Key k : keys)
            Key(k, mods);
    }
    QString Shown() const { return form_->DNumber->text(); }
    QString Panel(int i) const { return form_->SBar->PanelText(i); }

    QTemporaryDir dir_;
    std::filesystem::path env_;
    std::unique_ptr<TMForm> form_;
    int beeps_ = 0;
    std::vector<platform::MessageRequest> messages_;
};

TEST_F(MainWindow, FirstStartWithoutSettingsFile) {
    TMForm& f = Start();
    EXPECT_EQ(f.windowTitle(), QStringLiteral(" バンショ  ver 3.22"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral(" バンショ v3.22"));
    EXPECT_EQ(f.pos(), QPoint(455, 119));
    EXPECT_EQ(f.width(), 600);
    EXPECT_EQ(Shown(), QStringLiteral("0."));
    EXPECT_EQ(f.OpeMark->text(), QString());
    EXPECT_TRUE(f.StatusBarVisible());
    for (int i = 0; i < StatusBarPanels::kPanelCount; ++i)
        EXPECT_EQ(Panel(i), QString()) << i;
    EXPECT_EQ(f.FKey->KeyCount(), 12);
    EXPECT_EQ(f.FKey->GetKey(0)->Caption(), QStringLiteral("Ａ↓"));
    EXPECT_EQ(f.FKey->GetKey(0)->Tag(), 50);
    EXPECT_EQ(f.FKey->GetKey(11)->Caption(), QStringLiteral("税抜き"));
    EXPECT_EQ(f.FKey->GetKey(11)->Tag(), 39);
    EXPECT_FALSE(f.StayOnTop());
}

TEST_F(MainWindow, TypingOnTheKeypadCalculates) {
    Start();
    Keypad(Qt::Key_1);
    Keypad(Qt::Key_2);
    EXPECT_EQ(Shown(), QStringLiteral("12."));
    Keypad(Qt::Key_Plus);
    EXPECT_EQ(form_->OpeMark->text(), QStringLiteral("＋"));
    Keypad(Qt::Key_3);
    Keypad(Qt::Key_Asterisk);
    Keypad(Qt::Key_2);
    Keypad(Qt::Key_Enter);
    EXPECT_EQ(Shown(), QStringLiteral("30."));
    EXPECT_EQ(Panel(0), QStringLiteral("GT"));
}

// A shifted digit key types no digit: Shift+1 ("!") enters nothing.
TEST_F(MainWindow, AShiftedDigitKeyNeverEntersItsDigit) {
    Start();
    Key(Qt::Key_1);
    Key(Qt::Key_Exclam, Qt::ShiftModifier);
    Key(Qt::Key_2);
    EXPECT_EQ(Shown(), QStringLiteral("12."));
}

// The main block's + - * / = and Enter calculate as the keypad's on the US and JIS layouts,
// typed as the keyboard types them: key events to the window, Shift where the layout needs it.
TEST_F(MainWindow, MainBlockOperatorKeysCalculateOnEveryLayout) {
    struct Row {
        platform::KeyLayout layout;
        const char* typed;
        const char* shifted; // the characters that need Shift on the layout
        const char* shown;
    } rows[] = {
        {platform::KeyLayout::Us, "12*3\r", "*+", "36."},
        {platform::KeyLayout::Us, "12+3=", "*+", "15."},
        {platform::KeyLayout::Us, "12-3\r", "*+", "9."},
        {platform::KeyLayout::Us, "12/3=", "*+", "4."},
        {platform::KeyLayout::Us, "7*6-2=", "*+", "40."},
        {platform::KeyLayout::Jis, "12*3\r", "*+=", "36."},
        {platform::KeyLayout::Jis, "12+3=", "*+=", "15."},
        {platform::KeyLayout::Jis, "12-3\r", "*+=", "9."},
        {platform::KeyLayout::Jis, "12/3=", "*+=", "4."},
    };
    for (const auto& r : rows) {
        platform::SetFallbackLayout(r.layout);
        Start();
        QWindow* w = form_->windowHandle();
        for (const char* c = r.typed; *c; ++c) {
            if (*c == '\r') {
                QTest::keyClick(w, Qt::Key_Return);
                continue;
            }
            const bool shift = std::strchr(r.shifted, *c) != nullptr;
            QTest::keyClick(w, *c, shift ? Qt::ShiftModifier : Qt::NoModifier);
        }
        EXPECT_EQ(Shown(), QString::fromLatin1(r.shown)) << r.typed;
        form_->hide();
        form_.reset();
    }
    platform::SetFallbackLayout(platform::KeyLayout::Us);
}

TEST_F(MainWindow, SixteenthDigitBeepsAndIsRefused) {
    Start();
    for (int i = 0; i < 15; ++i)
        Keypad(Qt::Key_9);
    EXPECT_EQ(beeps_, 0);
    Keypad(Qt::Key_9);
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(Shown(), QStringLiteral("999,999,999,999,999."));
    EXPECT_EQ(form_->DNumber->accessibleName(), QStringLiteral("999,999,999,999,999."));
}

TEST_F(MainWindow, DivisionByZeroShowsTheErrorInTheErrorColour) {
    Start();
    Keypad(Qt::Key_1);
    Keypad(Qt::Key_Slash);
    Keypad(Qt::Key_0);
    Keypad(Qt::Key_Enter);
    EXPECT_EQ(Shown(), QStringLiteral("- E -  "));
    EXPECT_EQ(form_->DNumber->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    Key(Qt::Key_Home); // AC
    EXPECT_EQ(Shown(), QStringLiteral("0."));
    EXPECT_EQ(form_->DNumber->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(MainWindow, CopyAndPasteUseTheSystemClipboard) {
    Start();
    Keypad(Qt::Key_4);
    Keypad(Qt::Key_2);
    Key(Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("42"));
    QGuiApplication::clipboard()->setText(QStringLiteral("1234.5"));
    Key(Qt::Key_V);
    EXPECT_EQ(Shown(), QStringLiteral("1,234.5"));
}

TEST_F(MainWindow, PastedTextThatIsNoNumberShowsTheErrorBox) {
    Start();
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    Key(Qt::Key_V);
    EXPECT_EQ(Shown(), QStringLiteral("abc."));
    Keypad(Qt::Key_Plus);
    Keypad(Qt::Key_1);
    Keypad(Qt::Key_Enter);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, platform::MessageKind::Error);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("浮動小数点数ではありません")));
}

TEST_F(MainWindow, EscapeClosesAndWritesTheSettings) {
    TMForm& f = Start();
    EXPECT_FALSE(std::filesystem::exists(env_));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(f.isVisible());
    const std::string env = ReadEnv();
    EXPECT_NE(env.find("[BANSHO]\r\nLeft=455\r\nTop=119\r\nWidth=600\r\n"), std::string::npos)
        << env;
    EXPECT_NE(env.find("KeyCUST=0"), std::string::npos);
}

TEST_F(MainWindow, AltF4RunsFunctionKey4ThenCloses) {
    TMForm& f = Start();
    FakeHistory h;
    f.SetHistoryWindow(&h);
    FakeReceipt receipt(f.Engine());
    Keypad(Qt::Key_5);
    Keypad(Qt::Key_Plus);
    ASSERT_EQ(f.Engine().HistoryCount(), 1u);
    Key(Qt::Key_F4, Qt::AltModifier); // set A's F4 is ＨＣ
    EXPECT_EQ(f.Engine().HistoryCount(), 0u);
    EXPECT_GE(receipt.cleared, 1);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(std::filesystem::exists(env_));
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, FailedSaveShowsTheErrorAndStaysOpen) {
    // The settings folder is a plain file, so nothing can be written below it.
    const auto blocker = std::filesystem::path(dir_.path().toStdString()) / "blocker";
    std::ofstream(blocker) << "x";
    env_ = blocker / "bansho.ENV";
    TMForm& f = Start();
    EXPECT_FALSE(f.close()); // the box is answered いいえ
    EXPECT_TRUE(f.isVisible());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, platform::MessageKind::ErrorQuestion);
    EXPECT_TRUE(messages_[0].text.contains(QString::fromStdString(env_.string())));
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("保存せずに終了しますか")));
}

TEST_F(MainWindow, AFailedSaveLetsTheUserCloseWithoutSaving) {
    // Nothing can be written below a plain file: every close used to show the error and
    // stay open, so the program could not be ended.
    const auto blocker = std::filesystem::path(dir_.path().toStdString()) / "blocker";
    std::ofstream(blocker) << "x";
    env_ = blocker / "bansho.ENV";
    TMForm& f = Start();
    platform::SetMessageHook([this](const platform::MessageRequest& r) {
        messages_.push_back(r);
        return true; // はい: close without saving
    });
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, platform::MessageKind::ErrorQuestion);
    EXPECT_TRUE(f.close()); // and nothing more is asked
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(MainWindow, AnUnreadableFileIsReportedOnceAndNeverSavedOver) {
    // Too large to be a settings file: read as nothing, and left exactly as it is.
    WriteEnv("[OPTION]\r\nMoveDot=3\r\n");
    std::filesystem::resize_file(env_, (16u << 20) + 1);
    const auto before = std::filesystem::last_write_time(env_);
    TMForm& f = Start();
    QTest::qWait(50);
    EXPECT_EQ(f.WinOptions().MoveDot, 8); // the defaults
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, platform::MessageKind::Error);
    EXPECT_TRUE(messages_[0].text.contains(QString::fromStdString(env_.string())));
    EXPECT_TRUE(f.close());
    EXPECT_EQ(messages_.size(), 1u); // told once
    EXPECT_EQ(std::filesystem::file_size(env_), (16u << 20) + 1);
    EXPECT_EQ(std::filesystem::last_write_time(env_), before);
}

TEST_F(MainWindow, AWriteProtectedFileClosesWithoutSavingOrAsking) {
    const std::string frozen = "[OPTION]\r\nMoveDot=3\r\n";
    WriteEnv(frozen);
    std::filesystem::permissions(env_, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    TMForm& f = Start();
    EXPECT_EQ(f.WinOptions().MoveDot, 3);
    f.ExecCommand(90); // a change that would be saved
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ReadEnv(), frozen);
}

TEST_F(MainWindow, SavesForTheSystemNeverShowABox) {
    const auto blocker = std::filesystem::path(dir_.path().toStdString()) / "blocker";
    std::ofstream(blocker) << "x";
    env_ = blocker / "bansho.ENV"; // cannot be saved
    TMForm& f = Start();
    EXPECT_FALSE(f.SaveSettingsQuietly()); // what a logout asks for
    f.FinalSave();                         // what SIGTERM does before the end
    EXPECT_TRUE(f.close());                // the close that may follow asks nothing
    EXPECT_TRUE(messages_.empty());
}

TEST_F(MainWindow, ASaveForTheSessionLeavesTheCloseToSaveAgain) {
    TMForm& f = Start();
    EXPECT_TRUE(f.SaveSettingsQuietly());
    f.ExecCommand(90); // wider by MoveDot (8)
    EXPECT_TRUE(f.close());
    EXPECT_NE(ReadEnv().find("Width=608\r\n"), std::string::npos) << ReadEnv();
}

TEST_F(MainWindow, SettingsFileIsApplied) {
    WriteEnv("[BANSHO]\r\nLeft=10\r\nTop=20\r\nWidth=800\r\n\r\n"
             "[OPTION]\r\nStatusBar=0\r\nStyle=3\r\nAlphaBlendType=2\r\nAlphaBlendValue=100\r\n\r\n"
             "[FUNCTION]\r\nFuncType=8\r\n\r\n");
    TMForm& f = Start();
    EXPECT_EQ(f.pos(), QPoint(10, 20));
    EXPECT_EQ(f.width(), 800);
    EXPECT_FALSE(f.StatusBarVisible());
    EXPECT_TRUE(f.StayOnTop());
    EXPECT_EQ(f.FKey->KeyCount(), 8);
    f.OnAppActivate();
    EXPECT_EQ(platform::WindowAlpha(&f), 100);
    EXPECT_TRUE(platform::IsStayOnTop(&f));
}

TEST_F(MainWindow, WidthBelow280IsRaisedTo280) {
    TMForm& f = Start();
    f.resize(100, f.height());
    f.FormResize();
    EXPECT_EQ(f.width(), 280);
    for (int i = 0; i < 3; ++i)
        f.ExecCommand(91); // fast narrower
    EXPECT_EQ(f.width(), 280);
}

TEST_F(MainWindow, HeightRisesWithTheWidthAndTheDigitsGrow) {
    TMForm& f = Start();
    const int h600 = f.height();
    const int font600 = f.DisplayFontHeight();
    f.resize(1200, f.height());
    EXPECT_GT(f.height(), h600);
    EXPECT_GT(f.DisplayFontHeight(), font600);
    EXPECT_EQ((f.DisplayFontHeight() - font600) % 2, 0) << "steps of 2 pixels";
    EXPECT_EQ(f.minimumHeight(), f.maximumHeight()) << "the height is not the user's";
    EXPECT_EQ(f.height(), f.Layout().clientHeight);
}

TEST_F(MainWindow, MarginMakesTheDisplayHalfAgainAsTall) {
    TMForm& f = Start();
    const LayoutResult plain = f.Layout();
    const int plainHeight = f.height();
    f.WinOptions().Margin = true;
    f.FormResize();
    EXPECT_EQ(f.Layout().fontSize, plain.fontSize);
    EXPECT_EQ(f.Layout().H, plain.H + plain.H / 2);
    EXPECT_EQ(f.height(), plainHeight + plain.H / 2);
    EXPECT_EQ(f.WinBase->height(), f.Layout().H + 8);
}

TEST_F(MainWindow, StatusBarToggleTwiceRestoresTheHeight) {
    TMForm& f = Start();
    const int h = f.height();
    f.ExecCommand(52);
    EXPECT_FALSE(f.StatusBarVisible());
    EXPECT_EQ(f.height(), h - 21);
    f.ExecCommand(52);
    EXPECT_TRUE(f.StatusBarVisible());
    EXPECT_EQ(f.height(), h);
    EXPECT_EQ(f.SBBase->geometry().bottom(), f.height() - 1);
    EXPECT_EQ(f.FKBase->geometry().bottom() + 1, f.SBBase->geometry().top());
}

TEST_F(MainWindow, MarksMoveBetweenStatusBarAndLabels) {
    TMForm& f = Start();
    Keypad(Qt::Key_5);
    f.ExecCommand(30); // M+
    EXPECT_EQ(Panel(1), QStringLiteral("M"));
    EXPECT_EQ(f.MemMark->text(), QString());
    f.ExecCommand(52);
    EXPECT_EQ(f.MemMark->text(), QStringLiteral("M"));
    f.ExecCommand(52);
    EXPECT_EQ(f.MemMark->text(), QString());
    EXPECT_EQ(Panel(1), QStringLiteral("M"));
}

TEST_F(MainWindow, DecimalSelectorMarkInItsPanelOrBesideTheNumber) {
    TMForm& f = Start();
    QLabel* panel = f.SBar->SelectorPanel();
    EXPECT_FALSE(panel->isVisible()); // at F the status bar is as it always was
    const int countRight = f.SBar->Panel(4)->geometry().right();
    f.ExecCommand(44); // decimals F -> 0
    f.ExecCommand(45); // 切捨 -> 四捨五入
    EXPECT_EQ(panel->text(), QStringLiteral("0 四捨五入"));
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->geometry().right(), f.SBar->width() - 1);
    EXPECT_EQ(f.SBar->Panel(4)->geometry().right() + 1, panel->geometry().left());
    EXPECT_GE(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text()));
    EXPECT_EQ(f.SelMark->text(), QString());
    f.ExecCommand(52); // status bar hidden: the mark goes beside the number
    EXPECT_EQ(f.SelMark->text(), QStringLiteral("0 四捨五入"));
    EXPECT_GE(f.SelMark->height(), f.SelMark->fontMetrics().height()); // not cut off
    f.ExecCommand(52);
    EXPECT_EQ(f.SelMark->text(), QString());
    for (int i = 0; i < 5; ++i)
        f.ExecCommand(44); // 1, 2, 3, 4, F
    EXPECT_EQ(f.Option().Decimals, -1);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(f.SBar->Panel(4)->geometry().right(), countRight);
}

TEST_F(MainWindow, ZoomCommands) {
    TMForm& f = Start();
    f.ExecCommand(88);
    EXPECT_EQ(f.width(), 601);
    f.ExecCommand(90);
    EXPECT_EQ(f.width(), 609);
    f.ExecCommand(89);
    EXPECT_EQ(f.width(), 608);
    Key(Qt::Key_PageDown); // factory: one pixel wider
    EXPECT_EQ(f.width(), 609);
}

TEST_F(MainWindow, MoveStopsAtTheScreenLimits) {
    TMForm& f = Start();
    f.move(5, 119);
    f.ExecCommand(96);
    EXPECT_EQ(f.pos(), QPoint(1, 119));
    f.ExecCommand(92);
    EXPECT_EQ(f.pos(), QPoint(1, 119));
    const QRect scr = f.screen()->geometry();
    // The right and bottom limits count the whole window, frame included.
    const int outerW = f.frameGeometry().width();
    const int outerH = f.frameGeometry().height();
    f.move(scr.width() - outerW - 3, 119);
    f.ExecCommand(97);
    EXPECT_EQ(f.x(), scr.width() - outerW);
    f.move(100, 4);
    f.ExecCommand(98);
    EXPECT_EQ(f.y(), 1);
    f.move(100, scr.height() - outerH - 1);
    f.ExecCommand(99);
    EXPECT_EQ(f.y(), scr.height() - outerH);
}

TEST_F(MainWindow, MenusHoldTheirCommandsAsTags) {
    TMForm& f = Start();
    struct Expect {
        int command;
        std::vector<std::pair<QString, int>> items;
    };
    const std::vector<Expect> expected = {
        {200, {{"切り取り", 40}, {"コピー", 41}, {"貼り付け", 42}}},
        {201, {{"繰り下げクリア (→)", 35}, {"入力クリア (Ｃ)", 25}, {"オールクリア (ＡＣ)", 24}}},
        {202,
         {{"メモリ加算 (Ｍ＋)", 30},
          {"メモリ減算 (Ｍ－)", 31},
          {"メモリ呼出し (ＭＲ)", 32},
          {"メモリ入替え (ＭＲＶ)", 33},
          {"メモリクリア (ＭＣ)", 29}}},
        {203,
         {{"ヒストリーセット (ＨＳ)", 27},
          {"ヒストリー呼出し (ＨＲ)", 28},
          {"ヒストリークリア (ＨＣ)", 26},
          {"元に戻す (最後のクリア)", 64},
          {"残したレシートを消去...", 255},
          {"印刷", 54},
          {"印刷プレビュー", 53}}},
        {204,
         {{"プラマイ反転 (＋/－)", 23},
          {"パーセント (％)", 22},
          {"グランドトータル (ＧＴ)", 34},
          {"００ 入力", 36},
          {"０００ 入力", 37},
          {"小数点以下桁数 (F→0→…→4)", 44},
          {"端数処理 (切捨→四捨五入→切上)", 45},
          {"税込み 税率２", 46},
          {"税抜き 税率２", 47},
          {"税計算合計 (税率別)", 48},
          {"原価", 55},
          {"売価", 56},
          {"粗利率", 57},
          {"件数", 58},
          {"換算", 59},
          {"時間 (時・分・秒)", 60},
          {"日付 (日数計算)", 61},
          {"両端入れ (日数＋１)", 62},
          {"検算", 63}}},
        {205, {{"拡大", 88}, {"縮小", 89}, {"高速拡大", 90}, {"高速縮小", 91}}},
    };
    for (const auto& e : expected) {
        QMenu* m = f.CommandMenu(e.command);
        ASSERT_NE(m, nullptr) << e.command;
        const auto actions = m->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(e.items.size())) << e.command;
        for (std::size_t i = 0; i < e.items.size(); ++i) {
            EXPECT_EQ(actions[i]->text(), e.items[i].first) << e.command;
            EXPECT_EQ(actions[i]->data().toInt(), e.items[i].second) << e.command;
        }
    }
    EXPECT_EQ(f.CommandMenu(199), nullptr);
    EXPECT_EQ(f.CommandMenu(206), nullptr);
}

// The 補助 menu shows the current decimal selection and rounding rule when it opens.
TEST_F(MainWindow, TheEntryMenuShowsTheCurrentSelections) {
    TMForm& f = Start();
    QMenu* m = f.CommandMenu(204);
    ASSERT_NE(m, nullptr);
    auto shown = [&](int tag) {
        for (QAction* a : m->actions())
            if (a->data().toInt() == tag) return a->text();
        return QString();
    };
    const struct {
        int presses44, presses45;
        const char* decimals;
        const char* rule;
    } rows[] = {
        {0, 0, "小数点以下桁数 (F→0→…→4)　現在: F", "端数処理 (切捨→四捨五入→切上)　現在: 切捨"},
        {1, 1, "小数点以下桁数 (F→0→…→4)　現在: 0", "端数処理 (切捨→四捨五入→切上)　現在: 四捨五入"},
        {3, 1, "小数点以下桁数 (F→0→…→4)　現在: 3", "端数処理 (切捨→四捨五入→切上)　現在: 切上"},
        {2, 1, "小数点以下桁数 (F→0→…→4)　現在: F", "端数処理 (切捨→四捨五入→切上)　現在: 切捨"},
    };
    for (const auto& r : rows) {
        for (int i = 0; i < r.presses44; ++i)
            f.ExecCommand(44);
        for (int i = 0; i < r.presses45; ++i)
            f.ExecCommand(45);
        f.ExecCommand(204);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m->isVisible(); }));
        EXPECT_EQ(shown(44), QString::fromUtf8(r.decimals));
        EXPECT_EQ(shown(45), QString::fromUtf8(r.rule));
        m->hide();
    }
}

TEST_F(MainWindow, MenuOpensAtTheStatusBarWhenThePointerIsOutside) {
    TMForm& f = Start();
    QCursor::setPos(f.screen(), QPoint(0, 0));
    f.ExecCommand(200);
    QMenu* m = f.CommandMenu(200);
    ASSERT_TRUE(m->isVisible());
    const QRect fr = f.frameGeometry();
    EXPECT_EQ(m->pos(), QPoint(fr.left() + 4, fr.top() + fr.height() - f.SBar->height()));
    m->hide();
}

TEST_F(MainWindow, MenuChoiceRunsItsTag) {
    TMForm& f = Start();
    Keypad(Qt::Key_7);
    f.CommandMenu(200)->actions()[1]->trigger(); // コピー
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("7"));
    f.CommandMenu(201)->actions()[2]->trigger(); // オールクリア
    EXPECT_EQ(Shown(), QStringLiteral("0."));
}

TEST_F(MainWindow, SpaceAndFunctionKeysCycleTheSets) {
    TMForm& f = Start();
    Key(Qt::Key_Space);
    EXPECT_EQ(f.FKey->GetKey(0)->Caption(), QStringLiteral("Ｂ↓"));
    f.FKey->GetKey(0)->click();
    EXPECT_EQ(f.FKey->GetKey(0)->Caption(), QStringLiteral("Ｃ↑"));
    EXPECT_EQ(f.FKey->GetKey(7)->Tag(), 151);
    Key(Qt::Key_F1);
    EXPECT_EQ(f.FKey->GetKey(0)->Caption(), QStringLiteral("Ａ↓"));
}

TEST_F(MainWindow, FunctionKeyHintsFollowTheCatalogueAndTheHintOption) {
    WriteEnv("[OPTION]\r\nHint=0\r\n\r\n");
    TMForm& f = Start();
    EXPECT_FALSE(f.FKey->GetKey(1)->ShowHint());
    EXPECT_FALSE(f.FKey->GetKey(1)->Hint().isEmpty()) << "AC has a description";
    f.WinOptions().Hint = true;
    f.ApplyFuncSet();
    EXPECT_TRUE(f.FKey->GetKey(1)->ShowHint());
}

TEST_F(MainWindow, NumKeyModeTurnsLettersIntoAKeypad) {
    TMForm& f = Start();
    f.ExecCommand(51);
    EXPECT_EQ(Panel(3), QStringLiteral("NUM"));
    Keys({Qt::Key_J, Qt::Key_K}); // 1 2
    EXPECT_EQ(Shown(), QStringLiteral("12."));
    Key(Qt::Key_0); // the main 0 key subtracts
    EXPECT_EQ(f.OpeMark->text(), QStringLiteral("－"));
    Keys({Qt::Key_L, Qt::Key_M}); // 3 0
    Key(Qt::Key_Slash);           // equals
    EXPECT_EQ(Shown(), QStringLiteral("-18."));
    Keys({Qt::Key_7, Qt::Key_8});
    EXPECT_EQ(Shown(), QStringLiteral("78."));
}

TEST_F(MainWindow, FunctionKeyReachesTheBarInsideAModalDialog) {
    TMForm& f = Start();
    Keypad(Qt::Key_5);
    QDialog dlg(&f);
    QTimer::singleShot(0, &dlg, [&dlg] {
        QTest::keyClick(&dlg, Qt::Key_F3); // set A: Ｃ
        dlg.accept();
    });
    dlg.exec();
    EXPECT_EQ(Shown(), QStringLiteral("0."));
}

TEST_F(MainWindow, TransparencyFollowsActivation) {
    struct Case {
        const char* name;
        int type;
        int active, inactive;
    };
    for (const Case c : {Case{"never", 0, 255, 255}, Case{"while_inactive", 1, 255, 180},
                         Case{"always", 2, 180, 180}}) {
        TMForm& f = Start();
        FakeHistory h;
        f.SetHistoryWindow(&h);
        f.WinOptions().AlphaBlendType = c.type;
        f.OnAppActivate();
        EXPECT_EQ(platform::WindowAlpha(&f), c.active) << c.name;
        EXPECT_EQ(platform::WindowAlpha(&h.window), c.active) << c.name;
        f.OnAppDeactivate();
        EXPECT_EQ(platform::WindowAlpha(&f), c.inactive) << c.name;
        EXPECT_EQ(platform::WindowAlpha(&h.window), c.inactive) << c.name;
        f.SetHistoryWindow(nullptr);
        form_.reset();
    }
}

TEST_F(MainWindow, StayOnTopCoversBothWindows) {
    TMForm& f = Start();
    FakeHistory h;
    h.window.show();
    f.SetHistoryWindow(&h);
    f.SetStayOnTop(true);
    EXPECT_TRUE(platform::IsStayOnTop(&f));
    EXPECT_TRUE(platform::IsStayOnTop(&h.window));
    EXPECT_TRUE(h.window.isVisible());
    f.SetStayOnTop(false);
    EXPECT_FALSE(platform::IsStayOnTop(&f));
    EXPECT_FALSE(platform::IsStayOnTop(&h.window));
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, HistoryWindowMirrorsTheEngine) {
    TMForm& f = Start();
    FakeHistory h;
    f.SetHistoryWindow(&h);
    FakeReceipt receipt(f.Engine());
    Keypad(Qt::Key_5);
    Keypad(Qt::Key_Plus);
    ASSERT_EQ(receipt.appended.size(), 1u);
    EXPECT_EQ(receipt.appended[0], 0u);
    EXPECT_EQ(Panel(4), QStringLiteral(" H 1"));
    f.ExecCommand(28);
    EXPECT_EQ(h.shows, 1);
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, TabSwitchesBetweenMainAndHistory) {
    TMForm& f = Start();
    FakeHistory h;
    f.SetHistoryWindow(&h);
    Key(Qt::Key_Tab); // history hidden: nothing happens, the key is consumed
    EXPECT_TRUE(f.isActiveWindow());
    h.window.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    Key(Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&h.window));
    Key(Qt::Key_Tab); // the main window is not active: it becomes active
    EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, HistoryKeysGoToTheHistoryWhileItIsActive) {
    TMForm& f = Start();
    FakeHistory h;
    f.SetHistoryWindow(&h);
    h.window.show();
    h.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&h.window));
    f.FormKeyDown(40, 0); // Down, reaching the main window's handler
    ASSERT_EQ(h.keys.size(), 1u);
    EXPECT_EQ(h.keys[0], HistoryAction::SelectNext);
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, MinimizeTakesTheHistoryWindowAlongAndRestoreBringsItBack) {
    TMForm& f = Start();
    FakeHistory h;
    f.SetHistoryWindow(&h);
    h.window.show();
    f.ExecCommand(100);
    EXPECT_TRUE(f.isMinimized());
    EXPECT_FALSE(h.window.isVisible());
    f.showNormal();
    EXPECT_TRUE(h.window.isVisible());
    f.SetHistoryWindow(nullptr);
}

TEST_F(MainWindow, CommandsOutsideTheCatalogueOnlyGiveTheFocusBack) {
    TMForm& f = Start();
    Keypad(Qt::Key_3);
    for (int c : {10, 43, 53, 101, 152, 206, 253, 255, 256, -1})
        f.ExecCommand(c);
    EXPECT_EQ(Shown(), QStringLiteral("3."));
    EXPECT_EQ(f.width(), 600);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(MainWindow, CustomizeSeamRunsAndTheBarIsReapplied) {
    TMForm& f = Start();
    f.ExecCommand(151); // no dialog registered: nothing happens
    EXPECT_TRUE(f.isVisible());
    int runs = 0;
    f.SetCustomizeDialog([&runs](TMForm& form) {
        ++runs;
        form.Keys().FuncDispStr[0] = "Ｘ,Ｙ,Ｚ,4,5,6,7,8,9,10,11,12";
    });
    f.ExecCommand(151);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(f.FKey->GetKey(0)->Caption(), QStringLiteral("Ｘ"));
}

TEST_F(MainWindow, StyledDisplayFontEndsTheNumberInABlank) {
    TMForm& f = Start();
    f.SetDisplayFont(QStringLiteral("ＭＳ Ｐゴシック"), 1);
    Keypad(Qt::Key_5);
    EXPECT_EQ(Shown(), QStringLiteral("5. "));
    EXPECT_EQ(f.DisplayFontStyle(), 1);
}

TEST_F(MainWindow, MarkColoursFollowTheSettings) {
    WriteEnv("[COLOR]\r\nNumber=255\r\nMPanel=65280\r\n\r\n");
    TMForm& f = Start();
    EXPECT_EQ(f.OpeMark->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(f.NumMark->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(f.WinBase->palette().color(QPalette::Window), QColor(0, 255, 0));
    EXPECT_EQ(f.DNumber->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

} // namespace
