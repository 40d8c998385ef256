#include "KeyRouting.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

struct Fixture {
    KeyConfig keys;
    TOption option;
    TCalcStatus status;
    Fixture() {
        SetBuiltInDefaults(option, status);
        InitKeyTBL(keys, option, status);
    }
    KeyDecision Route(int code, ShiftState shift = 0, bool historyActive = false) const {
        return RouteKeyDown(code, shift, historyActive, keys, option, status);
    }
};

TEST(KeyRouting, FactoryKeysDispatchTheirCommands) {
    Fixture f;
    struct Row {
        const char* name;
        int code;
        ShiftState shift;
        int command;
    } rows[] = {
        {"keypad 5", 101, 0, 5},
        {"Enter", 13, 0, 21},
        {"Esc closes through command 254", 27, 0, 254},
        {"Space switches the set", 32, 0, 50},
        {"Page Down widens", 34, 0, 88},
        {"arrow does nothing but still dispatches", 37, 0, 255},
        {"Shift is ignored: Shift+1 is 1", '1', ssShift, 1},
        {"Ctrl is ignored: Ctrl+C is copy", 'C', ssCtrl, 41},
        {"C alone copies", 'C', 0, 41},
        {"Alt with another key dispatches", '5', ssAlt, 5},
        {"X cuts", 'X', 0, 40},
    };
    for (const auto& r : rows) {
        const auto d = f.Route(r.code, r.shift);
        EXPECT_EQ(d.Route, KeyRoute::Dispatch) << r.name;
        EXPECT_EQ(d.Command, r.command) << r.name;
    }
}

TEST(KeyRouting, AltF4ClosesOnlyWithAltAlone) {
    Fixture f;
    EXPECT_EQ(f.Route(vk::F4, ssAlt).Route, KeyRoute::Close);
    EXPECT_EQ(f.Route(vk::F4, ssAlt | ssShift).Route, KeyRoute::None);
    EXPECT_EQ(f.Route(vk::F4, ssAlt | ssCtrl).Route, KeyRoute::None);
    EXPECT_EQ(f.Route(vk::F4, 0).Route, KeyRoute::None);
    // Even in the history window Alt+F4 closes the program.
    EXPECT_EQ(f.Route(vk::F4, ssAlt, true).Route, KeyRoute::Close);
}

TEST(KeyRouting, FunctionKeysAreLeftToTheBar) {
    Fixture f;
    f.keys.KeyTable[vk::F1] = 5;
    for (int code = vk::F1; code <= vk::F12; ++code)
        EXPECT_EQ(f.Route(code).Route, KeyRoute::None) << code;
    EXPECT_EQ(f.Route(124).Route, KeyRoute::Dispatch); // F13 is an ordinary key
}

TEST(KeyRouting, HistoryWindowKeepsItsOwnKeysWhileActive) {
    Fixture f;
    for (int code : {vk::Space, vk::Up, vk::Down, vk::Insert, vk::Delete}) {
        const auto d = f.Route(code, 0, true);
        EXPECT_EQ(d.Route, KeyRoute::ToHistory) << code;
        EXPECT_EQ(d.Code, code);
        EXPECT_EQ(f.Route(code, 0, false).Route, KeyRoute::Dispatch) << code;
    }
    EXPECT_EQ(f.Route(101, 0, true).Command, 5); // other keys still reach the table
    // Enter is the history window's only as pressed there: here it is the table's "=".
    EXPECT_EQ(f.Route(13, 0, true).Route, KeyRoute::Dispatch);
    EXPECT_EQ(f.Route(13, 0, true).Command, 21);
}

