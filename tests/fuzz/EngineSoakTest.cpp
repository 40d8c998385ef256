// Soak: millions of random commands through the engine in every receipt kind and both
// calculation modes, with pastes of random text and the history window's operations,
// checking every invariant of EngineDriver after each step. Seeded, so a failure names the
// seed and the step that reproduce it.
#include "EngineDriver.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>

using namespace bansho;
using namespace bansho::testing;

namespace {

// Steps per configuration; twelve configurations. BANSHO_SOAK_STEPS overrides.
long StepsPerConfig() {
    if (const char* env = std::getenv("BANSHO_SOAK_STEPS")) return std::atol(env);
    return kSanitized ? 50'000 : 200'000;
}

class Soak {
public:
    Soak(const DriverConfig& config, std::uint64_t seed) : d_(config), rng_(seed) {}

    // Runs `steps` random steps; returns what broke (with the recent steps), or empty.
    std::string Run(long steps) {
        for (long step = 0; step < steps; ++step) {
            Step();
            const bool full = (step % 4096) == 0 || step + 1 == steps;
            const std::string err = d_.Check(full);
            if (!err.empty()) {
                std::ostringstream out;
                out << "step " << step << ": " << err << "\nrecent steps:";
                for (const auto& s : recent_)
                    out << "\n  " << s;
                return out.str();
            }
        }
        return {};
    }

    std::size_t MaxHistory() const { return maxHistory_; }
    long Errors() const { return static_cast<long>(d_.Host().notFloatErrors); }

private:
    unsigned Pick(unsigned n) { return static_cast<unsigned>(rng_() % n); }

    void Log(std::string s) {
        recent_.push_back(std::move(s));
        if (recent_.size() > 24) recent_.pop_front();
    }

    void Exec(unsigned command) {
        Log("command " + std::to_string(command));
        d_.Command(command);
    }

    std::string RandomNumberText() {
        std::string s;
        if (Pick(4) == 0) s += '-';
        const unsigned digits = 1 + Pick(18);
        for (unsigned i = 0; i < digits; ++i)
            s += static_cast<char>('0' + Pick(10));
        if (Pick(2) == 0) {
            s += '.';
            const unsigned frac = Pick(8);
            for (unsigned i = 0; i < frac; ++i)
                s += static_cast<char>('0' + Pick(10));
        }
        return s;
    }

    std::string RandomText() {
        static const char* const kPieces[] = {
            "1", "2.5",  "-",    ".",     ",", " ",    "\t",  "\r\n", "e5", "０",
            "¥", "\xff", "\x80", "1,000", "+", "0x10", "nan", "inf",  "円", "\xe3\x81"};
        std::string s;
        const unsigned n = Pick(8);
        for (unsigned i = 0; i < n; ++i)
            s += kPieces[Pick(std::size(kPieces))];
        return s;
    }

    std::size_t Index() { return Pick(static_cast<unsigned>(d_.Engine().HistoryCount() + 2)); }

    void Step() {
        static const unsigned kEntry[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 36, 37};
        const unsigned r = Pick(1000);
        if (r < 420) {
            Exec(kEntry[Pick(std::size(kEntry))]);
        } else if (r < 650) {
            Exec(17 + Pick(6)); // + - * / = %
        } else if (r < 800) {
            Exec(23 + Pick(20)); // sign, AC, C, HC, HS, HR, memory, GT, tax, clipboard
        } else if (r < 900) {
            Exec(Pick(256));
        } else if (r < 950) {
            std::string text;
            switch (Pick(3)) {
            case 0:
                text = RandomNumberText();
                break;
            case 1:
                text = RandomText();
                break;
            default:
                text = d_.Host().clipboard;
                break;
            }
            Log("paste '" + text + "'");
            d_.SetClipboard(text);
            d_.Command(42);
        } else if (r < 985) {
            HistoryStep();
        } else if (r < 995) {
            OptionStep();
        } else {
            // Keep the receipts of the user memo and the calculation receipt from growing
            // without end; the input receipt clears itself.
            Exec(Pick(2) == 0 ? 24 : 26);
        }
        maxHistory_ = std::max(maxHistory_, d_.Engine().HistoryCount());
    }

