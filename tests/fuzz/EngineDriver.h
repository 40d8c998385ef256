#pragma once
// Drives the calculation engine the way the windows do (commands, pastes, history-window
// operations, option changes) and checks after every step what must always hold, whatever
// was typed or pasted:
//  - the three history sequences, and the rows a window mirrors from the receipt
//    notifications, keep one length and the same texts;
//  - every register's text stays within 22 characters;
//  - the display caption is the error form, or the shown number with its separators, and
//    a number form whenever no text other than a number was ever pasted;
//  - the marks and the history count follow the registers;
//  - the count key's display shows the count, only until the next key.
// Shared by the engine fuzz target and the soak test.
#include "CalcEngine.h"
#include "EngineHost.h"
#include "FakeReceipt.h"
#include "Options.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bansho::testing {

struct DriverConfig {
    std::uint8_t HistSet = 2; // 0 user memo, 1 calculation receipt, 2 input receipt
    std::uint8_t Acount = 0;  // 0 cut, 1 round
    bool CalcMem = true;
    bool StatusBar = true;
    bool StyledFont = false;
    bool NumKey = false;
    std::string TaxRate = "10";
};

// The main window's side: the clipboard, the text errors and the window commands whose
// effect the engine shows. The receipt's side is the shared FakeReceipt.
class DriverHost : public EngineHost {
public:
    CalcEngine* engine = nullptr;
    TCalcStatus* status = nullptr;
    std::string clipboard;
    std::size_t notFloatErrors = 0;

    void Beep() override {}
    std::string GetClipboardText(std::size_t maxBytes) override {
        return clipboard.substr(0, maxBytes);
    }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ShowNotFloatError(const std::string&) override { ++notFloatErrors; }
    void FocusMain() override {}
    void WindowCommand(unsigned command) override;
    void DisplayChanged() override {}
};

class EngineDriver {
public:
    explicit EngineDriver(const DriverConfig& config);
    EngineDriver(const EngineDriver&) = delete;
    EngineDriver& operator=(const EngineDriver&) = delete;

    void Command(unsigned command);
    // The clipboard text that the next paste (command 42) takes.
    void SetClipboard(std::string text);
    void SetHistSet(std::uint8_t histSet);
    void SetAcount(std::uint8_t acount);
    void SetCalcMem(bool on);
    void SetTaxRate(std::string rate); // takes effect at the next tax key, as in the program

    // The history window's operations on row i.
    void EnterCorrection();
    void Recall(std::size_t i);
    void Replace(std::size_t i, const std::string& number, char ope);
    void Insert(std::size_t i);
    void Remove(std::size_t i);
    void Swap(std::size_t i, std::size_t j);
    void Recalc();
    void CopyHistory(std::size_t last);

    // Empty when every invariant holds, else what broke. `full` also compares every row of
    // the mirror (linear in the history length); otherwise only the ends are compared.
    std::string Check(bool full = true) const;

    CalcEngine& Engine() { return engine_; }
    const CalcEngine& Engine() const { return engine_; }
    const DriverHost& Host() const { return host_; }
    const FakeReceipt& Receipt() const { return receipt_; }
    TOption& Option() { return option_; }
    TCalcStatus& Status() { return status_; }

private:
    TOption option_;
    TCalcStatus status_;
    DriverHost host_;
    CalcEngine engine_;
    FakeReceipt receipt_{engine_};
    // A pasted text that is not written like a typed number may be shown as it stands.
    bool oddTextPasted_ = false;
    // The edit dialog stores a number of any length; only recorded rows keep to 22.
    bool longRowStored_ = false;
    std::string recalcFault_; // a re-total that differs from Calc on every row
    bool countKeyLast_ = false; // the last key was the count key (58)
    std::string countFault_;
};

// True when `text` is written as a number can be typed: optional '-', digits, optional '.'
// and digits.
bool IsTypedNumberForm(const std::string& text);

} // namespace bansho::testing
