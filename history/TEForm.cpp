#include "TEForm.h"

#include "Beep.h"
#include "CalcEngine.h"
#include "CalendarDate.h"
#include "Fonts.h"
#include "KeyConfig.h"
#include "MessageBoxes.h"
#include "TextFunctions.h"
#include "TimeValue.h"
#include "ValueKinds.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>

namespace bansho {

const QString TEForm::kTitle = QStringLiteral(" 演算子と数値の ");
const QString TEForm::kNumberMessage = QStringLiteral("正しい数値を入力して下さい");
const QString TEForm::kOperatorMessage = QStringLiteral("正しい演算子を入力して下さい");
const QString TEForm::kTimeMessage = QStringLiteral("正しい時間を入力して下さい");
const QString TEForm::kDateMessage = QStringLiteral("正しい日付を入力して下さい");

namespace {

constexpr int kClientWidth = 379;
constexpr int kClientHeight = 46;
constexpr int kListRowHeight = 16;

using platform::PixelFont;

void SetBlackText(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(p);
}

QString Glyph(char ope) {
    return QString::fromStdString(OpeToGlyph(ope));
}

const QStringList& Glyphs() {
    static const QStringList glyphs = {QStringLiteral("＋"), QStringLiteral("－"),
                                       QStringLiteral("×"), QStringLiteral("÷")};
    return glyphs;
}

// Digits and the characters of `others`; a minus only in front when `sign`.
bool IsEntryText(const QString& text, const QString& others, bool sign) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) continue;
        if (others.contains(c)) continue;
        if (sign && i == 0 && c == QLatin1Char('-')) continue;
        return false;
    }
    return true;
}

// List rows of the operator box are 16 pixels high.
class FixedRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kListRowHeight};
    }
};

} // namespace

TEForm::TEForm(QWidget* owner, CalcEngine& engine, const TOption& option, const TCalcStatus& status,
               std::size_t editIndex, const QString& editCaption)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      engine_(engine), option_(option), status_(status), editIndex_(editIndex) {
    setObjectName("EForm");
    setModal(true);
    setFont(PixelFont(QStringLiteral("メイリオ"), 11));
    setFixedSize(kClientWidth, kClientHeight);

    // Tab order: number, OK, operator.
    NumEdit = new QLineEdit(this);
    NumEdit->setObjectName("NumEdit");
    NumEdit->setAccessibleName(QStringLiteral("数値"));
    NumEdit->setGeometry(80, 9, 221, 24);
    NumEdit->setFont(PixelFont(QStringLiteral("ＭＳ Ｐゴシック"), 16));
    SetBlackText(NumEdit);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName("OK");
    OK->setGeometry(316, 9, 55, 24);
    OK->setFont(PixelFont(QStringLiteral("メイリオ"), 11));
    OK->setAutoDefault(false);
    SetBlackText(OK);

    OpeEdit = new QComboBox(this);
    OpeEdit->setObjectName("OpeEdit");
    OpeEdit->setAccessibleName(QStringLiteral("演算子"));
    OpeEdit->setEditable(true);
    OpeEdit->setInsertPolicy(QComboBox::NoInsert);
    OpeEdit->setCompleter(nullptr); // what is typed is checked as typed, never completed
    OpeEdit->addItems(Glyphs());
    OpeEdit->setItemDelegate(new FixedRowDelegate(OpeEdit));
    OpeEdit->setGeometry(9, 9, 60, 24);
    OpeEdit->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), 16));
    SetBlackText(OpeEdit);

    setTabOrder(NumEdit, OK);
    setTabOrder(OK, OpeEdit);

    for (QObject* o : {static_cast<QObject*>(NumEdit), static_cast<QObject*>(OK),
                       static_cast<QObject*>(OpeEdit), static_cast<QObject*>(OpeEdit->lineEdit())})
        o->installEventFilter(this);

    connect(OK, &QPushButton::clicked, this, &TEForm::OKClick);
    connect(NumEdit, &QLineEdit::textChanged, this, &TEForm::NumEditChange);
    connect(OpeEdit->lineEdit(), &QLineEdit::textEdited, this, &TEForm::OpeEditChange);
    connect(OpeEdit, &QComboBox::textActivated, this, &TEForm::OpeEditChange);

    // Opening, in this order: index, title, operator, number (which runs the number check).
    if (editIndex_ < engine_.HistoryCount()) {
        storedNumber_ = engine_.HistNumber(editIndex_);
        storedOpe_ = engine_.HistOpe(editIndex_);
        const RowMark mark = engine_.HistMark(editIndex_);
        kind_ = mark == RowMark::Time ? Kind::Time : mark == RowMark::Date ? Kind::Date : Kind::Number;
    }
    storedText_ = QString::fromStdString(
        kind_ == Kind::Number ? storedNumber_
                              : ValueText(TCalcNum{storedNumber_, false, KindOfMark(engine_.HistMark(editIndex_))},
                                          true));
    setWindowTitle(kTitle + editCaption);
    // Centred on the screen, and placed before the number check can raise its message, so
    // that the message opens over the place where the dialog will stand.
    if (QScreen* s = owner ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect avail = s->availableGeometry();
        move(avail.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
    SetOpeText(StoredGlyph());
    NumEdit->setText(storedText_);
    NumEdit->setFocus(Qt::OtherFocusReason);
}

QString TEForm::StoredGlyph() const {
    return Glyph(storedOpe_);
}

void TEForm::SetOpeText(const QString& text) {
    const int i = OpeEdit->findText(text);
    if (i >= 0) OpeEdit->setCurrentIndex(i);
    OpeEdit->setEditText(text);
}

void TEForm::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    NumEdit->setFocus(Qt::ActiveWindowFocusReason);
    NumEdit->selectAll();
}

