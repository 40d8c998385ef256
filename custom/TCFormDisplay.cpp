// The display page of the customization dialog (colours, font, sample) and the
// transparency controls of the options page, which act on both windows at once.
#include "TCForm.h"

#include "ColorChooser.h"
#include "ColorValue.h"
#include "FontFit.h"
#include "HistoryLink.h"
#include "RadioButtonGroup.h"
#include "TMForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace bansho {

namespace {

constexpr int kFontItemHeight = 16;
constexpr int kFontItemTextHeight = 12;

// Each face name of the font list is drawn in its own face.
class FontListDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          selected ? option.palette.highlight() : option.palette.base());
        painter->setPen(selected ? Qt::white : Qt::black);
        const QString face = index.data(Qt::DisplayRole).toString();
        // A symbol face would draw its own name as pictures; it is named in the list's font.
        QFont f = QFontDatabase::writingSystems(face).contains(QFontDatabase::Symbol) ? option.font
                                                                                      : QFont(face);
        f.setPixelSize(kFontItemTextHeight);
        painter->setFont(f);
        painter->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignTop, face);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(kFontItemHeight);
        return s;
    }
};

QPushButton* MakeButton(const char* text, const char* hint, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setToolTip(QString::fromUtf8(hint));
    return b;
}

} // namespace

QWidget* TCForm::BuildDisplayPage() {
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(8, 8, 8, 8);
    v->setSpacing(6);

    ColorGroup = new QGroupBox(QStringLiteral(" 画面表示色の設定 "), page);
    auto* colors = new QHBoxLayout(ColorGroup);
    colors->setContentsMargins(8, 4, 8, 6);
    colors->setSpacing(6);
    btnWin = MakeButton("電卓窓", "電卓パネルの背景色", ColorGroup);
    btnNum = MakeButton("電卓文字", "数字や記号の文字色", ColorGroup);
    btnErr = MakeButton("エラー", "桁あふれ表示の文字色", ColorGroup);
    btnHst = MakeButton("履歴窓", "ヒストリーパネルの背景色", ColorGroup);
    btnHNum = MakeButton("履歴文字", "ヒストリー数字の文字色", ColorGroup);
    // Five in a row: each as wide as its caption needs, not the style's usual minimum.
    for (QPushButton* b : {btnWin, btnNum, btnErr, btnHst, btnHNum}) {
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16);
        colors->addWidget(b);
    }
    v->addWidget(ColorGroup);

    NumPanel = new QFrame(page);
    NumPanel->setObjectName("NumPanel");
    NumPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    NumPanel->setLineWidth(1);
    NumPanel->setAutoFillBackground(true);
    NumPanel->setFixedSize(421, 65);
    NumLabel = new QLabel(NumPanel);
    NumLabel->setObjectName("NumLabel");
    NumLabel->setAlignment(Qt::AlignCenter);
    NumLabel->setTextFormat(Qt::PlainText);
    NumLabel->setGeometry(NumPanel->contentsRect());
    v->addWidget(NumPanel, 0, Qt::AlignHCenter);

    FontStyle = new RadioButtonGroup(QString(),
                                     {QStringLiteral("標準"), QStringLiteral("太字"),
                                      QStringLiteral("斜体"), QStringLiteral("太字＋斜体")},
                                     4, page);
    v->addWidget(FontStyle);

    FontGroup = new QGroupBox(page);
    auto* fg = new QVBoxLayout(FontGroup);
    fg->setContentsMargins(8, 6, 8, 6);
    fg->setSpacing(4);
    auto* fontRow = new QHBoxLayout;
    FontListLabel = new QLabel(QStringLiteral("フォントの選択"), FontGroup);
    FontList = new QComboBox(FontGroup);
    FontList->setObjectName("FontList");
    FontList->setItemDelegate(new FontListDelegate(FontList));
    // A list that scrolls, rather than the style's popup as tall as the screen.
    FontList->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    FontList->setMaxVisibleItems(16);
    fontRow->addWidget(FontListLabel);
    FontListLabel->setBuddy(FontList);
    fontRow->addWidget(FontList, 1);
    fg->addLayout(fontRow);
    Margin = new QCheckBox(
        QStringLiteral("電卓文字の上下に余白を入れる (一部の特殊なフォント使用時にチェック)"),
        FontGroup);
    fg->addWidget(Margin);
    v->addWidget(FontGroup);
    v->addStretch();

    connect(btnWin, &QPushButton::clicked, this, &TCForm::btnWinClick);
    connect(btnNum, &QPushButton::clicked, this, &TCForm::btnNumClick);
    connect(btnErr, &QPushButton::clicked, this, &TCForm::btnErrClick);
    connect(btnHst, &QPushButton::clicked, this, &TCForm::btnHstClick);
    connect(btnHNum, &QPushButton::clicked, this, &TCForm::btnHNumClick);
    connect(FontStyle, &RadioButtonGroup::Clicked, this, &TCForm::FontStyleClick);
    // Every choice the user makes, also choosing the item already selected, as the list
    // closes (activated covers both the change and the close-up).
    connect(FontList, &QComboBox::activated, this, &TCForm::FontListChange);
    return page;
}

