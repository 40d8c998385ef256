// The customization dialog: its pages, opening, OK, Cancel and closing.
#include "TCForm.h"

#include "Beep.h"
#include "FontFit.h"
#include "Fonts.h"
#include "HistoryLink.h"
#include "MessageBoxes.h"
#include "RadioButtonGroup.h"
#include "TaxBill.h"
#include "TMForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bansho {

const QString TCForm::kSampleText = QStringLiteral(" -123,456,789,012,345. ");

namespace {

using platform::PixelFont;

QCheckBox* MakeCheck(const char* text, QWidget* parent) {
    return new QCheckBox(QString::fromUtf8(text), parent);
}

// Strips blanks and control characters from both ends, and nothing else.
std::string TrimBlanks(const QString& text) {
    qsizetype b = 0, e = text.size();
    while (b < e && text[b].unicode() <= 0x20)
        ++b;
    while (e > b && text[e - 1].unicode() <= 0x20)
        --e;
    return text.mid(b, e - b).toStdString();
}

// Letters typed into the tax rate are shown in upper case.
class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

TCForm::TCForm(TMForm& owner)
    : QDialog(&owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      owner_(owner), option_(owner.Option()), colors_(owner.DisplayColors()),
      winOptions_(owner.WinOptions()), status_(owner.Status()), keys_(owner.Keys()) {
    setObjectName("CForm");
    Build();
    FormCreate();
}

TCForm::~TCForm() {
    FormDestroy();
}

// ---- Building -----------------------------------------------------------------------------

void TCForm::Build() {
    setWindowTitle(QStringLiteral(" バンショ ＡＳＤカスタマイズ"));
    setFont(PixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    setFixedSize(kClientWidth, kClientHeight);

    Custom = new QTabWidget(this);
    Custom->setAccessibleName(QStringLiteral("カスタマイズのページ"));
    Custom->setObjectName("Custom");
    Custom->setGeometry(6, 6, kClientWidth - 12, kClientHeight - 48);
    Custom->addTab(BuildCalcPage(), QStringLiteral("計算方法"));
    Custom->addTab(BuildKeyPage(), QStringLiteral("キーカスタマイズ"));
    Custom->addTab(BuildDisplayPage(), QStringLiteral("表示色とフォント"));
    Custom->addTab(BuildOptionPage(), QStringLiteral("オプション"));
    connect(Custom, &QTabWidget::currentChanged, this, &TCForm::CustomChange);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(kClientWidth - 184, kClientHeight - 36, 86, 28);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TCForm::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(kClientWidth - 92, kClientHeight - 36, 86, 28);
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, &TCForm::CancelBtnClick);

    // Buttons on the pages must not take Enter away from OK.
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b != OKBtn) b->setAutoDefault(false);
}

QWidget* TCForm::BuildCalcPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 4, 8, 4);
    v->setSpacing(2);

    Acount = new RadioButtonGroup(
        QStringLiteral(" 計算結果の表示方法 "),
        {QStringLiteral("有効桁以下「切り捨て」"), QStringLiteral("有効桁以下「四捨五入」")}, 2,
        page);
    v->addWidget(Acount);

    HistSet = new RadioButtonGroup(
        QStringLiteral(" 履歴の機能選択 "),
        {QStringLiteral("ユーザーメモ ：「ＨＳ」押下時のみ 表示数値を格納する"),
         QStringLiteral("計算レシート ：「＝」押下時の計算結果を 自動的に格納する"),
         QStringLiteral("入力レシート ： 計算中の「入力履歴」を すべて自動的に格納する")},
        1, page);
    v->addWidget(HistSet);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    MemGroup = new QGroupBox(QStringLiteral(" メモリー加減方法 "), page);
    auto* mem = new QVBoxLayout(MemGroup);
    mem->setContentsMargins(8, 4, 8, 8);
    MemCalc = MakeCheck("計算を実行せず、表示数値をそのまま加減する", MemGroup);
    mem->addWidget(MemCalc);
    row->addWidget(MemGroup, 1);

    TaxGroup = new QGroupBox(QStringLiteral(" 消費税率 "), page);
    auto* tax = new QGridLayout(TaxGroup);
    // Two rows of rates beside the memory group, with the conversion rates below: the rows
    // are set close so that the page keeps every control whole.
    tax->setContentsMargins(8, 0, 8, 2);
    tax->setHorizontalSpacing(6);
    tax->setVerticalSpacing(2);
    TaxRate = new QLineEdit(TaxGroup);
    TaxRate->setObjectName("TaxRate");
    TaxRate->setValidator(new UpperCaseValidator(TaxRate));
    TaxRate->setFixedWidth(64);
    TaxUnit = new QLabel(QStringLiteral("％"), TaxGroup);
    // Two rates, each named so that a user (and a screen reader) knows which is which.
    // The labels are short, so that the memory group beside keeps its whole caption; the
    // fields' names say the rate's number too.
    TaxLabel1 = new QLabel(QStringLiteral("標準"), TaxGroup);
    TaxLabel1->setBuddy(TaxRate);
    TaxRate->setAccessibleName(QStringLiteral("税率１(標準)"));
    TaxRate2 = new QLineEdit(TaxGroup);
    TaxRate2->setObjectName("TaxRate2");
    TaxRate2->setFixedWidth(64);
    TaxUnit2 = new QLabel(QStringLiteral("％"), TaxGroup);
    TaxLabel2 = new QLabel(QStringLiteral("軽減"), TaxGroup);
    TaxLabel2->setBuddy(TaxRate2);
    TaxRate2->setAccessibleName(QStringLiteral("税率２(軽減)"));
    tax->addWidget(TaxLabel1, 0, 0);
    tax->addWidget(TaxRate, 0, 1);
    tax->addWidget(TaxUnit, 0, 2);
    tax->addWidget(TaxLabel2, 1, 0);
    tax->addWidget(TaxRate2, 1, 1);
    tax->addWidget(TaxUnit2, 1, 2);
    tax->setColumnStretch(3, 1);
    row->addWidget(TaxGroup);
    v->addLayout(row);
    v->addWidget(BuildRateGroup(page));
    v->addStretch();
    return page;
}

