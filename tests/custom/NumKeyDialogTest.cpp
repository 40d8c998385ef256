// The NUM-key character dialog: opening, the buttons' enabling rules, the factory and register
// questions, and the key codes derived from the typed characters.
#include "CustomFixture.h"
#include "KeyConfig.h"
#include "KeyMapping.h"
#include "LayoutCheck.h"
#include "TKForm.h"
#include "RowNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace bansho;
using namespace bansho::testing;

namespace {

class NumKeyDialog : public CustomFixture {
protected:
    void SetUp() override {
        CustomFixture::SetUp();
        // The factory key codes are those of the Japanese layout (the semicolon key is the
        // one Windows names after the plus sign there).
        previousLayout_ = platform::FallbackLayout();
        platform::SetFallbackLayout(platform::KeyLayout::Jis);
        option.UserTCH = std::string(kFactoryUserTCH);
        option.UserKEY = std::string(kFactoryUserKEY);
    }
    void TearDown() override {
        platform::SetFallbackLayout(previousLayout_);
        CustomFixture::TearDown();
    }
    std::unique_ptr<TKForm> OpenNum() {
        auto dlg = std::make_unique<TKForm>(option, nullptr);
        dlg->show();
        return dlg;
    }
    static void Retype(TKForm& dlg, const QString& text) {
        dlg.UserNumTCH->setFocus();
        dlg.UserNumTCH->selectAll();
        QTest::keyClick(dlg.UserNumTCH, Qt::Key_Backspace);
        QTest::keyClicks(dlg.UserNumTCH, text);
    }

    TOption option;
    platform::KeyLayout previousLayout_{};
};

TEST_F(NumKeyDialog, OpensWithItsTitleSizeAndPlace) {
    auto dlg = OpenNum();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral(" ＮＵＭ キー登録"));
    EXPECT_EQ(dlg->size(), QSize(396, 212));
    EXPECT_EQ(dlg->pos(), QPoint(455, 300));
    EXPECT_EQ(dlg->NumRow->text(), QStringLiteral("０１２３４５６７８９．，＋－×÷＝"));
    EXPECT_FALSE(dlg->NumRow->isEnabled());
    EXPECT_EQ(dlg->UserNumTCH->maxLength(), 17);
}

TEST_F(NumKeyDialog, NothingIsClippedOrOverlaps) {
    auto dlg = OpenNum();
    ExpectNothingClippedOrOverlapping(dlg.get(), QStringLiteral("NUM-key dialog"));
    // Every typed character stands below its keypad character.
    const int wide = dlg->NumRow->fontMetrics().horizontalAdvance(TKForm::kNumKeyRowWide);
    const int typed =
        dlg->UserNumTCH->fontMetrics().horizontalAdvance(QStringLiteral("mjkluio789.,;0p-/"));
    EXPECT_NEAR(typed, wide, 17);
    EXPECT_LE(wide, dlg->NumRow->contentsRect().width());
}

TEST_F(NumKeyDialog, FactoryStringsGiveResetDisabledAndRegisterEnabled) {
    auto dlg = OpenNum();
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("mjkluio789.,;0p-/"));
    EXPECT_FALSE(dlg->btINI->isEnabled());
    EXPECT_TRUE(dlg->btSET->isEnabled());
}

TEST_F(NumKeyDialog, UserStringsEnableTheReset) {
    option.UserTCH = "abcdefghijklmnopq";
    auto dlg = OpenNum();
    EXPECT_TRUE(dlg->btINI->isEnabled());
}

TEST_F(NumKeyDialog, RegisterNeedsExactlySeventeenCharacters) {
    auto dlg = OpenNum();
    dlg->UserNumTCH->setFocus();
    dlg->UserNumTCH->end(false);
    QTest::keyClick(dlg->UserNumTCH, Qt::Key_Backspace);
    EXPECT_FALSE(dlg->btSET->isEnabled());
    EXPECT_TRUE(dlg->btINI->isEnabled()); // any key pressed in the edit
    QTest::keyClick(dlg->UserNumTCH, Qt::Key_Slash, Qt::NoModifier);
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("mjkluio789.,;0p-/"));
    EXPECT_TRUE(dlg->btSET->isEnabled());
    // An eighteenth character is refused.
    QTest::keyClicks(dlg->UserNumTCH, QStringLiteral("x"));
    EXPECT_EQ(dlg->UserNumTCH->text().size(), 17);
}

