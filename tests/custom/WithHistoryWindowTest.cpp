// The customization dialog with the real history window docked to the main window: colours,
// transparency and style reach both windows, and Cancel takes them back from both.
#include "ColorChooser.h"
#include "ColorValue.h"
#include "MessageBoxes.h"
#include "RadioButtonGroup.h"
#include "ReceiptListView.h"
#include "TCForm.h"
#include "THForm.h"
#include "TMForm.h"
#include "WindowHelpers.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace bansho;

namespace {

class WithHistoryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        main_ = std::make_unique<TMForm>(std::filesystem::path(dir_.path().toStdString()) /
                                         "bansho.ENV");
        hist_ = std::make_unique<THForm>(*main_);
        SetColorChooser([this](QWidget*, ColorValue) { return next_; });
    }
    void TearDown() override {
        SetColorChooser({});
        hist_.reset();
        main_.reset();
    }

    QTemporaryDir dir_;
    std::unique_ptr<TMForm> main_;
    std::unique_ptr<THForm> hist_;
    std::optional<ColorValue> next_;
};

TEST_F(WithHistoryWindow, HistoryColoursActAtOnceAndCancelTakesThemBack) {
    const QColor before = hist_->HistWin->BackgroundColor();
    TCForm dlg(*main_);
    next_ = 0x000000FF; // red
    dlg.btnHst->click();
    EXPECT_EQ(hist_->HistWin->BackgroundColor(), QColor(Qt::red));
    dlg.CancelBtn->click();
    EXPECT_EQ(hist_->HistWin->BackgroundColor(), before);
}

TEST_F(WithHistoryWindow, CalculatorWindowColourAlsoColoursTheHistory) {
    TCForm dlg(*main_);
    next_ = 0x0000FF00; // green
    dlg.btnWin->click();
    dlg.OKBtn->click();
    EXPECT_EQ(hist_->HistWin->BackgroundColor(), QColor(Qt::green));
    EXPECT_EQ(main_->WinBase->palette().color(QPalette::Window), QColor(Qt::green));
}

TEST_F(WithHistoryWindow, TransparencyPreviewAndStyleReachTheHistoryWindow) {
    {
        TCForm dlg(*main_);
        dlg.AlphaType->Button(1)->click();
        dlg.AlphaUpDown->setValue(90);
        EXPECT_EQ(platform::WindowAlpha(hist_.get()), 90);
        dlg.StayTop->setChecked(true);
        dlg.OKBtn->click();
    }
    EXPECT_EQ(platform::WindowAlpha(hist_.get()), 255); // the program is active
    EXPECT_TRUE(platform::IsStayOnTop(hist_.get()));
}

} // namespace
