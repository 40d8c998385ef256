// The key page of the customization dialog: the lists, selection sync, assignment, captions,
// the customization mark, the NUM-key controls, the factory reset and the write-back on OK.
#include "CommaText.h"
#include "CommandTable.h"
#include "CustomFixture.h"
#include "RadioButtonGroup.h"
#include "TFuncKey.h"
#include "RowNames.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <fstream>

using namespace bansho;
using namespace bansho::testing;

namespace {

class KeyPage : public CustomFixture {
protected:
    std::unique_ptr<TCForm> OpenKeys() {
        auto dlg = Open();
        dlg->show();
        dlg->Custom->setCurrentIndex(TCForm::PageKeys);
        return dlg;
    }
    static int Row(QListWidget* list, const QString& text) {
        const auto found = list->findItems(text, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list->row(found.front());
    }
    // A user's click on a command of the command list.
    static void ClickCommand(TCForm& dlg, const QString& description) {
        const int row = Row(dlg.CLBox, description);
        ASSERT_GE(row, 0) << description.toStdString();
        QListWidgetItem* item = dlg.CLBox->item(row);
        dlg.CLBox->scrollToItem(item);
        QTest::mouseClick(dlg.CLBox->viewport(), Qt::LeftButton, {},
                          dlg.CLBox->visualItemRect(item).center());
    }
    static void ShowFunctionKeys(TCForm& dlg, int slot) {
        dlg.KFLCtrl->setCurrentWidget(dlg.TabFList);
        dlg.FLBox->setCurrentRow(slot);
    }
    static void ShowKey(TCForm& dlg, const QString& name) {
        dlg.KFLCtrl->setCurrentWidget(dlg.TabKList);
        dlg.KLBox->setCurrentRow(Row(dlg.KLBox, name));
    }
    static std::vector<std::string> Items(const std::string& commaText) {
        return SplitCommaText(commaText);
    }
};

// ---- Lists --------------------------------------------------------------------------------

struct FuncTypeCase {
    const char* name;
    int funcType;
    int radioItem;
};

class SlotList : public KeyPage, public ::testing::WithParamInterface<FuncTypeCase> {};

TEST_P(SlotList, ListsAll36SlotsWhateverTheKeyCount) {
    main->WinOptions().FuncType = GetParam().funcType;
    auto dlg = OpenKeys();
    ASSERT_EQ(dlg->FLBox->count(), 36);
    EXPECT_EQ(dlg->FLBox->item(0)->text(), QStringLiteral("A_FKEY1"));
    EXPECT_EQ(dlg->FLBox->item(11)->text(), QStringLiteral("A_FKEY12"));
    EXPECT_EQ(dlg->FLBox->item(12)->text(), QStringLiteral("B_FKEY1"));
    EXPECT_EQ(dlg->FLBox->item(35)->text(), QStringLiteral("C_FKEY12"));
    EXPECT_EQ(dlg->KeyCnt->ItemIndex(), GetParam().radioItem);
}

INSTANTIATE_TEST_SUITE_P(Rows, SlotList,
                         ::testing::Values(FuncTypeCase{"eight_keys", 8, 0},
                                           FuncTypeCase{"ten_keys", 10, 1},
                                           FuncTypeCase{"twelve_keys", 12, 2}),
                         [](const ::testing::TestParamInfo<FuncTypeCase>& info) {
                             return info.param.name;
                         });

TEST_F(KeyPage, OffersEveryDescribedCommandInNumberOrderAndEveryNamedKey) {
    auto dlg = OpenKeys();
    int described = 0;
    for (const CommandRecord& r : CommandTable())
        described += r.Defined() ? 1 : 0;
    // The catalogue describes 80 commands, 255 ("no action") among them, and the decimal
    // selector, the rounding rule, 印刷 and its preview, rate 2's keys, the tax total, the
    // pricing, count and conversion keys, 時間, 日付, 両端, 検算 and 元に戻す are offered like
    // every other.
    EXPECT_EQ(described, 80);
    ASSERT_EQ(dlg->CLBox->count(), described);
    EXPECT_EQ(dlg->CLBox->item(0)->text(), QStringLiteral("０入力"));
    EXPECT_EQ(dlg->CLBox->item(10)->text(), QStringLiteral("コンマ入力"));
    EXPECT_EQ(dlg->CLBox->item(described - 1)->text(), QStringLiteral("<< 未定義 >>"));
    EXPECT_EQ(dlg->KeyLists().CmdNoList[10], "16"); // "016" without its leading zero
    EXPECT_EQ(dlg->KeyLists().CmdNoList.back(), "255");
    for (const char* added : {"小数点以下桁数の切替", "端数処理の切替", "レシートの印刷",
                              "レシートの印刷プレビュー", "税率２の税込み金額表示",
                              "税率２の税抜き金額表示", "税計算合計 (税率別)",
                              "最後のクリアを元に戻す"})
        EXPECT_EQ(dlg->CLBox->findItems(QString::fromUtf8(added), Qt::MatchExactly).size(), 1)
            << added;
    ASSERT_EQ(dlg->KLBox->count(), 78);
    EXPECT_EQ(dlg->KLBox->item(0)->text(), QStringLiteral("BACK"));
    EXPECT_EQ(Row(dlg->KLBox, QStringLiteral("TKEY_0")),
              Row(dlg->KLBox, QStringLiteral("CKEY_Z")) + 1);
}

TEST_F(KeyPage, OpensOnTheFirstKeyWithItsCommandSelected) {
    auto dlg = OpenKeys();
    EXPECT_EQ(dlg->KLBox->currentRow(), 0);
    EXPECT_EQ(dlg->FLBox->currentRow(), 0);
    // BACK performs 35, "繰り下げクリア".
    EXPECT_EQ(dlg->CLBox->currentItem()->text(), QStringLiteral("繰り下げクリア"));
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("Ａ↓"));
}

// ---- Selection sync -----------------------------------------------------------------------

TEST_F(KeyPage, SelectionFollowsTheKeyAndTheSlot) {
    auto dlg = OpenKeys();
    ShowKey(*dlg, QStringLiteral("ADD"));
    EXPECT_EQ(dlg->CLBox->currentItem()->text(), QStringLiteral("＋計算"));
    ShowFunctionKeys(*dlg, 26); // C_FKEY3: command 201, caption "クリア"
    EXPECT_EQ(dlg->CLBox->currentItem()->text(), QStringLiteral("クリアメニュー"));
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("クリア"));
    // Back to the key tab: the key's command again.
    dlg->KFLCtrl->setCurrentWidget(dlg->TabKList);
    EXPECT_EQ(dlg->CLBox->currentItem()->text(), QStringLiteral("＋計算"));
}

