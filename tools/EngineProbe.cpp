// engine-probe: drives the calculation engine from whitespace-separated tokens on stdin and
// prints what a user would see, so the engine can be checked without a display.
//
//   engine-probe [--acount N] [--histset N] [--calcmem 0|1] [--taxrate TEXT]
//                [--decimals N] [--rounding R] [--taxrate2 TEXT]
//
// --decimals: -1 (F, the default) or 0-4 places; --rounding: 0 切捨, 1 四捨五入, 2 切上.
// Conversion rates: --rate1 NAME (the home unit), --rate2 NAME:RATE, --rate3 NAME:RATE.
//
// Tokens: a decimal integer runs that command; paste:TEXT sets the clipboard; ? prints
// CAPTION|DISPNUM|GT|M|K|NUM|OPE|NUMMARK|HCOUNT|BEEPS; h prints the history rows
// (OPE<TAB>NUMBER<TAB>ROW) and "--"; clip prints the clipboard.
// History-window operations, for checking receipts: correct (the equals step), recalc,
// recall:I, ins:I, del:I, swap:I:J, set:I:OPE:NUMBER, copy:I. "invoice" prints the invoice
// block of the printed receipt, a line each, and "--". "locale" prints the decimal
// point of the locale taken from the environment, as the program itself takes it.
// "n" prints the item count and the pricing values: ITEMS|PANELITEMS|ITEMSMARK|COST|SELL|MARGIN.
// "marks" prints the selector's panel (the decimal selection and the both-ends mark "両端");
// "sel" prints ROW|CHECKBEEPS: the receipt row the re-key check selected (-1 none) and how
// often its sound for a difference was heard.
// Times, dates and the re-key check are the commands 60-63 (time key, date key, both ends,
// 検算).
#include "CalcEngine.h"
#include "Options.h"

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace bansho;

namespace {

class ProbeHost : public EngineHost {
public:
    CalcEngine* engine = nullptr;
    TCalcStatus* status = nullptr;
    std::string clipboard;
    long beeps = 0;
    long checkBeeps = 0; // the re-key check's sound for a difference

    void Beep() override { ++beeps; }
    void CheckBeep() override { ++checkBeeps; }
    std::string GetClipboardText(std::size_t maxBytes) override {
        return clipboard.substr(0, maxBytes);
    }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    void ShowNotFloatError(const std::string& message) override {
        std::cout << "ERROR: " << message << '\n';
    }
    void FocusMain() override {}
    void WindowCommand(unsigned command) override {
        // Stand-ins for the window layer where the engine shows the effect.
        if (command == 51 && status) status->UseNumKey = !status->UseNumKey;
        if (command == 52 && engine) engine->SetStatusBarShown(!engine->StatusBarShown());
    }
    void DisplayChanged() override {}
};

// Remembers the row the engine last asked to select on its own (the re-key check's row).
class ProbeReceipt : public ReceiptObserver {
public:
    long selected = -1;
    void RowAppended(std::size_t) override {}
    void RowReplaced(std::size_t) override {}
    void RowInserted(std::size_t) override {}
    void RowRemoved(std::size_t) override {}
    void RowsSwapped(std::size_t, std::size_t) override {}
    void HistoryCleared() override {}
    void RowsReset() override {}
    void RowSelected(std::size_t index) override { selected = static_cast<long>(index); }
    void LampOn() override {}
    void LampOff() override {}
};

bool ParseUnsigned(const std::string& s, unsigned long& v) {
    if (s.empty() || s.size() > 18) return false;
    v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<unsigned long>(c - '0');
    }
    return true;
}

std::vector<std::string> Split(const std::string& s, char sep, std::size_t maxParts) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < maxParts) {
        const std::size_t p = s.find(sep, start);
        if (p == std::string::npos) break;
        parts.push_back(s.substr(start, p - start));
        start = p + 1;
    }
    parts.push_back(s.substr(start));
    return parts;
}

void PrintState(const CalcEngine& e, const ProbeHost& host) {
    const DisplayModel& d = e.Display();
    std::cout << d.Caption << '|' << e.DispNum.Text << '|' << d.PanelGT << '|' << d.PanelM << '|'
              << d.PanelK << '|' << d.PanelNUM << '|' << d.OpeMark << '|' << d.NumMark << '|'
              << e.HistoryCount() << '|' << host.beeps << '\n';
}

void PrintHistory(const CalcEngine& e) {
    for (std::size_t i = 0; i < e.HistoryCount(); ++i)
        std::cout << e.HistOpe(i) << '\t' << e.HistNumber(i) << '\t' << e.HistRow(i)
                  << '\n';
    std::cout << "--\n";
}

