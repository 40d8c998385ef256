// The customization dialog against a real main window: opening, OK, Cancel, the close box,
// colours, transparency, the font and the page layout.
#include "ColorValue.h"
#include "CustomFixture.h"
#include "FontFit.h"
#include "LayoutCheck.h"
#include "RadioButtonGroup.h"
#include "WindowHelpers.h"
#include "RowNames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <functional>

using namespace bansho;
using namespace bansho::testing;

namespace {

constexpr ColorValue kGreen = 0x0000FF00;
constexpr ColorValue kBlue = 0x00FF0000;

void ExpectSameOption(const TOption& a, const TOption& b) {
    EXPECT_EQ(a.HistSet, b.HistSet);
    EXPECT_EQ(a.Acount, b.Acount);
    EXPECT_EQ(a.CalcMem, b.CalcMem);
    EXPECT_EQ(a.TaxRate, b.TaxRate);
    EXPECT_EQ(a.UserKEY, b.UserKEY);
    EXPECT_EQ(a.UserTCH, b.UserTCH);
}

void ExpectSameWindowOptions(const WindowOptions& a, const WindowOptions& b) {
    EXPECT_EQ(a.StayHist, b.StayHist);
    EXPECT_EQ(a.MoveDot, b.MoveDot);
    EXPECT_EQ(a.FuncType, b.FuncType);
    EXPECT_EQ(a.Cycle, b.Cycle);
    EXPECT_EQ(a.Hint, b.Hint);
    EXPECT_EQ(a.Upper, b.Upper);
    EXPECT_EQ(a.SmallFont, b.SmallFont);
    EXPECT_EQ(a.Margin, b.Margin);
    EXPECT_EQ(a.AlphaBlendType, b.AlphaBlendType);
    EXPECT_EQ(a.AlphaBlendValue, b.AlphaBlendValue);
}

void ExpectSameColors(const DisplayColorSet& a, const DisplayColorSet& b) {
    EXPECT_EQ(a.MPanel, b.MPanel);
    EXPECT_EQ(a.Number, b.Number);
    EXPECT_EQ(a.Error, b.Error);
    EXPECT_EQ(a.HPanel, b.HPanel);
    EXPECT_EQ(a.HNumber, b.HNumber);
}

QColor PanelColour(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

// ---- OK without changes -------------------------------------------------------------------

struct SettingsCase {
    const char* name;
    std::function<void(TMForm&)> setUp;
};

class OkWithoutChanges : public CustomFixture,
                         public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(OkWithoutChanges, KeepsEverySetting) {
    GetParam().setUp(*main);
    const TOption option = main->Option();
    const WindowOptions winOptions = main->WinOptions();
    const DisplayColorSet colors = main->DisplayColors();
    const TCalcStatus status = main->Status();
    const KeyConfig keys = main->Keys();
    const bool statusBar = main->StatusBarVisible();
    const bool stayOnTop = main->StayOnTop();
    const QString face = main->DisplayFontName();
    const int style = main->DisplayFontStyle();

    {
        auto dlg = Open();
        dlg->OKBtn->click();
        EXPECT_EQ(dlg->result(), QDialog::Accepted);
    }

    ExpectSameOption(main->Option(), option);
    ExpectSameWindowOptions(main->WinOptions(), winOptions);
    ExpectSameColors(main->DisplayColors(), colors);
    EXPECT_EQ(main->Status().KeyCUST, status.KeyCUST);
    EXPECT_EQ(main->Status().UseNumKey, status.UseNumKey);
    EXPECT_EQ(main->Keys().KeyTable, keys.KeyTable);
    EXPECT_EQ(main->Keys().FuncDispStr, keys.FuncDispStr);
    EXPECT_EQ(main->Keys().FuncCommand, keys.FuncCommand);
    EXPECT_EQ(main->StatusBarVisible(), statusBar);
    EXPECT_EQ(main->StayOnTop(), stayOnTop);
    EXPECT_EQ(main->DisplayFontName(), face);
    EXPECT_EQ(main->DisplayFontStyle(), style);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OkWithoutChanges,
    ::testing::Values(
        SettingsCase{"first_run_defaults", [](TMForm&) {}},
        SettingsCase{"every_option_away_from_its_default",
                     [](TMForm& m) {
                         TOption& o = m.Option();
                         WindowOptions& w = m.WinOptions();
                         o.HistSet = 1;
                         o.Acount = 1;
                         o.CalcMem = false;
                         w.StayHist = false;
                         w.MoveDot = 37;
                         w.FuncType = 8;
                         o.TaxRate = "8.5";
                         w.Cycle = false;
                         w.Hint = false;
                         w.Upper = true;
                         w.SmallFont = true;
                         w.Margin = true;
                         w.AlphaBlendType = 2;
                         w.AlphaBlendValue = 120;
                         o.UserTCH = "abcdefghijklmnopq";
                         o.UserKEY = "ABCDEFGHIJKLMNOPQ";
                         m.Status().UseNumKey = true;
                         m.Status().KeyCUST = true;
                         m.DisplayColors() = {kGreen, kBlue, 0x00123456, 0x00654321, 0x00ABCDEF};
                         m.SetStayOnTop(true);
                         m.ToggleStatusBar();
                         m.SetDisplayFont(QStringLiteral("DejaVu Serif"), 3);
                     }},
        SettingsCase{"captions_with_commas_blanks_and_quotes",
                     [](TMForm& m) {
                         m.Keys().FuncDispStr[1] =
                             "\"a,b\",\"x y\",\"say \"\"hi\"\"\",4,5,6,7,8,9,10,11,12";
                         m.Keys().FuncCommand[2] = "50,1,2,3,4,5,6,7,8,9,10,11";
                     }},
        SettingsCase{"edited_file_values_the_dialog_does_not_offer",
                     [](TMForm& m) {
                         m.WinOptions().FuncType = 9; // no radio item: left as it was
                         m.WinOptions().AlphaBlendType = 1;
                         m.WinOptions().AlphaBlendValue = 100;
                         m.Keys().KeyTable[13] = 77; // a number the catalogue does not define
                     }}),
    [](const ::testing::TestParamInfo<SettingsCase>& info) { return info.param.name; });

// ---- OK applies the controls --------------------------------------------------------------

TEST_F(CustomFixture, OkStoresEveryControlInItsSetting) {
    auto dlg = Open();
    dlg->Acount->SetItemIndex(1);
    dlg->HistSet->SetItemIndex(0);
    dlg->MemCalc->setChecked(true); // inverted: CalcMem off
    dlg->StayHist->setChecked(false);
    dlg->HUpper->setChecked(true);
    dlg->Cycle->setChecked(false);
    dlg->FHint->setChecked(false);
    dlg->SFont->setChecked(true);
    dlg->KeyCnt->SetItemIndex(1);
    dlg->MoveDot->setValue(55);
    dlg->StayTop->setChecked(true);
    dlg->SBar->setChecked(false);
    dlg->OKBtn->click();
    dlg.reset();

    const TOption& o = main->Option();
    const WindowOptions& w = main->WinOptions();
    EXPECT_EQ(o.Acount, 1);
    EXPECT_EQ(o.HistSet, 0);
    EXPECT_FALSE(o.CalcMem);
    EXPECT_FALSE(w.StayHist);
    EXPECT_TRUE(w.Upper);
    EXPECT_FALSE(w.Cycle);
    EXPECT_FALSE(w.Hint);
    EXPECT_TRUE(w.SmallFont);
    EXPECT_EQ(w.FuncType, 10);
    EXPECT_EQ(w.MoveDot, 55);
    EXPECT_TRUE(main->StayOnTop());
    EXPECT_TRUE(platform::IsStayOnTop(&history.window));
    EXPECT_FALSE(main->StatusBarVisible());
    EXPECT_EQ(main->Layout().keyCount, 10);
    // The history window re-applies its options and takes the hint setting.
    EXPECT_EQ(history.activations, 1);
    ASSERT_TRUE(history.hints.has_value());
    EXPECT_FALSE(*history.hints);
}

TEST_F(CustomFixture, MoveDotEditKeepsTheLastValueWhenItsTextIsNoNumber) {
    main->WinOptions().MoveDot = 12;
    auto dlg = Open();
    dlg->MoveDot->findChild<QLineEdit*>()->setText(QString());
    dlg->OKBtn->click();
    EXPECT_EQ(main->WinOptions().MoveDot, 12);
}

TEST_F(CustomFixture, TaxRateIsTrimmedAndShownWithTwoLeadingBlanksNextTime) {
    {
        auto dlg = Open();
        EXPECT_EQ(dlg->TaxRate->text(), QStringLiteral("  10"));
        dlg->TaxRate->setText(QStringLiteral(" \t 8.5  "));
        dlg->OKBtn->click();
    }
    EXPECT_EQ(main->Option().TaxRate, "8.5");
    auto dlg = Open();
    EXPECT_EQ(dlg->TaxRate->text(), QStringLiteral("  8.5"));
}

// A rate that is not a number from 0 to 100 is refused with a message naming its field; the
// dialog stays open with the field in focus and nothing is stored.
TEST_F(CustomFixture, TaxRatesThatAreNoRatesAreRefusedByName) {
    const struct {
        const char* typed;
        bool second;
        const char* stored; // nullptr: refused
    } rows[] = {
        {"abc", false, nullptr}, {"-5", false, nullptr}, {"101", false, nullptr},
        {"10%", false, nullptr}, {"abc", true, nullptr}, {"-5", true, nullptr},
        {"101", true, nullptr},  {"10%", true, nullptr}, {"８", true, "8"},
        {"6.5", true, "6.5"},    {"０", false, "0"},     {"100", false, "100"},
    };
    for (const auto& r : rows) {
        main->Option().TaxRate = "10";
        main->Option().TaxRate2 = "8";
        messages.clear();
        auto dlg = Open();
        dlg->show();
        QLineEdit* edit = r.second ? dlg->TaxRate2 : dlg->TaxRate;
        edit->clear();
        const QString typed = QString::fromUtf8(r.typed);
        if (typed.toLatin1() == QByteArray(r.typed)) {
            QTest::keyClicks(edit, typed);
        } else {
            // Full-width digits come from an input method, as its committed text.
            QInputMethodEvent commit;
            commit.setCommitString(typed);
            QApplication::sendEvent(edit, &commit);
        }
        dlg->OKBtn->click();
        const std::string& stored = r.second ? main->Option().TaxRate2 : main->Option().TaxRate;
        if (r.stored) {
            EXPECT_TRUE(messages.empty()) << r.typed;
            EXPECT_EQ(stored, r.stored) << r.typed;
            continue;
        }
        ASSERT_EQ(messages.size(), 1u) << r.typed;
        EXPECT_TRUE(messages[0].text.startsWith(r.second ? QStringLiteral("税率２(軽減)")
                                                         : QStringLiteral("税率１(標準)")))
            << messages[0].text.toStdString();
        EXPECT_TRUE(dlg->isVisible()) << r.typed;
        EXPECT_EQ(dlg->focusWidget(), edit) << r.typed; // where the keyboard goes back
        EXPECT_EQ(stored, r.second ? "8" : "10") << r.typed;
        dlg->CancelBtn->click();
    }
}

// ---- Cancel and the close box -------------------------------------------------------------

TEST_F(CustomFixture, CancelAfterCalculatorColourRestoresBothWindows) {
    const QColor face = PanelColour(main->WinBase);
    auto dlg = Open();
    nextColor = kGreen;
    dlg->btnWin->click();

    // At once: the calculator, the sample and the history window.
    EXPECT_EQ(PanelColour(main->WinBase), ToQColor(kGreen));
    EXPECT_EQ(PanelColour(dlg->NumPanel), ToQColor(kGreen));
    ASSERT_FALSE(history.colors.empty());
    EXPECT_EQ(history.colors.back(), std::make_pair(kGreen, clBlack));

    dlg->CancelBtn->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(main->DisplayColors().MPanel, clBtnFace);
    EXPECT_EQ(main->DisplayColors().HPanel, clBtnFace);
    EXPECT_EQ(PanelColour(main->WinBase), face);
    EXPECT_EQ(history.colors.back(), std::make_pair(clBtnFace, clBlack));
}

TEST_F(CustomFixture, EscapeIsCancel) {
    main->Option().HistSet = 2;
    auto dlg = Open();
    nextColor = kBlue;
    dlg->btnErr->click();
    dlg->show();
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(main->DisplayColors().Error, clRed);
}

TEST_F(CustomFixture, CloseBoxKeepsLiveChangesAndDropsTheRest) {
    auto dlg = Open();
    dlg->show();
    nextColor = kBlue;
    dlg->btnNum->click();
    dlg->HistSet->SetItemIndex(0);
    dlg->close();
    dlg.reset();
    EXPECT_EQ(main->DisplayColors().Number, kBlue);
    EXPECT_EQ(main->DisplayColors().HNumber, kBlue);
    EXPECT_EQ(main->Option().HistSet, 2);
}

// ---- Colour buttons -----------------------------------------------------------------------

struct ColorCase {
    const char* name;
    QPushButton* TCForm::*button;
    ColorValue DisplayColorSet::*edited;
    std::vector<ColorValue DisplayColorSet::*> changed;
    bool mainChanges;
    bool historyChanges;
};

class ColourButtons : public CustomFixture, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ColourButtons, StoreTheChoiceAndActOnTheirWindows) {
    const ColorCase& c = GetParam();
    main->DisplayColors() = {0x00000001, 0x00000002, 0x00000003, 0x00000004, 0x00000005};
    main->SetMarkColors();
    auto dlg = Open();
    history.colors.clear();
    const QColor mainBefore = PanelColour(main->WinBase);
    const QColor numberBefore = main->DNumber->palette().color(QPalette::WindowText);

