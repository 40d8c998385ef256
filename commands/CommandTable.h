#pragma once
// The command catalogue: every action of the calculator is a number 0..255, and each
// number carries a three-digit code, a key-top caption and a one-line description.
#include "Commands.h"

#include <array>
#include <cstddef>
#include <string>

namespace bansho {

// Number 255 stands for "no action" everywhere: key table, function keys, menus.
inline constexpr int kNoCommand = CommandNumber(Command::None);
inline constexpr int kCommandCount = 256;

// Byte limits of the three fields, counted in Shift_JIS bytes.
inline constexpr std::size_t kCodeMaxBytes = 4;
inline constexpr std::size_t kCaptionMaxBytes = 20;
inline constexpr std::size_t kDescriptionMaxBytes = 30;

// One catalogue entry; texts are UTF-8. An undefined number has all three fields empty.
struct CommandRecord {
    std::string Code;        // "016", "255"
    std::string Caption;     // short key-top text, e.g. "．"
    std::string Description; // hint and entry of the customization list, e.g. "コンマ入力"

    bool Defined() const { return !Description.empty(); }
};

using CommandTableArray = std::array<CommandRecord, kCommandCount>;

// Empties all 256 records, then writes the defined ones, each field cut to its byte limit.
void FillCommandTable(CommandTableArray& table);

// The catalogue, filled on first use. It never changes while the program runs.
const CommandTableArray& CommandTable();

// The record of a command number; numbers outside 0..255 give an empty record.
const CommandRecord& CommandOf(int command);

} // namespace bansho