QWidget* TCForm::BuildOptionPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    KeyCnt = new RadioButtonGroup(
        QStringLiteral(" ファンクションキーの個数 "),
        {QStringLiteral("８個"), QStringLiteral("１０個"), QStringLiteral("１２個")}, 3, page);
    top->addWidget(KeyCnt, 1);

    MoveGroup = new QGroupBox(page);
    auto* move = new QHBoxLayout(MoveGroup);
    move->setContentsMargins(8, 6, 8, 6);
    MoveDotLabel = new QLabel(QStringLiteral("高速移動時のドット数"), MoveGroup);
    MoveDot = new QSpinBox(MoveGroup);
    MoveDot->setObjectName("MoveDot");
    MoveDot->setRange(0, 100);
    MoveDot->setSingleStep(1);
    MoveDot->setFixedWidth(52);
    move->addWidget(MoveDotLabel);
    MoveDotLabel->setBuddy(MoveDot);
    move->addWidget(MoveDot);
    top->addWidget(MoveGroup);
    v->addLayout(top);

    OptGroup = new QGroupBox(QStringLiteral(" 表示オプション "), page);
    auto* grid = new QGridLayout(OptGroup);
    // The note below the kept-receipt option takes two lines when shown: the page has room
    // for them with a pixel less below the group's last line.
    grid->setContentsMargins(8, 4, 8, 5);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    SBar = MakeCheck("ステータスバーを表示する", OptGroup);
    FHint = MakeCheck("機能のヒント表示を行なう", OptGroup);
    HUpper = MakeCheck("ヒストリー窓を上に表示する", OptGroup);
    SFont = MakeCheck("ちょっと小さめのファンクションキー表示を行なう", OptGroup);
    StayTop = MakeCheck("バンショを 常に前面表示する", OptGroup);
    Cycle = MakeCheck("ヒストリーのシリンドリカル動作", OptGroup);
    StayHist = MakeCheck("選択でヒストリー窓を閉じない", OptGroup);
    grid->addWidget(SBar, 0, 0);
    grid->addWidget(FHint, 1, 0);
    grid->addWidget(HUpper, 2, 0);
    grid->addWidget(StayTop, 0, 1);
    grid->addWidget(Cycle, 1, 1);
    grid->addWidget(StayHist, 2, 1);
    // The longest caption closes the left column; the right column has nothing beside it.
    grid->addWidget(SFont, 3, 0, 1, 2);
    // The kept receipt, and why it is not kept when another copy keeps it.
    KeepReceipt = MakeCheck("終了後もレシートとメモリーを残す", OptGroup);
    KeepReceipt->setObjectName("KeepReceipt");
    grid->addWidget(KeepReceipt, 4, 0, 1, 2);
    // Two lines at most: the page has no room for more (a long path loses its middle).
    KeepNote = new PathNote(2, OptGroup);
    KeepNote->setObjectName("KeepNote");
    KeepNote->hide();
    grid->addWidget(KeepNote, 5, 0, 1, 2);
    v->addWidget(OptGroup);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(8);
    AlphaType =
        new RadioButtonGroup(QStringLiteral(" フォームの透明化 "),
                             {QStringLiteral("透明化しない"), QStringLiteral("非アクティブ時"),
                              QStringLiteral("常に透明化")},
                             3, page);
    bottom->addWidget(AlphaType);
    AlphaLabel = new QGroupBox(QStringLiteral(" 透明度 "), page);
    auto* alpha = new QVBoxLayout(AlphaLabel);
    alpha->setContentsMargins(8, 4, 8, 6);
    AlphaUpDown = new QSlider(Qt::Horizontal, AlphaLabel);
    AlphaUpDown->setObjectName("AlphaUpDown");
    AlphaUpDown->setRange(50, 255);
    // The arrow keys move by 10 and the page keys by 5, as the slider always has.
    AlphaUpDown->setSingleStep(10);
    AlphaUpDown->setPageStep(5);
    AlphaUpDown->setTickInterval(10);
    AlphaUpDown->setTickPosition(QSlider::TicksBelow);
    AlphaUpDown->setToolTip(
        QStringLiteral("このスライダーを左右に動かすと「透明度」が調整できます"));
    alpha->addWidget(AlphaUpDown);
    bottom->addWidget(AlphaLabel, 1);
    v->addLayout(bottom);

    v->addStretch();

    connect(AlphaType, &RadioButtonGroup::Clicked, this, &TCForm::AlphaTypeClick);
    connect(AlphaUpDown, &QSlider::valueChanged, this, &TCForm::AlphaUpDownChange);
    return page;
}