// Every key pressed in the history window is decided in one place: its own keys become its
// operations, every other key goes the way of the main window's handler.
TEST(KeyRouting, HistoryWindowKeysAreDecidedOnce) {
    Fixture f;
    struct Row {
        const char* name;
        int code;
        ShiftState shift;
        KeyRoute route;
        HistoryAction action;
        int command;
    } rows[] = {
        {"Enter recalls", 13, 0, KeyRoute::ToHistory, HistoryAction::Recall, 0},
        {"Ctrl+Enter recalls", 13, ssCtrl, KeyRoute::ToHistory, HistoryAction::Recall, 0},
        {"Space corrects", 32, 0, KeyRoute::ToHistory, HistoryAction::Correct, 0},
        {"Up selects the previous row", 38, 0, KeyRoute::ToHistory,
         HistoryAction::SelectPrevious, 0},
        {"Shift+Up moves up", 38, ssShift, KeyRoute::ToHistory, HistoryAction::MoveUp, 0},
        {"Shift+Ctrl+Up only selects", 38, ssShift | ssCtrl, KeyRoute::ToHistory,
         HistoryAction::SelectPrevious, 0},
        {"Down selects the next row", 40, 0, KeyRoute::ToHistory, HistoryAction::SelectNext, 0},
        {"Shift+Down moves down", 40, ssShift, KeyRoute::ToHistory, HistoryAction::MoveDown, 0},
        {"Alt+Shift+Down only selects", 40, ssShift | ssAlt, KeyRoute::ToHistory,
         HistoryAction::SelectNext, 0},
        {"Insert inserts", 45, 0, KeyRoute::ToHistory, HistoryAction::Insert, 0},
        {"Delete deletes", 46, ssShift, KeyRoute::ToHistory, HistoryAction::Delete, 0},
        {"a digit works the calculator", 101, 0, KeyRoute::Dispatch, HistoryAction::None, 5},
        {"Esc works the calculator", 27, 0, KeyRoute::Dispatch, HistoryAction::None, 254},
        {"Alt+F4 closes the program", vk::F4, ssAlt, KeyRoute::Close, HistoryAction::None, 0},
        {"F1 is the bar's", vk::F1, 0, KeyRoute::None, HistoryAction::None, 0},
    };
    for (const auto& r : rows) {
        const auto d = RouteHistoryKeyDown(r.code, r.shift, true, f.keys, f.option, f.status);
        EXPECT_EQ(d.Route, r.route) << r.name;
        EXPECT_EQ(d.History, r.action) << r.name;
        if (r.route == KeyRoute::Dispatch) {
            EXPECT_EQ(d.Command, r.command) << r.name;
        }
    }
    // NUM-key mode: a key that becomes a history key after translation is the window's too.
    f.status.UseNumKey = true;
    f.option.UserKEY = "Q";
    f.keys.KeyTable['0'] = 7;
    EXPECT_EQ(RouteHistoryKeyDown('Q', 0, true, f.keys, f.option, f.status).Command, 7);
}

TEST(KeyRouting, NumKeyModeTranslatesBeforeEverythingElse) {
    Fixture f;
    f.status.UseNumKey = true;
    struct Row {
        const char* name;
        int code;
        int command;
    } rows[] = {
        {"M enters 0", 'M', 0},       {"main 0 subtracts", '0', 18}, {"slash is equals", 191, 21},
        {"7 still enters 7", '7', 7}, {"semicolon adds", 187, 17},   {"C still copies", 'C', 41},
    };
    for (const auto& r : rows)
        EXPECT_EQ(f.Route(r.code).Command, r.command) << r.name;
    f.status.UseNumKey = false;
    EXPECT_EQ(f.Route('M').Command, 255);
    EXPECT_EQ(f.Route('0').Command, 0);

    // A NUM key that lands on a history key is handed over after translation.
    f.status.UseNumKey = true;
    f.option.UserKEY = "Q";
    f.keys.KeyTable['0'] = 7;
    const auto d = f.Route('Q', 0, true);
    EXPECT_EQ(d.Code, '0');
    EXPECT_EQ(d.Command, 7);
}

