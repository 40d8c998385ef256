#pragma once
// The rule that sizes the main window from its width alone: the display font is fitted to
// the width, and every other height follows from the font. Pure functions, so the rule can
// be checked against any font (a real one through QFontMetrics, or a fake in the tests).
#include <functional>

namespace bansho {

inline constexpr int kMinWindowWidth = 280;
inline constexpr const char* kFitSample = "-888,888,888,888,888,888.";

// Measurements of the display font at a given pixel height.
struct DisplayFontMeasure {
    std::function<int(int size)> sampleWidth;  // width of kFitSample
    std::function<int(int size)> sampleHeight; // line height of kFitSample
    std::function<int(int size)> eightWidth;   // width of "8"
};

// Grows the font in 2-pixel steps while the sample is narrower than `width`, then shrinks it
// in 2-pixel steps while the sample is wider. The start size is the font's current height; a
// negative value (a character height) counts by its magnitude. The result stays within
// [2, 4000] so that a degenerate font cannot loop for ever.
// The sample's width grows with the size, so the size the steps end at is found without
// measuring every size on the way: a guess in proportion, then steps of two from there.
// Each size is measured at most once, and at start-up only about three are.
int FitDisplayFontSize(int startSize, int width, const std::function<int(int)>& sampleWidth);

struct LayoutInput {
    int width = 0;       // requested outer width of the window
    int fontSize = 64;   // current display font height (pixels)
    bool margin = false; // Margin option: display area half again as tall
    int funcType = 12;   // function keys shown
    bool smallFont = false;
    bool statusBarVisible = true;
    int statusBarHeight = 21; // SBBase height
    int fkBaseHeight = 30;    // FKBase height
};

struct LayoutResult {
    int width = 0;         // window width after the 280 floor
    int fontSize = 0;      // fitted display font height
    int H = 0;             // display area height (sample height, +half with Margin)
    int opeFontSize = 0;   // OpeMark font: H div 2
    int markFontSize = 0;  // q = H div 4: LPanel, TotMark, MemMark, KctMark, NumMark
    int totMarkHeight = 0; // q
    int kctMarkHeight = 0; // 2q
    int keyCount = 12;     // FuncType
    int keyFontPoints = 8; // 8, or 7 with SmallFont
    int lPanelWidth = 0;   // width of "8" in the display font
    int rPanelWidth = 0;   // LPanel width + LPanel width div 3
    int winBaseHeight = 0; // H + 8
    int clientHeight = 0;  // status bar (if shown) + H + FKBase + 8
};

LayoutResult ComputeLayout(const LayoutInput& in, const DisplayFontMeasure& measure);

// The caption-bar height h gives the function-key panel h + h div 3.
inline int FuncKeyBaseHeight(int captionHeight) {
    return captionHeight + captionHeight / 3;
}

// Status-bar font height: the bar height less 8.
inline int StatusBarFontHeight(int barHeight) {
    return barHeight - 8;
}

// Window commands on geometry. Screen sizes are the available desktop.
struct WindowRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// 88..91: the new width (the layout rule then applies the 280 floor).
int ZoomWidth(int command, int width, int moveDot);
// 92..99: the new position, stopping one pixel short of the left/top screen edges and
// exactly at the right/bottom edges.
WindowRect MoveRect(int command, WindowRect r, int moveDot, int screenWidth, int screenHeight);

// Where a popup menu opens (commands 200..205): the pointer's x when it lies strictly inside
// the window's horizontal span, else the left edge + 4; y is the window's bottom, raised by
// the status bar while it is shown.
struct MenuPoint {
    int x = 0, y = 0;
};
MenuPoint PopupMenuPoint(const WindowRect& window, int cursorX, bool statusBarShown,
                         int statusBarHeight);

} // namespace bansho
