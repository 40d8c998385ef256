// The key page of the customization dialog: assigning commands to keys and function keys,
// function-key captions, the NUM-key option and the factory reset.
#include "TCForm.h"

#include "Beep.h"
#include "MessageBoxes.h"
#include "RadioButtonGroup.h"
#include "Settings.h"
#include "TKForm.h"
#include "TMForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bansho {

namespace {

QStringList ToQStrings(const std::vector<std::string>& items) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& s : items)
        list << QString::fromStdString(s);
    return list;
}

const std::string& At(const std::vector<std::string>& list, int i) {
    static const std::string empty;
    return i >= 0 && static_cast<std::size_t>(i) < list.size() ? list[static_cast<std::size_t>(i)]
                                                               : empty;
}

} // namespace

QWidget* TCForm::BuildKeyPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    const QString keyHint = QStringLiteral("機能を割り付けたいキーを選びます");

    KFLCtrl = new QTabWidget(page);
    KFLCtrl->setObjectName("KFLCtrl");
    KFLCtrl->setAccessibleName(QStringLiteral("キーの一覧"));
    TabKList = new QWidget;
    auto* kv = new QVBoxLayout(TabKList);
    kv->setContentsMargins(4, 4, 4, 4);
    KLBox = new QListWidget(TabKList);
    KLBox->setObjectName("KLBox");
    KLBox->setAccessibleName(QStringLiteral("文字キー"));
    KLBox->setToolTip(keyHint);
    kv->addWidget(KLBox);
    KFLCtrl->addTab(TabKList, QStringLiteral("文字キー"));

    TabFList = new QWidget;
    auto* fv = new QVBoxLayout(TabFList);
    fv->setContentsMargins(4, 4, 4, 4);
    fv->setSpacing(4);
    FLBox = new QListWidget(TabFList);
    FLBox->setObjectName("FLBox");
    FLBox->setAccessibleName(QStringLiteral("Ｆ１～Ｆ１２キー"));
    FLBox->setToolTip(keyHint);
    fv->addWidget(FLBox, 1);
    auto* capRow = new QHBoxLayout;
    FStrLabel = new QLabel(QStringLiteral("機能表示"), TabFList);
    FStrED = new QLineEdit(TabFList);
    FStrED->setObjectName("FStrED");
    FStrED->setToolTip(QStringLiteral("画面上のキートップ文字列を入力します"));
    capRow->addWidget(FStrLabel);
    FStrLabel->setBuddy(FStrED);
    capRow->addWidget(FStrED, 1);
    fv->addLayout(capRow);
    KFLCtrl->addTab(TabFList, QStringLiteral("Ｆ１～Ｆ１２キー"));
    grid->addWidget(KFLCtrl, 0, 0);

    // The key lists are as wide as their two tabs; the command list takes the rest.
    KFLCtrl->tabBar()->setUsesScrollButtons(false);
    KFLCtrl->setFixedWidth(KFLCtrl->tabBar()->sizeHint().width() + 4);

    // The NUM-key check box takes the panel's width, so its button sits just below it.
    auto* right = new QWidget(page);
    auto* rv = new QVBoxLayout(right);
    rv->setContentsMargins(0, 0, 0, 0);
    rv->setSpacing(2);
    UseNumKey = new QCheckBox(QStringLiteral("キーボードＮＵＭキー (一部機種のみ)"), right);
    UseNumKey->setObjectName("UseNumKey");
    UseNumKey->setToolTip(QStringLiteral("ノートパソコンのキーボードＮＵＭキーを有効にします"));
    btKeySET = new QPushButton(QStringLiteral("NUM キー登録"), right);
    btKeySET->setObjectName("btKeySET");
    rv->addWidget(UseNumKey);
    rv->addWidget(btKeySET, 0, Qt::AlignRight);
    rv->addSpacing(2);
    CLBox = new QListWidget(right);
    CLBox->setObjectName("CLBox");
    CLBox->setAccessibleName(QStringLiteral("割り付ける機能"));
    rv->addWidget(CLBox, 1);
    grid->addWidget(right, 0, 1);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 1);

    btInitKeyTbl = new QPushButton(QStringLiteral("キーカスタマイズ内容を初期化する"), page);
    btInitKeyTbl->setObjectName("btInitKeyTbl");
    btInitKeyTbl->setToolTip(
        QStringLiteral("すべてのキーカスタマイズを初期化し、バンショ初期設定に戻します"));
    grid->addWidget(btInitKeyTbl, 1, 0, 1, 2);

    connect(KLBox, &QListWidget::currentRowChanged, this, &TCForm::KLBoxClick);
    connect(FLBox, &QListWidget::currentRowChanged, this, &TCForm::FLBoxClick);
    connect(KFLCtrl, &QTabWidget::currentChanged, this, &TCForm::KFLCtrlChange);
    // A click assigns even the command already selected; moving with the keys assigns too.
    connect(CLBox, &QListWidget::currentRowChanged, this, &TCForm::CLBoxClick);
    connect(CLBox, &QListWidget::itemClicked, this, &TCForm::CLBoxClick);
    connect(FStrED, &QLineEdit::textChanged, this, &TCForm::FStrEDChange);
    connect(UseNumKey, &QCheckBox::toggled, this, &TCForm::UseNumKeyClick);
    connect(btKeySET, &QPushButton::clicked, this, &TCForm::btKeySETClick);
    connect(btInitKeyTbl, &QPushButton::clicked, this, &TCForm::btInitKeyTblClick);
    for (QWidget* w : {static_cast<QWidget*>(KLBox), TabKList, static_cast<QWidget*>(FLBox),
                       TabFList, static_cast<QWidget*>(FStrED)})
        w->installEventFilter(this);
    return page;
}