// A number takes digits and the point; a time digits, colons, separators and a leading minus;
// a date digits and hyphens.
bool TEForm::AcceptsCharacters(const QString& text) const {
    switch (kind_) {
    case Kind::Time:
        return IsEntryText(text, QStringLiteral(":,"), true);
    case Kind::Date:
        return IsEntryText(text, QStringLiteral("-"), false);
    default:
        return IsEntryText(text, QStringLiteral("."), false);
    }
}

QString TEForm::RefusalMessage() const {
    return kind_ == Kind::Time ? kTimeMessage : kind_ == Kind::Date ? kDateMessage : kNumberMessage;
}

// Any other character is refused with a message and the field gets the stored entry back.
// Putting it back does not bring the message a second time.
void TEForm::NumEditChange(const QString& text) {
    if (restoring_ || AcceptsCharacters(text)) return;
    platform::Beep();
    platform::ShowMessage(this, RefusalMessage());
    restoring_ = true;
    NumEdit->setText(storedText_);
    restoring_ = false;
}

// A plain operator character becomes its glyph; anything but one glyph alone is refused and
// the stored operator comes back.
void TEForm::OpeEditChange(const QString& typed) {
    QString text = typed;
    if (!text.isEmpty() && QStringLiteral("+-/*").contains(text.front())) {
        text = Glyph(static_cast<char>(text.front().unicode()));
        OpeEdit->setEditText(text);
    }
    if (Glyphs().contains(text)) return;
    platform::Beep();
    platform::ShowMessage(this, kOperatorMessage);
    SetOpeText(StoredGlyph());
}

// A time or a date that does not exist (1:75:00, 2026-02-30) is refused with a message and
// the dialog stays open on it: nothing is written.
void TEForm::OKClick() {
    std::string number;
    if (kind_ == Kind::Number) {
        if (NumEdit->text().isEmpty()) NumEdit->setText(QStringLiteral("0"));
        number = NumEdit->text().toStdString();
    } else {
        const std::string typed = NumEdit->text().toStdString();
        const auto v = kind_ == Kind::Time ? ParseTimeText(typed) : ParseDateText(typed);
        if (!v) {
            platform::Beep();
            platform::ShowMessage(this, RefusalMessage());
            NumEdit->setFocus(Qt::OtherFocusReason);
            NumEdit->selectAll();
            return;
        }
        number = SecondsText(*v);
    }
    const char ope = GlyphToOpe(OpeEdit->currentText().toStdString());
    engine_.ReplaceHistoryEntry(editIndex_, number, ope);
    accept();
}

bool TEForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && !translating_) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (FormKeyDown(watched, k)) return true;
        if (EditKeyPress(watched, k)) return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TEForm::keyPressEvent(QKeyEvent* e) {
    if (!FormKeyDown(this, e)) QDialog::keyPressEvent(e);
}

// Enter in the operator field moves to the number; Enter anywhere else is OK. Escape alone
// is taken by OK (it is also the dialog's cancel button) and so writes the entry back;
// Escape with a modifier closes without writing.
bool TEForm::FormKeyDown(QObject* watched, QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (watched == OpeEdit || watched == OpeEdit->lineEdit())
            NumEdit->setFocus(Qt::OtherFocusReason);
        else
            OKClick();
        return true;
    case Qt::Key_Escape:
        if ((e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0)
            OKClick();
        else
            reject();
        return true;
    default:
        return false;
    }
}

// In NUM-key mode each typed character is translated before the field sees it. Keys typed
// into the operator field reach the combination box, which holds the focus for its line edit.
bool TEForm::EditKeyPress(QObject* watched, QKeyEvent* e) {
    if (!status_.UseNumKey) return false;
    if (watched != NumEdit && watched != OpeEdit && watched != OpeEdit->lineEdit()) return false;
    const QString text = e->text();
    if (text.isEmpty() || !text.front().isPrint()) return false;
    QString translated;
    for (const uint ch : text.toUcs4()) {
        const char32_t t = TranslateNumChar(static_cast<char32_t>(ch), option_);
        translated += QString::fromUcs4(&t, 1);
    }
    if (translated == text) return false;
    QKeyEvent copy(e->type(), e->key(), e->modifiers(), translated, e->isAutoRepeat(),
                   static_cast<ushort>(e->count()));
    translating_ = true;
    QCoreApplication::sendEvent(watched, &copy);
    translating_ = false;
    return true;
}

} // namespace bansho
