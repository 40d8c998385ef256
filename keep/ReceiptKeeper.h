#pragma once
// The keeper of the receipt: listens to the engine like the history window does and writes
// each change to the journal as it happens (before the next key is handled), and the whole
// state as one snapshot when every row changed at once and at a clean close. Past its bound
// the journal compacts itself in the background.
#include "CalcEngine.h"
#include "ReceiptJournal.h"
#include "ReceiptObserver.h"

#include <string>

namespace bansho::keep {

class ReceiptKeeper : public ReceiptObserver {
public:
    // Registers itself as the engine's keeper; `journal` must be kept (Journal::Keeping) and
    // outlive the keeper. With `snapshot`, the journal is first replaced by the state as it
    // stands (keeping starts in a running program); without, the journal already holds it
    // (it was just read into the engine).
    ReceiptKeeper(CalcEngine& engine, Journal& journal, bool snapshot);
    ~ReceiptKeeper() override; // unregisters; the journal stays as it is
    ReceiptKeeper(const ReceiptKeeper&) = delete;
    ReceiptKeeper& operator=(const ReceiptKeeper&) = delete;

    // Replaces the journal by one snapshot of the state (a clean close).
    bool Compact();

    void RowAppended(std::size_t index) override;
    void RowReplaced(std::size_t index) override;
    void RowInserted(std::size_t index) override;
    void RowRemoved(std::size_t index) override;
    void RowsSwapped(std::size_t i, std::size_t j) override;
    void HistoryCleared() override;
    void RowsReset() override;
    void ValuesChanged() override;
    void LampOn() override {}
    void LampOff() override {}

private:
    void Flush();

    CalcEngine& engine_;
    Journal& journal_;
    std::string records_; // reused: no allocation for a keystroke's record
};

// Puts what a journal kept into the engine and the receipt kind into the options (at start).
void RestoreInto(CalcEngine& engine, KeptState&& state);

} // namespace bansho::keep
