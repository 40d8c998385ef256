#pragma once
// The calculation engine: registers, the command dispatcher, number entry, the display
// model, arithmetic, grand total, tax display, memory and the history (receipt) lists.
// No toolkit here: the engine reaches the windows only through EngineHost and, for the
// receipt, ReceiptObserver.
#include "CalcNum.h"
#include "Commands.h"
#include "DisplayModel.h"
#include "EngineHost.h"
#include "HistoryEntry.h"
#include "Options.h"
#include "ReKeyCheck.h"
#include "ReceiptObserver.h"
#include "TaxBill.h"
#include "TimeValue.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace bansho {

class CalcEngine {
public:
    // The option record and the state record belong to the program and outlive the engine.
    // The engine starts with every register empty; call AllClear() once after the settings
    // are loaded (the start-up all-clear).
    CalcEngine(TOption& option, TCalcStatus& status, EngineHost& host);
    CalcEngine(const CalcEngine&) = delete;
    CalcEngine& operator=(const CalcEngine&) = delete;

    // ---- Registers (read freely; change them only through the routines below) ----
    TCalcNum InNum;           // the number being entered
    TCalcNum ResNum;          // the running result
    TCalcNum DispNum;         // the last number shown without error, as held (no separators)
    TCalcNum GTNum;           // grand total
    TCalcNum MemNum;          // independent memory (only MC empties it)
    TCalcNum KNum;            // constant of the constant calculation
    TCalcNum TaxNum;          // tax rate in percent, refilled from TOption::TaxRate by every AC
    TCalcNum TaxInNum;        // tax-included amount of the tax display
    TCalcNum TaxAmtNum;       // tax amount
    TCalcNum TaxOutNum;       // tax-excluded amount
    std::uint8_t TaxStep = 0; // next step of the tax display; 0 none
    std::uint8_t TaxMode = 0; // 1 tax-included cycle, 3 tax-excluded cycle, 0 none
    TCalcNum CostNum;         // 原価 of the pricing keys (AC empties the three)
    TCalcNum SellNum;         // 売価
    TCalcNum MarginNum;       // 粗利率, in percent of the selling price
    TCalcNum TaxNum2;             // rate 2 in percent, from TOption::TaxRate2
    std::uint8_t TaxRateKey = 1;  // the rate of the running tax display: 1 or 2
    std::uint8_t BillStep = 0;    // the step of the bill's totals last shown, from 1; 0 none

    TOption& Option() { return option_; }
    // Who shows the receipt; nullptr (the start) for nobody. The observer must outlive its
    // registration.
    void SetReceiptObserver(ReceiptObserver* observer) { receipt_ = observer; }
    ReceiptObserver* Receipt() const { return receipt_; }
    // Who keeps the receipt across a restart (the journal's keeper); nullptr for nobody. Told
    // all the receipt observer is told, and of changed values.
    void SetKeeper(ReceiptObserver* keeper);
    ReceiptObserver* Keeper() const { return keeper_; }
    TCalcStatus& Status() { return status_; }

    // ---- Dispatch ----
    // Runs one command 0-255 to completion; then the host hears of a changed display (once)
    // and the main window gets the focus (unless a text that is not a number stopped the
    // command). Window commands go to the host.
    void ExecCommand(unsigned command);
    // Command 24 and the start-up clear.
    void AllClear();
    // Step 1 of AllClear: the registers and state without history, display or marks.
    void ResetEngine();

    // ---- Entry ----
    void AppendDigits(TCalcNum& reg, std::string_view s); // "0"-"9", ".", "00", "000"
    void AppendZeros(TCalcNum& reg, std::string_view s);  // "0", "00", "000"
    void NegateNum(TCalcNum& reg);
    void ShiftRight(TCalcNum& reg);
    void ClearEntry();
    // The register that sign change, shift-right, 00 and 000 work on: ResNum for 'R',
    // InNum for 'T' (any other value: ResNum).
    TCalcNum& EditRegister();

