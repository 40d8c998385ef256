#pragma once
// Comma text: how the function-key captions and commands are held, one list per text.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bansho {

// Only the first twelve items of a function-key list are ever used.
inline constexpr std::size_t kFuncKeyCount = 12;

// Splits comma text into items. Items are separated by commas; unquoted blanks and control
// characters separate items as well; an item may be enclosed in double quotes, inside which
// a doubled quote stands for one; a text that ends in a comma ends with an empty item.
// A quote that is never closed takes the rest of the text.
std::vector<std::string> SplitCommaText(std::string_view text);

// Joins items with commas. An item holding a blank or control character, a comma or a
// double quote is enclosed in double quotes with its inner quotes doubled. An empty last
// item is written as "" so that the text never ends in a comma.
std::string JoinCommaText(const std::vector<std::string>& items);

} // namespace bansho
