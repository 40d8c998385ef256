// The layout rule with a fake font whose sample is 10 px wide per pixel of height, so the
// expected numbers can be worked out by hand.
#include "LayoutRule.h"

#include <gtest/gtest.h>

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
