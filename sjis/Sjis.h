#pragma once
// Shift_JIS (code page 932) at the edges of the program: the settings file and the
// byte widths that captions and history rows are measured in. Texts in memory are UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace bansho::sjis {

// UTF-8 -> CP932 bytes. Characters CP932 cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);
// CP932 bytes -> UTF-8. Bytes that do not decode become U+FFFD; never fails.
std::string ToUtf8(std::string_view cp932);
// Width of a UTF-8 text in Shift_JIS bytes (ASCII and half-width kana 1, the rest 2).
std::size_t Width(std::string_view utf8);
// The longest prefix of a UTF-8 text whose Shift_JIS width is at most maxBytes;
// a double-byte character is never split.
std::string Truncate(std::string_view utf8, std::size_t maxBytes);

} // namespace bansho::sjis
