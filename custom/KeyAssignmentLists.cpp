#include "KeyAssignmentLists.h"

#include "CommaText.h"
#include "CommandTable.h"
#include "ParseInt32.h"

namespace bansho {

namespace {

// Item k of a split list; a list cut short (only an edited settings file can do that) gives
// the filler of an unused key instead of failing.
std::string ItemOr(const std::vector<std::string>& items, std::size_t k, std::string_view filler) {
    return k < items.size() ? items[k] : std::string(filler);
}

bool InRange(int i, const std::vector<std::string>& list) {
    return i >= 0 && static_cast<std::size_t>(i) < list.size();
}

} // namespace

void KeyAssignmentLists::Fill(const KeyConfig& keys) {
    auto notify = std::move(OnChange);
    *this = KeyAssignmentLists{};
    OnChange = std::move(notify);

    const auto& names = bansho::KeyNames();
    for (int c = 0; c < kKeyCodeCount; ++c) {
        const std::string& name = names[static_cast<std::size_t>(c)];
        if (name.empty()) continue;
        KeyNames.push_back(name);
        KeyCmdList.push_back(std::to_string(keys.KeyTable[static_cast<std::size_t>(c)]));
        KeyNoList.push_back(std::to_string(c));
    }

    for (const CommandRecord& r : CommandTable()) {
        if (!r.Defined()) continue;
        const auto number = ParseInt32(r.Code);
        CmdNoList.push_back(number ? std::to_string(*number) : r.Code);
        CmdCapList.push_back(r.Caption);
        CmdDescriptions.push_back(r.Description);
    }

    static constexpr const char* kLetters[kFuncSetCount] = {"A", "B", "C"};
    for (int s = 0; s < kFuncSetCount; ++s) {
        const auto captions = SplitCommaText(keys.FuncDispStr[static_cast<std::size_t>(s)]);
        const auto commands = SplitCommaText(keys.FuncCommand[static_cast<std::size_t>(s)]);
        for (std::size_t k = 0; k < 12; ++k) {
            FKeyNames.push_back(std::string(kLetters[s]) + "_FKEY" + std::to_string(k + 1));
            FKeyCmdList.push_back(ItemOr(commands, k, kEmptyFuncCommand));
            FKeyCapList.push_back(ItemOr(captions, k, kEmptyFuncCaption));
        }
    }
}

void KeyAssignmentLists::Changed() const {
    if (OnChange) OnChange();
}

void KeyAssignmentLists::SetKeyCmd(int i, const std::string& command) {
    if (!InRange(i, KeyCmdList)) return;
    KeyCmdList[static_cast<std::size_t>(i)] = command;
    Changed();
}

void KeyAssignmentLists::SetFKeyCmd(int slot, const std::string& command) {
    if (!InRange(slot, FKeyCmdList)) return;
    FKeyCmdList[static_cast<std::size_t>(slot)] = command;
    Changed();
}

void KeyAssignmentLists::SetFKeyCap(int slot, const std::string& caption) {
    if (!InRange(slot, FKeyCapList)) return;
    FKeyCapList[static_cast<std::size_t>(slot)] = caption;
    Changed();
}

int KeyAssignmentLists::IndexOf(const std::vector<std::string>& list, const std::string& text) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i] == text) return static_cast<int>(i);
    return -1;
}

void KeyAssignmentLists::WriteBack(KeyConfig& keys) const {
    for (std::size_t i = 0; i < KeyNoList.size() && i < KeyCmdList.size(); ++i) {
        const auto code = ParseInt32(KeyNoList[i]);
        const auto command = ParseInt32(KeyCmdList[i]);
        if (code && command && *code >= 0 && *code < kKeyCodeCount)
            keys.KeyTable[static_cast<std::size_t>(*code)] = *command;
    }
    for (std::size_t s = 0; s < kFuncSetCount; ++s) {
        std::vector<std::string> commands, captions;
        for (std::size_t k = 0; k < 12; ++k) {
            const std::size_t slot = s * 12 + k;
            commands.push_back(ItemOr(FKeyCmdList, slot, kEmptyFuncCommand));
            captions.push_back(ItemOr(FKeyCapList, slot, kEmptyFuncCaption));
        }
        keys.FuncCommand[s] = JoinCommaText(commands);
        keys.FuncDispStr[s] = JoinCommaText(captions);
    }
}

} // namespace bansho
