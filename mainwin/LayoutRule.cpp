#include "LayoutRule.h"

#include "Commands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace bansho {

namespace {
constexpr int kMinFontSize = 2;
constexpr int kMaxFontSize = 4000;
} // namespace

int FitDisplayFontSize(int startSize, int width, const std::function<int(int)>& sampleWidth) {
    const int start = std::clamp(std::abs(startSize), kMinFontSize, kMaxFontSize);
    // The sizes the steps can reach: those of the start's parity within the limits.
    const int lowest = start - 2 * ((start - kMinFontSize) / 2);
    const int highest = start + 2 * ((kMaxFontSize - start) / 2);
    // Every font engine a measurement creates costs start-up time: each size is measured once.
    std::map<int, int> measured;
    auto w = [&](int size) {
        auto it = measured.find(size);
        if (it == measured.end()) it = measured.emplace(size, sampleWidth(size)).first;
        return it->second;
    };
    const int w0 = w(start);
    if (w0 == width) return start;
    // Where the steps would end if the sample grew in proportion to the size; the search
    // starts there and walks in steps of two to the size the steps really end at.
    const double proportional =
        w0 > 0 ? static_cast<double>(start) * width / w0 : static_cast<double>(highest);
    auto step = [&](double size, bool up) {
        const double steps = (size - start) / 2;
        const double whole = up ? std::ceil(steps) : std::floor(steps);
        const double clamped = std::clamp(start + 2 * whole, static_cast<double>(lowest),
                                          static_cast<double>(highest));
        return static_cast<int>(clamped);
    };
    if (w0 < width) {
        // Growing stops at the first size whose sample is not narrower than the width (or at
        // the limit); one step back follows when that sample is wider.
        if (start == highest) return start;
        int size = std::max(step(proportional, true), start + 2);
        if (w(size) >= width) {
            while (size - 2 > start && w(size - 2) >= width)
                size -= 2;
        } else {
            while (size < highest && w(size) < width)
                size += 2;
        }
        return w(size) > width ? size - 2 : size;
    }
    // Shrinking stops at the first size whose sample is not wider than the width.
    if (start == lowest) return start;
    int size = std::min(step(proportional, false), start - 2);
    if (w(size) <= width) {
        while (size + 2 < start && w(size + 2) <= width)
            size += 2;
    } else {
        while (size > lowest && w(size) > width)
            size -= 2;
    }
    return size;
}

LayoutResult ComputeLayout(const LayoutInput& in, const DisplayFontMeasure& measure) {
    LayoutResult r;
    r.width = std::max(in.width, kMinWindowWidth);
    r.fontSize = FitDisplayFontSize(in.fontSize, r.width, measure.sampleWidth);

    r.H = measure.sampleHeight(r.fontSize);
    if (in.margin) r.H += r.H / 2;

    r.opeFontSize = r.H / 2;
    const int q = r.H / 4;
    r.markFontSize = q;
    r.totMarkHeight = q;
    r.kctMarkHeight = 2 * q;

    r.keyCount = in.funcType;
    r.keyFontPoints = in.smallFont ? 7 : 8;

    r.lPanelWidth = measure.eightWidth(r.fontSize);
    r.rPanelWidth = r.lPanelWidth + r.lPanelWidth / 3;

    r.winBaseHeight = r.H + 8;
    r.clientHeight = (in.statusBarVisible ? in.statusBarHeight : 0) + r.H + in.fkBaseHeight + 8;
    return r;
}

int ZoomWidth(int command, int width, int moveDot) {
    switch (static_cast<Command>(command)) {
    case Command::ZoomInDot:
        return width + 1;
    case Command::ZoomOutDot:
        return width - 1;
    case Command::ZoomInFast:
        return width + moveDot;
    case Command::ZoomOutFast:
        return width - moveDot;
    default:
        return width;
    }
}

WindowRect MoveRect(int command, WindowRect r, int moveDot, int screenWidth, int screenHeight) {
    const int first = CommandNumber(Command::MoveLeftDot);
    if (command < first || command > CommandNumber(Command::MoveDownFast)) return r;
    const int s = command <= CommandNumber(Command::MoveDownDot) ? 1 : moveDot;
    switch ((command - first) % 4) { // left, right, up, down
    case 0:
        r.left = std::max(r.left - s, 1);
        break;
    case 1:
        r.left = std::min(r.left + s, screenWidth - r.width);
        break;
    case 2:
        r.top = std::max(r.top - s, 1);
        break;
    case 3:
        r.top = std::min(r.top + s, screenHeight - r.height);
        break;
    }
    return r;
}

MenuPoint PopupMenuPoint(const WindowRect& window, int cursorX, bool statusBarShown,
                         int statusBarHeight) {
    MenuPoint p;
    const bool inside = cursorX > window.left && cursorX < window.left + window.width;
    p.x = inside ? cursorX : window.left + 4;
    p.y = window.top + window.height - (statusBarShown ? statusBarHeight : 0);
    return p;
}

} // namespace bansho
