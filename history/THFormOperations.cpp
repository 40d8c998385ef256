// The operations of the history window on the entries: correction mode, re-total, recall,
// correct, insert, delete, reorder, select previous/next and copy. Each changes the three
// lists only through the engine, which reports back so that the list mirrors them.
#include "THForm.h"

#include "CalcEngine.h"
#include "ReceiptListView.h"
#include "TEForm.h"
#include "TMForm.h"
#include "TStatusLED.h"

namespace bansho {

namespace {
int LastRow(const CalcEngine& engine) {
    return static_cast<int>(engine.HistoryCount()) - 1;
}
} // namespace

// "=" exactly as the key runs it; the lamp goes on when there is a history.
bool THForm::EnterCorrectionMode() {
    return engine_.EnterCorrectionMode();
}

// Re-total in the input receipt; in every receipt kind the main window then takes over.
void THForm::RecalcHistory() {
    engine_.RecalcHistory();
}

void THForm::RecallSelected() {
    const int i = SelectedRow();
    if (i < 0) return;
    engine_.RecallHistoryEntry(static_cast<std::size_t>(i));
    setVisible(winOptions_.StayHist);
}

void THForm::OpenEntryEditor() {
    const int i = SelectedRow();
    if (i >= 0) {
        TEForm dialog(&main_, engine_, option_, status_, static_cast<std::size_t>(i), editCaption_);
        if (dialog.exec() == QDialog::Accepted) SelectRow(static_cast<int>(dialog.EditIndex()));
    }
    RecalcHistory();
}

void THForm::CorrectSelected() {
    if (!EnterCorrectionMode()) return;
    if (SelectedRow() < 0) return;
    editCaption_ = kEditCorrect;
    OpenEntryEditor();
}

void THForm::InsertSelected() {
    const int i = SelectedRow();
    if (i < 0) return;
    if (!EnterCorrectionMode()) return;
    if (!engine_.InsertHistoryEntry(static_cast<std::size_t>(i))) return;
    SelectRow(i);
    editCaption_ = kEditInsert;
    OpenEntryEditor();
}

void THForm::DeleteSelected() {
    if (engine_.HistoryCount() <= 1) {
        // The last entry goes with the number being typed; nothing is totalled.
        engine_.ClearHistory();
        engine_.ClearEntry();
        LED->TurnOff();
        return;
    }
    if (!EnterCorrectionMode()) return;
    // Read after the equals step: a number typed just before is now the selected last row.
    const int i = SelectedRow();
    if (i < 0) return;
    if (!engine_.RemoveHistoryEntry(static_cast<std::size_t>(i))) return;
    SelectRow(std::min(i, LastRow(engine_)));
    RecalcHistory();
}

void THForm::MoveUp() {
    const int i = SelectedRow(); // read before the equals step
    if (!EnterCorrectionMode()) return;
    if (i <= 0) return;
    if (!engine_.SwapHistoryEntries(static_cast<std::size_t>(i), static_cast<std::size_t>(i - 1)))
        return;
    SelectRow(i - 1);
    RecalcHistory();
}

void THForm::MoveDown() {
    const int i = SelectedRow(); // read before the equals step
    if (!EnterCorrectionMode()) return;
    if (i < 0 || i >= LastRow(engine_)) return;
    if (!engine_.SwapHistoryEntries(static_cast<std::size_t>(i), static_cast<std::size_t>(i + 1)))
        return;
    SelectRow(i + 1);
    RecalcHistory();
}

void THForm::SelectPrevious() {
    if (!EnterCorrectionMode()) return;
    const int i = SelectedRow();
    if (i > 0)
        SelectRow(i - 1);
    else if (winOptions_.Cycle && LastRow(engine_) >= 0)
        SelectRow(LastRow(engine_));
}

void THForm::SelectNext() {
    if (!EnterCorrectionMode()) return;
    const int last = LastRow(engine_);
    if (last < 0) return;
    const int i = SelectedRow();
    if (i == last)
        SelectRow(winOptions_.Cycle ? 0 : last);
    else
        SelectRow(i + 1); // with no selection: the first row
}

// Rows 1 to the selected one, each ended by a line feed; no equals step, and neither
// the lamp nor the focus changes.
void THForm::CopySelected() {
    const int i = SelectedRow();
    if (i < 0) return;
    engine_.CopyHistoryToClip(static_cast<std::size_t>(i));
}

} // namespace bansho