    // ---- Display ----
    void ShowNum(const TCalcNum& n);
    void ShowOpeMark(char c);
    // GT, M, K, NUM marks and the history count, in this order; each also alone.
    void RefreshMarks();
    void RefreshGTMark();
    void RefreshMemMark();
    void RefreshKMark();
    void RefreshNumMark(); // NUM from TCalcStatus::UseNumKey; drops a tax label
    void RefreshHistCount();
    void RefreshSelectorMark();
    const DisplayModel& Display() const { return display_; }
    // Set by the window: marks go to the status-bar panels while it is shown (default), to
    // the labels beside the number while it is hidden. Re-runs RefreshMarks.
    void SetStatusBarShown(bool shown);
    bool StatusBarShown() const { return statusBarShown_; }
    // Set by the window: the display font has a style (bold, italic, underline, strike-out);
    // a shown number then ends in one blank. Takes effect at the next ShowNum.
    void SetStyledFont(bool styled) { styledFont_ = styled; }
    bool StyledFont() const { return styledFont_; }

    // ---- Clipboard ----
    void CopyToClip();
    void CutToClip();
    void PasteFromClip();

    // ---- Arithmetic ----
    // dst := dst ope src, with the current TOption::Acount. Returns false after the error box
    // when an operand does not read as a number; the caller must then stop.
    bool Calc(TCalcNum& dst, TCalcNum& src, char ope, char mode);
    // Calc for registers of any kind: times and dates by their own rules (ValueKinds.h), plain
    // numbers exactly as Calc.
    bool CalcAny(TCalcNum& dst, TCalcNum& src, char ope, char mode);
    // key '+', '-', '*', '/', '=' or '%'. False when stopped by a text that is not a number.
    bool OpeKey(char key);
    bool OpeNormal(char key);
    bool OpeConst(char key);
    void GTRecall();
    // rate 1 (commands 38 and 39) or rate 2 (46 and 47). The first press on a new amount
    // counts it on the tax bill. A changed rate setting is taken at each new computation.
    bool TaxIncluded(int rate = 1);
    bool TaxExcluded(int rate = 1);
    void ShowTaxStep();

    // ---- Pricing, item count and conversion (CalcEnginePricing.cpp) ----
    // Keys 55-57: a number typed or just calculated is stored as that value; with nothing new
    // on the display the key computes its value from the other two (and stores it); the same
    // key again right after shows the margin in money (粗利) and then the value again.
    void PricingKey(Command key);
    // The bill's item count: amounts entered with +, - or = (and the first tax key on an
    // amount), since AC; in the input receipt, of the receipt (see CountItem).
    int ItemCount() const { return itemCount_; }
    // "An item was counted": the amount on the display counts once, however many keys count
    // it (an operator after a tax key, a tax key pressed again). The tax keys call it.
    void CountItem();
    // Key 58: the count on the display, labelled "件数", until the next key or a number shown
    // (a recalled row). The next key finds the display, the amount and the last key as they
    // were; a digit starts a new number.
    void ShowItemCount();
    bool CountShown() const { return countShown_; }
    void RefreshItemsMark();
    // Key 59: home -> C2 -> C3 -> home, the units without a rate left out; beeps with the
    // label "レート未設定" when no rate is set.
    void ConvertKey();

    // ---- The tax bill (engine/CalcEngineTaxBill.cpp) ----
    // Command 48: the next of the bill's totals (BillSteps), labelled. False when an amount
    // does not read as a number (error box shown).
    bool BillTotal();
    const std::vector<BillItem>& BillItems() const { return bill_; }
    // The bill's totals at the rates in the settings, with the decimal selection.
    bool ComputeBillTotals(BillTotals& totals, std::string* badText) const;
    // The invoice block of the printed receipt; empty without items (or when an amount does
    // not read as a number).
    std::vector<std::string> InvoiceBlock() const;

