#include "MainWindowHost.h"

#include "Beep.h"
#include "Clipboard.h"
#include "MessageBoxes.h"
#include "TMForm.h"

#include <QClipboard>
#include <QGuiApplication>

namespace bansho {

void MainWindowHost::Beep() {
    platform::Beep();
}

void MainWindowHost::CheckBeep() {
    platform::MismatchBeep();
}

// The CLIPBOARD selection, which is what copy and paste mean on the desktop.
std::string MainWindowHost::GetClipboardText(std::size_t maxBytes) {
    return platform::ClipboardTextHead(maxBytes);
}

void MainWindowHost::SetClipboardText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text), QClipboard::Clipboard);
}

void MainWindowHost::ShowNotFloatError(const std::string& message) {
    platform::ShowError(&form_, QString::fromStdString(message));
}

void MainWindowHost::FocusMain() {
    form_.FocusMain();
}
void MainWindowHost::WindowCommand(unsigned command) {
    form_.WindowCommand(command);
}
void MainWindowHost::DisplayChanged() {
    form_.RenderDisplay();
}

} // namespace bansho
