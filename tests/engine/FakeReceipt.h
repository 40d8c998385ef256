#pragma once
// The one stand-in for the history window's side of the receipt: it keeps the rows, the
// selection and the lamp from the engine's notifications alone, the way the history window
// does, and notes the first notification that could not be right (a row the engine does not
// have, an append that is not at the end, a change beyond the rows it holds).
#include "CalcEngine.h"
#include "ReceiptObserver.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace bansho::testing {

class FakeReceipt : public ReceiptObserver {
public:
    // Registers itself with `engine` (and unregisters when destroyed).
    explicit FakeReceipt(CalcEngine& engine) : engine_(engine) { engine_.SetReceiptObserver(this); }
    ~FakeReceipt() override {
        if (engine_.Receipt() == this) engine_.SetReceiptObserver(nullptr);
    }
    FakeReceipt(const FakeReceipt&) = delete;
    FakeReceipt& operator=(const FakeReceipt&) = delete;

    std::vector<std::string> rows; // as the list holds them
    int selected = -1;
    bool lampOn = false;
    std::vector<std::size_t> appended; // every RowAppended index
    std::vector<std::size_t> replaced; // every RowReplaced index
    int cleared = 0;                   // HistoryCleared calls
    std::string fault;                 // the first inconsistent notification

    void RowAppended(std::size_t index) override {
        appended.push_back(index);
        if (index != rows.size()) Fault("RowAppended not at the end");
        if (const std::string* r = EngineRow(index, "RowAppended")) rows.push_back(*r);
        selected = static_cast<int>(rows.size()) - 1;
    }
    void RowSelected(std::size_t index) override {
        if (index >= rows.size()) Fault("RowSelected beyond the rows");
        selected = static_cast<int>(index);
    }
    void RowReplaced(std::size_t index) override {
        replaced.push_back(index);
        if (index >= rows.size()) return Fault("RowReplaced beyond the rows");
        if (const std::string* r = EngineRow(index, "RowReplaced")) rows[index] = *r;
    }
    void RowInserted(std::size_t index) override {
        if (index > rows.size()) return Fault("RowInserted beyond the rows");
        if (const std::string* r = EngineRow(index, "RowInserted"))
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(index), *r);
    }
    void RowRemoved(std::size_t index) override {
        if (index >= rows.size()) return Fault("RowRemoved beyond the rows");
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void RowsSwapped(std::size_t i, std::size_t j) override {
        if (i >= rows.size() || j >= rows.size()) return Fault("RowsSwapped beyond the rows");
        std::swap(rows[i], rows[j]);
    }
    void HistoryCleared() override {
        ++cleared;
        rows.clear();
        selected = -1;
    }
    void LampOn() override { lampOn = true; }
    void LampOff() override { lampOn = false; }

private:
    void Fault(const char* what) {
        if (fault.empty()) fault = what;
    }
    const std::string* EngineRow(std::size_t index, const char* what) {
        if (index >= engine_.HistoryCount()) {
            Fault((std::string(what) + " for a row the engine does not have").c_str());
            return nullptr;
        }
        row_ = engine_.HistRow(index);
        return &row_;
    }

    CalcEngine& engine_;
    std::string row_;
};

} // namespace bansho::testing