    // A cancelled chooser changes nothing.
    nextColor.reset();
    (dlg.get()->*c.button)->click();
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0], main->DisplayColors().*c.edited); // preset to the colour edited
    EXPECT_TRUE(history.colors.empty());

    nextColor = kGreen;
    const DisplayColorSet before = main->DisplayColors();
    (dlg.get()->*c.button)->click();
    DisplayColorSet expected = before;
    for (auto field : c.changed)
        expected.*field = kGreen;
    ExpectSameColors(main->DisplayColors(), expected);

    const bool mainChanged = PanelColour(main->WinBase) != mainBefore ||
                             main->DNumber->palette().color(QPalette::WindowText) != numberBefore;
    EXPECT_EQ(mainChanged, c.mainChanges && c.edited != &DisplayColorSet::Error);
    EXPECT_EQ(!history.colors.empty(), c.historyChanges);
    if (c.historyChanges) {
        EXPECT_EQ(history.colors.back(), std::make_pair(expected.HPanel, expected.HNumber));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ColourButtons,
    ::testing::Values(ColorCase{"calculator_window_also_sets_history_background",
                                &TCForm::btnWin,
                                &DisplayColorSet::MPanel,
                                {&DisplayColorSet::MPanel, &DisplayColorSet::HPanel},
                                true,
                                true},
                      ColorCase{"calculator_text_also_sets_history_text",
                                &TCForm::btnNum,
                                &DisplayColorSet::Number,
                                {&DisplayColorSet::Number, &DisplayColorSet::HNumber},
                                true,
                                true},
                      ColorCase{"error_colour_only",
                                &TCForm::btnErr,
                                &DisplayColorSet::Error,
                                {&DisplayColorSet::Error},
                                true,
                                false},
                      ColorCase{"history_window_only",
                                &TCForm::btnHst,
                                &DisplayColorSet::HPanel,
                                {&DisplayColorSet::HPanel},
                                false,
                                true},
                      ColorCase{"history_text_only",
                                &TCForm::btnHNum,
                                &DisplayColorSet::HNumber,
                                {&DisplayColorSet::HNumber},
                                false,
                                true}),
    [](const ::testing::TestParamInfo<ColorCase>& info) { return info.param.name; });

