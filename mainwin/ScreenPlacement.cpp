#include "ScreenPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace bansho {

namespace {

using Wide = std::int64_t; // a saved width of 10^9 must not overflow an edge or an area

// Overlap of [a0, a1) and [b0, b1), or 0.
Wide Overlap(Wide a0, Wide a1, Wide b0, Wide b1) {
    return std::max<Wide>(0, std::min(a1, b1) - std::max(a0, b0));
}

// Gap between [a0, a1) and [b0, b1), or 0 when they meet.
Wide Gap(Wide a0, Wide a1, Wide b0, Wide b1) {
    return std::max<Wide>({0, b0 - a1, a0 - b1});
}

// The start of a span of `length` moved into [lo, hi) where it fits, else to lo.
Wide Clamp(Wide start, Wide length, Wide lo, Wide hi) {
    if (length >= hi - lo) return lo;
    return std::clamp(start, lo, hi - length);
}

} // namespace

int NearestScreen(const WindowRect& frame, const std::vector<WindowRect>& screens) {
    const Wide l = frame.left, t = frame.top;
    const Wide r = l + std::max(frame.width, 0), b = t + std::max(frame.height, 0);
    int best = -1;
    Wide bestArea = 0, bestDistance = std::numeric_limits<Wide>::max();
    for (std::size_t i = 0; i < screens.size(); ++i) {
        const WindowRect& s = screens[i];
        const Wide sl = s.left, st = s.top, sr = sl + s.width, sb = st + s.height;
        const Wide area = Overlap(l, r, sl, sr) * Overlap(t, b, st, sb);
        const Wide dx = Gap(l, r, sl, sr), dy = Gap(t, b, st, sb);
        const Wide distance = dx * dx + dy * dy;
        if (area > bestArea || (bestArea == 0 && area == 0 && distance < bestDistance)) {
            best = static_cast<int>(i);
            bestArea = area;
            bestDistance = distance;
        }
    }
    return best;
}

int WidthOnScreen(int width, int frameExtra, const WindowRect& screen) {
    return std::max(kMinWindowWidth, std::min(width, screen.width - frameExtra));
}

WindowRect PlaceOnScreen(WindowRect frame, const WindowRect& screen, int dockedHeight,
                         bool dockedAbove) {
    const Wide sl = screen.left, st = screen.top;
    const Wide sr = sl + screen.width, sb = st + screen.height;
    frame.left = static_cast<int>(Clamp(frame.left, frame.width, sl, sr));

    // The block of the main window and the docked history window, one pixel between them.
    const Wide docked = dockedHeight > 0 ? Wide{dockedHeight} + 1 : 0;
    const Wide blockTop = frame.top - (dockedAbove ? docked : 0);
    const Wide blockHeight = frame.height + docked;
    if (blockHeight <= sb - st) {
        const Wide top = Clamp(blockTop, blockHeight, st, sb);
        frame.top = static_cast<int>(top + (dockedAbove ? docked : 0));
    } else {
        frame.top = static_cast<int>(Clamp(frame.top, frame.height, st, sb));
    }
    return frame;
}

} // namespace bansho
