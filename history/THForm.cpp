// The history window: composition, creation, docking, the size rule, keys and the mirror of
// the engine's rows. The operations on the entries are in THFormOperations.cpp.
#include "THForm.h"

#include "CalcEngine.h"
#include "ColorValue.h"
#include "Fonts.h"
#include "HistRules.h"
#include "KeyMapping.h"
#include "KeyRepeat.h"
#include "ReceiptListModel.h"
#include "ReceiptListView.h"
#include "TMForm.h"
#include "TStatusLED.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMoveEvent>
#include <QPushButton>

namespace bansho {

const QString THForm::kEditCorrect = QStringLiteral("訂正");
const QString THForm::kEditInsert = QStringLiteral("挿入");

namespace {

constexpr int kDesignWidth = 593;
constexpr int kDesignRowHeight = 20;
constexpr int kLedBaseHeight = 20;
constexpr int kButtonLeft = 4;
constexpr int kButtonHeight = 25;
constexpr int kDesignButtonWidth = 68;
constexpr std::array<int, 6> kButtonTops = {23, 48, 73, 98, 123, 148};

struct ButtonDef {
    const char* name;
    const char16_t* caption;
    const char16_t* hint;
};
constexpr std::array<ButtonDef, 6> kButtonDefs = {{
    {"btCorrect", u"訂正", u"ヒストリー訂正"},
    {"btInsert", u"挿入", u"ヒストリー挿入"},
    {"btDelete", u"削除", u"ヒストリー削除"},
    {"btListUp", u"▲", u"再計算順序の変更"},
    {"btListDown", u"▼", u"再計算順序の変更"},
    {"btToClip", u"複写", u"クリップボードへコピー"},
}};
constexpr const char16_t* kLedHint = u"ヒストリー訂正モードで点灯";

using platform::PixelFont;

ShiftState ShiftOf(Qt::KeyboardModifiers m) {
    ShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    return s;
}

// Shift, Ctrl, Alt and the Windows keys pressed on their own. Handed on, they would run the
// empty command and so take the keyboard to the main window before the key they modify
// arrives: Shift+Up could never reach this window.
bool IsModifierKey(int code) {
    using namespace vk;
    return code == Shift || code == Control || code == Menu || code == LWin || code == RWin ||
           (code >= LShift && code <= RMenu);
}

} // namespace

THForm::THForm(TMForm& main)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      main_(main), engine_(main.Engine()), option_(main.Option()), status_(main.Status()),
      winOptions_(main.WinOptions()), historyState_(main.HistoryState()) {
    setObjectName("HForm");
    // The side panel's hints show on hover even while the main window has the keyboard,
    // which is nearly always.
    setAttribute(Qt::WA_AlwaysShowToolTips, true);
    BuildComponents();
    main_.SetHistoryWindow(this);
    engine_.SetReceiptObserver(this);
    FormCreate();
}

THForm::~THForm() {
    if (engine_.Receipt() == this) engine_.SetReceiptObserver(nullptr);
    if (main_.HistoryWindow() == this) main_.SetHistoryWindow(nullptr);
}

void THForm::BuildComponents() {
    setWindowTitle(InitialHistTitle());
    setFont(PixelFont(QStringLiteral("メイリオ"), 12));
    resize(kDesignWidth, 215);

    // The rows are drawn from the engine's entries when the list shows them.
    model_ = new ReceiptListModel({[this] { return engine_.HistoryCount(); },
                                   [this](std::size_t i) { return engine_.HistRow(i); }},
                                  this);
    HistWin = new ReceiptListView(this);
    HistWin->setObjectName("HistWin");
    HistWin->setFont(PixelFont(QStringLiteral("ＭＳ ゴシック"), listFontHeight_));
    HistWin->SetRowHeight(kDesignRowHeight);
    HistWin->setModel(model_);
    HistWin->installEventFilter(this);
    connect(HistWin, &ReceiptListView::RowClicked, this, &THForm::HistWinClick);

    btBase = new QWidget(this);
    btBase->setObjectName("btBase");
    LedBase = new QWidget(btBase);
    LedBase->setObjectName("LedBase");
    LED = new TStatusLED(LedBase);
    LED->setObjectName("LED");
    LED->move(24, 4);

    std::array<QPushButton**, 6> targets = {&btCorrect, &btInsert,   &btDelete,
                                            &btListUp,  &btListDown, &btToClip};
    for (std::size_t i = 0; i < kButtonDefs.size(); ++i) {
        auto* b = new QPushButton(QString::fromUtf16(kButtonDefs[i].caption), btBase);
        b->setObjectName(QString::fromLatin1(kButtonDefs[i].name));
        b->setFocusPolicy(Qt::NoFocus); // the buttons never take the keyboard
        b->setGeometry(kButtonLeft, kButtonTops[i], kDesignButtonWidth, kButtonHeight);
        *targets[i] = b;
    }
    connect(btCorrect, &QPushButton::clicked, this, [this] { btCorrectClick(); });
    connect(btInsert, &QPushButton::clicked, this, [this] { btInsertClick(); });
    connect(btDelete, &QPushButton::clicked, this, [this] { btDeleteClick(); });
    connect(btListUp, &QPushButton::clicked, this, [this] { btListUpClick(); });
    connect(btListDown, &QPushButton::clicked, this, [this] { btListDownClick(); });
    connect(btToClip, &QPushButton::clicked, this, [this] { btToClipClick(); });
    PlaceChildren();
}

std::array<QPushButton*, 6> THForm::Buttons() const {
    return {btCorrect, btInsert, btDelete, btListUp, btListDown, btToClip};
}

// Creation, in this order: hints, colours, height, visibility, docking.
void THForm::FormCreate() {
    SetButtonHints(winOptions_.Hint);
    ApplyColors();
    pendingOuterHeight_ = historyState_.Height;
    resize(width(), std::max(1, historyState_.Height));
    DrawForm(); // placed before it is shown, so that a window manager keeps the place
    if (historyState_.Visible) {
        // Shown beside the main window without taking the keyboard from it. Being shown
        // counts as the first activation: the title and the side panel fit the receipt kind
        // from the start.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        ApplyPendingHeight();
        FormActivate();
    }
    DrawForm();
}

// The kept height is the outer height; until the frame is known the window was sized as if
// it had none.
void THForm::ApplyPendingHeight() {
    if (pendingOuterHeight_ <= 0 || !isVisible()) return;
    const QMargins m = FrameMargins();
    if (m.top() + m.bottom() == 0) return;
    const int outer = pendingOuterHeight_;
    pendingOuterHeight_ = 0;
    resize(width(), std::max(1, outer - m.top() - m.bottom()));
}

void THForm::SetButtonHints(bool on) {
    const auto buttons = Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->setToolTip(on ? QString::fromUtf16(kButtonDefs[i].hint) : QString());
    LED->setToolTip(on ? QString::fromUtf16(kLedHint) : QString());
}

void THForm::SetListColors(ColorValue background, ColorValue text) {
    HistWin->SetColors(ToQColor(background, palette()),
                       ReadableText(text, background, palette()));
}

void THForm::ApplyColors() {
    const DisplayColorSet& c = main_.DisplayColors();
    SetListColors(c.HPanel, c.HNumber);
}

void THForm::ApplySettings() {
    ApplyColors();
    FormActivate();
}

QMargins THForm::FrameMargins() const {
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

// Docking: the main window's left edge and width, directly below it (or above it with
// Upper); the height stays. All four edges are set at once.
void THForm::DrawForm() {
    ApplyPendingHeight();
    dockedToHiddenMain_ = !main_.isVisible();
    const QRect mainFrame = main_.frameGeometry();
    const QRect dock = DockedRect(mainFrame, historyState_.Height, winOptions_.Upper);
    const QMargins m = FrameMargins();
    setGeometry(dock.left() + m.left(), dock.top() + m.top(),
                std::max(1, dock.width() - m.left() - m.right()), height());
}

void THForm::FormActivate() {
    DrawForm();
    btBase->setVisible(option_.HistSet == 2);
    // The side panel takes its width from one function key of the main window.
    int k = main_.FuncKeyWidth();
    if (k < 1) k = kDesignButtonWidth;
    sidePanelWidth_ = k + 4;
    QFont captions = font();
    captions.setPointSize(winOptions_.SmallFont ? 8 : 9);
    const auto buttons = Buttons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setGeometry(kButtonLeft, kButtonTops[i], k, kButtonHeight);
        buttons[i]->setFont(captions);
    }
    LED->move(LedLeft(sidePanelWidth_, LED->width()), LED->y());
    const QString title = ReceiptTitle(option_.HistSet);
    if (!title.isEmpty()) setWindowTitle(title);
    PlaceChildren();
}

// The size rule.
void THForm::FormResize() {
    if (inResize_) return;
    inResize_ = true;
    const QMargins m = FrameMargins();
    const QSize extra(m.left() + m.right(), m.top() + m.bottom());
    setMinimumHeight(std::max(1, kHistMinHeight - extra.height()));
    const QSize outer = size() + extra;
    const QSize wanted = ClampHistSize(outer, main_.frameGeometry().width());
    if (wanted != outer) resize(wanted - extra);

    const int row = HistRowHeight(main_.DisplayFontHeight());
    HistWin->SetRowHeight(row);
    listFontHeight_ = FitListFontHeight(listFontHeight_, row);
    QFont f = HistWin->font();
    f.setPixelSize(std::max(1, listFontHeight_));
    HistWin->setFont(f);

    // Only the height of a plain window is kept: a maximised or full-screen receipt comes
    // back to the height it had.
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
        historyState_.Height = height() + extra.height();
    PlaceChildren();
    inResize_ = false;
}

void THForm::PlaceChildren() {
    const int panel = btBase->isHidden() ? 0 : sidePanelWidth_;
    const int w = width();
    const int h = height();
    btBase->setGeometry(w - panel, 0, panel, h);
    LedBase->setGeometry(0, 0, panel, kLedBaseHeight);
    // The list shows whole rows only; what is left below it stays the window's.
    const int frame = 2 * HistWin->FrameExtent();
    const int row = HistWin->RowHeight();
    const int rows = std::max(1, (h - frame) / row);
    HistWin->setGeometry(0, 0, std::max(0, w - panel), std::min(h, rows * row + frame));
}

void THForm::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ApplyPendingHeight();
    FormResize();
}