void TCForm::CentreOnScreen() {
    QScreen* s = owner_.screen() ? owner_.screen() : QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect r = s->geometry();
    move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
}

// ---- Opening ------------------------------------------------------------------------------

void TCForm::FormCreate() {
    CentreOnScreen();

    // Snapshots for Cancel.
    optionBackup_ = option_;
    colorBackup_ = colors_;
    winOptionsBackup_ = winOptions_;

    // Controls from the live values.
    SBar->setChecked(owner_.StatusBarVisible());
    UseNumKey->setChecked(status_.UseNumKey);
    UseNumKeyClick();
    HistSet->SetItemIndex(option_.HistSet);
    Acount->SetItemIndex(option_.Acount);
    StayHist->setChecked(winOptions_.StayHist);
    HUpper->setChecked(winOptions_.Upper);
    SFont->setChecked(winOptions_.SmallFont);
    StayTop->setChecked(owner_.StayOnTop());
    MemCalc->setChecked(!option_.CalcMem);
    KeepReceipt->setChecked(option_.KeepReceipt);
    if (option_.KeepReceipt && owner_.Keeping().Problem) {
        const std::string why = owner_.Keeping().Problem();
        const QString note = QString::fromStdString("今は残していません: " + why);
        KeepNote->SetNote(note);
        KeepNote->setVisible(!why.empty());
        KeepReceipt->setAccessibleDescription(note);
    }
    FHint->setChecked(winOptions_.Hint);
    Cycle->setChecked(winOptions_.Cycle);
    TaxRate->setText(QStringLiteral("  ") + QString::fromStdString(option_.TaxRate).toUpper());
    TaxRate2->setText(QStringLiteral("  ") + QString::fromStdString(option_.TaxRate2));
    MoveDot->setValue(winOptions_.MoveDot);
    ShowRates();
    // Setting these runs their reactions, so the preview is in force from the start.
    AlphaType->SetItemIndex(winOptions_.AlphaBlendType);
    AlphaTypeClick(AlphaType->ItemIndex() < 0 ? winOptions_.AlphaBlendType : AlphaType->ItemIndex());
    {
        const QSignalBlocker block(AlphaUpDown);
        AlphaUpDown->setValue(winOptions_.AlphaBlendValue);
    }
    AlphaUpDownChange(AlphaUpDown->value());
    CLBox->setToolTip(QStringLiteral("左のＢＯＸで選択されているキーに\n割り付ける機能を選びます"));

    // The key page.
    SetCurrentKeyTBL();

    // The font list, the style, the sample.
    const QFont display = owner_.DNumber->font();
    const QString face = owner_.DisplayFontName();
    ListScreenFonts(FontList);
    FontList->setCurrentIndex(FontList->findText(face, Qt::MatchExactly | Qt::MatchCaseSensitive));
    // A face that is not listed leaves the list without selection; its name still shows.
    FontList->setPlaceholderText(face);
    FontStyle->SetItemIndex((display.bold() ? 1 : 0) + (display.italic() ? 2 : 0));
    NumLabel->setFont(display);
    Margin->setChecked(winOptions_.Margin);
    RedispSample(face);

    // The first page shows; the reset button follows the customization mark.
    Custom->setCurrentIndex(PageCalc);
    CustomChange(PageCalc);
    btInitKeyTbl->setEnabled(status_.KeyCUST);
}