TEST_F(KeyPage, CommandNotOfferedShowsNoSelectionAndStaysAsItWas) {
    main->Keys().FuncCommand[0] = "016,24,25,26,27,28,22,34,37,23,38,39"; // leading zeros
    main->Keys().KeyTable[13] = 77;                                       // no description
    auto dlg = OpenKeys();
    ShowFunctionKeys(*dlg, 0);
    EXPECT_EQ(dlg->CLBox->currentRow(), -1);
    EXPECT_TRUE(dlg->CLBox->selectedItems().isEmpty());
    ShowKey(*dlg, QStringLiteral("RETURN"));
    EXPECT_EQ(dlg->CLBox->currentRow(), -1);
    dlg->OKBtn->click();
    EXPECT_EQ(Items(main->Keys().FuncCommand[0])[0], "016");
    EXPECT_EQ(main->Keys().KeyTable[13], 77);
}

// ---- Assignment ---------------------------------------------------------------------------

TEST_F(KeyPage, UndefinedCommandTakesAKeysFunctionAway) {
    auto dlg = OpenKeys();
    ShowKey(*dlg, QStringLiteral("RETURN"));
    ClickCommand(*dlg, QStringLiteral("<< 未定義 >>"));
    dlg->OKBtn->click();
    EXPECT_EQ(main->Keys().KeyTable[13], 255);
}

