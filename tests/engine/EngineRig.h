#pragma once
// An engine with the settings of a first run, a fake host and receipt, and a tiny key language:
// "5 + 3 =" types 5, presses +, types 3, presses =. Numbers are typed digit by digit.
#include "CalcEngine.h"
#include "FakeHost.h"
#include "FakeReceipt.h"
#include "Options.h"

#include <sstream>
#include <stdexcept>
#include <string>

namespace bansho::testing {

struct EngineOptions {
    int acount = 0;
    int histSet = 2;
    bool calcMem = true;
    std::string taxRate = "10";
    int decimals = -1; // F
    int rounding = 0;  // 切捨
};

class EngineRig {
public:
    explicit EngineRig(const EngineOptions& o = {}) : engine(option, status, host) {
        SetBuiltInDefaults(option, status);
        SetFileDefaults(option);
        option.Acount = static_cast<std::uint8_t>(o.acount);
        option.HistSet = static_cast<std::uint8_t>(o.histSet);
        option.CalcMem = o.calcMem;
        option.TaxRate = o.taxRate;
        option.Decimals = o.decimals;
        option.Rounding = o.rounding;
        engine.AllClear();
    }

    // Tokens: digits and '.' are typed one key at a time; + - * / = % are the operator keys;
    // neg AC C HC HS HR MC M+ M- MR MRV GT -> k00 k000 TI TE cut copy paste; paste:TEXT puts
    // TEXT on the clipboard and pastes it; #N runs command N.
    void Keys(const std::string& keys) {
        std::istringstream in(keys);
        std::string t;
        while (in >> t)
            Key(t);
    }

    void Key(const std::string& t) {
        static const struct {
            const char* name;
            unsigned command;
        } kNamed[] = {{"+", 17},    {"-", 18},   {"*", 19},  {"/", 20},   {"=", 21},
                      {"%", 22},    {"neg", 23}, {"AC", 24}, {"C", 25},   {"HC", 26},
                      {"HS", 27},   {"HR", 28},  {"MC", 29}, {"M+", 30},  {"M-", 31},
                      {"MR", 32},   {"MRV", 33}, {"GT", 34}, {"->", 35},  {"k00", 36},
                      {"k000", 37}, {"TI", 38},  {"TE", 39}, {"cut", 40}, {"copy", 41},
                      {"paste", 42}};
        for (const auto& n : kNamed) {
            if (t == n.name) {
                engine.ExecCommand(n.command);
                return;
            }
        }
        if (t.rfind("paste:", 0) == 0) {
            host.clipboard = t.substr(6);
            engine.ExecCommand(42);
            return;
        }
        if (t.size() > 1 && t[0] == '#') {
            engine.ExecCommand(static_cast<unsigned>(std::stoul(t.substr(1))));
            return;
        }
        for (const char c : t) {
            if (c >= '0' && c <= '9')
                engine.ExecCommand(static_cast<unsigned>(c - '0'));
            else if (c == '.')
                engine.ExecCommand(16);
            else
                throw std::invalid_argument("unknown key token: " + t);
        }
    }

    const std::string& Caption() const { return engine.Display().Caption; }

    TOption option;
    TCalcStatus status;
    FakeHost host;
    CalcEngine engine;
    FakeReceipt receipt{engine}; // the history window's side
};

} // namespace bansho::testing
