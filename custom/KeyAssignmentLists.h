#pragma once
// The working copies of the key page: which command each listed key and each of the 36
// function-key slots holds, and the commands that can be offered. The page edits these;
// only OK writes them back into the live key tables.
#include "KeyConfig.h"

#include <functional>
#include <string>
#include <vector>

namespace bansho {

inline constexpr int kFuncSlotCount = kFuncSetCount * 12; // A_FKEY1 .. C_FKEY12

class KeyAssignmentLists {
public:
    // Parallel to the key list box: one entry per key that has a name.
    std::vector<std::string> KeyNames;   // the list box's texts ("BACK", "TKEY_0", ...)
    std::vector<std::string> KeyCmdList; // command of the key, decimal
    std::vector<std::string> KeyNoList;  // the key's code 0..255, decimal

    // Parallel to the command list box: one entry per catalogue record with a description.
    std::vector<std::string> CmdDescriptions; // the list box's texts
    std::vector<std::string> CmdNoList;       // command number without leading zeros
    std::vector<std::string> CmdCapList;      // the record's key-top caption

    // Parallel to the function-key list box: slot s*12+k is key k+1 of set s.
    std::vector<std::string> FKeyNames;   // "A_FKEY1" .. "C_FKEY12"
    std::vector<std::string> FKeyCmdList; // command item as the set holds it
    std::vector<std::string> FKeyCapList; // caption item

    // Empties every list and fills it from the live tables. Does not notify.
    void Fill(const KeyConfig& keys);

    // Writes through the three edited lists. Every write notifies, also one that stores the
    // value already there; out-of-range indices are ignored.
    void SetKeyCmd(int i, const std::string& command);
    void SetFKeyCmd(int slot, const std::string& command);
    void SetFKeyCap(int slot, const std::string& caption);
    // The change notification; unset until attached.
    std::function<void()> OnChange;

    // Position of `text` in `list` by exact comparison; -1 when absent.
    static int IndexOf(const std::vector<std::string>& list, const std::string& text);

    // The listed keys' commands into KeyTable (other keys keep theirs), and each set's twelve
    // commands and captions as comma text.
    void WriteBack(KeyConfig& keys) const;

private:
    void Changed() const;
};

} // namespace bansho