void THForm::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    ApplyPendingHeight();
}

// The close box only hides the window; command 28 shows it again.
void THForm::closeEvent(QCloseEvent* e) {
    e->accept();
    hide();
}

// Visible, docked and titled, in front; the keyboard stays with the main window, which runs
// the command. (The window is not activated only to be deactivated again at once.)
void THForm::ShowHistory() {
    const bool wasVisible = isVisible();
    FormActivate();
    if (!wasVisible) {
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
        ApplyPendingHeight();
        FormActivate();
    }
    raise();
    if (main_.isVisible() && !main_.isMinimized()) main_.activateWindow();
}

// ---- Keys ----------------------------------------------------------------------------------

bool THForm::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowActivate:
        FormActivate();
        HistWin->setFocus(Qt::ActiveWindowFocusReason);
        break;
    case QEvent::KeyPress: {
        // Tab is the window's, not focus navigation's.
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            HandleKeyEvent(k);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::event(e);
}

// The window sees every key before the list does.
bool THForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && watched == HistWin) {
        HandleKeyEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void THForm::keyPressEvent(QKeyEvent* e) {
    HandleKeyEvent(e);
}

void THForm::HandleKeyEvent(QKeyEvent* e) {
    e->accept();
    const bool repeat = platform::IsKeyRepeat(*e);
    if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab) {
        if (!repeat) TabKey(); // once per press
        return;
    }
    const int code = platform::VirtualKey(*e);
    if (code == 0 || IsModifierKey(code)) return;
    FormKeyDown(code, ShiftOf(e->modifiers()), repeat, platform::TypedChar(*e));
    // A command may have made the main window active, or hidden this one.
    if (!isActiveWindow()) BringMainToFront();
}

