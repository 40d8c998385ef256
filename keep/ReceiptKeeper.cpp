// The keeper of the receipt: the engine's changes as journal records.
#include "ReceiptKeeper.h"

#include <utility>

namespace bansho::keep {

ReceiptKeeper::ReceiptKeeper(CalcEngine& engine, Journal& journal, bool snapshot)
    : engine_(engine), journal_(journal) {
    engine_.SetKeeper(this);
    if (snapshot) Compact();
}

ReceiptKeeper::~ReceiptKeeper() {
    if (engine_.Keeper() == this) engine_.SetKeeper(nullptr);
}

bool ReceiptKeeper::Compact() {
    return journal_.Compact(engine_.HistEntries(), engine_.MemNum, engine_.GTNum,
                            engine_.Option().HistSet);
}

void ReceiptKeeper::Flush() {
    journal_.Write(records_);
    records_.clear();
    // The heavy part runs on a thread of its own: typing goes on meanwhile.
    if (journal_.CompactionDue()) journal_.StartCompaction();
}

void ReceiptKeeper::RowAppended(std::size_t index) {
    AppendRow(records_, engine_.HistEntry(index));
    Flush();
}

void ReceiptKeeper::RowReplaced(std::size_t index) {
    AppendRowAt(records_, RecordType::Replace, index, engine_.HistEntry(index));
    Flush();
}

void ReceiptKeeper::RowInserted(std::size_t index) {
    AppendRowAt(records_, RecordType::Insert, index, engine_.HistEntry(index));
    Flush();
}

void ReceiptKeeper::RowRemoved(std::size_t index) {
    AppendIndex(records_, RecordType::Remove, index);
    Flush();
}

void ReceiptKeeper::RowsSwapped(std::size_t i, std::size_t j) {
    AppendSwap(records_, i, j);
    Flush();
}

void ReceiptKeeper::HistoryCleared() {
    AppendClear(records_);
    Flush();
}

void ReceiptKeeper::RowsReset() {
    // Every row at once: one snapshot, or every row again when no snapshot could be made.
    if (Compact()) return;
    AppendClear(records_);
    for (const HistoryEntry& row : engine_.HistEntries())
        AppendRow(records_, row);
    Flush();
}

void ReceiptKeeper::ValuesChanged() {
    AppendValues(records_, engine_.MemNum, engine_.GTNum, engine_.Option().HistSet);
    Flush();
}

void RestoreInto(CalcEngine& engine, KeptState&& state) {
    if (state.Kind >= 0) engine.Option().HistSet = static_cast<std::uint8_t>(state.Kind);
    engine.RestoreKept(std::move(state.Rows), state.Memory, state.GrandTotal);
}

} // namespace bansho::keep
