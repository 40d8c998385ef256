#include "Utf8.h"

namespace bansho::utf8 {

std::size_t Decode(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::size_t CharLen(std::string_view s, std::size_t i) {
    char32_t cp = 0;
    const std::size_t n = Decode(s, i, cp);
    return n == 0 ? 1 : n;
}

std::size_t LastCharLen(std::string_view s) {
    for (std::size_t n = 2; n <= 4 && n <= s.size(); ++n) {
        char32_t cp = 0;
        if (Decode(s, s.size() - n, cp) == n) return n;
    }
    return 1;
}

} // namespace bansho::utf8
