#pragma once
// What the engine tells whoever shows the receipt (the history window): the rows changed,
// which row to select, and the correction-mode lamp. The engine runs without one (tools,
// most tests); the history window registers itself with CalcEngine::SetReceiptObserver.
#include <cstddef>

namespace bansho {

class ReceiptObserver {
public:
    virtual ~ReceiptObserver() = default;

    // Indices are 0-based rows, already changed in the engine when the call arrives (read a
    // row's text with CalcEngine::HistRow()).
    virtual void RowAppended(std::size_t index) = 0; // the new last row, selected
    virtual void RowReplaced(std::size_t index) = 0;
    virtual void RowInserted(std::size_t index) = 0; // inserted before the old row `index`
    virtual void RowRemoved(std::size_t index) = 0;
    virtual void RowsSwapped(std::size_t i, std::size_t j) = 0;
    virtual void HistoryCleared() = 0;
    // Select row `index` without changing it (the row where the re-key check stopped).
    virtual void RowSelected(std::size_t index) { static_cast<void>(index); }

    // The correction-mode lamp.
    virtual void LampOn() = 0;
    virtual void LampOff() = 0;
};

} // namespace bansho
