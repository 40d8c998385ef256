#include "TMainHost.h"

#include "Beep.h"
#include "MessageBoxes.h"
#include "THistoryLink.h"
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

void TMainHost::RowAppended(std::size_t index) {
    if (auto* h = form_.HistoryWindow()) h->RowAppended(index);
}
void TMainHost::RowReplaced(std::size_t index) {
    if (auto* h = form_.HistoryWindow()) h->RowReplaced(index);
}
void TMainHost::RowInserted(std::size_t index) {
    if (auto* h = form_.HistoryWindow()) h->RowInserted(index);
}
void TMainHost::RowRemoved(std::size_t index) {
    if (auto* h = form_.HistoryWindow()) h->RowRemoved(index);
}
void TMainHost::RowsSwapped(std::size_t i, std::size_t j) {
    if (auto* h = form_.HistoryWindow()) h->RowsSwapped(i, j);
}
void TMainHost::HistoryCleared() {
    if (auto* h = form_.HistoryWindow()) h->HistoryCleared();
}
void TMainHost::LampOff() {
    if (auto* h = form_.HistoryWindow()) h->LampOff();
}
void TMainHost::LampOn() {
    if (auto* h = form_.HistoryWindow()) h->LampOn();
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
