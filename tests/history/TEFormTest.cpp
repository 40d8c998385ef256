// The entry edit dialog on its own, over a real engine: the checks, the keys and OK.
#include "TEForm.h"
#include "Beep.h"
#include "CalcEngine.h"
#include "FakeReceipt.h"
#include "KeyConfig.h"
#include "MessageBoxes.h"
#include "NullEngineHost.h"
#include "TextFunctions.h"
#include "CalendarDate.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace bansho::testing;

using namespace bansho;

namespace {

class EditDialog : public ::testing::Test {
protected:
    void SetUp() override {
        SetFileDefaults(option_);
        InitKeyTBL(keys_, option_, status_);
        engine_.AllClear();
        platform::SetBeepHook([this] { ++beeps_; });
        platform::SetMessageHook([this](const platform::MessageRequest& r) {
            messages_.push_back(r.text);
            return false;
        });
    }
    void TearDown() override {
        dialog_.reset();
        platform::SetBeepHook([] {});
        platform::SetMessageHook([](const platform::MessageRequest&) { return false; });
    }

    // Records entries by HS with the given operator pending.
    void Record(const std::string& number, char pend) {
        engine_.InNum = TCalcNum{number, false};
        engine_.DispNum = TCalcNum{number, false};
        status_.PendOpe = pend;
        engine_.AddHistoryEntry();
    }

    TEForm& Open(std::size_t index, const QString& caption = QStringLiteral("訂正")) {
        dialog_ = std::make_unique<TEForm>(nullptr, engine_, option_, status_, index, caption);
        dialog_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
        return *dialog_;
    }

    // Typed key by key; characters no ASCII key types arrive as text of an unknown key.
    void TypeNumber(const QString& text) {
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(dialog_->NumEdit, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, dialog_->NumEdit, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }
    // Typed as a keyboard types: key events to the dialog's window, which hands them to the
    // focused operator box (the box holds the focus for its line edit).
    void TypeOperator(const QString& text) {
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        if (QApplication::focusWidget() != dialog_->OpeEdit)
            dialog_->OpeEdit->setFocus(Qt::OtherFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), dialog_->OpeEdit);
        for (const QChar c : text)
            QTest::keyClick(dialog_->windowHandle(), c.toLatin1());
    }
    // A row of a time (its seconds) or a date (its day number).
    void RecordKind(const std::string& number, ValueKind kind, char pend) {
        engine_.DispNum = TCalcNum{number, false, kind};
        status_.PendOpe = pend;
        engine_.AddHistoryEntry();
    }
    // Typed as a keyboard types into the number field: key events to the dialog's window,
    // which hands them to the focused widget; Enter ends it.
    void TypeIntoFocus(const QString& text) {
        dialog_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
        ASSERT_EQ(QApplication::focusWidget(), dialog_->NumEdit);
        for (const QChar c : text)
            QTest::keyClick(dialog_->windowHandle(), c.toLatin1());
    }
    std::string Num(std::size_t i) { return engine_.HistNumber(i); }
    std::string Ope(std::size_t i) { return std::string(1, engine_.HistOpe(i)); }

    TOption option_;
    TCalcStatus status_;
    KeyConfig keys_;
    NullEngineHost host_;
    CalcEngine engine_{option_, status_, host_};
    FakeReceipt receipt_{engine_};
    std::unique_ptr<TEForm> dialog_;
    int beeps_ = 0;
    std::vector<QString> messages_;
};

TEST_F(EditDialog, OpensOnTheEntryWithItsGeometryAndTitle) {
    Record("12.5", '=');
    Record("3", '*');
    TEForm& d = Open(1, QStringLiteral("訂正"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral(" 演算子と数値の 訂正"));
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("3"));
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("×"));
    EXPECT_EQ(d.size(), QSize(379, 46));
    EXPECT_EQ(d.NumEdit->geometry(), QRect(80, 9, 221, 24));
    EXPECT_EQ(d.OK->geometry(), QRect(316, 9, 55, 24));
    EXPECT_EQ(d.OpeEdit->geometry(), QRect(9, 9, 60, 24));
    EXPECT_EQ(d.OpeEdit->count(), 4);
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
    EXPECT_EQ(QApplication::focusWidget(), d.NumEdit);
}

