// The main window opens where the user can see it, whatever place and width the settings
// remember. Offscreen with two screens: a narrow primary one (800 x 600, narrower than the
// design place 455 plus the width 600) and a larger one to its right.
#include "TMForm.h"
#include "WindowHelpers.h"
#include "WindowTestRig.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>

using namespace bansho;

namespace {

const QRect kNarrow(0, 0, 800, 600);
const QRect kLarge(800, 0, 1280, 1024);

struct PlacementCase {
    const char* name;
    const char* settings; // the [BANSHO] and [HISTWIN] lines of the settings file
    QRect screen;         // where the window must be whole
    int historyBelow;     // room kept for the history window below (outer height), or 0
};

void PrintTo(const PlacementCase& c, std::ostream* os) {
    *os << c.name;
}

class WindowPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(WindowPlacement, OpensWholeOnTheNearestScreen) {
    const PlacementCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
    if (*c.settings) std::ofstream(env, std::ios::binary) << c.settings;

    TMForm form(env);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect frame = form.frameGeometry();
    EXPECT_TRUE(c.screen.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " "
                                          << frame.width() << "x" << frame.height();
    // The layout rule still gives the height: the width alone was limited.
    EXPECT_EQ(form.height(), form.Layout().clientHeight);
    if (c.historyBelow > 0) {
        EXPECT_LE(frame.bottom() + 1 + c.historyBelow, c.screen.bottom() + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindowPlacement,
    ::testing::Values(PlacementCase{"first_start_on_a_narrow_screen", "", kNarrow, 256},
                      PlacementCase{"place_of_a_removed_monitor",
                                    "[BANSHO]\r\nLeft=5000\r\nTop=3000\r\n", kLarge, 256},
                      PlacementCase{"left_of_every_screen", "[BANSHO]\r\nLeft=-4000\r\nTop=100\r\n",
                                    kNarrow, 256},
                      PlacementCase{"huge_width",
                                    "[BANSHO]\r\nLeft=900\r\nTop=100\r\nWidth=1000000000\r\n",
                                    kLarge, 256},
                      PlacementCase{"history_below_needs_room",
                                    "[BANSHO]\r\nLeft=900\r\nTop=950\r\nWidth=600\r\n", kLarge,
                                    256},
                      PlacementCase{"history_hidden_needs_no_room",
                                    "[BANSHO]\r\nLeft=900\r\nTop=800\r\nWidth=600\r\n"
                                    "[HISTWIN]\r\nHForm=0\r\n",
                                    kLarge, 0}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

// A place that is whole already is kept as it is.
TEST(WindowPlacementKept, AWholePlaceStays) {
    QTemporaryDir dir;
    const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
    std::ofstream(env, std::ios::binary) << "[BANSHO]\r\nLeft=1000\r\nTop=100\r\nWidth=700\r\n";
    TMForm form(env);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.frameGeometry().topLeft(), QPoint(1000, 100));
    EXPECT_EQ(form.width(), 700);
}

// Stay-on-top holds from the first show, before the program was ever activated.
TEST(WindowPlacementKept, StayOnTopFromTheStart) {
    QTemporaryDir dir;
    const auto env = std::filesystem::path(dir.path().toStdString()) / "bansho.ENV";
    std::ofstream(env, std::ios::binary) << "[OPTION]\r\nStyle=3\r\n";
    TMForm form(env);
    EXPECT_TRUE(platform::IsStayOnTop(&form));
}

} // namespace

int main(int argc, char** argv) {
    return bansho::testing::RunWindowTests(argc, argv, {kNarrow, kLarge});
}
