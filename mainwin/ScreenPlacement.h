#pragma once
// Where the main window opens: on the screen nearest to the place the settings remember, no
// wider than that screen, and whole, together with the history window docked to it, where
// they fit. Pure functions over screen rectangles (the available areas, without panels).
#include "LayoutRule.h"

#include <vector>

namespace bansho {

// The screen that holds the largest part of `frame`; when none holds any part of it, the
// screen nearest to it; ties go to the earlier screen. -1 when there is no screen.
int NearestScreen(const WindowRect& frame, const std::vector<WindowRect>& screens);

// The window width (without frame) limited so that the window with its frame (`frameExtra`
// pixels wider) is no wider than the screen; never below the layout rule's 280.
int WidthOnScreen(int width, int frameExtra, const WindowRect& screen);

// The outer rectangle moved onto the screen: whole where it fits, else its left and top edges
// on the screen. `dockedHeight` is the outer height of the history window docked below it
// (above it when `dockedAbove`), one pixel apart, or 0 when none is shown; the two are kept
// whole together where they fit, else the main window alone is. Only the position changes.
WindowRect PlaceOnScreen(WindowRect frame, const WindowRect& screen, int dockedHeight,
                         bool dockedAbove);

} // namespace bansho