    // ---- Decimal selector (TOption::Decimals and Rounding) ----
    // dst := dst ope src as Calc, but under a selection the exact result is rounded once to the
    // selected places by the selected rule (SelectedResult.h); a rounding past 15 whole digits
    // is an overflow. At F it is CalcAny. Times and dates go by their own rules, never rounded to
    // the selected places (CalcValuesSelected).
    bool CalcResult(TCalcNum& dst, TCalcNum& src, char ope, char mode);
    // Under a selection: the tax contained in `amount` at `rate` percent, exactly, rounded.
    bool TaxContained(const TCalcNum& amount, const TCalcNum& rate, TCalcNum& tax);
    void CycleDecimals(); // F -> 0 -> 1 -> 2 -> 3 -> 4 -> F
    void CycleRounding(); // 切捨 -> 四捨五入 -> 切上 -> 切捨

    // ---- Times and dates (CalcEngineTimeDate.cpp) ----
    // The time key: hours, minutes, seconds of the entry; on a result, time <-> decimal hours.
    void TimeKey();
    // The date key: the eight digits of the entry become a date; an impossible date is
    // refused with a beep and the label "日付×".
    void DateKey();
    // Day counts include the first day too while on; shown as "両端" with the selector's mark.
    // Kept through AC, off at start, not saved.
    void ToggleBothEnds();
    bool BothEnds() const { return bothEnds_; }
    bool TimeEntryActive() const { return timeEntry_.Active(); }

    // ---- Re-key check (CalcEngineCheck.cpp) ----
    // 検算: after a calculation in the input receipt, starts keying it again; while stopped at
    // an entry that differs, shows the first keying's entry ("前") and the second's ("今") in
    // turn and selects the row in the receipt. Refused (beep) at any other time.
    void ReKeyCheckKey();
    const ReKeyCheck& Check() const { return check_; }

    // ---- Memory ----
    void MemClear();
    bool MemAddSub(char ope); // '+' or '-'
    void MemRecall();
    void MemSwap();

    // ---- History (row i: a number, its operator and the text shown for them) ----
    std::size_t HistoryCount() const { return hist_.size(); }
    // Row i's number as recorded, its operator '+', '-', '*' or '/', and its text as the
    // list shows it, drawn from the row's stored number and glyph on each call.
    // i must be below HistoryCount().
    std::string HistNumber(std::size_t i) const { return std::string(hist_[i].Number()); }
    char HistOpe(std::size_t i) const { return hist_[i].Ope(); }
    // What kind of amount row i holds (a time, a date, a tax item, a value of the pricing
    // keys, or none: a plain number).
    RowMark HistMark(std::size_t i) const { return hist_[i].Mark(); }
    std::string HistRow(std::size_t i) const;
    void AddHistoryEntry();     // HS, and the receipts
    void ClearHistory();        // HC; also switches the lamp off
    bool NewReceiptDue() const; // input receipt, no operator pending, history not empty

    // ---- Operations of the history window ----
    // "=" exactly as command 21 runs it, then the lamp goes on when the history is not empty.
    // False when a text that is not a number stopped it.
    bool EnterCorrectionMode();
    // Row i's number (first 22 bytes) becomes the entry, as if typed, and is shown.
    // EditTarget becomes 'T'. Out-of-range i does nothing.
    void RecallHistoryEntry(std::size_t i);
    // The edit dialog's OK: number stored exactly as given, operator '+', '-', '*' or '/',
    // row rebuilt. False (nothing changed) for an index out of range or another operator.
    bool ReplaceHistoryEntry(std::size_t i, const std::string& number, char ope);
    // "0" with "+" before row i (i == count appends). False when i > count.
    bool InsertHistoryEntry(std::size_t i);
    // Removes row i. False when out of range.
    bool RemoveHistoryEntry(std::size_t i);
    // Exchanges rows i and j. False when either is out of range or i == j.
    bool SwapHistoryEntries(std::size_t i, std::size_t j);
    // Re-total: input receipt only, the rows folded left to right from 0 into ResNum, shown;
    // in every receipt kind the main window then gets the focus. Each row counts by its own
    // stored operator, which is the one it shows, wherever it stands. False when a row's text
    // does not read as a number (error box shown).
    bool RecalcHistory();
    // The total the re-total would show, without showing it (the printed receipt). False, with
    // the text that does not read as a number in *badText, when a row stops the fold.
    bool ReceiptTotal(TCalcNum& total, std::string* badText) const;
    // Row i as stored: its number, glyph and mark.
    const HistoryEntry& HistEntry(std::size_t i) const { return hist_[i]; }
    const std::deque<HistoryEntry>& HistEntries() const { return hist_; }

