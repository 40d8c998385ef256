// Times, dates and the re-key check in the real history window.
#include "HistoryRig.h"

using namespace bansho;

namespace {

class ReceiptKinds : public bansho::testing::HistoryRig {};

// Time and date rows read as they were shown, aligned with the plain rows' units.
TEST_F(ReceiptKinds, TimeAndDateRowsReadAsShown) {
    THForm& h = Start();
    Type("1");
    form_->ExecCommand(60);
    Type("30+");
    Type("1234");
    form_->ExecCommand(60);
    Type("5=");
    ASSERT_EQ(h.HistWin->Count(), 2);
    EXPECT_EQ(h.Model().RowText(0), QStringLiteral("             ＋1:30:00"));
    EXPECT_EQ(h.Model().RowText(1), QStringLiteral("         ＋1,234:05:00"));
    Type("20261207");
    form_->ExecCommand(61);
    Type("-5=");
    ASSERT_EQ(h.HistWin->Count(), 2);
    EXPECT_EQ(h.Model().RowText(0), QStringLiteral("          ＋2026-12-07"));
    EXPECT_EQ(h.Model().RowText(1), QStringLiteral("                   －5."));
}

// The check selects the row where the second keying differs, and leaves the receipt as the
// first keying made it.
TEST_F(ReceiptKinds, TheCheckSelectsTheRowThatDiffers) {
    THForm& h = Start();
    Type("1280+450+2300=");
    ASSERT_EQ(h.HistWin->Count(), 3);
    EXPECT_EQ(h.SelectedRow(), 2);
    form_->ExecCommand(63);
    Type("1280+540+");
    EXPECT_EQ(h.SelectedRow(), 1);
    EXPECT_EQ(h.HistWin->Count(), 3);
    EXPECT_EQ(h.Model().RowText(1), QStringLiteral("                 ＋450."));
    EXPECT_EQ(form_->NumMark->text(), QStringLiteral("検算×"));
    // 検算 shows the first keying's entry, the row stays selected.
    form_->ExecCommand(63);
    EXPECT_EQ(form_->DNumber->text(), QStringLiteral("450."));
    EXPECT_EQ(form_->NumMark->text(), QStringLiteral("前"));
    EXPECT_EQ(h.SelectedRow(), 1);
}

} // namespace
