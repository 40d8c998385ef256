// The history window against the real main window and engine.
#include "HistRules.h"
#include "HistoryRig.h"
#include "TStatusLED.h"
#include "TextFunctions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QToolTip>

using namespace bansho;
using bansho::testing::WaitFor;

namespace {

using Strings = std::vector<std::string>;

class HistoryWindow : public bansho::testing::HistoryRig {};

TEST_F(HistoryWindow, CreatedVisibleDockedBelowAndTitledByTheReceiptKind) {
    THForm& h = Start();
    EXPECT_EQ(form_->HistoryWindow(), &h);
    EXPECT_TRUE(h.isVisible()); // a first run shows the history window (HForm defaults to true)
    EXPECT_EQ(h.windowTitle(), QStringLiteral(" 入力レシート"));
    const QRect main = form_->frameGeometry();
    EXPECT_EQ(h.frameGeometry().left(), main.left());
    EXPECT_EQ(h.frameGeometry().width(), main.width());
    EXPECT_EQ(h.frameGeometry().top(), main.top() + main.height() + 1);
    EXPECT_TRUE(WaitFor([&] { return h.frameGeometry().height() == 256; }))
        << h.frameGeometry().height();
    EXPECT_FALSE(h.LED->Status());
    EXPECT_EQ(h.LED->toolTip(), QStringLiteral("ヒストリー訂正モードで点灯"));
    EXPECT_EQ(h.btListUp->toolTip(), QStringLiteral("再計算順序の変更"));
    EXPECT_EQ(h.btToClip->text(), QStringLiteral("複写"));
}

TEST_F(HistoryWindow, HintsOffLeaveTheSidePanelWithoutToolTips) {
    THForm& h = Start([](TMForm& m) { m.WinOptions().Hint = false; });
    EXPECT_TRUE(h.btCorrect->toolTip().isEmpty());
    EXPECT_TRUE(h.LED->toolTip().isEmpty());
    h.SetButtonHints(true);
    EXPECT_EQ(h.btCorrect->toolTip(), QStringLiteral("ヒストリー訂正"));
}

// The main window keeps the keyboard nearly always, so the hints show on hover whether or
// not the history window is the active one.
TEST_F(HistoryWindow, SidePanelHintsShowOnHoverWhileTheMainWindowIsActive) {
    THForm& h = Start();
    ASSERT_TRUE(form_->isActiveWindow());
    ASSERT_FALSE(h.isActiveWindow());
    const std::pair<QWidget*, QString> hints[] = {
        {h.btCorrect, QStringLiteral("ヒストリー訂正")},
        {h.btToClip, QStringLiteral("クリップボードへコピー")},
        {h.LED, QStringLiteral("ヒストリー訂正モードで点灯")},
    };
    QTest::mouseMove(h.HistWin, h.HistWin->rect().center());
    for (const auto& [w, hint] : hints) {
        QToolTip::hideText();
        QTest::mouseMove(w, w->rect().center());
        EXPECT_TRUE(
            WaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == hint; }, 5000))
            << hint.toStdString();
        QTest::mouseMove(h.HistWin, h.HistWin->rect().center());
    }
    QToolTip::hideText();
}

TEST_F(HistoryWindow, ActivationSetsTitleSidePanelAndButtonSizes) {
    struct Case {
        int histSet;
        const char16_t* title;
        bool panel;
    };
    for (const Case c : {Case{0, u" ユーザーメモ", false}, Case{1, u" 計算レシート", false},
                         Case{2, u" 入力レシート", true}}) {
        THForm& h = Start([&](TMForm& m) { m.Option().HistSet = c.histSet; });
        h.FormActivate();
        EXPECT_EQ(h.windowTitle(), QString::fromUtf16(c.title)) << c.histSet;
        EXPECT_EQ(!h.btBase->isHidden(), c.panel) << c.histSet;
        const int k = form_->FuncKeyWidth();
        if (c.panel) {
            EXPECT_EQ(h.btBase->width(), k + 4);
            EXPECT_EQ(h.HistWin->width(), h.width() - (k + 4));
        } else {
            EXPECT_EQ(h.HistWin->width(), h.width());
        }
        EXPECT_EQ(h.btDelete->geometry(), QRect(4, 73, k, 25));
        EXPECT_EQ(h.btDelete->font().pointSize(), 9);
        EXPECT_EQ(h.LED->x(), (k + 4 - 24) / 2 + 1);
        EXPECT_EQ(h.LED->y(), 4);
        TearDown();
        SetUp();
    }
}