    void HistoryStep() {
        switch (Pick(9)) {
        case 0:
            Log("correction");
            d_.EnterCorrection();
            break;
        case 1: {
            const auto i = Index();
            Log("recall " + std::to_string(i));
            d_.Recall(i);
            break;
        }
        case 2: {
            const auto i = Index();
            std::string n = Pick(4) == 0 ? RandomText() : RandomNumberText();
            if (n.starts_with('-')) n.erase(0, 1); // the dialog refuses a sign
            const char ope = "+-*/"[Pick(4)];
            Log("replace " + std::to_string(i) + " " + ope + " '" + n + "'");
            d_.Replace(i, n, ope);
            break;
        }
        case 3: {
            const auto i = Index();
            Log("insert " + std::to_string(i));
            d_.Insert(i);
            break;
        }
        case 4: {
            const auto i = Index();
            Log("remove " + std::to_string(i));
            d_.Remove(i);
            break;
        }
        case 5: {
            const auto i = Index(), j = Index();
            Log("swap " + std::to_string(i) + " " + std::to_string(j));
            d_.Swap(i, j);
            break;
        }
        case 6:
        case 7:
            Log("recalc");
            d_.Recalc();
            break;
        default: {
            const auto i = Index();
            Log("copy " + std::to_string(i));
            d_.CopyHistory(i);
            break;
        }
        }
    }

    void OptionStep() {
        switch (Pick(4)) {
        case 0: {
            const auto h = static_cast<std::uint8_t>(Pick(3));
            Log("HistSet " + std::to_string(h));
            d_.SetHistSet(h);
            break;
        }
        case 1: {
            const auto a = static_cast<std::uint8_t>(Pick(2));
            Log("Acount " + std::to_string(a));
            d_.SetAcount(a);
            break;
        }
        case 2: {
            const bool on = Pick(2) == 0;
            Log(std::string("CalcMem ") + (on ? "on" : "off"));
            d_.SetCalcMem(on);
            break;
        }
        default: {
            static const char* const kRates[] = {
                "10", "8", "0", "5.5", "-3", "abc", "", "99999999999999999999999", "100"};
            const char* rate = kRates[Pick(std::size(kRates))];
            Log(std::string("TaxRate '") + rate + "'");
            d_.SetTaxRate(rate);
            break;
        }
        }
    }

    EngineDriver d_;
    std::mt19937_64 rng_;
    std::deque<std::string> recent_;
    std::size_t maxHistory_ = 0;
};

struct SoakCase {
    std::uint8_t histSet;
    std::uint8_t acount;
    bool calcMem;
};

class EngineSoak : public ::testing::TestWithParam<SoakCase> {};

TEST_P(EngineSoak, EveryInvariantHoldsThroughRandomCommands) {
    const SoakCase c = GetParam();
    DriverConfig config;
    config.HistSet = c.histSet;
    config.Acount = c.acount;
    config.CalcMem = c.calcMem;
    config.StatusBar = (c.histSet % 2) == 0;
    config.StyledFont = c.acount == 1 && c.calcMem;
    const std::uint64_t seed = 0x62616E73686FULL + c.histSet * 100 + c.acount * 10 + c.calcMem;
    Soak soak(config, seed);
    const std::string err = soak.Run(StepsPerConfig());
    EXPECT_EQ(err, "") << "seed " << seed;
    // The run must reach the interesting states, or it proves little.
    EXPECT_GT(soak.MaxHistory(), 5u);
    EXPECT_GT(soak.Errors(), 0) << "no pasted text ever failed a calculation";
}

std::string CaseName(const ::testing::TestParamInfo<SoakCase>& info) {
    static const char* const kKinds[] = {"UserMemo", "CalcReceipt", "InputReceipt"};
    return std::string(kKinds[info.param.histSet]) + (info.param.acount ? "Round" : "Cut") +
           (info.param.calcMem ? "CalcMem" : "PlainMem");
}

INSTANTIATE_TEST_SUITE_P(AllModes, EngineSoak,
                         ::testing::Values(SoakCase{0, 0, true}, SoakCase{0, 1, false},
                                           SoakCase{1, 0, false}, SoakCase{1, 1, true},
                                           SoakCase{2, 0, true}, SoakCase{2, 1, true},
                                           SoakCase{2, 0, false}, SoakCase{2, 1, false},
                                           SoakCase{0, 0, false}, SoakCase{0, 1, true},
                                           SoakCase{1, 0, true}, SoakCase{1, 1, false}),
                         CaseName);

} // namespace
