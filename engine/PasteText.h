#pragma once
// Numbers as people copy them from web pages, spreadsheets and mails ("¥1,234",
// "１，２３４円", "−500", "$3.50") turned into the plain text that number entry holds.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace bansho {

// The plain number in the pasted text: full-width digits, signs and point become ASCII, the
// minus sign U+2212 and the full-width minus become "-", a leading "+" is dropped, thousands
// separators ("," and "，", only where they group the whole part by threes) and the currency
// marks ¥ ￥ 円 $ with the blanks around them are removed, and blanks at either end go.
// What remains must be an optional "-", digits with at most one point (at least one digit)
// and at most 15 digits; otherwise there is no number and the caller keeps the text as it is.
std::optional<std::string> NormalisePastedNumber(std::string_view text);

// The most of the clipboard a paste reads: far more than any number, however written.
inline constexpr std::size_t kPasteReadLimit = 1024;

// What a paste puts into the entry, from `head`, the start of the clipboard's text (at most
// kPasteReadLimit bytes; `more` says that the clipboard holds more). Only the first line that
// is not blank counts: a number in it becomes the plain number, other text is kept without its
// trailing blanks (the error box comes when it is used). Nothing is taken, and the paste is
// refused, when the text is binary (a NUL or another control character than tab and line
// breaks, or bytes that are no UTF-8) or when that line runs past the limit.
std::optional<std::string> PastedEntryText(std::string_view head, bool more);

} // namespace bansho