TEST_F(KeyPage, CommaEntryForASlotGivesItsCaption) {
    auto dlg = OpenKeys();
    ShowFunctionKeys(*dlg, 3); // A_FKEY4, "ＨＣ"
    ClickCommand(*dlg, QStringLiteral("コンマ入力"));
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("．"));
    EXPECT_EQ(dlg->KeyLists().FKeyCapList[3], "．");
    dlg->OKBtn->click();
    EXPECT_EQ(Items(main->Keys().FuncDispStr[0])[3], "．");
    EXPECT_EQ(Items(main->Keys().FuncCommand[0])[3], "16");
    // Nothing else of set A moved.
    EXPECT_EQ(Items(main->Keys().FuncDispStr[0])[4], "ＨＳ");
}

TEST_F(KeyPage, TypedCaptionReplacesTheCommandsOwn) {
    auto dlg = OpenKeys();
    ShowFunctionKeys(*dlg, 13); // B_FKEY2
    ClickCommand(*dlg, QStringLiteral("メモリクリア"));
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("ＭＣ"));
    dlg->FStrED->setFocus();
    dlg->FStrED->selectAll();
    QTest::keyClicks(dlg->FStrED, QStringLiteral("MC!"));
    dlg->OKBtn->click();
    EXPECT_EQ(Items(main->Keys().FuncDispStr[1])[1], "MC!");
    EXPECT_EQ(Items(main->Keys().FuncCommand[1])[1], "29");
}

TEST_F(KeyPage, ArrowKeysInTheCommandListAssignAsTheyMove) {
    auto dlg = OpenKeys();
    dlg->show();
    ShowKey(*dlg, QStringLiteral("CKEY_A")); // factory 255, the last command
    dlg->CLBox->setFocus();
    QTest::keyClick(dlg->CLBox, Qt::Key_Up);
    const int a = Row(dlg->KLBox, QStringLiteral("CKEY_A"));
    EXPECT_EQ(dlg->KeyLists().KeyCmdList[static_cast<std::size_t>(a)], "254");
    QTest::keyClick(dlg->CLBox, Qt::Key_Up);
    EXPECT_EQ(dlg->KeyLists().KeyCmdList[static_cast<std::size_t>(a)], "205");
    EXPECT_TRUE(main->Status().KeyCUST);
}

TEST_F(KeyPage, CancelDropsAssignments) {
    auto dlg = OpenKeys();
    ShowKey(*dlg, QStringLiteral("HOME"));
    ClickCommand(*dlg, QStringLiteral("クリア"));
    ShowFunctionKeys(*dlg, 0);
    dlg->FStrED->setText(QStringLiteral("xx"));
    dlg->CancelBtn->click();
    EXPECT_EQ(main->Keys().KeyTable[36], 24);
    EXPECT_EQ(main->Keys().FuncDispStr[0], kFactoryFuncDispStr[0]);
}

// ---- Customization mark -------------------------------------------------------------------

TEST_F(KeyPage, OpeningAndOkLeaveTheMarkAsItWas) {
    for (const bool mark : {false, true}) {
        main->Status().KeyCUST = mark;
        auto dlg = OpenKeys();
        EXPECT_EQ(dlg->btInitKeyTbl->isEnabled(), mark);
        dlg->OKBtn->click();
        EXPECT_EQ(main->Status().KeyCUST, mark);
    }
}

TEST_F(KeyPage, ChoosingTheCommandAlreadyAssignedMarksTheKeys) {
    auto dlg = OpenKeys();
    ShowKey(*dlg, QStringLiteral("ADD"));
    ASSERT_FALSE(main->Status().KeyCUST);
    ClickCommand(*dlg, QStringLiteral("＋計算")); // the one already selected
    EXPECT_TRUE(main->Status().KeyCUST);          // live at once, before OK
    EXPECT_TRUE(dlg->btInitKeyTbl->isEnabled());
    dlg->CancelBtn->click();
    EXPECT_TRUE(main->Status().KeyCUST); // Cancel does not take it back
}