TEST_F(EditDialog, ANegativeStoredNumberWarnsOnceAndIsKept) {
    Record("-3", '=');
    TEForm& d = Open(0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], QStringLiteral("正しい数値を入力して下さい"));
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("-3"));

    d.NumEdit->end(false);
    TypeNumber(QStringLiteral("5")); // "-35" keeps the sign: refused, the stored text is back
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("-3"));

    d.OKClick(); // untouched: the same text goes back
    EXPECT_EQ(Num(0), "-3");
    EXPECT_EQ(Ope(0), "+"); // the row shows no glyph: the number adds itself
}

// The message about a stored negative number opens over the dialog's own place: the dialog
// is placed before its fields are checked.
TEST_F(EditDialog, TheStoredNegativeMessageComesWhenTheDialogIsPlaced) {
    Record("-5", '=');
    QPoint ownerAt(-1, -1);
    bool placed = false;
    platform::SetMessageHook([&](const platform::MessageRequest& r) {
        messages_.push_back(r.text);
        if (r.parent) {
            ownerAt = r.parent->pos();
            placed = r.parent->testAttribute(Qt::WA_Moved);
        }
        return false;
    });
    TEForm& d = Open(0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(placed);
    EXPECT_EQ(ownerAt, d.pos());
    EXPECT_NE(d.pos(), QPoint(0, 0));
}

TEST_F(EditDialog, RemovingTheMinusSignIsAccepted) {
    Record("-3", '=');
    TEForm& d = Open(0);
    messages_.clear();
    d.NumEdit->home(false);
    QTest::keyClick(d.NumEdit, Qt::Key_Delete);
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("3"));
    EXPECT_TRUE(messages_.empty());
}

struct NumberCase {
    const char* name;
    const char* typed;
    bool accepted;
};
// The refused character always comes last: what is typed after it goes on from the stored
// number.
const NumberCase kNumberCases[] = {
    {"Digits", "123", true},  {"PointAlone", ".", true},       {"TwoPoints", "1.2.3", true},
    {"Letter", "12a", false}, {"Minus", "-", false},           {"Comma", "1,", false},
    {"Blank", "1 ", false},   {"FullWidthDigit", "１", false},
};

class EditDialogNumbers : public EditDialog, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(EditDialogNumbers, OnlyDigitsAndPointsPass) {
    const NumberCase& c = GetParam();
    Record("77", '=');
    TEForm& d = Open(0);
    d.NumEdit->clear();
    TypeNumber(QString::fromUtf8(c.typed));
    if (c.accepted) {
        EXPECT_TRUE(messages_.empty());
        EXPECT_EQ(d.NumEdit->text(), QString::fromUtf8(c.typed));
    } else {
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0], QStringLiteral("正しい数値を入力して下さい"));
        EXPECT_EQ(d.NumEdit->text(), QStringLiteral("77")) << "the stored number, not the last";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EditDialogNumbers, ::testing::ValuesIn(kNumberCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditDialog, APlainOperatorBecomesItsGlyph) {
    Record("5", '=');
    TEForm& d = Open(0);
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral("*"));
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("×"));
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral("/"));
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("÷"));
    EXPECT_TRUE(messages_.empty());
    d.OKClick();
    EXPECT_EQ(Ope(0), "/");
}

TEST_F(EditDialog, AWrongOperatorIsRefusedAndTheStoredGlyphComesBack) {
    Record("5", '=');
    Record("6", '-');
    TEForm& d = Open(1);
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral("x"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], QStringLiteral("正しい演算子を入力して下さい"));
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("－"));

    d.OpeEdit->lineEdit()->end(false);
    QTest::keyClick(d.OpeEdit->lineEdit(), Qt::Key_Backspace); // deleting the glyph
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("－"));

    d.OpeEdit->lineEdit()->end(false);
    TypeOperator(QStringLiteral("+")); // "－+": two characters
    EXPECT_EQ(messages_.size(), 3u);
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("－"));
}