TEST_F(HistoryWindow, SmallFontMakesTheButtonCaptionsEightPoint) {
    THForm& h = Start([](TMForm& m) { m.WinOptions().SmallFont = true; });
    h.FormActivate();
    EXPECT_EQ(h.btToClip->font().pointSize(), 8);
}

TEST_F(HistoryWindow, DockingAboveUsesTheKeptHeight) {
    THForm& h = Start();
    form_->move(40, 100);
    ASSERT_TRUE(WaitFor([&] { return form_->frameGeometry().top() == 100; }));
    WinOptions().Upper = true;
    form_->HistoryState().Height = 256;
    h.FormActivate();
    ASSERT_TRUE(WaitFor([&] { return h.frameGeometry().top() == -157; }))
        << h.frameGeometry().top();
    EXPECT_EQ(h.frameGeometry().left(), 40);
}

TEST_F(HistoryWindow, ShowHistoryDocksTheWindowAndTheMainWindowKeepsTheKeyboard) {
    THForm& h = Start([](TMForm& m) { m.HistoryState().Visible = false; });
    EXPECT_FALSE(h.isVisible());
    EXPECT_EQ(h.windowTitle(), QStringLiteral(" ヒストリー")) << "never activated yet";
    form_->move(30, 50);
    ASSERT_TRUE(WaitFor([&] { return form_->frameGeometry().top() == 50; }));
    form_->ExecCommand(28);
    EXPECT_TRUE(h.isVisible());
    EXPECT_EQ(h.windowTitle(), QStringLiteral(" 入力レシート"));
    EXPECT_TRUE(WaitFor([&] { return h.frameGeometry().left() == 30; }));
    EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); }));
}

TEST_F(HistoryWindow, CloseBoxOnlyHides) {
    THForm& h = Start();
    EXPECT_TRUE(h.close());
    EXPECT_FALSE(h.isVisible());
    EXPECT_EQ(form_->HistoryWindow(), &h);
    form_->ExecCommand(28);
    EXPECT_TRUE(h.isVisible());
}

TEST_F(HistoryWindow, HeightBelowTheFloorBecomes214AndIsKept) {
    THForm& h = Start();
    const int frame = h.frameGeometry().height() - h.height();
    h.resize(h.width(), 200 - frame); // 200 outside
    ASSERT_TRUE(WaitFor([&] { return h.frameGeometry().height() == 214; }))
        << h.frameGeometry().height();
    EXPECT_EQ(form_->HistoryState().Height, 214);
    h.resize(h.width(), 300 - frame);
    ASSERT_TRUE(WaitFor([&] { return h.frameGeometry().height() == 300; }));
    EXPECT_EQ(form_->HistoryState().Height, 300);
}

TEST_F(HistoryWindow, WidthNeverBelowTheMainWindow) {
    THForm& h = Start();
    h.resize(form_->width() - 100, h.height());
    ASSERT_TRUE(WaitFor([&] {
        return h.frameGeometry().width() == form_->frameGeometry().width();
    })) << h.frameGeometry().width();
}

TEST_F(HistoryWindow, RowsFollowTheDisplayFontAndTheListShowsWholeRows) {
    THForm& h = Start();
    for (int width : {600, 1200, 300}) {
        form_->resize(width, form_->height());
        ASSERT_TRUE(WaitFor([&] { return form_->width() == width; }));
        h.resize(h.width() + 1, h.height() + 7); // any size change re-runs the rule
        ASSERT_TRUE(WaitFor([&] {
            return h.HistWin->RowHeight() == HistRowHeight(form_->DisplayFontHeight());
        })) << width;
        const int row = h.HistWin->RowHeight();
        EXPECT_EQ(h.ListFontHeight(), FitListFontHeight(13, row)) << width;
        EXPECT_EQ(h.HistWin->font().pixelSize(), h.ListFontHeight());
        const int inner = h.HistWin->height() - 2 * h.HistWin->FrameExtent();
        EXPECT_EQ(inner % row, 0) << "whole rows only, width " << width;
        EXPECT_LE(h.HistWin->height(), h.height());
        EXPECT_GT(h.HistWin->height() + row, h.height());
    }
}

