#pragma once
// The standard message boxes. Every box goes through one replaceable hook so that tests
// answer it instead of blocking on a modal loop.
#include <QString>

#include <functional>

class QWidget;

namespace bansho::platform {

enum class MessageKind {
    Question,    // question icon, buttons "はい(&Y)" / "いいえ(&N)"
    Error,       // stop icon, OK
    Information, // information icon, OK
    Plain,       // no icon, OK
    ErrorQuestion, // stop icon, buttons "はい(&Y)" / "いいえ(&N)" (No is the default)
};

struct MessageRequest {
    MessageKind kind = MessageKind::Plain;
    QWidget* parent = nullptr;
    QString title;
    QString text;
};

// Answers a box instead of showing it: the return value is the Yes answer of a question
// (ignored for the other kinds). An empty hook restores the real boxes.
using MessageHook = std::function<bool(const MessageRequest&)>;
MessageHook SetMessageHook(MessageHook hook); // returns the previous hook

// A beep, then the question box titled "確認"; true only for Yes.
bool AskYesNo(QWidget* parent, const QString& text);
// Error box (stop icon, OK). The title defaults to the application's display name.
void ShowError(QWidget* parent, const QString& text, const QString& title = {});
// Error box that asks a question (stop icon, はい/いいえ); true only for Yes. Title as above.
bool AskErrorYesNo(QWidget* parent, const QString& text, const QString& title = {});
// Information box (information icon, OK); title as above.
void ShowInformation(QWidget* parent, const QString& text, const QString& title = {});
// A plain message with an OK button and no icon; title as above.
void ShowMessage(QWidget* parent, const QString& text, const QString& title = {});

} // namespace bansho::platform