// ---- Colours ------------------------------------------------------------------------------

void TCForm::ApplyColorsToMain() {
    owner_.SetMarkColors(); // panel background and marks, then the number redisplayed
}

void TCForm::ApplyColorsToHistory() {
    if (HistoryLink* h = owner_.HistoryWindow()) h->SetListColors(colors_.HPanel, colors_.HNumber);
}

void TCForm::ApplySampleColors() {
    QPalette panel = NumPanel->palette();
    panel.setColor(QPalette::Window, ToQColor(colors_.MPanel, palette()));
    NumPanel->setPalette(panel);
    QPalette label = NumLabel->palette();
    label.setColor(QPalette::WindowText, ToQColor(colors_.Number, palette()));
    NumLabel->setPalette(label);
}

// Presets the chooser to the colour edited; a cancelled choice changes nothing.
bool TCForm::PickColor(ColorValue& edited, ColorValue* alsoSet) {
    const auto chosen = ChooseColor(this, edited);
    if (!chosen) return false;
    edited = *chosen;
    if (alsoSet) *alsoSet = *chosen;
    return true;
}

void TCForm::btnWinClick() {
    if (!PickColor(colors_.MPanel, &colors_.HPanel)) return;
    ApplySampleColors();
    ApplyColorsToMain();
    ApplyColorsToHistory();
}

void TCForm::btnNumClick() {
    if (!PickColor(colors_.Number, &colors_.HNumber)) return;
    ApplySampleColors();
    ApplyColorsToMain();
    ApplyColorsToHistory();
}

void TCForm::btnErrClick() {
    if (PickColor(colors_.Error, nullptr)) ApplyColorsToMain();
}

void TCForm::btnHstClick() {
    if (PickColor(colors_.HPanel, nullptr)) ApplyColorsToHistory();
}

void TCForm::btnHNumClick() {
    if (PickColor(colors_.HNumber, nullptr)) ApplyColorsToHistory();
}

// ---- Font ---------------------------------------------------------------------------------

QString TCForm::FontListText() const {
    return FontList->currentIndex() >= 0 ? FontList->currentText() : QString();
}

void TCForm::RedispSample(const QString& face) {
    ApplySampleColors();
    if (!face.isEmpty()) {
        QFont f = NumLabel->font();
        f.setFamily(face);
        NumLabel->setFont(f);
    }
    NumLabel->setText(kSampleText);
    FitFontToWidth(NumLabel, kSampleText);
}

void TCForm::FontListChange() {
    const QString face = FontListText();
    RedispSample(face);
    // The margin suits the face in use: any other face unchecks it, and choosing back the
    // face in use restores the state it had when the dialog opened.
    Margin->setChecked(face == owner_.DisplayFontName() && winOptionsBackup_.Margin);
}

void TCForm::FontStyleClick(int item) {
    QFont f = NumLabel->font();
    f.setBold(item == 1 || item == 3);
    f.setItalic(item == 2 || item == 3);
    f.setUnderline(false);
    f.setStrikeOut(false);
    NumLabel->setFont(f);
    RedispSample(FontListText());
}

// ---- Transparency -------------------------------------------------------------------------

void TCForm::ChangeAlphaLabelCaption() {
    if (AlphaType->ItemIndex() != 0)
        AlphaLabel->setTitle(QStringLiteral(" 透明度 ") + QString::number(AlphaUpDown->value()) +
                             QStringLiteral(" "));
    else
        AlphaLabel->setTitle(QStringLiteral(" 透明度 "));
}

void TCForm::AlphaTypeClick(int item) {
    winOptions_.AlphaBlendType = item;
    AlphaLabel->setEnabled(item > 0);
    AlphaUpDown->setEnabled(item > 0);
    ChangeAlphaLabelCaption();
    RedispMForm();
}

void TCForm::AlphaUpDownChange(int position) {
    ChangeAlphaLabelCaption();
    winOptions_.AlphaBlendValue = position;
    RedispMForm();
}

// While the dialog is open both windows show the chosen opacity for "while inactive" as well
// as for "always", so the user sees what the slider does.
void TCForm::RedispMForm() {
    if (winOptions_.AlphaBlendType != 0) winOptions_.AlphaBlendType = 2;
    owner_.OnAppActivate();
    const int item = AlphaType->ItemIndex();
    winOptions_.AlphaBlendType = item >= 0 ? item : winOptionsBackup_.AlphaBlendType;
}

} // namespace bansho
