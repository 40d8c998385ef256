#pragma once
// Small pure text functions shared by the engine, the history window and the edit dialog.
// Texts are UTF-8; widths that the layout depends on are Shift_JIS byte widths.
#include <cstddef>
#include <string>
#include <string_view>

namespace bansho {

// The full-width glyph of '+', '-', '*' or '/' ("＋", "－", "×", "÷"); any other character,
// '=' included, gives an empty text.
std::string OpeToGlyph(char c);

// "＋" -> '+', "－" -> '-', "×" -> '*'; any other text gives '/'.
char GlyphToOpe(std::string_view glyph);

// Thousands separators before the first '.': 1234567.891 -> 1,234,567.891, -1234 -> -1,234.
// Leading blanks are dropped. Works on characters, so a pasted non-ASCII text stays valid UTF-8.
std::string InsertThousands(std::string_view s);

// A history row: a '.' is appended when there is none, then blanks are put in front so that
// the point stands in column 23 (Shift_JIS widths: a full-width glyph counts two columns).
std::string AlignNumber(std::string_view s);

// Removes every trailing occurrence of c.
std::string TrimRightChar(std::string_view s, char c);

// Removes leading blanks and control characters (every byte up to and including ' ').
std::string TrimLeftBlanks(std::string_view s);

// 15 digits, plus one for a '.' and one for a '-' anywhere in the text.
std::size_t DigitLimit(std::string_view text);

// The first n bytes of a text, never splitting a UTF-8 character; pure ASCII is cut exactly.
// Length counted in Shift_JIS widths (ASCII: bytes).
std::string CutText(std::string_view text, std::size_t n);

// Length of a text in Shift_JIS widths (ASCII: its byte count).
std::size_t TextWidth(std::string_view text);

// A history row for an operator character and a number text:
// AlignNumber(OpeToGlyph(ope) + InsertThousands(number)).
std::string HistoryRowText(char ope, std::string_view number);

} // namespace bansho
