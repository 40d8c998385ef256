#pragma once
// Numbers as people copy them from web pages, spreadsheets and mails ("¥1,234",
// "１，２３４円", "−500", "$3.50") turned into the plain text that number entry holds.
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

} // namespace bansho