void THForm::TabKey() {
    if (main_.isVisible()) BringMainToFront();
}

void THForm::BringMainToFront() {
    // A command that closed the program (Esc, Alt+F4, 254) must not bring the window back.
    if (QApplication::activeModalWidget() || !main_.isVisible()) return;
    main_.show();
    main_.raise();
    main_.activateWindow();
}

void THForm::FormKeyDown(int code, ShiftState shift, bool repeat, char32_t typed) {
    const KeyDecision d = RouteHistoryKeyDown(code, shift, isActiveWindow(), main_.Keys(), option_,
                                              status_, typed);
    if (DropKeyRepeat(d, repeat)) return;
    switch (d.Route) {
    case KeyRoute::ToHistory:
        RunHistoryAction(d.History);
        break;
    case KeyRoute::Close:
        main_.close();
        break;
    case KeyRoute::Dispatch:
        // Digits, operators and the rest work the calculator as if pressed there.
        main_.ExecCommand(d.Command);
        break;
    case KeyRoute::None:
        break;
    }
}

void THForm::RunHistoryAction(HistoryAction action) {
    switch (action) {
    case HistoryAction::Recall:
        RecallSelected();
        break;
    case HistoryAction::Correct:
        CorrectSelected();
        break;
    case HistoryAction::MoveUp:
        MoveUp();
        break;
    case HistoryAction::SelectPrevious:
        SelectPrevious();
        break;
    case HistoryAction::MoveDown:
        MoveDown();
        break;
    case HistoryAction::SelectNext:
        SelectNext();
        break;
    case HistoryAction::Insert:
        InsertSelected();
        break;
    case HistoryAction::Delete:
        DeleteSelected();
        break;
    case HistoryAction::None:
        break;
    }
}

