#pragma once
// Integers as the settings file and the function-key lists write them.
#include <cstdint>
#include <optional>
#include <string_view>

namespace bansho {

// Reads a 32-bit integer: an optional sign, then decimal digits or hexadecimal digits after
// "0x", "0X" or "$". Hexadecimal takes all 32 bits ("$FF00000F" is -16777201); decimal must
// lie in the signed range. Anything else, an empty text included, gives nothing.
std::optional<std::int32_t> ParseInt32(std::string_view text);

} // namespace bansho