TEST_F(KeyPage, MovingBetweenSlotsMarksOnlyWhenTheCaptionsDiffer) {
    main->Keys().FuncDispStr[0] = "same,same,other,4,5,6,7,8,9,10,11,12";
    auto dlg = OpenKeys();
    ShowFunctionKeys(*dlg, 0);
    ShowFunctionKeys(*dlg, 1);
    EXPECT_FALSE(main->Status().KeyCUST);
    ShowFunctionKeys(*dlg, 2);
    EXPECT_TRUE(main->Status().KeyCUST);
}

// ---- Write-back ---------------------------------------------------------------------------

TEST_F(KeyPage, SetWithMoreThanTwelveItemsKeepsTheFirstTwelve) {
    main->Keys().FuncDispStr[2] = "1,2,3,4,5,6,7,8,9,10,11,12,13,14";
    main->Keys().FuncCommand[2] = "0,1,2,3,4,5,6,7,8,9,16,17,18,19";
    auto dlg = OpenKeys();
    dlg->OKBtn->click();
    EXPECT_EQ(main->Keys().FuncDispStr[2], "1,2,3,4,5,6,7,8,9,10,11,12");
    EXPECT_EQ(main->Keys().FuncCommand[2], "0,1,2,3,4,5,6,7,8,9,16,17");
}

struct CaptionCase {
    const char* name;
    const char* caption;
    const char* stored; // how the set holds it
};

class CaptionRoundTrip : public KeyPage, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionRoundTrip, CaptionSurvivesOkAndReopening) {
    const QString caption = QString::fromUtf8(GetParam().caption);
    {
        auto dlg = OpenKeys();
        ShowFunctionKeys(*dlg, 17); // B_FKEY6
        dlg->FStrED->setText(caption);
        dlg->OKBtn->click();
    }
    const auto items = Items(main->Keys().FuncDispStr[1]);
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(items[5], GetParam().caption);
    EXPECT_NE(main->Keys().FuncDispStr[1].find(GetParam().stored), std::string::npos)
        << main->Keys().FuncDispStr[1];

    auto dlg = OpenKeys();
    ShowFunctionKeys(*dlg, 17);
    EXPECT_EQ(dlg->FStrED->text(), caption);
    ShowFunctionKeys(*dlg, 18);
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("Ｍ－")); // the neighbour did not shift
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CaptionRoundTrip,
    ::testing::Values(CaptionCase{"comma", "1,000", "\"1,000\""},
                      CaptionCase{"blank", "M +", "\"M +\""},
                      CaptionCase{"double_quote", "say \"hi\"", "\"say \"\"hi\"\"\""},
                      CaptionCase{"empty", "", ",,"}),
    [](const ::testing::TestParamInfo<CaptionCase>& info) { return info.param.name; });

// Rate 2's keys and the tax total go on a key and a function key, are saved in the settings
// file and come back at the next start.
TEST_F(KeyPage, TaxKeysOfRateTwoAssignSaveAndComeBack) {
    {
        auto dlg = OpenKeys();
        ShowKey(*dlg, QStringLiteral("CKEY_Q"));
        ClickCommand(*dlg, QStringLiteral("税率２の税込み金額表示"));
        ShowKey(*dlg, QStringLiteral("CKEY_W"));
        ClickCommand(*dlg, QStringLiteral("税率２の税抜き金額表示"));
        ShowFunctionKeys(*dlg, 17); // B_FKEY6
        ClickCommand(*dlg, QStringLiteral("税計算合計 (税率別)"));
        dlg->OKBtn->click();
    }
    EXPECT_EQ(main->Keys().KeyTable['Q'], 46);
    EXPECT_EQ(main->Keys().KeyTable['W'], 47);
    EXPECT_EQ(FuncSetKeys(main->Keys(), 1)[5].Command, 48);
    EXPECT_EQ(FuncSetKeys(main->Keys(), 1)[5].Caption, "税合計");
    main->Option().TaxRate2 = "5";
    ASSERT_TRUE(main->SaveSettingsQuietly());
    TMForm again(env_);
    EXPECT_EQ(again.Keys().KeyTable['Q'], 46);
    EXPECT_EQ(again.Keys().KeyTable['W'], 47);
    EXPECT_EQ(FuncSetKeys(again.Keys(), 1)[5].Command, 48);
    EXPECT_EQ(again.Option().TaxRate2, "5");
}

