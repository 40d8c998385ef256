#include "HeldKeys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace bansho;

namespace {

// One key event as the window system delivers it; `repeat` is what a press should be found.
struct Event {
    bool press;
    unsigned key;
    std::uint64_t time;
    bool marked;
    bool repeat;
    std::uintptr_t window = 1; // the window it goes to
};

TEST(HeldKeys, TellsAHeldKeyFromANewPress) {
    constexpr bool P = true, R = false;
    struct Row {
        const char* name;
        std::vector<Event> events;
    } rows[] = {
        {"presses and releases at different times are new presses",
         {{P, 75, 100, false, false}, {R, 75, 180, false, false},
          {P, 75, 400, false, false}, {R, 75, 470, false, false}}},
        {"detectable auto-repeat: presses without a release",
         {{P, 75, 100, false, false}, {P, 75, 760, false, true}, {P, 75, 800, false, true},
          {R, 75, 830, false, false}, {P, 75, 1200, false, false}}},
        {"release and press of one key with one timestamp, not marked",
         {{P, 75, 100, false, false}, {R, 75, 760, false, false}, {P, 75, 760, false, true},
          {R, 75, 800, false, false}, {P, 75, 800, false, true}, {R, 75, 900, false, false},
          {P, 75, 1300, false, false}}},
        {"marked by the window system",
         {{P, 75, 100, false, false}, {R, 75, 760, true, false}, {P, 75, 760, true, true},
          {R, 75, 900, false, false}, {P, 75, 950, false, false}}},
        {"another key pressed at the same moment is a press of its own",
         {{P, 75, 100, false, false}, {R, 75, 760, false, false}, {P, 76, 760, false, false},
          {P, 75, 761, false, false}}},
        {"one press delivered again gets the same answer",
         {{P, 75, 100, false, false}, {P, 75, 100, false, false}, {P, 75, 760, false, true},
          {P, 75, 760, false, true}}},
        {"keys without a code count only when marked",
         {{P, 0, 0, false, false}, {R, 0, 0, false, false}, {P, 0, 0, false, false},
          {P, 0, 0, false, false}, {P, 0, 0, true, true}}},
        {"untimed copies (the accessibility bridge's): a key pressed twice is two presses",
         {{P, 104, 0, false, false}, {R, 104, 0, false, false}, {P, 104, 0, false, false},
          {R, 104, 0, false, false}, {P, 104, 0, false, false}}},
        {"untimed copies: a press without a release still repeats",
         {{P, 75, 0, false, false}, {P, 75, 0, false, true}, {P, 75, 0, false, true},
          {R, 75, 0, false, false}, {P, 75, 0, false, false}, {P, 75, 0, true, true}}},
        {"two keys held together",
         {{P, 75, 100, false, false}, {P, 76, 120, false, false}, {P, 76, 790, false, true},
          {R, 75, 800, false, false}, {P, 75, 850, false, false}, {P, 76, 830, false, true}}},
        {"a box that closed on the press never saw the release: the next press is a new one",
         {{P, 9, 100, false, false, 2}, {P, 9, 5000, false, false, 1},
          {P, 9, 5660, false, true, 1}, {R, 9, 5700, false, false, 1},
          {P, 9, 6000, false, false, 1}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        HeldKeys held;
        int n = 0;
        for (const Event& e : r.events) {
            SCOPED_TRACE(n++);
            if (e.press) {
                EXPECT_EQ(held.Press(e.key, e.time, e.marked, e.window), e.repeat);
                EXPECT_EQ(held.WasRepeat(e.key, e.time), e.repeat && e.key != 0);
            } else {
                held.Release(e.key, e.time, e.marked);
            }
        }
    }
}

TEST(HeldKeys, AKeyWhoseReleaseWentElsewhereIsForgotten) {
    HeldKeys held;
    EXPECT_FALSE(held.Press(75, 100, false, 1));
    held.Clear(); // the program lost the keyboard; the release went to another program
    EXPECT_FALSE(held.Press(75, 5000, false, 1));
    EXPECT_FALSE(held.WasRepeat(75, 5000));
    EXPECT_FALSE(held.WasRepeat(99, 5000)) << "a key never seen";

    // Back with the keyboard: a key released elsewhere is up, one still held goes on.
    EXPECT_TRUE(held.Press(75, 5700, false, 1));
    EXPECT_FALSE(held.Press(76, 5710, false, 1));
    held.ForgetReleased([](unsigned code) { return code == 75; });
    EXPECT_TRUE(held.Press(75, 5740, false, 1));
    EXPECT_FALSE(held.Press(76, 9000, false, 1));
}

} // namespace
