#include "MessageBoxes.h"

#include "Beep.h"
#include "Platform.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace bansho::platform {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QString TitleOr(const QString& title) {
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

// The window a box is centred on: the owner's window once it is shown or placed; an owner
// still being built (not shown, not yet moved) lends the place of the nearest shown window it
// belongs to. Null when there is none.
const QWidget* Anchor(const QWidget* owner) {
    for (const QWidget* w = owner ? owner->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if ((w->isVisible() && !w->isMinimized()) || w->testAttribute(Qt::WA_Moved)) return w;
    }
    return nullptr;
}

// Before a box is mapped its frame is not known: the frame of a shown window of the program
// (the anchor's own where it is shown) is the best guess.
QMargins FrameGuess(const QWidget* anchor) {
    const QWidget* shown = anchor && anchor->isVisible() ? anchor : nullptr;
    if (!shown) {
        for (const QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->frameGeometry() != w->geometry()) {
                shown = w;
                break;
            }
        }
    }
    if (!shown) return {};
    const QRect outer = shown->frameGeometry();
    const QRect inner = shown->geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// A message box opens centred on its owner (or on the screen when it has none), whole on
// that screen where it fits. The place is set once the box has its final size, before the
// window is mapped.
class CentredMessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        const QWidget* anchor = Anchor(parentWidget());
        QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
        QRect target = anchor ? anchor->frameGeometry() : QRect();
        if (screen) {
            if (QScreen* at = QGuiApplication::screenAt(target.center()); at && anchor) screen = at;
            if (!anchor) target = screen->availableGeometry();
        }
        const QSize outer = size().grownBy(FrameGuess(anchor));
        QPoint topLeft = target.topLeft() + QPoint((target.width() - outer.width()) / 2,
                                                   (target.height() - outer.height()) / 2);
        if (screen) {
            const QRect avail = screen->availableGeometry();
            topLeft.setX(std::clamp(topLeft.x(), avail.left(),
                                    std::max(avail.left(), avail.right() + 1 - outer.width())));
            topLeft.setY(std::clamp(topLeft.y(), avail.top(),
                                    std::max(avail.top(), avail.bottom() + 1 - outer.height())));
        }
        move(topLeft);
    }
};

bool Show(const MessageRequest& request) {
    if (const MessageHook& hook = Hook()) return hook(request);
    LoadQtTranslations(); // the box's own button
    CentredMessageBox box(request.parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.kind) {
    case MessageKind::Question:
    case MessageKind::ErrorQuestion: {
        const bool error = request.kind == MessageKind::ErrorQuestion;
        box.setIcon(error ? QMessageBox::Critical : QMessageBox::Question);
        QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(error ? no : yes); // after an error, Enter does not give anything up
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    case MessageKind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return false;
}

} // namespace

MessageHook SetMessageHook(MessageHook hook) {
    MessageHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

bool AskYesNo(QWidget* parent, const QString& text) {
    Beep();
    return Show({MessageKind::Question, parent, QStringLiteral("確認"), text});
}

bool AskErrorYesNo(QWidget* parent, const QString& text, const QString& title) {
    return Show({MessageKind::ErrorQuestion, parent, TitleOr(title), text});
}

void ShowError(QWidget* parent, const QString& text, const QString& title) {
    Show({MessageKind::Error, parent, TitleOr(title), text});
}

void ShowInformation(QWidget* parent, const QString& text, const QString& title) {
    Show({MessageKind::Information, parent, TitleOr(title), text});
}

void ShowMessage(QWidget* parent, const QString& text, const QString& title) {
    Show({MessageKind::Plain, parent, TitleOr(title), text});
}

} // namespace bansho::platform