TEST_F(EditDialog, ChoosingFromTheListIsAccepted) {
    Record("5", '=');
    TEForm& d = Open(0);
    d.OpeEdit->setCurrentIndex(3);
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("÷"));
    d.OKClick();
    EXPECT_EQ(Ope(0), "/");
    EXPECT_TRUE(messages_.empty());
}

TEST_F(EditDialog, AnEmptyNumberIsStoredAsZero) {
    Record("5", '=');
    Record("8", '*');
    TEForm& d = Open(1);
    d.NumEdit->clear();
    EXPECT_TRUE(messages_.empty());
    d.OKClick();
    EXPECT_EQ(Num(1), "0");
    EXPECT_EQ(engine_.HistRow(1), AlignNumber("×0"));
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST_F(EditDialog, OKWritesOnlyTheEditedEntry) {
    Record("5", '=');
    Record("8", '*');
    Record("9", '+');
    const std::vector<std::string> before = {engine_.HistRow(0), engine_.HistRow(1),
                                             engine_.HistRow(2)};
    TEForm& d = Open(1);
    d.NumEdit->setText(QStringLiteral("1234567.5"));
    d.OpeEdit->setCurrentIndex(1); // "－"
    d.OKClick();
    EXPECT_EQ(Num(1), "1234567.5");
    EXPECT_EQ(Ope(1), "-");
    EXPECT_EQ(engine_.HistRow(1), AlignNumber("－1,234,567.5"));
    EXPECT_EQ(engine_.HistRow(0), before[0]);
    EXPECT_EQ(engine_.HistRow(2), before[2]);
    EXPECT_EQ(receipt_.replaced, (std::vector<std::size_t>{1}));
}

TEST_F(EditDialog, TheCloseBoxWritesNothing) {
    Record("5", '=');
    TEForm& d = Open(0, QStringLiteral("挿入"));
    d.NumEdit->setText(QStringLiteral("99"));
    d.close();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(Num(0), "5");
    EXPECT_TRUE(receipt_.replaced.empty());
}

TEST_F(EditDialog, EnterInTheOperatorMovesOnAndASecondEnterIsOK) {
    Record("5", '=');
    TEForm& d = Open(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.OpeEdit->setFocus();
    d.NumEdit->setText(QStringLiteral("6"));
    QTest::keyClick(d.OpeEdit->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(QApplication::focusWidget(), d.NumEdit);
    QTest::keyClick(d.NumEdit, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(Num(0), "6");
}

TEST_F(EditDialog, EscapeAloneIsOKAndShiftEscapeWritesNothing) {
    Record("5", '=');
    {
        TEForm& d = Open(0);
        d.NumEdit->setText(QStringLiteral("6"));
        QTest::keyClick(d.NumEdit, Qt::Key_Escape, Qt::ShiftModifier);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(Num(0), "5");
    }
    {
        TEForm& d = Open(0);
        d.NumEdit->setText(QStringLiteral("7"));
        QTest::keyClick(d.NumEdit, Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(Num(0), "7");
    }
}

TEST_F(EditDialog, NumKeyModeTranslatesTypedCharacters) {
    Record("5", '=');
    status_.UseNumKey = true;
    TEForm& d = Open(0);
    d.NumEdit->clear();
    TypeNumber(QStringLiteral("m"));
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("0"));
    TypeNumber(QStringLiteral("JK.")); // upper case is found too
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("012."));
    EXPECT_TRUE(messages_.empty());
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral("p")); // p is the multiply key: "*" becomes "×"
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("×"));
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral(";")); // the plus key
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("＋"));
    d.OpeEdit->lineEdit()->selectAll();
    TypeOperator(QStringLiteral("P")); // upper case is found too
    EXPECT_EQ(d.OpeEdit->currentText(), QStringLiteral("×"));
    EXPECT_TRUE(messages_.empty());
    d.OKClick();
    EXPECT_EQ(Ope(0), "*");
}

TEST_F(EditDialog, WithoutNumKeyModeCharactersPassUnchanged) {
    Record("5", '=');
    TEForm& d = Open(0);
    d.NumEdit->clear();
    TypeNumber(QStringLiteral("m"));
    EXPECT_EQ(messages_.size(), 1u);
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("5"));
}

