#pragma once
// The command numbers. Every action of the calculator is one number 0..255 that keys,
// function keys and popup menus carry to ExecCommand. The numbers are stored in the settings
// file (key table, function-key sets), so each name keeps its value for good.
#include <algorithm>
#include <array>

namespace bansho {

enum class Command : unsigned {
    Digit0 = 0,
    Digit1 = 1,
    Digit2 = 2,
    Digit3 = 3,
    Digit4 = 4,
    Digit5 = 5,
    Digit6 = 6,
    Digit7 = 7,
    Digit8 = 8,
    Digit9 = 9,
    Point = 16,
    Add = 17,
    Subtract = 18,
    Multiply = 19,
    Divide = 20,
    Equals = 21,
    Percent = 22,
    ChangeSign = 23,
    AllClear = 24,
    ClearEntry = 25,
    HistoryClear = 26,
    HistoryStore = 27,
    HistoryShow = 28,
    MemoryClear = 29,
    MemoryAdd = 30,
    MemorySubtract = 31,
    MemoryRecall = 32,
    MemorySwap = 33,
    GrandTotal = 34,
    ShiftRight = 35,
    DoubleZero = 36,
    TripleZero = 37,
    TaxIncluded = 38,
    TaxExcluded = 39,
    Cut = 40,
    Copy = 41,
    Paste = 42,
    DecimalSelector = 44,  // F -> 0 -> 1 -> 2 -> 3 -> 4 -> F
    RoundingSelector = 45, // 切捨 -> 四捨五入 -> 切上
    TaxIncluded2 = 46,     // the tax-included display at rate 2
    TaxExcluded2 = 47,     // the tax-excluded display at rate 2
    TaxTotal = 48,         // steps through the totals of the tax bill
    NextFuncSet = 50,
    ToggleNumKey = 51,
    ToggleStatusBar = 52,
    PrintPreview = 53,
    PrintReceipt = 54,
    CostPrice = 55,  // 原価: store the shown number as the cost, or compute it
    SellPrice = 56,  // 売価: store the shown number as the selling price, or compute it
    MarginRate = 57, // 粗利率: store the shown number as the margin in percent, or compute it
    ItemCount = 58,  // 件数: the bill's item count on the display until the next key
    ConvertRate = 59, // the shown amount from home into the stored rates and back
    ZoomInDot = 88,
    ZoomOutDot = 89,
    ZoomInFast = 90,
    ZoomOutFast = 91,
    MoveLeftDot = 92,
    MoveRightDot = 93,
    MoveUpDot = 94,
    MoveDownDot = 95,
    MoveLeftFast = 96,
    MoveRightFast = 97,
    MoveUpFast = 98,
    MoveDownFast = 99,
    Minimize = 100,
    About = 150,
    Customize = 151,
    EditMenu = 200,
    ClearMenu = 201,
    MemoryMenu = 202,
    HistoryMenu = 203,
    EntryMenu = 204,
    ZoomMenu = 205,
    Quit = 254,
    TimeKey = 60,     // closes hours, minutes, seconds; on a result: time <-> decimal hours
    DateKey = 61,     // the eight digits typed (20261207) become a date
    BothEnds = 62,    // day counts include the first day too (両端入れ), on and off
    ReKeyCheck = 63,  // 検算: key the calculation again and compare entry by entry
    UndoClear = 64,   // 元に戻す: the rows, grand total and memory the last clear took come back
    None = 255, // no action: key table, function keys and menus use it for "nothing"
};

// The number a command is stored and dispatched as.
constexpr int CommandNumber(Command c) {
    return static_cast<int>(c);
}

// The commands that belong to the window layer: the engine hands them to its host.
inline constexpr std::array kWindowCommands = {
    Command::HistoryShow,  Command::NextFuncSet,   Command::ToggleNumKey, Command::ToggleStatusBar,
    Command::ZoomInDot,    Command::ZoomOutDot,    Command::ZoomInFast,   Command::ZoomOutFast,
    Command::MoveLeftDot,  Command::MoveRightDot,  Command::MoveUpDot,    Command::MoveDownDot,
    Command::MoveLeftFast, Command::MoveRightFast, Command::MoveUpFast,   Command::MoveDownFast,
    Command::Minimize,     Command::About,         Command::Customize,    Command::EditMenu,
    Command::ClearMenu,    Command::MemoryMenu,    Command::HistoryMenu,  Command::EntryMenu,
    Command::ZoomMenu,     Command::Quit,          Command::PrintReceipt, Command::PrintPreview,
};

constexpr bool IsWindowCommand(unsigned number) {
    return std::any_of(kWindowCommands.begin(), kWindowCommands.end(),
                       [number](Command c) { return static_cast<unsigned>(c) == number; });
}

} // namespace bansho
