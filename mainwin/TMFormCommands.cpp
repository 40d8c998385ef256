// The main window: key routing, the window commands, the popup menus, transparency and
// always-on-top, minimizing and closing.
#include "TMForm.h"

#include "Commands.h"
#include "HistoryLink.h"
#include "KeyMapping.h"
#include "KeyRepeat.h"
#include "StatusBarPanels.h"
#include "TAForm.h"
#include "TFuncKey.h"
#include "WindowHelpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScreen>

namespace bansho {

namespace {

ShiftState ShiftOf(Qt::KeyboardModifiers m) {
    ShiftState s = 0;
    if (m & Qt::ShiftModifier) s |= ssShift;
    if (m & Qt::AltModifier) s |= ssAlt;
    if (m & Qt::ControlModifier) s |= ssCtrl;
    return s;
}

} // namespace

// ---- Entry points -------------------------------------------------------------------------

void TMForm::ExecCommand(int command) {
    if (command < 0 || command > 255) {
        FocusMain();
        return;
    }
    engine_->ExecCommand(static_cast<unsigned>(command));
}

void TMForm::FKeyClick(FunctionKeyButton*, int key) {
    ExecCommand(key);
}

void TMForm::MenuItemSelect(QAction* action) {
    if (!action) return;
    const auto named = menuActions_.find(action->objectName().toStdString());
    if (named != menuActions_.end() && !action->objectName().isEmpty()) {
        named->second();
        FocusMain();
        return;
    }
    ExecCommand(action->data().toInt());
}

void TMForm::FormKeyDown(int code, ShiftState shift, bool repeat, char32_t typed) {
    const bool historyActive =
        history_ && history_->Window() && history_->Window()->isActiveWindow();
    const KeyDecision d = RouteKeyDown(code, shift, historyActive, keys_, option_, status_, typed);
    if (DropKeyRepeat(d, repeat)) return;
    switch (d.Route) {
    case KeyRoute::Close:
        close();
        break;
    case KeyRoute::ToHistory:
        if (history_) history_->HistoryKey(d.History);
        break;
    case KeyRoute::Dispatch:
        ExecCommand(d.Command);
        break;
    case KeyRoute::None:
        break;
    }
}

bool TMForm::event(QEvent* e) {
    // Tab belongs to the window, not to focus navigation.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            if (!platform::IsKeyRepeat(*k)) HandleTab(); // once per press
            return true;
        }
    }
    return QWidget::event(e);
}

bool TMForm::eventFilter(QObject* watched, QEvent* e) {
    // Key presses reach the focused number display first; they are the window's.
    if (watched == DNumber && e->type() == QEvent::KeyPress) {
        event(e);
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void TMForm::keyPressEvent(QKeyEvent* e) {
    e->accept();
    const int code = platform::VirtualKey(*e);
    if (code == 0) return;
    FormKeyDown(code, ShiftOf(e->modifiers()), platform::IsKeyRepeat(*e), platform::TypedChar(*e));
}

void TMForm::HandleTab() {
    QWidget* hist = history_ ? history_->Window() : nullptr;
    const bool visible = hist && hist->isVisible();
    switch (RouteTab(visible, isActiveWindow())) {
    case TabRoute::ActivateHistory:
        hist->raise();
        hist->activateWindow();
        break;
    case TabRoute::ActivateMain:
        FocusMain();
        break;
    case TabRoute::None:
        break;
    }
}

void TMForm::FocusMain() {
    // A modal dialog keeps the keyboard while it runs, and a minimized program stays so.
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal && modal != this) || isMinimized() || !isVisible()) return;
    if (!isActiveWindow()) activateWindow();
    setFocus(Qt::OtherFocusReason);
}

// ---- Window commands ----------------------------------------------------------------------

void TMForm::WindowCommand(unsigned command) {
    switch (static_cast<Command>(command)) {
    case Command::HistoryShow:
        if (history_) history_->ShowHistory();
        break;
    case Command::PrintReceipt:
        if (history_) history_->PrintReceipt();
        break;
    case Command::PrintPreview:
        if (history_) history_->PreviewReceipt();
        break;
    case Command::NextFuncSet:
        CycleFuncSet(status_);
        ApplyFuncSet();
        break;
    case Command::ToggleNumKey:
        ToggleNumKey(status_);
        break; // the engine refreshes the NUM mark
    case Command::ToggleStatusBar:
        ToggleStatusBar();
        break;
    case Command::ZoomInDot:
    case Command::ZoomOutDot:
    case Command::ZoomInFast:
    case Command::ZoomOutFast:
        ZoomWindow(static_cast<int>(command));
        break;
    case Command::MoveLeftDot:
    case Command::MoveRightDot:
    case Command::MoveUpDot:
    case Command::MoveDownDot:
    case Command::MoveLeftFast:
    case Command::MoveRightFast:
    case Command::MoveUpFast:
    case Command::MoveDownFast:
        MoveWindow(static_cast<int>(command));
        break;
    case Command::Minimize:
        MinimizeProgram();
        break;
    case Command::About:
        ShowAbout(this);
        break;
    case Command::Customize:
        if (customize_) {
            customize_(*this);
            ApplyFuncSet(); // the engine refreshes the marks
        }
        break;
    case Command::EditMenu:
    case Command::ClearMenu:
    case Command::MemoryMenu:
    case Command::HistoryMenu:
    case Command::EntryMenu:
    case Command::ZoomMenu:
        PopupCommandMenu(static_cast<int>(command));
        break;
    case Command::Quit:
        close();
        break;
    default:
        break;
    }
}