// Focus entering a key list (or its tab page, or the caption edit) shows its assignment.
bool TCForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == KLBox || watched == TabKList)
            KLBoxClick();
        else if (watched == FLBox || watched == TabFList || watched == FStrED)
            FLBoxClick();
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Filling ------------------------------------------------------------------------------

void TCForm::SetCurrentKeyTBL() {
    // Empty the lists and list boxes (no handler runs while they are refilled).
    const QSignalBlocker blockK(KLBox), blockF(FLBox), blockC(CLBox);
    KLBox->clear();
    FLBox->clear();
    CLBox->clear();

    // The function-key count on the options page.
    switch (winOptions_.FuncType) {
    case 8:
        KeyCnt->SetItemIndex(0);
        break;
    case 10:
        KeyCnt->SetItemIndex(1);
        break;
    case 12:
        KeyCnt->SetItemIndex(2);
        break;
    default:
        break;
    }

    // Keys, offered commands, the 36 function-key slots.
    lists_.Fill(keys_);
    KLBox->addItems(ToQStrings(lists_.KeyNames));
    CLBox->addItems(ToQStrings(lists_.CmdDescriptions));
    FLBox->addItems(ToQStrings(lists_.FKeyNames));

    // First entries selected, and the command of the tab shown.
    KLBox->setCurrentRow(0);
    FLBox->setCurrentRow(0);
    SelectCommand(KeyTabShown() ? At(lists_.KeyCmdList, 0) : At(lists_.FKeyCmdList, 0));

    // The caption of the first slot.
    FStrED->setText(QString::fromStdString(At(lists_.FKeyCapList, 0)));

    // Only now do edits mark the keys as customized, so opening leaves the flag alone.
    lists_.OnChange = [this] { MarkKeyCustomized(); };
}

bool TCForm::KeyTabShown() const {
    return KFLCtrl->currentWidget() == TabKList;
}

// Selects the command in the command list without assigning it; an unknown number leaves
// the list without selection.
void TCForm::SelectCommand(const std::string& command) {
    const QSignalBlocker block(CLBox);
    const int i = KeyAssignmentLists::IndexOf(lists_.CmdNoList, command);
    if (i < 0) CLBox->clearSelection();
    CLBox->setCurrentRow(i);
}

// ---- Selection sync and assignment ---------------------------------------------------------

void TCForm::KLBoxClick() {
    const int k = KLBox->currentRow();
    if (k >= 0) SelectCommand(At(lists_.KeyCmdList, k));
}

void TCForm::FLBoxClick() {
    const int s = FLBox->currentRow();
    if (s < 0) return;
    SelectCommand(At(lists_.FKeyCmdList, s));
    FStrED->setText(QString::fromStdString(At(lists_.FKeyCapList, s)));
}

void TCForm::KFLCtrlChange() {
    if (KeyTabShown())
        KLBoxClick();
    else
        FLBoxClick();
}

void TCForm::CLBoxClick() {
    const int i = CLBox->currentRow();
    if (i < 0) return;
    if (KeyTabShown()) {
        lists_.SetKeyCmd(KLBox->currentRow(), At(lists_.CmdNoList, i));
    } else {
        lists_.SetFKeyCmd(FLBox->currentRow(), At(lists_.CmdNoList, i));
        // The slot takes the command's own caption through the caption rule.
        FStrED->setText(QString::fromStdString(At(lists_.CmdCapList, i)));
    }
}

void TCForm::FStrEDChange(const QString& text) {
    lists_.SetFKeyCap(FLBox->currentRow(), text.toStdString());
}

void TCForm::MarkKeyCustomized() {
    status_.KeyCUST = true;
    btInitKeyTbl->setEnabled(true);
}

// ---- NUM keys -----------------------------------------------------------------------------

void TCForm::UseNumKeyClick() {
    btKeySET->setEnabled(UseNumKey->isChecked());
}

void TCForm::btKeySETClick() {
    // Parented to this dialog so that it opens above it; it writes the NUM-key strings itself.
    TKForm dialog(option_, this);
    dialog.exec();
}

// ---- Factory reset ------------------------------------------------------------------------

void TCForm::btInitKeyTblClick() {
    if (!platform::AskYesNo(
            this,
            QStringLiteral("すべてのキーカスタマイズ内容を初期化し、バンショ初期設定に戻します。")))
        return;
    if (!platform::AskYesNo(
            this,
            QStringLiteral("この操作はやり直しが出来ません。本当に実行してもよろしいですか？")))
        return;
    InitKeyTBL(keys_, option_, status_);
    SetCurrentKeyTBL();
    status_.KeyCUST = false;
    btInitKeyTbl->setEnabled(false);
    UseNumKey->setChecked(status_.UseNumKey);
    UseNumKeyClick();
    // The file goes now; the next save writes a new one from the settings in memory.
    (void)DeleteSettingsFile(owner_.EnvFile().string());
    platform::Beep();
    platform::ShowMessage(
        this, QStringLiteral(
                  "すべてのキーカスタマイズ内容を、バンショ初期設定(工場出荷値)に戻しました。"));
}

// ---- OK -----------------------------------------------------------------------------------

void TCForm::WriteBackKeys() {
    lists_.WriteBack(keys_);
}

} // namespace bansho
