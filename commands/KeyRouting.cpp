#include "KeyRouting.h"

#include "CommandTable.h"

namespace bansho {

bool IsFunctionKeyCode(int code) {
    return code >= vk::F1 && code <= vk::F12;
}

bool RepeatsWhileHeld(const KeyDecision& d) {
    switch (d.Route) {
    case KeyRoute::Dispatch:
        return (d.Command >= static_cast<int>(Command::Digit0) &&
                d.Command <= static_cast<int>(Command::Digit9)) ||
               d.Command == static_cast<int>(Command::ShiftRight);
    case KeyRoute::ToHistory:
        return d.History == HistoryAction::SelectPrevious || d.History == HistoryAction::SelectNext;
    case KeyRoute::Close:
    case KeyRoute::None:
        return false;
    }
    return false;
}

bool DropKeyRepeat(const KeyDecision& d, bool repeat) {
    return repeat && !RepeatsWhileHeld(d);
}

namespace {

// The history window's keys; Enter only as pressed, not as NUM-key mode makes it.
HistoryAction HistoryKeyAction(int code, ShiftState shift, bool asPressed) {
    switch (code) {
    case vk::Return:
        return asPressed ? HistoryAction::Recall : HistoryAction::None;
    case vk::Space:
        return HistoryAction::Correct;
    case vk::Up:
        return shift == ssShift ? HistoryAction::MoveUp : HistoryAction::SelectPrevious;
    case vk::Down:
        return shift == ssShift ? HistoryAction::MoveDown : HistoryAction::SelectNext;
    case vk::Insert:
        return HistoryAction::Insert;
    case vk::Delete:
        return HistoryAction::Delete;
    default:
        return HistoryAction::None;
    }
}

} // namespace

KeyDecision RouteKeyDown(int code, ShiftState shift, bool historyActive, const KeyConfig& keys,
                         const TOption& option, const TCalcStatus& status) {
    KeyDecision d;
    if (status.UseNumKey) code = TranslateNumKey(code, option);
    d.Code = code;
    if (code == vk::F4 && (shift & (ssShift | ssAlt | ssCtrl)) == ssAlt) {
        d.Route = KeyRoute::Close;
        return d;
    }
    if (historyActive) {
        d.History = HistoryKeyAction(code, shift, false);
        if (d.History != HistoryAction::None) {
            d.Route = KeyRoute::ToHistory;
            return d;
        }
    }
    if (IsFunctionKeyCode(code)) return d;
    // Codes outside the table cannot come from a keyboard; they do nothing but still
    // end in the dispatcher like any unassigned key.
    d.Route = KeyRoute::Dispatch;
    d.Command = (code >= 0 && code < kKeyCodeCount) ? keys.KeyTable[static_cast<std::size_t>(code)]
                                                    : kNoCommand;
    return d;
}

KeyDecision RouteHistoryKeyDown(int code, ShiftState shift, bool historyActive,
                                const KeyConfig& keys, const TOption& option,
                                const TCalcStatus& status) {
    const HistoryAction own = HistoryKeyAction(code, shift, true);
    if (own != HistoryAction::None) {
        KeyDecision d;
        d.Route = KeyRoute::ToHistory;
        d.Code = code;
        d.History = own;
        return d;
    }
    return RouteKeyDown(code, shift, historyActive, keys, option, status);
}

TabRoute RouteTab(bool historyVisible, bool mainActive) {
    if (!historyVisible) return TabRoute::None;
    return mainActive ? TabRoute::ActivateHistory : TabRoute::ActivateMain;
}

} // namespace bansho