TEST_F(HistoryWindow, ColoursComeFromHPanelAndHNumber) {
    THForm& h = Start([](TMForm& m) {
        m.DisplayColors().HPanel = 0x00FFEEDD; // 0x00BBGGRR
        m.DisplayColors().HNumber = 0x00000080;
    });
    EXPECT_EQ(h.HistWin->BackgroundColor(), QColor(0xDD, 0xEE, 0xFF));
    EXPECT_EQ(h.HistWin->TextColor(), QColor(0x80, 0, 0));
    h.SetListColors(0x00000000, 0x00FFFFFF);
    EXPECT_EQ(h.HistWin->BackgroundColor(), QColor(0, 0, 0));
}

// ---- The receipt and the operations ---------------------------------------------------------

TEST_F(HistoryWindow, TypedEntriesAppearAlignedAndTheLastIsSelected) {
    THForm& h = Start();
    Type("5+3=");
    ASSERT_EQ(h.HistWin->Count(), 2);
    EXPECT_EQ(h.Model().RowText(0), QStringLiteral("                   ＋5."));
    EXPECT_EQ(h.Model().RowText(1), QStringLiteral("                   ＋3."));
    EXPECT_EQ(h.SelectedRow(), 1);
}

TEST_F(HistoryWindow, RecalculationAndMoveUpGive250Then50) {
    THForm& h = Start();
    Type("100*3-50=");
    ASSERT_EQ(Opes(), (Strings{"+", "*", "-"}));
    EXPECT_EQ(Shown(), QStringLiteral("250."));
    form_->ExecCommand(25); // C: the display shows 0
    h.RecalcHistory();
    EXPECT_EQ(Shown(), QStringLiteral("250."));
    ActivateHistory();
    h.SelectRow(1);
    HistKey(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(Opes(), (Strings{"*", "+", "-"}));
    EXPECT_EQ(Numbers(), (Strings{"3", "100", "50"}));
    EXPECT_EQ(h.SelectedRow(), 0);
    EXPECT_EQ(Shown(), QStringLiteral("50."));
    EXPECT_EQ(h.Model().RowText(0), QString::fromStdString(HistoryRowText('*', "3")));
    EXPECT_TRUE(h.LED->Status());
    EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); })) << "re-total ends in main";
}

TEST_F(HistoryWindow, MoveDownAndTheEnds) {
    THForm& h = Start();
    Type("1+2+3=");
    ActivateHistory();
    h.SelectRow(0);
    h.MoveDown();
    EXPECT_EQ(Numbers(), (Strings{"2", "1", "3"}));
    EXPECT_EQ(h.SelectedRow(), 1);
    h.SelectRow(2);
    h.MoveDown(); // the last row stays
    EXPECT_EQ(Numbers(), (Strings{"2", "1", "3"}));
    h.SelectRow(0);
    h.MoveUp(); // the first row stays
    EXPECT_EQ(Numbers(), (Strings{"2", "1", "3"}));
    h.SelectRow(-1);
    h.MoveDown();
    h.MoveUp();
    EXPECT_EQ(Numbers(), (Strings{"2", "1", "3"}));
}

struct CycleCase {
    const char* name;
    bool cycle;
    int from;
    Qt::Key key;
    int to;
};

class HistoryCycle : public HistoryWindow, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(HistoryCycle, UpAndDownAtTheEnds) {
    const CycleCase& c = GetParam();
    THForm& h = Start([&](TMForm& m) { m.WinOptions().Cycle = c.cycle; });
    Type("1+2+3=");
    ActivateHistory();
    h.SelectRow(c.from);
    HistKey(c.key);
    EXPECT_EQ(h.SelectedRow(), c.to);
    EXPECT_TRUE(h.LED->Status()) << "select previous/next enters correction mode";
}

const CycleCase kCycleCases[] = {
    {"UpOnFirstWrapsWithCycle", true, 0, Qt::Key_Up, 2},
    {"UpOnFirstStaysWithoutCycle", false, 0, Qt::Key_Up, 0},
    {"DownOnLastWrapsWithCycle", true, 2, Qt::Key_Down, 0},
    {"DownOnLastStaysWithoutCycle", false, 2, Qt::Key_Down, 2},
    {"UpInTheMiddle", false, 2, Qt::Key_Up, 1},
    {"DownInTheMiddle", true, 0, Qt::Key_Down, 1},
    {"UpWithNoSelectionGoesToTheLastWithCycle", true, -1, Qt::Key_Up, 2},
    {"UpWithNoSelectionStaysWithoutCycle", false, -1, Qt::Key_Up, -1},
    {"DownWithNoSelectionGoesToTheFirst", false, -1, Qt::Key_Down, 0},
};