int Usage() {
    std::cerr << "usage: engine-probe [--acount N] [--histset N] [--calcmem 0|1] [--taxrate TEXT]"
                 " [--decimals -1|0-4] [--rounding 0-2] [--taxrate2 TEXT] [--rate1 NAME]"
                 " [--rate2 NAME:RATE] [--rate3 NAME:RATE] < tokens\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, ""); // like the program: the user's locale must not matter
    TOption option;
    TCalcStatus status;
    SetBuiltInDefaults(option, status);
    SetFileDefaults(option);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const std::string val = argv[++i];
        unsigned long n = 0;
        if (arg == "--taxrate") {
            option.TaxRate = val;
        } else if (arg == "--taxrate2") {
            option.TaxRate2 = val;
        } else if (arg == "--rate1") {
            option.RateName1 = val;
        } else if (arg == "--rate2" || arg == "--rate3") {
            const auto p = Split(val, ':', 2);
            if (p.size() != 2) return Usage();
            (arg == "--rate2" ? option.RateName2 : option.RateName3) = p[0];
            (arg == "--rate2" ? option.Rate2 : option.Rate3) = p[1];
        } else if (arg == "--decimals") {
            if (val == "-1") {
                option.Decimals = -1; // F
            } else {
                if (!ParseUnsigned(val, n) || n > 4) return Usage();
                option.Decimals = static_cast<std::int32_t>(n);
            }
        } else if (arg == "--rounding") {
            if (!ParseUnsigned(val, n) || n > 2) return Usage();
            option.Rounding = static_cast<std::int32_t>(n);
        } else if (!ParseUnsigned(val, n)) {
            return Usage();
        } else if (arg == "--acount") {
            option.Acount = static_cast<std::uint8_t>(n);
        } else if (arg == "--histset") {
            option.HistSet = static_cast<std::uint8_t>(n);
        } else if (arg == "--calcmem") {
            option.CalcMem = n != 0;
        } else {
            return Usage();
        }
    }

    ProbeHost host;
    CalcEngine engine(option, status, host);
    host.engine = &engine;
    host.status = &status;
    ProbeReceipt receipt;
    engine.SetReceiptObserver(&receipt);
    engine.AllClear();

    std::string tok;
    while (std::cin >> tok) {
        unsigned long n = 0;
        if (ParseUnsigned(tok, n)) {
            engine.ExecCommand(n > UINT_MAX ? UINT_MAX : static_cast<unsigned>(n));
        } else if (tok.rfind("paste:", 0) == 0) {
            host.clipboard = tok.substr(6);
        } else if (tok == "?") {
            PrintState(engine, host);
        } else if (tok == "h") {
            PrintHistory(engine);
        } else if (tok == "n") {
            const DisplayModel& d = engine.Display();
            std::cout << engine.ItemCount() << '|' << d.PanelItems << '|' << d.ItemsMark << '|'
                      << engine.CostNum.Text << '|' << engine.SellNum.Text << '|'
                      << engine.MarginNum.Text << '\n';
        } else if (tok == "sel") {
            std::cout << receipt.selected << '|' << host.checkBeeps << '\n';
        } else if (tok == "marks") {
            std::cout << engine.Display().PanelSelector << '\n';
        } else if (tok == "clip") {
            std::cout << host.clipboard << '\n';
        } else if (tok == "locale") {
            std::cout << std::localeconv()->decimal_point << '\n';
        } else if (tok == "correct") {
            engine.EnterCorrectionMode();
        } else if (tok == "recalc") {
            engine.RecalcHistory();
        } else if (tok == "invoice") {
            for (const std::string& line : engine.InvoiceBlock())
                std::cout << line << '\n';
            std::cout << "--\n";
        } else {
            const auto parts = Split(tok, ':', 4);
            unsigned long a = 0, b = 0;
            const bool hasA = parts.size() >= 2 && ParseUnsigned(parts[1], a);
            if (parts[0] == "recall" && hasA) {
                engine.RecallHistoryEntry(a);
            } else if (parts[0] == "ins" && hasA) {
                engine.InsertHistoryEntry(a);
            } else if (parts[0] == "del" && hasA) {
                engine.RemoveHistoryEntry(a);
            } else if (parts[0] == "swap" && hasA && parts.size() == 3 &&
                       ParseUnsigned(parts[2], b)) {
                engine.SwapHistoryEntries(a, b);
            } else if (parts[0] == "set" && hasA && parts.size() == 4 && parts[2].size() == 1) {
                engine.ReplaceHistoryEntry(a, parts[3], parts[2][0]);
            } else if (parts[0] == "copy" && hasA) {
                engine.CopyHistoryToClip(a);
            } else {
                std::cerr << "engine-probe: unknown token '" << tok << "'\n";
            }
        }
        std::cout.flush();
    }
    return 0;
}
