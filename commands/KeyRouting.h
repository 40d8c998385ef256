#pragma once
// What the main window does with a key press, decided without any window: the windows
// only turn events into key codes and carry out the decision.
#include "KeyConfig.h"

namespace bansho {

// Modifier keys held with a key press (a bit set).
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1;
inline constexpr ShiftState ssAlt = 2;
inline constexpr ShiftState ssCtrl = 4;

enum class KeyRoute {
    None,      // consumed, nothing to do (F1..F12 belong to the function-key bar)
    Close,     // Alt+F4: close the main window
    ToHistory, // the history window handles the key itself (Code)
    Dispatch,  // ExecCommand(Command), 255 included: it still gives the focus back
};

// What a key does in the history window.
enum class HistoryAction {
    None,
    Recall,         // Enter
    Correct,        // Space
    MoveUp,         // Shift+Up
    SelectPrevious, // Up with any other modifiers
    MoveDown,       // Shift+Down
    SelectNext,     // Down with any other modifiers
    Insert,         // Insert
    Delete,         // Delete
};

struct KeyDecision {
    KeyRoute Route = KeyRoute::None;
    int Code = 0;    // the key code after NUM-key translation
    int Command = 0; // for Dispatch
    HistoryAction History = HistoryAction::None; // for ToHistory
};

// True for F1..F12.
bool IsFunctionKeyCode(int code);

// Whether holding the key down works it again and again, as in typing: only a key that
// types a digit (commands 0 to 9, so not 00 or 000) and the → key (shift right) do, and in
// the history window Up and Down, which walk through the rows. Every other key, F1..F12
// among them, acts once per press however long it is held.
bool RepeatsWhileHeld(const KeyDecision& d);

// A repeat of a held key is dropped unless the key repeats while held.
bool DropKeyRepeat(const KeyDecision& d, bool repeat);

// The main window's key-down handler (also reached with the keys that the history window
// does not use itself). `historyActive`: the history window is the active window.
// Shift and Ctrl play no part: Shift+1 performs command 1.
KeyDecision RouteKeyDown(int code, ShiftState shift, bool historyActive, const KeyConfig& keys,
                         const TOption& option, const TCalcStatus& status);

// A key pressed while the history window has the keyboard (`historyActive`: it is the
// active window). The window's own keys, as pressed, are its actions; every other key goes
// the way of the main window's key-down handler, so that it works the calculator, and there a
// key that NUM-key mode turns into Space, Up, Down, Insert or Delete is the history window's
// again (one turned into Enter works the calculator's Enter).
KeyDecision RouteHistoryKeyDown(int code, ShiftState shift, bool historyActive,
                                const KeyConfig& keys, const TOption& option,
                                const TCalcStatus& status);

enum class TabRoute { None, ActivateHistory, ActivateMain };

// Tab in the main window is always consumed; while the history window is visible it
// activates the history window from the main window and the main window otherwise.
TabRoute RouteTab(bool historyVisible, bool mainActive);

} // namespace bansho