TEST_F(NumKeyDialog, AnyKeyPressedInTheEditEnablesTheReset) {
    auto dlg = OpenNum();
    ASSERT_FALSE(dlg->btINI->isEnabled());
    dlg->UserNumTCH->setFocus();
    QTest::keyClick(dlg->UserNumTCH, Qt::Key_Shift);
    EXPECT_TRUE(dlg->btINI->isEnabled());
}

TEST_F(NumKeyDialog, OnlySingleByteCharactersOtherThanTheBlankAreTaken) {
    auto dlg = OpenNum();
    Retype(*dlg, QStringLiteral("a b"));
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("ab"));
    dlg->UserNumTCH->clear();
    // Characters an input method or a dead key would give.
    for (const QString& t : {QStringLiteral("１"), QStringLiteral("2"), QStringLiteral("é")})
        QTest::sendKeyEvent(QTest::Click, dlg->UserNumTCH, Qt::Key_unknown, t, Qt::NoModifier);
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("2"));
}

struct RegisterCase {
    const char* name;
    const char* typed;
    const char* wording;
};

class Register : public NumKeyDialog, public ::testing::WithParamInterface<RegisterCase> {};

TEST_P(Register, StoresTheCharactersAndTheFactoryKeyCodes) {
    option.UserTCH = "abcdefghijklmnopq";
    option.UserKEY = "ABCDEFGHIJKLMNOPQ";
    auto dlg = OpenNum();
    Retype(*dlg, QString::fromLatin1(GetParam().typed));
    answers = {true};
    dlg->btSET->click();

    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(Questions()[0], QStringLiteral("ＮＵＭキーの文字を、") +
                                  QString::fromUtf8(GetParam().wording) + QStringLiteral(" 「") +
                                  QString::fromLatin1(GetParam().typed) +
                                  QStringLiteral("」 で登録します！"));
    EXPECT_EQ(messages[0].title, QStringLiteral("確認"));
    EXPECT_EQ(option.UserTCH, GetParam().typed);
    // Upper and lower case of a letter are the same key.
    EXPECT_EQ(option.UserKEY, kFactoryUserKEY);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dlg->isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Register,
    ::testing::Values(RegisterCase{"factory_characters", "mjkluio789.,;0p-/", "工場出荷値の"},
                      // The comparison with the factory text is exact.
                      RegisterCase{"factory_characters_in_upper_case", "MJKLUIO789.,;0P-/",
                                   "ユーザー指定の"}),
    [](const ::testing::TestParamInfo<RegisterCase>& info) { return info.param.name; });

TEST_F(NumKeyDialog, UserCharactersGiveTheirKeysCodes) {
    auto dlg = OpenNum();
    Retype(*dlg, QStringLiteral("qwertyuio[],@:;^\\"));
    answers = {true};
    dlg->btSET->click();
    EXPECT_EQ(option.UserTCH, "qwertyuio[],@:;^\\");
    const std::string expected = {'Q',    'W',    'E',    'R',    'T',    'Y',
                                  'U',    'I',    'O',    '\xDB', '\xDD', '\xBC',
                                  '\xC0', '\xBA', '\xBB', '\xDE', '\xE2'};
    // On the JIS layout "\" is the key left of the right Shift (its own code) or the yen key;
    // either way it is a key, never "no key".
    ASSERT_EQ(option.UserKEY.size(), 17u);
    EXPECT_EQ(option.UserKEY.substr(0, 16), expected.substr(0, 16));
    EXPECT_NE(static_cast<unsigned char>(option.UserKEY[16]), 0xFF);
}

TEST_F(NumKeyDialog, CharacterNoKeyProducesGivesFF) {
    const std::string codes = TKForm::KeyCodesFor(QStringLiteral("a\u00E9"));
    ASSERT_EQ(codes.size(), 2u);
    EXPECT_EQ(codes[0], 'A');
    EXPECT_EQ(static_cast<unsigned char>(codes[1]), 0xFF);
}