    // ---- Clearing undone, and the kept receipt (CalcEngineKeep.cpp) ----
    // Command 64: what the last clear (AC, HC, a new input receipt, ClearKept) took — its rows,
    // grand total and memory — comes back, and what stands in their place now is kept for the
    // next undo (a second undo takes the first back). Beep when no clear has taken anything.
    void UndoClear();
    bool UndoPending() const { return undo_.Any(); }
    // Rows, memory and grand total as a kept receipt holds them, at start. The observers hear
    // RowsReset; the display shows the marks. An input receipt shows its re-total with "+"
    // pending: the next number typed goes on with the same receipt.
    void RestoreKept(std::deque<HistoryEntry> rows, const TCalcNum& memory, const TCalcNum& gt);
    // Empties the rows, the memory and the grand total (the menu's clearing of the kept
    // state); undone by command 64 like any clear.
    void ClearKept();

    // Rows 0..last (clamped to the last row) as shown, each ended by a line feed.
    // Empty when there are no rows.
    std::string HistoryCopyText(std::size_t last) const;
    // Puts HistoryCopyText(last) on the clipboard; nothing happens without rows.
    void CopyHistoryToClip(std::size_t last);

private:
    // Collects the display changes of one engine call. Every routine that may change the
    // display model holds one while it runs; when the outermost one ends and the model differs
    // from what it was when that one began, the host hears DisplayChanged() once.
    class DisplayBatch {
    public:
        explicit DisplayBatch(CalcEngine& engine);
        ~DisplayBatch();
        DisplayBatch(const DisplayBatch&) = delete;
        DisplayBatch& operator=(const DisplayBatch&) = delete;

    private:
        CalcEngine& engine_;
    };

    void RunCommand(unsigned command);
    void RunEngineCommand(unsigned command);
    // Pricing, count and conversion helpers (CalcEnginePricing.cpp).
    void NewAmount() { shownCounted_ = false; }
    void ShowKeyValue(const TCalcNum& value, const std::string& label);
    void AddMarkedRow(const std::string& number, RowMark mark, bool result);
    bool ComputePricing(Command key, TCalcNum& result);
    void ShowCountCaption();
    // Ends the count's display; true when it was up.
    bool RestoreAfterCount();
    // The tax bill's part of ResetEngine: both rates from the settings, the bill emptied.
    void ResetTaxBill();
    void TakeTaxRate(int rate);
    TCalcNum& RateRegister(int rate) { return rate == 2 ? TaxNum2 : TaxNum; }
    // A tax key computed afresh: a new amount is counted on the bill (and the receipt); the
    // same amount under another key moves the item it was counted as.
    void CountTaxItem(int rate, bool withTax, bool newAmount);
    // After a correction of the receipt that touched a tax item: the bill is the receipt's
    // tax items.
    void RebuildBillFromReceipt();
    // The new tax keys (46-48) put the bill on the receipt: the items counted so far get their
    // rows, and every further item too, until AC. Until then the tax keys of rate 1 leave the
    // receipt as it always was.
    void PutBillOnReceipt();
    std::string TaxItemRow(std::size_t i) const;
    // A command while a time is being typed: the digits, 00, the point, shift-right and the
    // time key work on its fields (true). Any other command ends the entry first (false).
    bool TimeEntryCommand(unsigned command);
    // The glyph a receipt row of the shown number gets with the pending operator.
    char RowGlyph() const;
    // The second keying's entry (the shown number) compared with the first keying's row;
    // false when it differs and the check stopped.
    bool CheckEntry();
    // "=" of the second keying: the check passes ("検算OK") or stops.
    void CheckFinish();
    void CheckStopped();
    // Whether a command may run while the check is stopped at a difference.
    bool AllowedWhileStopped(unsigned command) const;
    void ShowTimeEntry();
    // A recalled number (GT, memory, a receipt row) becomes the entry and is shown. A result
    // held with its trailing point ("10.") loses it, so that a digit typed next is appended to
    // the whole number shown ("101"), as to a number typed.
    void TakeRecalled(const TCalcNum& n);
    bool ConvertFailed(const std::string& badText);