void THForm::HistoryKey(HistoryAction action) {
    RunHistoryAction(action);
}

void THForm::MainGeometryChanged() {
    if (dockedToHiddenMain_ && main_.isVisible() && isVisible()) DrawForm();
}

void THForm::HistWinClick(int) {
    if (!isActiveWindow()) BringMainToFront();
}

// ---- The engine's rows and the lamp (ReceiptObserver) -----------------------------------------------------------

void THForm::RowAppended(std::size_t index) {
    model_->RowAppended(index);
    SelectRow(static_cast<int>(index));
}
void THForm::RowReplaced(std::size_t index) {
    model_->RowReplaced(index);
}
void THForm::RowInserted(std::size_t index) {
    model_->RowInserted(index);
}
void THForm::RowRemoved(std::size_t index) {
    model_->RowRemoved(index);
}
void THForm::RowsSwapped(std::size_t i, std::size_t j) {
    model_->RowsSwapped(i, j);
}
void THForm::RowSelected(std::size_t index) {
    SelectRow(static_cast<int>(index));
}
void THForm::HistoryCleared() {
    model_->HistoryCleared();
}
void THForm::RowsReset() {
    model_->HistoryCleared(); // the list reads every row again
    if (engine_.HistoryCount() > 0) SelectRow(static_cast<int>(engine_.HistoryCount() - 1));
}
void THForm::LampOn() {
    LED->TurnOn();
}
void THForm::LampOff() {
    LED->TurnOff();
}

int THForm::SelectedRow() const {
    return HistWin->SelectedRow();
}
void THForm::SelectRow(int row) {
    HistWin->SetSelectedRow(row);
}

} // namespace bansho