TEST(KeyRouting, OnlyDigitsAndShiftRightRepeatWhileHeld) {
    Fixture f;
    f.keys.KeyTable['Q'] = 36; // 00
    f.keys.KeyTable['W'] = 7;  // a letter that types a digit repeats as the digit does
    struct Row {
        const char* name;
        int code;
        ShiftState shift;
        bool historyActive;
        bool repeats;
    } rows[] = {
        {"main-block 5", '5', 0, false, true},
        {"keypad 5", 101, 0, false, true},
        {"a key made a digit", 'W', 0, false, true},
        {"Backspace (shift right)", vk::Back, 0, false, true},
        {"Delete (shift right)", vk::Delete, 0, false, true},
        {"00", 'Q', 0, false, false},
        {"main-block 000", vk::OemComma, 0, false, false},
        {"keypad +", vk::Add, 0, false, false},
        {"keypad Enter", vk::Return, 0, false, false},
        {"Esc", vk::Escape, 0, false, false},
        {"C copies", 'C', 0, false, false},
        {"an unassigned arrow", vk::Left, 0, false, false},
        {"F9", vk::F1 + 8, 0, false, false},
        {"F12", vk::F12, 0, false, false},
        {"Alt+F4", vk::F1 + 3, ssAlt, false, false},
        {"Down walks the receipt", vk::Down, 0, true, true},
        {"Up walks the receipt", vk::Up, 0, true, true},
        {"Shift+Down moves a row", vk::Down, ssShift, true, false},
        {"Delete removes a row", vk::Delete, 0, true, false},
        {"Space corrects a row", vk::Space, 0, true, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const KeyDecision d = f.Route(r.code, r.shift, r.historyActive);
        EXPECT_EQ(RepeatsWhileHeld(d), r.repeats);
        EXPECT_EQ(DropKeyRepeat(d, true), !r.repeats);
        EXPECT_FALSE(DropKeyRepeat(d, false)) << "a fresh press always acts";
    }
    // The keys of NUM-key mode repeat as the digits they type.
    f.status.UseNumKey = true;
    f.option.UserKEY = "J";
    f.keys.KeyTable['J'] = 55;
    EXPECT_TRUE(RepeatsWhileHeld(f.Route('J')));
}

// Keys the table leaves without a command act as the character they type when that is an
// operator; a digit key that types no digit never enters its digit. The keys as Windows codes
// them on each layout: US "=" / Shift+"=" and JIS ";" / Shift+";" are OemPlus (187), "-" and
// its Shift is OemMinus (189), JIS ":" is Oem1 (186).
TEST(KeyRouting, UnassignedKeysActAsTheOperatorTheyType) {
    Fixture f;
    struct Row {
        const char* name;
        int code;
        ShiftState shift;
        char32_t typed;
        int command;
    } rows[] = {
        {"US Shift+8 multiplies", '8', ssShift, U'*', 19},
        {"US = is equals", 187, 0, U'=', 21},
        {"US Shift+= adds", 187, ssShift, U'+', 17},
        {"- subtracts", 189, 0, U'-', 18},
        {"JIS Shift+- is equals", 189, ssShift, U'=', 21},
        {"JIS Shift+; adds", 187, ssShift, U'+', 17},
        {"JIS Shift+: multiplies", 186, ssShift, U'*', 19},
        {"JIS ; does nothing", 187, 0, U';', 255},
        {"/ keeps its own entry", 191, 0, U'/', 20},
        {"Shift+1 enters nothing", '1', ssShift, U'!', 255},
        {"JIS Shift+0 enters nothing", '0', ssShift, U'~', 255},
        {"8 alone enters 8", '8', 0, U'8', 8},
        {"an unknown character keeps the table", '8', ssShift, 0, 8},
        {"Ctrl+- is no operator", 189, ssCtrl, U'-', 255},
        {"Enter keeps its own entry", 13, 0, 0, 21},
        {"a letter keeps the table", 'C', ssShift, U'C', 41},
    };
    for (const auto& r : rows)
        EXPECT_EQ(RouteKeyDown(r.code, r.shift, false, f.keys, f.option, f.status, r.typed).Command,
                  r.command)
            << r.name;
    // A key given a command of its own keeps it whatever it types.
    f.keys.KeyTable[189] = 24;
    EXPECT_EQ(RouteKeyDown(189, 0, false, f.keys, f.option, f.status, U'-').Command, 24);
    f.keys.KeyTable['8'] = 41;
    EXPECT_EQ(RouteKeyDown('8', ssShift, false, f.keys, f.option, f.status, U'*').Command, 41);
    // An unassigned keypad key is not turned into an operator by its character.
    f.keys.KeyTable[vk::Add] = 255;
    EXPECT_EQ(RouteKeyDown(vk::Add, 0, false, f.keys, f.option, f.status, U'+').Command, 255);
    f.keys.KeyTable[vk::Add] = 17;
    // In the history window the same holds for the keys it passes on.
    EXPECT_EQ(RouteHistoryKeyDown(189, 0, true, f.keys, f.option, f.status, U'-').Command, 24);
    EXPECT_EQ(RouteHistoryKeyDown(187, ssShift, true, f.keys, f.option, f.status, U'+').Command, 17);
    // NUM-key mode: a key it turns into another is the table's alone; US "=" is its add key.
    f.status.UseNumKey = true;
    EXPECT_EQ(RouteKeyDown(187, 0, false, f.keys, f.option, f.status, U'=').Command, 17);
    EXPECT_EQ(RouteKeyDown('M', 0, false, f.keys, f.option, f.status, U'm').Command, 0);
}

TEST(KeyRouting, TabSwitchesWindowsOnlyWhileHistoryIsVisible) {
    EXPECT_EQ(RouteTab(true, true), TabRoute::ActivateHistory);
    EXPECT_EQ(RouteTab(true, false), TabRoute::ActivateMain);
    EXPECT_EQ(RouteTab(false, true), TabRoute::None);
}

} // namespace