INSTANTIATE_TEST_SUITE_P(Cases, HistoryCycle, ::testing::ValuesIn(kCycleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryWindow, SelectOnAnEmptyHistoryChangesNothing) {
    THForm& h = Start();
    ActivateHistory();
    HistKey(Qt::Key_Down);
    HistKey(Qt::Key_Up);
    EXPECT_EQ(h.SelectedRow(), -1);
    EXPECT_FALSE(h.LED->Status());
}

TEST_F(HistoryWindow, DeleteWithOneEntryClearsEverythingWithoutATotal) {
    THForm& h = Start();
    Type("5+7");
    ASSERT_EQ(h.HistWin->Count(), 1);
    h.LED->TurnOn();
    ActivateHistory();
    HistKey(Qt::Key_Delete);
    EXPECT_EQ(h.HistWin->Count(), 0);
    EXPECT_EQ(Engine().HistoryCount(), 0u);
    EXPECT_TRUE(Engine().InNum.Text.empty()) << "the number being typed is discarded";
    EXPECT_EQ(Shown(), QStringLiteral("0."));
    EXPECT_FALSE(h.LED->Status());
    EXPECT_EQ(Engine().ResNum.Text.substr(0, 1), "5") << "no re-total ran";
}

TEST_F(HistoryWindow, DeleteOnAnEmptyHistoryStillClearsTheEntry) {
    THForm& h = Start();
    Type("42");
    h.LED->TurnOn();
    h.DeleteSelected();
    EXPECT_TRUE(Engine().InNum.Text.empty());
    EXPECT_FALSE(h.LED->Status());
}

TEST_F(HistoryWindow, DeleteTheLastOfThreeSelectsTheNewLastAndReTotals) {
    THForm& h = Start();
    Type("1+2+4=");
    ActivateHistory();
    h.SelectRow(2);
    HistKey(Qt::Key_Delete);
    EXPECT_EQ(Numbers(), (Strings{"1", "2"}));
    EXPECT_EQ(h.HistWin->Count(), 2);
    EXPECT_EQ(h.SelectedRow(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("3."));
    EXPECT_TRUE(h.LED->Status());
}

TEST_F(HistoryWindow, DeleteInTheMiddleKeepsTheIndex) {
    THForm& h = Start();
    Type("1+2+4=");
    h.SelectRow(1);
    h.DeleteSelected();
    EXPECT_EQ(Numbers(), (Strings{"1", "4"}));
    EXPECT_EQ(h.SelectedRow(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("5."));
}

TEST_F(HistoryWindow, ATypedNumberIsRecordedThenDeletedAgain) {
    THForm& h = Start();
    Type("1+2+");
    Type("7");
    h.SelectRow(0);
    ActivateHistory();
    HistKey(Qt::Key_Delete);
    EXPECT_EQ(Numbers(), (Strings{"1", "2"}));
    EXPECT_EQ(h.SelectedRow(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("3."));
}

TEST_F(HistoryWindow, DeleteWithNoSelectionOnlyRunsTheEqualsStep) {
    THForm& h = Start();
    Type("1+2+");
    h.SelectRow(-1);
    h.DeleteSelected();
    EXPECT_EQ(Numbers(), (Strings{"1", "2"}));
    EXPECT_TRUE(h.LED->Status()) << "the equals step ran";
}

TEST_F(HistoryWindow, InsertAtTheFirstRowOpensTheDialogTitledInsert) {
    THForm& h = Start();
    Type("1+2=");
    ActivateHistory();
    h.SelectRow(0);
    QString title, number, ope;
    auto seen = OnDialog([&](TEForm& d) {
        title = d.windowTitle();
        number = d.NumEdit->text();
        ope = d.OpeEdit->currentText();
    });
    HistKey(Qt::Key_Insert);
    ASSERT_TRUE(*seen);
    EXPECT_EQ(title, QStringLiteral(" 演算子と数値の 挿入"));
    EXPECT_EQ(number, QStringLiteral("0"));
    EXPECT_EQ(ope, QStringLiteral("＋"));
    // Closed with the close box: the new entry stays as "+" 0.
    EXPECT_EQ(Numbers(), (Strings{"0", "1", "2"}));
    EXPECT_EQ(Opes(), (Strings{"+", "+", "+"}));
    EXPECT_EQ(h.Model().RowText(0), QStringLiteral("                   ＋0."));
    EXPECT_EQ(h.SelectedRow(), 0);
    EXPECT_EQ(Shown(), QStringLiteral("3."));
}

TEST_F(HistoryWindow, InsertWithNoSelectionDoesNothingAtAll) {
    THForm& h = Start();
    Type("1+2+5");
    h.SelectRow(-1);
    auto seen = OnDialog({});
    h.InsertSelected();
    QApplication::processEvents();
    EXPECT_FALSE(*seen);
    EXPECT_EQ(Numbers(), (Strings{"1", "2"})) << "not even the equals step";
    EXPECT_EQ(Engine().InNum.Text, "5");
}

TEST_F(HistoryWindow, CorrectWritesTheEntryAndReTotals) {
    THForm& h = Start();
    Type("10+20=");
    ActivateHistory();
    h.SelectRow(1);
    QString title;
    auto seen = OnDialog([&](TEForm& d) {
        title = d.windowTitle();
        d.NumEdit->setText(QStringLiteral("5"));
        d.OpeEdit->setEditText(QStringLiteral("×"));
        d.OKClick();
    });
    HistKey(Qt::Key_Space);
    ASSERT_TRUE(*seen);
    EXPECT_EQ(title, QStringLiteral(" 演算子と数値の 訂正"));
    EXPECT_EQ(Numbers(), (Strings{"10", "5"}));
    EXPECT_EQ(Opes(), (Strings{"+", "*"}));
    EXPECT_EQ(h.Model().RowText(1), QString::fromStdString(HistoryRowText('*', "5")));
    EXPECT_EQ(Shown(), QStringLiteral("50."));
    EXPECT_EQ(h.SelectedRow(), 1);
}

TEST_F(HistoryWindow, CorrectWithNoSelectionOpensNoDialog) {
    THForm& h = Start();
    Type("10+20=");
    h.SelectRow(-1);
    auto seen = OnDialog({});
    h.CorrectSelected();
    QApplication::processEvents();
    EXPECT_FALSE(*seen);
}

TEST_F(HistoryWindow, CopyOfThreeRowsEndsEachWithALineFeed) {
    THForm& h = Start();
    Type("1+22+333+4444=");
    ASSERT_EQ(h.HistWin->Count(), 4);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    h.SelectRow(2);
    h.LED->TurnOff();
    h.btToClip->click();
    const QString expected = h.Model().RowText(0) + QChar(10) + h.Model().RowText(1) + QChar(10) +
                             h.Model().RowText(2) + QChar(10);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    EXPECT_EQ(QGuiApplication::clipboard()->text().split(QChar(10)).size(), 4)
        << "three lines, each ended, when pasted";
    EXPECT_FALSE(expected.contains(QChar(13)));
    EXPECT_FALSE(h.LED->Status()) << "copy runs no equals step";
    h.SelectRow(-1);
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    h.CopySelected();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

TEST_F(HistoryWindow, EnterRecallsTheSelectedNumberAndStayHistDecides) {
    for (bool stay : {true, false}) {
        THForm& h = Start([&](TMForm& m) { m.WinOptions().StayHist = stay; });
        Type("1234.5+6=");
        ActivateHistory();
        h.SelectRow(0);
        HistKey(Qt::Key_Return);
        EXPECT_EQ(Engine().InNum.Text, "1234.5");
        EXPECT_EQ(Shown(), QStringLiteral("1,234.5"));
        EXPECT_EQ(h.isVisible(), stay);
        if (!stay) {
            EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); }));
        }
        TearDown();
        SetUp();
    }
}

TEST_F(HistoryWindow, OtherKeysWorkTheCalculator) {
    THForm& h = Start();
    ActivateHistory();
    HistKey(Qt::Key_7, Qt::KeypadModifier);
    HistKey(Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(h.HistWin->Count(), 1);
    EXPECT_EQ(Shown(), QStringLiteral("7."));
    EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); }));
}

