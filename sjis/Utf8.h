#pragma once
// Reading UTF-8, the encoding of every text in memory. A byte that starts no valid sequence
// (a stray continuation byte, a cut or overlong sequence, a surrogate) is never part of a
// character: the callers count it alone or replace it.
#include <cstddef>
#include <string_view>

namespace bansho::utf8 {

// The sequence at s[i]: its length 1..4 with its code point in `cp`, or 0 when no valid
// sequence starts there. i must lie inside s.
std::size_t Decode(std::string_view s, std::size_t i, char32_t& cp);

// Length of the character at s[i]; a byte that starts no valid sequence counts alone.
std::size_t CharLen(std::string_view s, std::size_t i);

// Length of the last character of a non-empty text; a byte that ends no valid sequence
// counts alone.
std::size_t LastCharLen(std::string_view s);

} // namespace bansho::utf8