TEST_F(KeyPage, KeysWithoutANameKeepTheirAssignmentThroughOk) {
    main->Keys().KeyTable[61] = 21;
    main->Keys().KeyTable[42] = 7; // unnamed, changed by some other route
    auto dlg = OpenKeys();
    ShowKey(*dlg, QStringLiteral("CKEY_Q"));
    ClickCommand(*dlg, QStringLiteral("９入力"));
    dlg->OKBtn->click();
    EXPECT_EQ(main->Keys().KeyTable[81], 9);
    EXPECT_EQ(main->Keys().KeyTable[42], 7);
    EXPECT_EQ(main->Keys().KeyTable[61], 21);
}

TEST_F(KeyPage, Command151RunsTheDialogAndTheBarShowsTheNewCaption) {
    InstallCustomizeDialog(*main);
    // The modal dialog is answered from inside its own event loop.
    QTimer::singleShot(0, main.get(), [] {
        auto* dlg = qobject_cast<TCForm*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->Custom->setCurrentIndex(TCForm::PageKeys);
        dlg->KFLCtrl->setCurrentWidget(dlg->TabFList);
        dlg->FLBox->setCurrentRow(1);
        dlg->FStrED->setText(QStringLiteral("全消"));
        dlg->OKBtn->click();
    });
    main->ExecCommand(151);
    EXPECT_EQ(Items(main->Keys().FuncDispStr[0])[1], "全消");
    EXPECT_EQ(main->FKey->GetKey(1)->Caption(), QStringLiteral("全消"));
}

// ---- NUM-key controls ---------------------------------------------------------------------

TEST_F(KeyPage, NumKeyButtonFollowsTheCheckBox) {
    for (const bool on : {false, true}) {
        main->Status().UseNumKey = on;
        auto dlg = OpenKeys();
        EXPECT_EQ(dlg->UseNumKey->isChecked(), on);
        EXPECT_EQ(dlg->btKeySET->isEnabled(), on);
        dlg->UseNumKey->click();
        EXPECT_EQ(dlg->btKeySET->isEnabled(), !on);
        EXPECT_EQ(main->Status().UseNumKey, on); // only OK stores it
        dlg->OKBtn->click();
        EXPECT_EQ(main->Status().UseNumKey, !on);
    }
}

// ---- Factory reset ------------------------------------------------------------------------

class FactoryReset : public KeyPage {
protected:
    void Customize() {
        main->Keys().KeyTable[36] = 30;
        main->Keys().FuncDispStr[0] = "x,y,z,4,5,6,7,8,9,10,11,12";
        main->Status().UseNumKey = true;
        main->Status().KeyCUST = true;
        main->Option().UserTCH = "qwertyuiopasdfghj";
        main->Option().UserKEY = "QWERTYUIOPASDFGHJ";
        std::ofstream(env_) << "[COMMAND]\r\nHOME=30\r\n";
    }
};

