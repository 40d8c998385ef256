#pragma once
// The options and state that only the windows use: the settings file keeps them, the main
// window, the history window and the customization dialog read them; the engine, the keys
// and the kept receipt never do. A default-made record holds the values in force before the
// settings file is read.
#include <cstdint>
#include <string>

namespace bansho {

// Options of the windows, edited by the customization dialog (Cancel puts them back).
struct WindowOptions {
    bool StayHist = false;             // history window stays open after a recall
    std::int32_t MoveDot = 0;          // pixel step of the fast zoom and move commands
    std::int32_t FuncType = 12;        // function keys shown: 8, 10 or 12
    bool Cycle = false;                // history navigation wraps around
    bool Hint = false;                 // tool tips on function keys and history buttons
    bool Upper = false;                // history window docked above the main window
    std::string Printer;               // last printed on: a printer's name or a PDF file's path
    std::string PrintPaper;            // last printed on: "A4", "80x297mm"; empty: never printed
    bool SmallFont = false;            // smaller function-key and history-button captions
    bool Margin = false;               // extra space above and below the display digits
    std::int32_t AlphaBlendType = 1;   // 0 never, 1 while inactive, 2 always
    std::int32_t AlphaBlendValue = 180; // opacity while transparent (low 8 bits used)
};

// Where the history window stands: kept from one run to the next, changed by the window
// itself (shown, hidden, its height dragged), never by the customization dialog.
struct HistoryWindowState {
    bool Visible = false;
    std::int32_t Height = 256; // the outer height, frame included
};

// The values a settings file without any key gives (what the program uses on a first run).
inline void SetFileDefaults(WindowOptions& w) {
    w.StayHist = true;
    w.MoveDot = 8;
    w.FuncType = 12;
    w.Cycle = true;
    w.Hint = true;
    w.Upper = false;
    w.SmallFont = false;
    w.Margin = false;
    w.AlphaBlendType = 1;
    w.AlphaBlendValue = 180;
}

inline WindowOptions FileDefaultWindowOptions() {
    WindowOptions w;
    SetFileDefaults(w);
    return w;
}

} // namespace bansho