TEST_F(HistoryWindow, EscapeInTheHistoryWindowClosesTheProgramForGood) {
    THForm& h = Start();
    ActivateHistory();
    HistKey(Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(h.isVisible());
    EXPECT_TRUE(std::filesystem::exists(env_)); // the settings were written on the way out
}

TEST_F(HistoryWindow, ShiftPressedAloneKeepsTheKeyboardForShiftUp) {
    THForm& h = Start();
    Type("1+2+3=");
    ActivateHistory();
    h.SelectRow(2);
    QTest::keyPress(h.HistWin, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::processEvents();
    EXPECT_TRUE(h.isActiveWindow());
    QTest::keyClick(h.HistWin, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyRelease(h.HistWin, Qt::Key_Shift);
    EXPECT_EQ(Numbers(), (Strings{"1", "3", "2"}));
}

TEST_F(HistoryWindow, TabGoesBackToTheMainWindow) {
    Start();
    ActivateHistory();
    HistKey(Qt::Key_Tab);
    EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); }));
}

TEST_F(HistoryWindow, OperatorKeysPutTheLampOut) {
    THForm& h = Start();
    Type("1+2+");
    h.SelectPrevious();
    EXPECT_TRUE(h.LED->Status());
    Type("3*");
    EXPECT_FALSE(h.LED->Status());
    h.SelectPrevious();
    EXPECT_TRUE(h.LED->Status());
    form_->ExecCommand(26); // HC
    EXPECT_FALSE(h.LED->Status());
    EXPECT_EQ(h.HistWin->Count(), 0);
}

