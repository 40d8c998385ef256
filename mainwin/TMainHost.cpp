#include "TMainHost.h"

#include "Beep.h"
#include "MessageBoxes.h"
#include "TMForm.h"

#include <QClipboard>
#include <QGuiApplication>

namespace bansho {

void TMainHost::Beep() {
    platform::Beep();
}

// The CLIPBOARD selection, which is what copy and paste mean on the desktop.
std::string TMainHost::GetClipboardText() {
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard).toStdString();
}

void TMainHost::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

void TMainHost::ShowNotFloatError(const std::string& message) {
    platform::ShowError(&form_, QString::fromStdString(message));
}

void TMainHost::FocusMain() {
    form_.FocusMain();
}
void TMainHost::WindowCommand(unsigned command) {
    form_.WindowCommand(command);
}
void TMainHost::DisplayChanged() {
    form_.RenderDisplay();
}

} // namespace bansho