TEST_F(CustomFixture, ErrorColourShowsOnAnOverflowAtOnce) {
    // 9 / 0 overflows; the display is then drawn in the error colour.
    for (int c : {9, 20, 0, 21})
        main->ExecCommand(c);
    ASSERT_TRUE(main->Engine().Display().Error);
    auto dlg = Open();
    nextColor = kGreen;
    dlg->btnErr->click();
    EXPECT_EQ(main->DNumber->palette().color(QPalette::WindowText), ToQColor(kGreen));
}

// ---- Transparency -------------------------------------------------------------------------

TEST_F(CustomFixture, TransparencyCaptionFollowsTypeAndSlider) {
    main->WinOptions().AlphaBlendType = 0;
    auto dlg = Open();
    EXPECT_EQ(dlg->AlphaLabel->title(), QStringLiteral(" 透明度 "));
    EXPECT_FALSE(dlg->AlphaUpDown->isEnabled());

    dlg->AlphaType->Button(1)->click();
    EXPECT_TRUE(dlg->AlphaUpDown->isEnabled());
    EXPECT_EQ(dlg->AlphaLabel->title(), QStringLiteral(" 透明度 180 "));
    dlg->AlphaUpDown->setValue(dlg->AlphaUpDown->minimum());
    EXPECT_EQ(dlg->AlphaLabel->title(), QStringLiteral(" 透明度 50 "));

    dlg->AlphaType->Button(0)->click();
    EXPECT_EQ(dlg->AlphaLabel->title(), QStringLiteral(" 透明度 "));
    EXPECT_FALSE(dlg->AlphaLabel->isEnabled());
}

