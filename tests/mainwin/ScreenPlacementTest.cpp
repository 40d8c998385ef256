// Where the main window opens, as pure rectangles: the nearest screen, the width it holds,
// and the place where the window and its docked history window are whole.
#include "ScreenPlacement.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <vector>

using namespace bansho;

namespace {

// Two screens side by side: a desktop at the left, a narrow one at its right, lower down.
const std::vector<WindowRect> kScreens = {{0, 0, 1920, 1080}, {1920, 200, 800, 600}};

struct NearestCase {
    const char* name;
    WindowRect frame;
    int expected;
};

class NearestScreenTest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(NearestScreenTest, PicksTheScreenOfTheRememberedPlace) {
    EXPECT_EQ(NearestScreen(GetParam().frame, kScreens), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NearestScreenTest,
    ::testing::Values(
        NearestCase{"inside_the_first", {455, 119, 600, 140}, 0},
        NearestCase{"inside_the_second", {2000, 300, 600, 140}, 1},
        NearestCase{"across_both_goes_to_the_larger_part", {1800, 300, 600, 140}, 1},
        NearestCase{"far_right_of_every_screen_goes_to_the_nearest", {5000, 300, 600, 140}, 1},
        NearestCase{"far_below_the_second_goes_to_the_second", {5000, 3000, 600, 140}, 1},
        NearestCase{"left_of_every_screen_goes_to_the_first", {-3000, 300, 600, 140}, 0},
        NearestCase{"below_the_first_only", {100, 3000, 600, 140}, 0},
        NearestCase{"huge_width_does_not_overflow", {455, 119, 1000000000, 140}, 0},
        NearestCase{"extreme_edges_do_not_overflow", {2147483000, 2147483000, 2000000000, 140}, 1}),
    [](const ::testing::TestParamInfo<NearestCase>& info) { return info.param.name; });

TEST(NearestScreen, NoScreenGivesNone) {
    EXPECT_EQ(NearestScreen({0, 0, 600, 140}, {}), -1);
}

struct WidthCase {
    const char* name;
    int width, frameExtra, screenWidth, expected;
};

class WidthOnScreenTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(WidthOnScreenTest, NoWiderThanTheScreen) {
    const WidthCase& c = GetParam();
    EXPECT_EQ(WidthOnScreen(c.width, c.frameExtra, {0, 0, c.screenWidth, 600}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WidthOnScreenTest,
    ::testing::Values(WidthCase{"narrower_stays", 600, 8, 800, 600},
                      WidthCase{"frame_and_all_fit_exactly", 792, 8, 800, 792},
                      WidthCase{"wider_is_cut_to_the_screen", 1000000000, 8, 800, 792},
                      WidthCase{"never_below_280", 600, 8, 200, 280}),
    [](const ::testing::TestParamInfo<WidthCase>& info) { return info.param.name; });

struct PlaceCase {
    const char* name;
    WindowRect frame;
    int docked;
    bool above;
    int left, top; // expected
};

class PlaceOnScreenTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceOnScreenTest, WholeWhereItFits) {
    const PlaceCase& c = GetParam();
    const WindowRect screen{100, 50, 800, 600}; // right edge 900, bottom 650
    const WindowRect r = PlaceOnScreen(c.frame, screen, c.docked, c.above);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.width, c.frame.width);
    EXPECT_EQ(r.height, c.frame.height);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PlaceOnScreenTest,
    ::testing::Values(
        PlaceCase{"already_whole_stays", {455, 119, 400, 140}, 256, false, 455, 119},
        PlaceCase{"past_the_right_edge_moves_left", {700, 119, 400, 140}, 0, false, 500, 119},
        PlaceCase{"left_of_the_screen_moves_right", {-5000, 119, 400, 140}, 0, false, 100, 119},
        PlaceCase{"far_off_both_ways", {5000, 3000, 400, 140}, 0, false, 500, 510},
        PlaceCase{"above_the_screen_moves_down", {200, -80, 400, 140}, 0, false, 200, 50},
        // The history window below: 140 + 1 + 256 = 397 high, so the top may be 253 at most.
        PlaceCase{"room_made_for_the_history_below", {200, 400, 400, 140}, 256, false, 200, 253},
        // The history window above: the main window at least 257 below the screen's top.
        PlaceCase{"room_made_for_the_history_above", {200, 60, 400, 140}, 256, true, 200, 307},
        PlaceCase{"history_hidden_needs_no_room", {200, 400, 400, 140}, 0, false, 200, 400},
        // 140 + 1 + 500 does not fit in 600: the main window alone is kept whole.
        PlaceCase{
            "too_tall_together_keeps_the_main_window", {200, 600, 400, 140}, 500, false, 200, 510},
        PlaceCase{
            "wider_than_the_screen_starts_at_its_left", {300, 119, 900, 140}, 0, false, 100, 119},
        PlaceCase{
            "taller_than_the_screen_starts_at_its_top", {200, 300, 400, 700}, 0, false, 200, 50}),
    [](const ::testing::TestParamInfo<PlaceCase>& info) { return info.param.name; });

} // namespace
