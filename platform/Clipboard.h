#pragma once
// The system clipboard's text, read without ever fetching more of it than is wanted and
// without waiting long for a program that owns the clipboard and does not answer.
#include <cstddef>
#include <string>

namespace bansho::platform {

// How long a paste waits for the clipboard's owner, in milliseconds: a moment.
inline constexpr int kClipboardWaitMs = 1000;

// At most the first `maxBytes` bytes of the CLIPBOARD selection's text, as UTF-8 (a character
// cut at the end is left cut). Empty when the clipboard holds no text or its owner does not
// answer within kClipboardWaitMs. On X11 only the start of a long text is transferred.
std::string ClipboardTextHead(std::size_t maxBytes);

} // namespace bansho::platform
