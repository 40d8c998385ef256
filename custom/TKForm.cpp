#include "TKForm.h"

#include "Fonts.h"
#include "KeyConfig.h"
#include "KeyMapping.h"
#include "MessageBoxes.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace bansho {

const QString TKForm::kNumKeyRowWide = QStringLiteral("０１２３４５６７８９．，＋－×÷＝");

namespace {

const QString kFactoryTCH =
    QString::fromLatin1(kFactoryUserTCH.data(), static_cast<qsizetype>(kFactoryUserTCH.size()));

// The stored strings hold one byte per position, and the settings file drops blanks at the
// ends of a value, so only the printable ASCII characters other than the blank are taken.
class NumKeyCharValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (c.unicode() <= 0x20 || c.unicode() > 0x7E) return Invalid;
        return Acceptable;
    }
};

using platform::PixelFont;

} // namespace

TKForm::TKForm(TOption& option, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      option_(option) {
    setObjectName("KForm");
    Build();
    FormCreate();
}

void TKForm::Build() {
    setWindowTitle(QStringLiteral(" ＮＵＭ キー登録"));
    setFont(PixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    setFixedSize(kClientWidth, kClientHeight);
    // Shown where it was laid out, not centred.
    move(kDesignLeft, kDesignTop);

    static const char* const kLines[4] = {
        "ノートパソコン等、専用テンキーがない環境において、キーボード上の",
        "文字キーを「ＮＵＭキー」として登録することで、疑似テンキー入力を",
        "可能とします。以下の文字に相当する文字キーを順に 入力 (打鍵) した",
        "あと、[登録] ボタンをクリックしてください。",
    };
    for (int i = 0; i < 4; ++i) {
        Explanation[i] = new QLabel(QString::fromUtf8(kLines[i]), this);
        Explanation[i]->setGeometry(10, 8 + i * 17, 380, 17);
    }

    // The two rows are drawn in a fixed-pitch face, and the typed characters are spaced to
    // the width of a full-width character, so each one stands below its keypad character.
    const QFont fixed = PixelFont(QStringLiteral("ＭＳ ゴシック"), 14);
    const QFontMetrics fm(fixed);
    const int wide = fm.horizontalAdvance(QStringLiteral("０"));
    const int narrow = fm.horizontalAdvance(QLatin1Char('0'));
    QFont spaced = fixed;
    if (wide > narrow) spaced.setLetterSpacing(QFont::AbsoluteSpacing, wide - narrow);
    const int editWidth = std::min(wide * 17 + 12, 260);

    RowLabel = new QLabel(QStringLiteral("電卓入力する文字"), this);
    RowLabel->setGeometry(10, 84, 110, 22);
    NumRow = new QLineEdit(kNumKeyRowWide, this);
    NumRow->setObjectName("NumRow");
    NumRow->setFont(fixed);
    NumRow->setEnabled(false);
    NumRow->setGeometry(124, 84, editWidth, 24);

    TchLabel = new QLabel(QStringLiteral("ＮＵＭキーの文字"), this);
    TchLabel->setGeometry(10, 114, 110, 22);
    UserNumTCH = new QLineEdit(this);
    UserNumTCH->setObjectName("UserNumTCH");
    UserNumTCH->setFont(spaced);
    UserNumTCH->setMaxLength(17);
    UserNumTCH->setValidator(new NumKeyCharValidator(UserNumTCH));
    UserNumTCH->setGeometry(124, 114, editWidth, 24);
    UserNumTCH->installEventFilter(this);
    connect(UserNumTCH, &QLineEdit::textChanged, this, &TKForm::UserNumTCHChange);

    btINI = new QPushButton(QStringLiteral("初期値に戻す"), this);
    btINI->setObjectName("btINI");
    btINI->setGeometry(10, 172, 120, 28);
    btINI->setAutoDefault(false);
    connect(btINI, &QPushButton::clicked, this, &TKForm::btINIClick);

    btSET = new QPushButton(QStringLiteral("登録"), this);
    btSET->setObjectName("btSET");
    btSET->setGeometry(186, 172, 96, 28);
    btSET->setDefault(true);
    connect(btSET, &QPushButton::clicked, this, &TKForm::btSETClick);

    btCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    btCancel->setObjectName("btCancel");
    btCancel->setGeometry(290, 172, 96, 28);
    btCancel->setAutoDefault(false);
    connect(btCancel, &QPushButton::clicked, this, &TKForm::btCancelClick);
}

void TKForm::FormCreate() {
    UserNumTCH->setText(QString::fromStdString(option_.UserTCH));
    btINI->setEnabled(UserNumTCH->text() != kFactoryTCH);
    UserNumTCHChange();
    UserNumTCH->setFocus();
}

void TKForm::UserNumTCHChange() {
    btSET->setEnabled(UserNumTCH->text().size() == 17);
}

bool TKForm::eventFilter(QObject* watched, QEvent* event) {
    // Any key pressed in the edit offers the way back to the factory characters.
    if (watched == UserNumTCH && event->type() == QEvent::KeyPress) btINI->setEnabled(true);
    return QDialog::eventFilter(watched, event);
}

std::string TKForm::KeyCodesFor(const QString& chars) {
    std::string codes;
    for (const char32_t ch : chars.toUcs4())
        codes += static_cast<char>(platform::KeyCodeForChar(ch));
    return codes;
}

void TKForm::btINIClick() {
    if (!platform::AskYesNo(
            this, QStringLiteral("ＮＵＭキーの文字を、工場出荷値に戻してもよろしいですか？")))
        return;
    option_.UserKEY = std::string(kFactoryUserKEY);
    option_.UserTCH = std::string(kFactoryUserTCH);
    UserNumTCH->setText(QString::fromStdString(option_.UserTCH));
}

void TKForm::btSETClick() {
    const QString t = UserNumTCH->text();
    const QString w =
        t == kFactoryTCH ? QStringLiteral("工場出荷値の") : QStringLiteral("ユーザー指定の");
    if (platform::AskYesNo(this, QStringLiteral("ＮＵＭキーの文字を、") + w +
                                     QStringLiteral(" 「") + t +
                                     QStringLiteral("」 で登録します！"))) {
        option_.UserTCH = t.toStdString();
        option_.UserKEY = KeyCodesFor(t);
    }
    accept();
}

void TKForm::btCancelClick() {
    reject();
}

} // namespace bansho
