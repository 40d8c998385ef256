#include "ParseInt32.h"

namespace bansho {

std::optional<std::int32_t> ParseInt32(std::string_view text) {
    std::size_t p = 0;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    bool hex = false;
    if (p < text.size() && text[p] == '$') {
        hex = true;
        ++p;
    } else if (p + 1 < text.size() && text[p] == '0' &&
               (text[p + 1] == 'x' || text[p + 1] == 'X')) {
        hex = true;
        p += 2;
    }
    if (p >= text.size()) return std::nullopt;
    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; p < text.size(); ++p) {
        const char c = text[p];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + digit;
        if (value > limit) return std::nullopt;
    }
    // Hexadecimal fills the 32 bits as they stand, so colours such as $FF00000F come back.
    const auto bits = static_cast<std::uint32_t>(value);
    std::uint32_t result = negative ? (0u - bits) : bits;
    return static_cast<std::int32_t>(result);
}

} // namespace bansho