TEST_F(CustomFixture, TrackBarRangeAndSteps) {
    auto dlg = Open();
    EXPECT_EQ(dlg->AlphaUpDown->minimum(), 50);
    EXPECT_EQ(dlg->AlphaUpDown->maximum(), 255);
    dlg->AlphaUpDown->setValue(100);
    dlg->show();
    dlg->AlphaUpDown->setFocus();
    QTest::keyClick(dlg->AlphaUpDown, Qt::Key_Right);
    EXPECT_EQ(dlg->AlphaUpDown->value(), 110);
    QTest::keyClick(dlg->AlphaUpDown, Qt::Key_PageUp);
    EXPECT_EQ(dlg->AlphaUpDown->value(), 115);
}

struct AlphaCase {
    const char* name;
    int type;
    int previewAlpha; // both windows while the dialog is open, slider at 100
    int afterOkAlpha; // both windows after OK while the program is active
};

class TransparencyPreview : public CustomFixture,
                            public ::testing::WithParamInterface<AlphaCase> {};

TEST_P(TransparencyPreview, ActsOnBothWindowsAtOnce) {
    const AlphaCase& c = GetParam();
    main->WinOptions().AlphaBlendType = 0;
    auto dlg = Open();
    dlg->AlphaType->Button(c.type)->click();
    dlg->AlphaUpDown->setValue(100);
    EXPECT_EQ(platform::WindowAlpha(main.get()), c.previewAlpha);
    EXPECT_EQ(platform::WindowAlpha(&history.window), c.previewAlpha);
    // The preview borrows "always" but leaves the chosen type in the settings.
    EXPECT_EQ(main->WinOptions().AlphaBlendType, c.type);
    EXPECT_EQ(main->WinOptions().AlphaBlendValue, 100);

    dlg->OKBtn->click();
    dlg.reset();
    EXPECT_EQ(main->WinOptions().AlphaBlendType, c.type);
    EXPECT_EQ(platform::WindowAlpha(main.get()), c.afterOkAlpha);
    EXPECT_EQ(platform::WindowAlpha(&history.window), c.afterOkAlpha);
    // Inactive, "while inactive" and "always" are translucent.
    main->OnAppDeactivate();
    EXPECT_EQ(platform::WindowAlpha(main.get()), c.type > 0 ? 100 : 255);
}

