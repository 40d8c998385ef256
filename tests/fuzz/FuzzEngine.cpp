// Fuzz target: arbitrary command numbers, pasted bytes, option changes and history-window
// operations through the engine; every invariant of EngineDriver is checked after each step.
//
// Input: byte 0 the options (bits 0-1 receipt kind, 2 rounding, 3 CalcMem, 4 status bar,
// 5 styled font, 6 NUM-key mode), byte 1 the length of the tax-rate text that follows, then
// one step per byte: any byte but 255 runs that command; 255 starts an extended step whose
// next byte chooses a paste text, an option change or a history operation.
#include "EngineDriver.h"
#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace bansho;
using namespace bansho::testing;

namespace {

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
    bool More() const { return p_ < end_; }
    std::uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    std::string Text(std::size_t maxLen) {
        std::size_t n = Byte() % (maxLen + 1);
        std::string s;
        while (n-- > 0 && p_ < end_)
            s += static_cast<char>(*p_++);
        return s;
    }
    // Digits and points only: what the edit dialog's number check lets through.
    std::string DialogNumber() {
        static const char kChars[] = "0123456789.";
        std::size_t n = Byte() % 24;
        std::string s;
        while (n-- > 0 && p_ < end_)
            s += kChars[*p_++ % 11];
        return s.empty() ? "0" : s;
    }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

char Ope(std::uint8_t b) {
    return "+-*/"[b % 4];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const std::uint8_t flags = in.Byte();
    DriverConfig config;
    config.HistSet = static_cast<std::uint8_t>((flags & 3) % 3);
    config.Acount = (flags >> 2) & 1;
    config.CalcMem = (flags >> 3) & 1;
    config.StatusBar = (flags >> 4) & 1;
    config.StyledFont = (flags >> 5) & 1;
    config.NumKey = (flags >> 6) & 1;
    config.TaxRate = in.Text(30);

    EngineDriver d(config);
    std::string err = d.Check();
    FUZZ_CHECK(err.empty(), "at start: " + err);

    for (std::size_t step = 0; in.More(); ++step) {
        const std::uint8_t b = in.Byte();
        auto index = [&] {
            return static_cast<std::size_t>(in.Byte()) % (d.Engine().HistoryCount() + 2);
        };
        if (b != 255) {
            d.Command(b);
        } else {
            switch (in.Byte() % 16) {
            case 0:
                d.SetClipboard(in.Text(40));
                break;
            case 1:
                d.SetClipboard(in.DialogNumber());
                break;
            case 2:
                d.SetHistSet(in.Byte() % 3);
                break;
            case 3:
                d.SetAcount(in.Byte() % 2);
                break;
            case 4:
                d.SetCalcMem(in.Byte() & 1);
                break;
            case 5:
                d.SetTaxRate(in.Text(30));
                break;
            case 6:
                d.EnterCorrection();
                break;
            case 7:
                d.Recall(index());
                break;
            case 8: {
                const std::size_t i = index();
                const char ope = Ope(in.Byte());
                d.Replace(i, in.Text(40), ope);
                break;
            }
            case 9:
                d.Insert(index());
                break;
            case 10:
                d.Remove(index());
                break;
            case 11: {
                const std::size_t i = index();
                d.Swap(i, index());
                break;
            }
            case 12:
                d.Recalc();
                break;
            case 13:
                d.CopyHistory(index());
                break;
            case 14: {
                const std::size_t i = index();
                const char ope = Ope(in.Byte());
                d.Replace(i, in.DialogNumber(), ope);
                break;
            }
            default:
                d.Command(255);
                break;
            }
        }
        err = d.Check();
        FUZZ_CHECK(err.empty(), "after step " + std::to_string(step) + " (byte " +
                                    std::to_string(b) + "): " + err);
    }
    return 0;
}