// ---- Page change and hints ----------------------------------------------------------------

void TCForm::SetHintHidePause(int ms) {
    hintHidePause_ = ms;
    setToolTipDuration(ms);
    for (QWidget* w : findChildren<QWidget*>())
        w->setToolTipDuration(ms);
}

void TCForm::CustomChange(int page) {
    SetHintHidePause(page == PageKeys ? kHintPauseKeys : kHintPauseNormal);
    ApplySampleColors();
}

// ---- OK, Cancel, closing ------------------------------------------------------------------

// Each rate must be a number from 0 to 100; the first that is not is named in a message and
// gets the focus, and the dialog stays open.
bool TCForm::TaxRatesAccepted() {
    for (QLineEdit* edit : {TaxRate, TaxRate2}) {
        if (ParseTaxRate(TrimBlanks(edit->text()))) continue;
        Custom->setCurrentIndex(PageCalc);
        edit->setFocus();
        edit->selectAll();
        platform::Beep();
        platform::ShowError(this, edit->accessibleName() + QStringLiteral(" の「") + edit->text().trimmed() +
                                      QStringLiteral("」は 0 から 100 までの数値ではありません。"));
        return false;
    }
    return true;
}

void TCForm::OKBtnClick() {
    if (!TaxRatesAccepted()) return;
    if (!TakeRates()) return; // refused: the dialog stays open on the field
    // The status bar (the layout rule below gives the window its height).
    if (owner_.StatusBarVisible() != SBar->isChecked()) owner_.ToggleStatusBar();
    // NUM-key mode.
    status_.UseNumKey = UseNumKey->isChecked();
    // Options from their controls.
    winOptions_.Hint = FHint->isChecked();
    if (HistSet->ItemIndex() >= 0)
        option_.HistSet = static_cast<std::uint8_t>(HistSet->ItemIndex());
    if (Acount->ItemIndex() >= 0) option_.Acount = static_cast<std::uint8_t>(Acount->ItemIndex());
    winOptions_.StayHist = StayHist->isChecked();
    option_.CalcMem = !MemCalc->isChecked();
    const bool keepChanged = option_.KeepReceipt != KeepReceipt->isChecked();
    option_.KeepReceipt = KeepReceipt->isChecked();
    winOptions_.Upper = HUpper->isChecked();
    winOptions_.Cycle = Cycle->isChecked();
    winOptions_.SmallFont = SFont->isChecked();
    winOptions_.Margin = Margin->isChecked();
    // The spinner takes a number in range from its edit and otherwise keeps its value.
    MoveDot->interpretText();
    winOptions_.MoveDot = MoveDot->value();
    // The tax rates, as read (full-width digits become digits), apply from the next tax key.
    option_.TaxRate = ParseTaxRate(TrimBlanks(TaxRate->text())).value_or(option_.TaxRate);
    option_.TaxRate2 = ParseTaxRate(TrimBlanks(TaxRate2->text())).value_or(option_.TaxRate2);
    // Transparency.
    if (AlphaType->ItemIndex() >= 0) winOptions_.AlphaBlendType = AlphaType->ItemIndex();
    winOptions_.AlphaBlendValue = AlphaUpDown->value();
    // Window style; the history window follows the main window.
    owner_.SetStayOnTop(StayTop->isChecked());
    // Keys and function-key sets.
    WriteBackKeys();
    // Function-key count.
    static constexpr int kCounts[3] = {8, 10, 12};
    if (const int i = KeyCnt->ItemIndex(); i >= 0 && i < 3) winOptions_.FuncType = kCounts[i];
    // The display font becomes the sample's font; the layout rule fits its size.
    const QFont sample = NumLabel->font();
    const int styleBits = (sample.bold() ? 1 : 0) | (sample.italic() ? 2 : 0) |
                          (sample.underline() ? 4 : 0) | (sample.strikeOut() ? 8 : 0);
    owner_.SetDisplayFont(sample.family(), styleBits);
    // Re-layout both windows.
    owner_.FormResize();
    if (HistoryLink* h = owner_.HistoryWindow()) {
        h->FormActivate();
        h->SetButtonHints(winOptions_.Hint);
    }
    // The receipt starts or stops being kept.
    if (keepChanged && owner_.Keeping().OptionChanged) owner_.Keeping().OptionChanged();
    // The main window comes to the front again.
    owner_.show();
    QDialog::accept();
}

void TCForm::CancelBtnClick() {
    option_ = optionBackup_;
    colors_ = colorBackup_;
    winOptions_ = winOptionsBackup_;
    ApplyColorsToMain();
    ApplyColorsToHistory();
    QDialog::reject();
}

void TCForm::reject() {
    CancelBtnClick();
}

// The close box keeps what already acted live and drops every other edit.
void TCForm::closeEvent(QCloseEvent* event) {
    QDialog::done(QDialog::Rejected);
    event->accept();
}

void TCForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    lists_ = KeyAssignmentLists{};
    SetHintHidePause(kHintPauseNormal);
    owner_.OnAppActivate();
}

// ---- Entry points for the main window ----------------------------------------------------

void ShowCustomize(TMForm& owner) {
    TCForm dialog(owner);
    dialog.exec();
}

void InstallCustomizeDialog(TMForm& owner) {
    owner.SetCustomizeDialog([](TMForm& form) { ShowCustomize(form); });
}

} // namespace bansho