void TMForm::ToggleStatusBar() {
    SBBase->setVisible(!StatusBarVisible());
    engine_->SetStatusBarShown(StatusBarVisible());
    FormResize();
}

void TMForm::ZoomWindow(int command) {
    resize(ZoomWidth(command, width(), winOptions_.MoveDot), height());
    FormResize();
}

QRect TMForm::ScreenRect() const {
    QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1920, 1080);
}

void TMForm::MoveWindow(int command) {
    const QRect frame = frameGeometry();
    const QRect scr = ScreenRect();
    WindowRect r{frame.left() - scr.left(), frame.top() - scr.top(), frame.width(), frame.height()};
    r = MoveRect(command, r, winOptions_.MoveDot, scr.width(), scr.height());
    move(r.left + scr.left(), r.top + scr.top());
}

void TMForm::MinimizeProgram() {
    showMinimized();
}

// Minimizing the main window takes the whole program off the screen; restoring it brings
// back the history window that went with it.
void TMForm::changeEvent(QEvent* e) {
    if (e->type() == QEvent::WindowStateChange) {
        QWidget* hist = history_ ? history_->Window() : nullptr;
        if (windowState() & Qt::WindowMinimized) {
            if (hist && hist->isVisible()) {
                historyWasVisible_ = true;
                hist->hide();
            }
        } else if (historyWasVisible_) {
            historyWasVisible_ = false;
            if (hist) hist->show();
        }
    }
    QWidget::changeEvent(e);
}

void TMForm::PopupCommandMenu(int command) {
    QMenu* menu = CommandMenu(command);
    if (!menu) return;
    const QRect frame = frameGeometry();
    const MenuPoint p =
        PopupMenuPoint(WindowRect{frame.left(), frame.top(), frame.width(), frame.height()},
                       QCursor::pos().x(), StatusBarVisible(), SBar->height());
    menu->popup(QPoint(p.x, p.y));
}

// ---- Transparency and always-on-top -------------------------------------------------------

void TMForm::ApplyAlpha(bool transparent) {
    const int alpha = transparent ? (winOptions_.AlphaBlendValue & 0xFF) : 255;
    platform::SetWindowAlpha(this, alpha);
    if (history_ && history_->Window()) platform::SetWindowAlpha(history_->Window(), alpha);
}

void TMForm::OnAppActivate() {
    ApplyAlpha(winOptions_.AlphaBlendType == 2);
    QWidget* hist = history_ ? history_->Window() : nullptr;
    if (platform::IsStayOnTop(this) != stayOnTop_) platform::SetStayOnTop(this, stayOnTop_);
    if (hist && platform::IsStayOnTop(hist) != stayOnTop_) platform::SetStayOnTop(hist, stayOnTop_);
    if (stayOnTop_ && hist && hist->isVisible()) hist->raise();
    if (isVisible() && !isMinimized()) raise();
}

void TMForm::ComeForward() {
    if (isMinimized()) showNormal();
    QWidget* hist = history_ ? history_->Window() : nullptr;
    if (hist && hist->isVisible()) hist->raise();
    raise();
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* front = modal && modal->isVisible() ? modal : this;
    front->raise();
    platform::TakeKeyboard(front);
}

void TMForm::OnAppDeactivate() {
    ApplyAlpha(winOptions_.AlphaBlendType > 0);
}

void TMForm::SetStayOnTop(bool on) {
    stayOnTop_ = on;
    OnAppActivate();
}

// ---- Geometry events and closing ----------------------------------------------------------

void TMForm::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    FormResize();
    RememberPlainGeometry();
    emit GeometryChanged();
    if (history_) history_->MainGeometryChanged();
}

void TMForm::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    RememberPlainGeometry();
    emit GeometryChanged();
    if (history_) history_->MainGeometryChanged();
}

void TMForm::closeEvent(QCloseEvent* e) {
    FormClose(e);
}

// Closing writes the settings; when they cannot be written the error box asks whether to
// close without them. While the session ends, nothing is asked.
void TMForm::FormClose(QCloseEvent* e) {
    const bool quiet = terminating_ || qApp->isSavingSession();
    if (!SaveSettings(quiet) && !quiet) {
        e->ignore();
        return;
    }
    e->accept();
    if (history_ && history_->Window()) history_->Window()->close();
}

} // namespace bansho