TEST_F(NumKeyDialog, NoToTheRegisterQuestionClosesWithoutStoring) {
    option.UserTCH = "abcdefghijklmnopq";
    option.UserKEY = "ABCDEFGHIJKLMNOPQ";
    auto dlg = OpenNum();
    Retype(*dlg, QStringLiteral("mjkluio789.,;0p-/"));
    answers = {false};
    dlg->btSET->click();
    EXPECT_EQ(Questions().size(), 1u);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(option.UserTCH, "abcdefghijklmnopq");
    EXPECT_EQ(option.UserKEY, "ABCDEFGHIJKLMNOPQ");
}

TEST_F(NumKeyDialog, FactoryButtonThenCancelLeavesTheFactoryStrings) {
    option.UserTCH = "abcdefghijklmnopq";
    option.UserKEY = "ABCDEFGHIJKLMNOPQ";
    auto dlg = OpenNum();
    answers = {true};
    dlg->btINI->click();
    EXPECT_EQ(Questions().at(0),
              QStringLiteral("ＮＵＭキーの文字を、工場出荷値に戻してもよろしいですか？"));
    EXPECT_EQ(option.UserTCH, kFactoryUserTCH);
    EXPECT_EQ(option.UserKEY, kFactoryUserKEY);
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("mjkluio789.,;0p-/"));
    EXPECT_TRUE(dlg->isVisible()); // the dialog stays open
    dlg->btCancel->click();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(option.UserTCH, kFactoryUserTCH);
    EXPECT_EQ(option.UserKEY, kFactoryUserKEY);
}

TEST_F(NumKeyDialog, DecliningTheFactoryQuestionChangesNothing) {
    option.UserTCH = "abcdefghijklmnopq";
    auto dlg = OpenNum();
    answers = {false};
    dlg->btINI->click();
    EXPECT_EQ(option.UserTCH, "abcdefghijklmnopq");
    EXPECT_EQ(dlg->UserNumTCH->text(), QStringLiteral("abcdefghijklmnopq"));
}

// Through the customization dialog: NUM-key strings registered, then that dialog cancelled.
TEST_F(NumKeyDialog, CustomizeCancelRestoresTheNumKeyStrings) {
    main->Status().UseNumKey = true;
    const std::string tch = main->Option().UserTCH;
    const std::string key = main->Option().UserKEY;
    auto cust = Open();
    cust->show();
    cust->Custom->setCurrentIndex(TCForm::PageKeys);
    ASSERT_TRUE(cust->btKeySET->isEnabled());
    answers = {true};
    bool seen = false;
    QTimer::singleShot(0, cust.get(), [&] {
        auto* num = qobject_cast<TKForm*>(QApplication::activeModalWidget());
        ASSERT_NE(num, nullptr);
        seen = true;
        num->UserNumTCH->setText(QStringLiteral("qwertyuiopasdfghj"));
        num->btSET->click();
    });
    cust->btKeySET->click();
    ASSERT_TRUE(seen);
    EXPECT_EQ(main->Option().UserTCH, "qwertyuiopasdfghj"); // live at once
    EXPECT_EQ(main->Option().UserKEY, "QWERTYUIOPASDFGHJ");
    cust->CancelBtn->click();
    EXPECT_EQ(main->Option().UserTCH, tch);
    EXPECT_EQ(main->Option().UserKEY, key);
}

TEST_F(NumKeyDialog, CustomizeOkKeepsTheRegisteredStrings) {
    main->Status().UseNumKey = true;
    auto cust = Open();
    cust->show();
    answers = {true};
    QTimer::singleShot(0, cust.get(), [] {
        auto* num = qobject_cast<TKForm*>(QApplication::activeModalWidget());
        ASSERT_NE(num, nullptr);
        num->UserNumTCH->setText(QStringLiteral("MJKLUIO789.,;0P-/"));
        num->btSET->click();
    });
    cust->btKeySET->click();
    cust->OKBtn->click();
    EXPECT_EQ(main->Option().UserTCH, "MJKLUIO789.,;0P-/");
    EXPECT_EQ(main->Option().UserKEY, kFactoryUserKEY);
}

} // namespace