TEST_F(FactoryReset, TwoYesAnswersRestoreTheFactoryKeysAndDeleteTheFile) {
    Customize();
    auto dlg = OpenKeys();
    answers = {true, true};
    beeps = 0;
    dlg->btInitKeyTbl->click();

    const auto q = Questions();
    ASSERT_EQ(q.size(), 2u);
    EXPECT_EQ(q[0], QStringLiteral(
                        "すべてのキーカスタマイズ内容を初期化し、バンショ初期設定に戻します。"));
    EXPECT_EQ(q[1],
              QStringLiteral("この操作はやり直しが出来ません。本当に実行してもよろしいですか？"));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].title, QStringLiteral("確認"));
    EXPECT_EQ(messages[2].kind, platform::MessageKind::Plain);
    EXPECT_EQ(messages[2].text,
              QStringLiteral(
                  "すべてのキーカスタマイズ内容を、バンショ初期設定(工場出荷値)に戻しました。"));
    EXPECT_EQ(beeps, 3); // one per question, one before the final message

    EXPECT_EQ(main->Keys().KeyTable[36], 24);
    EXPECT_EQ(main->Keys().FuncDispStr[0], kFactoryFuncDispStr[0]);
    EXPECT_FALSE(main->Status().UseNumKey);
    EXPECT_FALSE(main->Status().KeyCUST);
    EXPECT_EQ(main->Option().UserTCH, kFactoryUserTCH);
    EXPECT_FALSE(dlg->UseNumKey->isChecked());
    EXPECT_FALSE(dlg->btKeySET->isEnabled());
    EXPECT_FALSE(dlg->btInitKeyTbl->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(env_));
    // The page shows the factory tables again.
    EXPECT_EQ(dlg->FStrED->text(), QStringLiteral("Ａ↓"));
    EXPECT_EQ(dlg->KeyLists().KeyCmdList[static_cast<std::size_t>(Row(dlg->KLBox, "HOME"))], "24");
}

TEST_F(FactoryReset, ThenCancelLeavesFactoryKeysWithTheOldNumKeyStrings) {
    Customize();
    auto dlg = OpenKeys();
    answers = {true, true};
    dlg->btInitKeyTbl->click();
    dlg->CancelBtn->click();
    dlg.reset();
    EXPECT_EQ(main->Keys().KeyTable[36], 24);
    EXPECT_EQ(main->Keys().FuncDispStr[0], kFactoryFuncDispStr[0]);
    EXPECT_FALSE(main->Status().UseNumKey);
    EXPECT_FALSE(main->Status().KeyCUST);
    EXPECT_EQ(main->Option().UserTCH, "qwertyuiopasdfghj");
    EXPECT_EQ(main->Option().UserKEY, "QWERTYUIOPASDFGHJ");
}

TEST_F(FactoryReset, ResetAndEditAgainMarksAnew) {
    Customize();
    auto dlg = OpenKeys();
    answers = {true, true};
    dlg->btInitKeyTbl->click();
    ShowKey(*dlg, QStringLiteral("HOME"));
    ClickCommand(*dlg, QStringLiteral("クリア"));
    EXPECT_TRUE(main->Status().KeyCUST);
    EXPECT_TRUE(dlg->btInitKeyTbl->isEnabled());
}

struct DeclineCase {
    const char* name;
    std::deque<bool> answers;
    std::size_t questionsAsked;
};

class ResetDeclined : public FactoryReset, public ::testing::WithParamInterface<DeclineCase> {};

TEST_P(ResetDeclined, ChangesNothing) {
    Customize();
    auto dlg = OpenKeys();
    answers = GetParam().answers;
    dlg->btInitKeyTbl->click();
    EXPECT_EQ(Questions().size(), GetParam().questionsAsked);
    EXPECT_EQ(messages.size(), GetParam().questionsAsked); // no final message
    EXPECT_EQ(main->Keys().KeyTable[36], 30);
    EXPECT_TRUE(main->Status().UseNumKey);
    EXPECT_TRUE(main->Status().KeyCUST);
    EXPECT_TRUE(dlg->btInitKeyTbl->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(env_));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ResetDeclined,
    ::testing::Values(DeclineCase{"no_to_the_first_question", {false}, 1},
                      DeclineCase{"no_to_the_second_question", {true, false}, 2}),
    [](const ::testing::TestParamInfo<DeclineCase>& info) { return info.param.name; });

TEST_F(FactoryReset, MissingSettingsFileIsNoError) {
    main->Status().KeyCUST = true;
    auto dlg = OpenKeys();
    answers = {true, true};
    dlg->btInitKeyTbl->click();
    EXPECT_FALSE(std::filesystem::exists(env_));
    EXPECT_EQ(messages.back().kind, platform::MessageKind::Plain);
}

} // namespace