    // What a clear took: each part that it emptied.
    struct Cleared {
        bool HasRows = false, HasGT = false, HasMem = false, HasBill = false;
        std::deque<HistoryEntry> Rows;
        TCalcNum GT, Mem;
        // The tax bill AC ended: its items, whether they were put on the receipt, how many.
        std::vector<BillItem> Bill;
        bool BillOnReceipt = false;
        std::size_t BillRows = 0;
        // Which rows carry an item of the count, and the count AC ended.
        std::deque<bool> Counted;
        bool HasCount = false;
        int ItemCount = 0;
        bool Any() const { return HasRows || HasGT || HasMem || HasBill || HasCount; }
    };
    // The bill goes to `into` (AC) or comes back from it (command 64).
    void TakeBill(Cleared& into);
    void PutBackBill(Cleared& from);
    // Calls `tell` for the receipt observer and for the keeper.
    template <class F>
    void Tell(F tell) {
        if (receipt_) tell(*receipt_);
        if (keeper_) tell(*keeper_);
    }
    // The keeper hears of the memory, grand total or receipt kind if any changed since last.
    void NoteValues();
    // Rows emptied by a clear go to `into` (HC, AC, a new input receipt).
    void TakeRows(Cleared& into);
    void Commit(Cleared&& cleared);

    TOption& option_;
    TCalcStatus& status_;
    EngineHost& host_;
    ReceiptObserver* receipt_ = nullptr;
    ReceiptObserver* keeper_ = nullptr;
    Cleared undo_;           // what command 64 brings back
    Cleared* clearing_ = nullptr; // the clear running now (AC gathers its parts)
    TCalcNum notedMem_, notedGT_; // the values the keeper last heard of
    int notedKind_ = -1;
    DisplayModel display_;
    DisplayModel displayBefore_; // the model when the outermost DisplayBatch began
    int batchDepth_ = 0;
    bool statusBarShown_ = true;
    bool styledFont_ = false;
    bool stopped_ = false; // a text that is not a number stopped the running command
    TimeEntry timeEntry_;   // the time being typed field by field, if any
    bool bothEnds_ = false; // day counts include the first day
    ReKeyCheck check_;
    std::string checkLabel_;   // beside the number while a check runs: "検算", "OK", "検算×"
    bool showingFirst_ = false; // a stopped check shows the first keying's entry ("前")
    // A deque: a long receipt grows without ever moving all of its rows at once.
    std::deque<HistoryEntry> hist_;
    // Beside each row: whether its amount was counted as an item (input receipt), so that a
    // corrected receipt keeps its count true.
    std::deque<bool> histCounted_;
    unsigned previousCommand_ = static_cast<unsigned>(Command::None); // last engine command
    // The entry register holds a value a key showed (pricing, conversion): the next digit
    // starts a new number.
    bool entryShown_ = false;
    int itemCount_ = 0;
    bool shownCounted_ = false;  // the amount on the display has been counted
    // The amount last counted has no row yet: the next row the input receipt records carries
    // its count (histCounted_), so that deleting that row takes the item off again.
    bool recordCounted_ = false;
    Command pricingShown_ = Command::None; // the pricing key whose value is on the display
    bool profitShown_ = false;             // ... showing 粗利 instead
    bool countShown_ = false;              // key 58's display is up
    DisplayModel countSaved_;              // what it covers
    int convUnit_ = 0;                     // unit on the display in a conversion: 0 home, 1 C2, 2 C3
    TCalcNum convBase_;                    // the home amount the conversion started from
    std::vector<BillItem> bill_;
    long cycleItem_ = -1; // the item of the running tax display in bill_, or -1
    long cycleRow_ = -1;  // its receipt row, or -1
    TCalcNum cycleAmount_; // the amount the running tax display was computed from
    bool billOnReceipt_ = false; // a key of the bill was used since AC
    std::size_t billRows_ = 0;   // the first items of bill_ that have their receipt rows
};

} // namespace bansho