// A time or a date row opens as the receipt shows it and is corrected in that form; one that
// does not exist is refused with its message and the dialog stays open with nothing written.
struct KindCase {
    const char* name;
    ValueKind kind;
    const char* stored; // seconds or day number
    const char* shown;
    const char* typed;
    const char* written; // nullptr: refused at Enter
    const char* row;     // how the receipt row ends after, or nullptr
};
const KindCase kKindCases[] = {
    {"TimeCorrected", ValueKind::Time, "5025", "1:23:45", "7:30", "27000", "7:30:00"},
    {"TimeWithSeconds", ValueKind::Time, "5025", "1:23:45", "1,234:05:09", "4442709", "1,234:05:09"},
    {"NegativeTime", ValueKind::Time, "-90", "-0:01:30", "-2:00:00", "-7200", "-2:00:00"},
    {"ImpossibleMinutes", ValueKind::Time, "5025", "1:23:45", "1:75:00", nullptr, nullptr},
    {"NoColon", ValueKind::Time, "5025", "1:23:45", "130", nullptr, nullptr},
    {"DateCorrected", ValueKind::Date, "46361", "2026-12-07", "2026-02-28", "46079", "2026-02-28"},
    {"DateAsDigits", ValueKind::Date, "46361", "2026-12-07", "20000229", "36583", "2000-02-29"},
    {"ImpossibleDate", ValueKind::Date, "46361", "2026-12-07", "2026-02-30", nullptr, nullptr},
    {"NoLeapDay", ValueKind::Date, "46361", "2026-12-07", "2100-02-29", nullptr, nullptr},
};

class EditDialogKinds : public EditDialog, public ::testing::WithParamInterface<KindCase> {};

TEST_P(EditDialogKinds, ReadAndCorrectedAsShown) {
    const KindCase& c = GetParam();
    RecordKind(c.stored, c.kind, '=');
    TEForm& d = Open(0);
    EXPECT_EQ(d.NumEdit->text(), QString::fromUtf8(c.shown));
    EXPECT_TRUE(messages_.empty());
    TypeIntoFocus(QString::fromUtf8(c.typed)); // the opened text is selected: typing replaces it
    EXPECT_TRUE(messages_.empty()) << "no character of the form is refused as typed";
    EXPECT_EQ(d.NumEdit->text(), QString::fromUtf8(c.typed));
    QTest::keyClick(d.windowHandle(), Qt::Key_Return);
    if (c.written) {
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(Num(0), c.written);
        EXPECT_EQ(engine_.HistMark(0), c.kind == ValueKind::Time ? RowMark::Time : RowMark::Date);
        EXPECT_TRUE(engine_.HistRow(0).ends_with(c.row)) << engine_.HistRow(0);
        EXPECT_EQ(receipt_.replaced, (std::vector<std::size_t>{0}));
    } else {
        ASSERT_EQ(messages_.size(), 1u);
        EXPECT_EQ(messages_[0], c.kind == ValueKind::Time ? TEForm::kTimeMessage : TEForm::kDateMessage);
        EXPECT_EQ(beeps_, 1);
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open on the refused value";
        EXPECT_EQ(d.NumEdit->text(), QString::fromUtf8(c.typed));
        EXPECT_EQ(Num(0), c.stored);
        EXPECT_TRUE(receipt_.replaced.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, EditDialogKinds, ::testing::ValuesIn(kKindCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditDialog, ALetterInATimeIsRefusedAsTyped) {
    RecordKind("5025", ValueKind::Time, '=');
    TEForm& d = Open(0);
    TypeIntoFocus(QStringLiteral("7:3x"));
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0], TEForm::kTimeMessage);
    EXPECT_EQ(d.NumEdit->text(), QStringLiteral("1:23:45"));
}

TEST_F(EditDialog, AnEntryGoneWhileTheDialogWasOpenIsNotWritten) {
    Record("5", '=');
    TEForm& d = Open(0);
    engine_.ClearHistory(); // e.g. a function key bound to HC while the dialog is open
    d.OKClick();
    EXPECT_EQ(engine_.HistoryCount(), 0u);
    EXPECT_TRUE(receipt_.replaced.empty());
}

} // namespace
