#include "KeyRouting.h"

#include "CommandTable.h"

bool IsFunctionKeyCode(int code) {
    return code >= vk::F1 && code <= vk::F12;
}

bool DropKeyRepeat(int code, bool autoRepeat) {
    return autoRepeat && IsFunctionKeyCode(code);
}

TKeyDecision RouteKeyDown(int code, TShiftState shift, bool historyActive, const TKeyConfig& keys,
                          const TOption& option, const TCalcStatus& status) {
    TKeyDecision d;
    if (status.UseNumKey) code = TranslateNumKey(code, option);
    d.Code = code;
    if (code == vk::F4 && (shift & (ssShift | ssAlt | ssCtrl)) == ssAlt) {
        d.Route = KeyRoute::Close;
        return d;
    }
    if (historyActive && (code == vk::Space || code == vk::Up || code == vk::Down ||
                          code == vk::Insert || code == vk::Delete)) {
        d.Route = KeyRoute::ToHistory;
        return d;
    }
    if (IsFunctionKeyCode(code)) return d;
    // Codes outside the table cannot come from a keyboard; they do nothing but still
    // end in the dispatcher like any unassigned key.
    d.Route = KeyRoute::Dispatch;
    d.Command = (code >= 0 && code < kKeyCodeCount) ? keys.KeyTable[static_cast<std::size_t>(code)]
                                                    : kNoCommand;
    return d;
}

TabRoute RouteTab(bool historyVisible, bool mainActive) {
    if (!historyVisible) return TabRoute::None;
    return mainActive ? TabRoute::ActivateHistory : TabRoute::ActivateMain;
}