TEST_F(HistoryWindow, CalculationReceiptHasNoPanelAndDeleteDoesNotReTotal) {
    THForm& h = Start([](TMForm& m) { m.Option().HistSet = 1; });
    Type("5+3=2*3=");
    ASSERT_EQ(Numbers(), (Strings{"8", "6"}));
    ActivateHistory();
    EXPECT_TRUE(h.btBase->isHidden());
    form_->ExecCommand(25); // C
    h.SelectRow(0);
    HistKey(Qt::Key_Delete);
    EXPECT_EQ(Numbers(), (Strings{"6"}));
    EXPECT_EQ(Shown(), QStringLiteral("0.")) << "no re-total in the calculation receipt";
    EXPECT_TRUE(WaitFor([&] { return form_->isActiveWindow(); }));
}

TEST_F(HistoryWindow, ARowThatIsNoNumberStopsTheReTotalWithTheErrorBox) {
    THForm& h = Start();
    Type("1+2=");
    // A point alone loses its point and counts as zero, as every operand of Calc does.
    ASSERT_TRUE(Engine().ReplaceHistoryEntry(1, ".", '+'));
    messages_.clear();
    h.RecalcHistory();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Shown(), QStringLiteral("1."));
    ASSERT_TRUE(Engine().ReplaceHistoryEntry(1, "..", '+'));
    h.RecalcHistory();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, platform::MessageKind::Error);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("浮動小数点数ではありません")));
    EXPECT_EQ(Numbers(), (Strings{"1", ".."})) << "the lists are unchanged";
    ASSERT_TRUE(Engine().ReplaceHistoryEntry(1, "1.2.3", '+'));
    messages_.clear();
    messages_.clear();
    h.SelectRow(0);
    h.MoveDown();
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(Numbers(), (Strings{"1.2.3", "1"}));
}

TEST_F(HistoryWindow, DivisionByZeroInTheChainShowsTheErrorDisplay) {
    THForm& h = Start();
    Type("4/2=");
    ASSERT_TRUE(Engine().ReplaceHistoryEntry(1, "0", '/'));
    h.RecalcHistory();
    EXPECT_EQ(Shown(), QStringLiteral("- E -  "));
    EXPECT_EQ(Numbers(), (Strings{"4", "0"}));
}

TEST_F(HistoryWindow, AClickSelectsTheRowUnderThePointer) {
    THForm& h = Start();
    Type("1+2+3=");
    ActivateHistory();
    const int row = h.HistWin->RowHeight();
    QTest::mouseClick(h.HistWin->viewport(), Qt::LeftButton, {}, QPoint(20, row + row / 2));
    EXPECT_EQ(h.SelectedRow(), 1);
    QTest::mouseClick(h.HistWin->viewport(), Qt::LeftButton, {}, QPoint(20, 10 * row));
    EXPECT_EQ(h.SelectedRow(), 1) << "below the last row nothing changes";
}

TEST_F(HistoryWindow, SidePanelButtonsRunTheirOperations) {
    THForm& h = Start();
    Type("1+2+4=");
    h.SelectRow(2);
    h.btListUp->click();
    EXPECT_EQ(Numbers(), (Strings{"1", "4", "2"}));
    h.btListDown->click();
    EXPECT_EQ(Numbers(), (Strings{"1", "2", "4"}));
    h.btDelete->click();
    EXPECT_EQ(Numbers(), (Strings{"1", "2"}));
    for (QPushButton* b :
         {h.btCorrect, h.btInsert, h.btDelete, h.btListUp, h.btListDown, h.btToClip})
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus);
}

} // namespace
