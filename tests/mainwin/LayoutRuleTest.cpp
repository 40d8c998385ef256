// The layout rule with a fake font whose sample is 10 px wide per pixel of height, so the
// expected numbers can be worked out by hand.
#include "DisplayFontMeasure.h"
#include "Fonts.h"
#include "LayoutRule.h"
#include "RandomRounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace bansho;

namespace {

DisplayFontMeasure LinearFont(int widthPerPixel = 10) {
    DisplayFontMeasure m;
    m.sampleWidth = [widthPerPixel](int s) { return s * widthPerPixel; };
    m.sampleHeight = [](int s) { return s + s / 4; }; // a cell a quarter taller than the size
    m.eightWidth = [](int s) { return s / 2; };
    return m;
}

struct FitCase {
    const char* name;
    int start;
    int width;
    int expected;
};

class FitDisplayFont : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitDisplayFont, StepsOfTwoPixels) {
    const auto& c = GetParam();
    EXPECT_EQ(FitDisplayFontSize(c.start, c.width, LinearFont().sampleWidth), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitDisplayFont,
    ::testing::Values(FitCase{"shrinks_from_design_64_to_exact_fit", 64, 600, 60},
                      FitCase{"shrinks_until_not_wider", 64, 605, 60},
                      FitCase{"odd_start_keeps_its_parity", 63, 600, 59},
                      FitCase{"grows_then_steps_back_below_the_width", 10, 601, 60},
                      FitCase{"grows_to_exact_fit_and_stops", 10, 600, 60},
                      FitCase{"character_height_counts_by_magnitude", -64, 600, 60},
                      FitCase{"narrow_window_never_goes_below_two", 64, 5, 2},
                      FitCase{"wide_window", 60, 1921, 192}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FitDisplayFontLimits, FontThatMeasuresNothingStillEnds) {
    auto zero = [](int) { return 0; };
    EXPECT_EQ(FitDisplayFontSize(64, 600, zero), 4000);
}

// The rule as written: grow in steps of two while narrower, then shrink while wider.
int SteppedFit(int start, int width, const std::function<int(int)>& sampleWidth) {
    int size = std::clamp(std::abs(start), 2, 4000);
    while (size + 2 <= 4000 && sampleWidth(size) < width)
        size += 2;
    while (size - 2 >= 2 && sampleWidth(size) > width)
        size -= 2;
    return size;
}

struct FontShape {
    const char* name;
    std::function<int(int)> sampleWidth;
};

// Samples whose width grows with the size in the ways real fonts do: in proportion, rounded
// per glyph as hinting does, with runs of sizes of equal width, and with a fixed extra.
const FontShape kFontShapes[] = {
    {"proportional", [](int s) { return s * 10; }},
    {"rounded_per_glyph", [](int s) { return 25 * static_cast<int>(s * 0.55 + 0.5) + 3; }},
    {"runs_of_equal_width", [](int s) { return 40 * (s / 6); }},
    {"fixed_extra", [](int s) { return 7 * s + 90; }},
    {"measures_nothing", [](int) { return 0; }},
};

TEST(FitDisplayFontSearch, EndsWhereTheStepsEndForEveryStartAndWidth) {
    const int starts[] = {-64, 2, 3, 10, 44, 63, 64, 65, 101, 3998, 3999, 4000};
    for (const FontShape& font : kFontShapes) {
        for (int start : starts) {
            for (int width = 0; width <= 30000;
                 width += bansho::testing::SweepStep(width < 2000 ? 1 : 97)) {
                ASSERT_EQ(FitDisplayFontSize(start, width, font.sampleWidth),
                          SteppedFit(start, width, font.sampleWidth))
                    << font.name << " from " << start << " at width " << width;
            }
        }
    }
}

// The display faces as the program measures them (QFontMetrics, hinting and all).
TEST(FitDisplayFontSearch, RealFacesEndWhereTheStepsEnd) {
    platform::InstallFontSubstitutions();
    for (const char* face : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "メイリオ"}) {
        for (bool bold : {false, true}) {
            QFont font = platform::PixelFont(QString::fromUtf8(face), 64);
            font.setBold(bold);
            const DisplayFontMeasure m = MeasureWithFont(font);
            for (int width = 280; width <= 3840; width += bansho::testing::SweepStep(89))
                for (int start : {64, 20, 150})
                    ASSERT_EQ(FitDisplayFontSize(start, width, m.sampleWidth),
                              SteppedFit(start, width, m.sampleWidth))
                        << face << (bold ? " bold" : "") << " from " << start << " at "
                        << width;
        }
    }
}

// Each measured size is a font engine made at start-up; stepping from 64 down to a
// 600-pixel window measured eleven of them.
TEST(FitDisplayFontSearch, MeasuresAFewSizesEachOnce) {
    struct Case {
        const char* name;
        int start, width, atMost;
    };
    const Case cases[] = {{"first start, design width", 64, 600, 3},
                          {"first start, full-HD width", 64, 1920, 3},
                          {"narrow window", 64, 280, 3},
                          {"one pixel wider", 60, 601, 3}};
    for (const Case& c : cases) {
        std::vector<int> sizes;
        auto font = [&sizes](int s) {
            sizes.push_back(s);
            return 25 * static_cast<int>(s * 0.55 + 0.5) + 3;
        };
        FitDisplayFontSize(c.start, c.width, font);
        std::vector<int> distinct = sizes;
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        EXPECT_EQ(distinct.size(), sizes.size()) << c.name << ": a size measured twice";
        EXPECT_LE(static_cast<int>(sizes.size()), c.atMost) << c.name;
    }
}

LayoutInput Input(int width) {
    LayoutInput in;
    in.width = width;
    in.fontSize = 64;
    in.statusBarHeight = 21;
    in.fkBaseHeight = 30;
    return in;
}

TEST(ComputeLayout, DesignWidthGivesTheDerivedSizes) {
    const auto r = ComputeLayout(Input(600), LinearFont());
    EXPECT_EQ(r.width, 600);
    EXPECT_EQ(r.fontSize, 60);
    EXPECT_EQ(r.H, 75);
    EXPECT_EQ(r.opeFontSize, 37);
    EXPECT_EQ(r.markFontSize, 18);
    EXPECT_EQ(r.totMarkHeight, 18);
    EXPECT_EQ(r.kctMarkHeight, 36);
    EXPECT_EQ(r.lPanelWidth, 30);
    EXPECT_EQ(r.rPanelWidth, 40);
    EXPECT_EQ(r.winBaseHeight, 83);
    EXPECT_EQ(r.clientHeight, 21 + 75 + 30 + 8);
    EXPECT_EQ(r.keyCount, 12);
    EXPECT_EQ(r.keyFontPoints, 8);
}

TEST(ComputeLayout, WidthBelow280IsRaisedTo280) {
    for (int w : {0, 100, 279}) {
        const auto r = ComputeLayout(Input(w), LinearFont());
        EXPECT_EQ(r.width, 280) << w;
        EXPECT_EQ(r.fontSize, 28) << w;
    }
    EXPECT_EQ(ComputeLayout(Input(281), LinearFont()).width, 281);
}

TEST(ComputeLayout, MarginMakesTheDisplayHalfAgainAsTall) {
    auto in = Input(600);
    const auto plain = ComputeLayout(in, LinearFont());
    in.margin = true;
    const auto margin = ComputeLayout(in, LinearFont());
    EXPECT_EQ(margin.H, plain.H + plain.H / 2);
    EXPECT_EQ(margin.clientHeight - margin.H, plain.clientHeight - plain.H)
        << "the function-key bar and the status bar keep their heights";
    EXPECT_EQ(margin.markFontSize, margin.H / 4);
    EXPECT_EQ(margin.opeFontSize, margin.H / 2);
}

TEST(ComputeLayout, HiddenStatusBarTakesNoHeight) {
    auto in = Input(600);
    in.statusBarVisible = false;
    EXPECT_EQ(ComputeLayout(in, LinearFont()).clientHeight, 75 + 30 + 8);
}

TEST(ComputeLayout, KeyCountAndKeyFontFollowTheOptions) {
    auto in = Input(600);
    in.funcType = 8;
    in.smallFont = true;
    const auto r = ComputeLayout(in, LinearFont());
    EXPECT_EQ(r.keyCount, 8);
    EXPECT_EQ(r.keyFontPoints, 7);
}

TEST(ComputeLayout, HeightNeverFallsAsTheWidthGrows) {
    int last = 0;
    for (int w = 280; w <= 1920; w += 7) {
        const auto r = ComputeLayout(Input(w), LinearFont());
        EXPECT_GE(r.clientHeight, last) << w;
        last = r.clientHeight;
    }
    EXPECT_GT(last, ComputeLayout(Input(280), LinearFont()).clientHeight);
}

TEST(LayoutHelpers, PanelHeights) {
    EXPECT_EQ(FuncKeyBaseHeight(23), 30);
    EXPECT_EQ(FuncKeyBaseHeight(20), 26);
    EXPECT_EQ(StatusBarFontHeight(21), 13);
}

struct ZoomCase {
    const char* name;
    int command;
    int expected;
};
class Zoom : public ::testing::TestWithParam<ZoomCase> {};
TEST_P(Zoom, ChangesTheWidth) {
    EXPECT_EQ(ZoomWidth(GetParam().command, 600, 8), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, Zoom,
                         ::testing::Values(ZoomCase{"wider_by_one", 88, 601},
                                           ZoomCase{"narrower_by_one", 89, 599},
                                           ZoomCase{"wider_by_MoveDot", 90, 608},
                                           ZoomCase{"narrower_by_MoveDot", 91, 592},
                                           ZoomCase{"not_a_zoom_command", 92, 600}),
                         [](const auto& info) { return std::string(info.param.name); });

struct MoveCase {
    const char* name;
    int command;
    int left, top;
    int expectLeft, expectTop;
};
class Move : public ::testing::TestWithParam<MoveCase> {};
TEST_P(Move, StopsAtTheScreenLimits) {
    const auto& c = GetParam();
    WindowRect r{c.left, c.top, 600, 150};
    const auto out = MoveRect(c.command, r, 8, 1920, 1080);
    EXPECT_EQ(out.left, c.expectLeft);
    EXPECT_EQ(out.top, c.expectTop);
    EXPECT_EQ(out.width, 600);
    EXPECT_EQ(out.height, 150);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, Move,
    ::testing::Values(MoveCase{"left_one", 92, 455, 119, 454, 119},
                      MoveCase{"left_fast_from_5_stops_at_1", 96, 5, 119, 1, 119},
                      MoveCase{"left_from_beyond_the_edge_jumps_to_1", 92, -40, 119, 1, 119},
                      MoveCase{"left_at_1_stays", 92, 1, 119, 1, 119},
                      MoveCase{"right_one", 93, 455, 119, 456, 119},
                      MoveCase{"right_fast_stops_at_the_edge", 97, 1315, 119, 1320, 119},
                      MoveCase{"right_at_the_edge_stays", 93, 1320, 119, 1320, 119},
                      MoveCase{"up_one", 94, 455, 119, 455, 118},
                      MoveCase{"up_fast_from_5_stops_at_1", 98, 455, 5, 455, 1},
                      MoveCase{"down_one", 95, 455, 119, 455, 120},
                      MoveCase{"down_fast_stops_at_the_bottom", 99, 455, 925, 455, 930},
                      MoveCase{"not_a_move_command", 100, 455, 119, 455, 119}),
    [](const auto& info) { return std::string(info.param.name); });

struct MenuPointCase {
    const char* name;
    int cursorX;
    bool statusBar;
    int expectX, expectY;
};
class MenuPlace : public ::testing::TestWithParam<MenuPointCase> {};
TEST_P(MenuPlace, OpensAtTheBottomEdge) {
    const auto& c = GetParam();
    const auto p = PopupMenuPoint(WindowRect{455, 119, 600, 150}, c.cursorX, c.statusBar, 21);
    EXPECT_EQ(p.x, c.expectX);
    EXPECT_EQ(p.y, c.expectY);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, MenuPlace,
    ::testing::Values(MenuPointCase{"pointer_inside_gives_its_x", 700, true, 700, 248},
                      MenuPointCase{"pointer_outside_gives_left_plus_4", 100, true, 459, 248},
                      MenuPointCase{"pointer_on_the_left_edge_is_outside", 455, true, 459, 248},
                      MenuPointCase{"pointer_on_the_right_end_is_outside", 1055, true, 459, 248},
                      MenuPointCase{"no_status_bar_opens_at_the_lower_edge", 700, false, 700, 269}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
