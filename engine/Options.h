#pragma once
// The plain records that the settings file fills and the engine, the keys and the windows
// read: the calculation options and the state record they share. What only the windows use
// is the settings layer's: the display colours (settings/DisplayColors.h) and the window
// options and the history window's place (settings/WindowOptions.h).
#include <cstdint>
#include <string>

namespace bansho {

// Option settings. Zero-filled first, then the built-in defaults, then the settings file.
struct TOption {
    std::uint8_t HistSet = 0;         // 0 user memo, 1 calculation receipt, 2 input receipt
    std::uint8_t Acount = 0;          // 0 cut below the significant digits, 1 round half up
    bool CalcMem = false;             // M+/M- first complete the pending calculation
    std::string TaxRate;              // tax rate in percent, as text
    std::string UserKEY;              // NUM-key mode: key codes, 17 raw bytes
    std::string UserTCH;              // NUM-key mode: typed characters, 17 characters
    std::int32_t Decimals = -1;       // decimal selector: -1 F (results as they come), 0-4 places
    std::int32_t Rounding = 0;        // 0 切捨 toward zero, 1 四捨五入 half away, 2 切上 away
    // Conversion rates: the names of the home unit (C1, rate 1) and of C2 and C3, and the
    // rates of C2 and C3 as exact decimal text (how many of the unit one home unit is worth);
    // empty when not set.
    std::string RateName1, RateName2, RateName3;
    std::string Rate2, Rate3;
    std::string TaxRate2;             // the second (reduced) tax rate in percent, as text
    bool KeepReceipt = false;         // the receipt, memory and grand total outlive the program
};

// State shared by the engine, the key handling and the windows; zero-filled at start.
struct TCalcStatus {
    char LastKey = 0;
    char PendOpe = 0;
    char ConstOpe = 0;
    char EditTarget = 0;
    std::int32_t FuncSet = 0; // current function-key set: 0 A, 1 B, 2 C
    bool ConstMode = false;
    bool UseNumKey = false;
    bool KeyCUST = false;
};

// The built-in defaults that are set before the settings file is read.
inline void SetBuiltInDefaults(TOption& o, TCalcStatus& s) {
    o = TOption{};
    s = TCalcStatus{};
    o.Decimals = -1;
    o.Rounding = 0;
}

// The values a settings file without any key gives (what the program uses on a first run).
// UserKEY and UserTCH are left alone: the key tables set their factory strings.
inline void SetFileDefaults(TOption& o) {
    o.HistSet = 2;
    o.Acount = 0;
    o.CalcMem = true;
    o.TaxRate = "10";
    o.Decimals = -1;
    o.Rounding = 0;
    o.TaxRate2 = "8";
}

} // namespace bansho
