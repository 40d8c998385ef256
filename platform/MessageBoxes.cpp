#include "MessageBoxes.h"

#include "Beep.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace bansho::platform {

namespace {

MessageHook& Hook() {
    static MessageHook hook;
    return hook;
}

QString TitleOr(const QString& title) {
    return title.isEmpty() ? QApplication::applicationDisplayName() : title;
}

bool Show(const MessageRequest& request) {
    if (const MessageHook& hook = Hook()) return hook(request);
    QMessageBox box(request.parent);
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