INSTANTIATE_TEST_SUITE_P(Rows, TransparencyPreview,
                         ::testing::Values(AlphaCase{"never", 0, 255, 255},
                                           AlphaCase{"while_inactive", 1, 100, 255},
                                           AlphaCase{"always", 2, 100, 100}),
                         [](const ::testing::TestParamInfo<AlphaCase>& info) {
                             return info.param.name;
                         });

TEST_F(CustomFixture, CancelRestoresTransparency) {
    auto dlg = Open(); // factory: while inactive, 180
    dlg->AlphaType->Button(2)->click();
    dlg->AlphaUpDown->setValue(60);
    dlg->CancelBtn->click();
    dlg.reset();
    EXPECT_EQ(main->WinOptions().AlphaBlendType, 1);
    EXPECT_EQ(main->WinOptions().AlphaBlendValue, 180);
    EXPECT_EQ(platform::WindowAlpha(main.get()), 255); // active program, type 1
}

// ---- Font ---------------------------------------------------------------------------------

class FontPage : public CustomFixture {
protected:
    // Two listed faces: the one the display uses, and another.
    void UseListedFace() {
        const QStringList faces = ListScreenFonts();
        ASSERT_GE(faces.size(), 2);
        inUse = faces[0];
        other = faces[1];
        main->SetDisplayFont(inUse, 0);
    }
    void Choose(TCForm& dlg, const QString& face) {
        const int i = dlg.FontList->findText(face, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(i, 0);
        dlg.FontList->setCurrentIndex(i);
        emit dlg.FontList->activated(i);
    }
    QString inUse, other;
};

TEST_F(FontPage, FaceInUseIsSelectedAndTheSampleShowsIt) {
    UseListedFace();
    auto dlg = Open();
    EXPECT_EQ(dlg->FontList->currentText(), inUse);
    EXPECT_EQ(dlg->NumLabel->font().family(), inUse);
    EXPECT_EQ(dlg->NumLabel->text(), TCForm::kSampleText);
}

TEST_F(FontPage, FaceNotListedLeavesTheListWithoutSelection) {
    main->SetDisplayFont(QStringLiteral("ＭＳ Ｐゴシック"), 0);
    auto dlg = Open();
    EXPECT_EQ(dlg->FontList->currentIndex(), -1);
    EXPECT_EQ(dlg->NumLabel->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    // Choosing a style keeps that face.
    dlg->FontStyle->Button(1)->click();
    EXPECT_EQ(dlg->NumLabel->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    dlg->OKBtn->click();
    EXPECT_EQ(main->DisplayFontName(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(main->DisplayFontStyle(), 1);
}

struct MarginCase {
    const char* name;
    bool marginAtOpening;
};

class MarginRule : public FontPage, public ::testing::WithParamInterface<MarginCase> {};

TEST_P(MarginRule, OtherFaceUnchecksAndFaceInUseRestoresTheOpeningState) {
    UseListedFace();
    main->WinOptions().Margin = GetParam().marginAtOpening;
    auto dlg = Open();
    EXPECT_EQ(dlg->Margin->isChecked(), GetParam().marginAtOpening);
    Choose(*dlg, other);
    EXPECT_FALSE(dlg->Margin->isChecked());
    EXPECT_EQ(dlg->NumLabel->font().family(), other);
    dlg->Margin->setChecked(true);
    Choose(*dlg, inUse);
    EXPECT_EQ(dlg->Margin->isChecked(), GetParam().marginAtOpening);
}

INSTANTIATE_TEST_SUITE_P(Rows, MarginRule,
                         ::testing::Values(MarginCase{"checked_at_opening", true},
                                           MarginCase{"unchecked_at_opening", false}),
                         [](const ::testing::TestParamInfo<MarginCase>& info) {
                             return info.param.name;
                         });

TEST_F(FontPage, OkGivesTheDisplayTheChosenFaceAndStyle) {
    UseListedFace();
    auto dlg = Open();
    Choose(*dlg, other);
    dlg->FontStyle->Button(3)->click();
    EXPECT_TRUE(dlg->NumLabel->font().bold());
    EXPECT_TRUE(dlg->NumLabel->font().italic());
    dlg->OKBtn->click();
    EXPECT_EQ(main->DisplayFontName(), other);
    EXPECT_EQ(main->DisplayFontStyle(), 3);
    EXPECT_EQ(main->DNumber->font().family(), other);
}

TEST_F(FontPage, CancelKeepsTheDisplayFont) {
    UseListedFace();
    auto dlg = Open();
    Choose(*dlg, other);
    dlg->CancelBtn->click();
    EXPECT_EQ(main->DisplayFontName(), inUse);
}

// ---- Pages and hints ----------------------------------------------------------------------

TEST_F(CustomFixture, OpensOnTheFirstOfFourPagesWithItsTitleAndSize) {
    auto dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral(" バンショ ＡＳＤカスタマイズ"));
    EXPECT_EQ(dlg->size(), QSize(456, 366));
    ASSERT_EQ(dlg->Custom->count(), 4);
    EXPECT_EQ(dlg->Custom->tabText(0), QStringLiteral("計算方法"));
    EXPECT_EQ(dlg->Custom->tabText(1), QStringLiteral("キーカスタマイズ"));
    EXPECT_EQ(dlg->Custom->tabText(2), QStringLiteral("表示色とフォント"));
    EXPECT_EQ(dlg->Custom->tabText(3), QStringLiteral("オプション"));
    EXPECT_EQ(dlg->Custom->currentIndex(), 0);
    EXPECT_TRUE(dlg->OKBtn->isDefault());
    EXPECT_TRUE(dlg->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(CustomFixture, HintsStayTenSecondsOnTheKeyPageOnly) {
    auto dlg = Open();
    EXPECT_EQ(dlg->HintHidePause(), 2500);
    dlg->Custom->setCurrentIndex(TCForm::PageKeys);
    EXPECT_EQ(dlg->HintHidePause(), 10000);
    EXPECT_EQ(dlg->CLBox->toolTipDuration(), 10000);
    dlg->Custom->setCurrentIndex(TCForm::PageDisplay);
    EXPECT_EQ(dlg->CLBox->toolTipDuration(), 2500);
}

TEST_F(CustomFixture, PageChangeRepaintsTheSampleInTheCurrentColours) {
    auto dlg = Open();
    main->DisplayColors().MPanel = kGreen; // changed behind the dialog's back (live)
    dlg->Custom->setCurrentIndex(TCForm::PageDisplay);
    EXPECT_EQ(PanelColour(dlg->NumPanel), ToQColor(kGreen));
}

TEST_F(CustomFixture, NothingOnAnyPageIsClippedOrOverlaps) {
    auto dlg = Open();
    dlg->show();
    for (int p = 0; p < dlg->Custom->count(); ++p) {
        dlg->Custom->setCurrentIndex(p);
        for (QWidget* tab : {dlg->TabKList, dlg->TabFList}) {
            dlg->KFLCtrl->setCurrentWidget(tab);
            QApplication::processEvents();
            ExpectNothingClippedOrOverlapping(dlg->Custom->widget(p),
                                              QStringLiteral("page %1").arg(p), {dlg->NumLabel});
        }
        // The tabs themselves.
        const QTabBar* bar = dlg->Custom->tabBar();
        for (int t = 0; t < bar->count(); ++t)
            EXPECT_GE(bar->tabRect(t).width(),
                      bar->fontMetrics().horizontalAdvance(bar->tabText(t)));
    }
    const QTabBar* keys = dlg->KFLCtrl->tabBar();
    EXPECT_LE(keys->tabRect(1).right(), dlg->KFLCtrl->width());
    for (int t = 0; t < keys->count(); ++t)
        EXPECT_GE(keys->tabRect(t).width(),
                  keys->fontMetrics().horizontalAdvance(keys->tabText(t)));
    ExpectNothingClippedOrOverlapping(dlg.get(), QStringLiteral("dialog"), {dlg->NumLabel});
}

} // namespace
