#include "Sjis.h"

#include "Utf8.h"

#include <cerrno>
#include <iconv.h>

namespace bansho::sjis {
namespace {

// Runs iconv over the whole input; an unconvertible or invalid unit is replaced and skipped.
std::string Convert(const char* to, const char* from, std::string_view in, std::string_view repl,
                    bool fromUtf8) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: replace one unit and go on.
            out.append(repl);
            std::size_t skip = 1;
            if (fromUtf8) {
                char32_t cp;
                const std::size_t pos = in.size() - srcLeft;
                skip = utf8::Decode(in, pos, cp);
                if (skip == 0) skip = 1;
            } else {
                const auto b = static_cast<unsigned char>(*src);
                const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
                if (lead && srcLeft >= 2) {
                    const auto t = static_cast<unsigned char>(src[1]);
                    if (t >= 0x40 && t <= 0xFC && t != 0x7F) skip = 2;
                }
            }
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string FromUtf8(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", true); }

std::string ToUtf8(std::string_view cp932) {
    return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", false);
}

namespace {
std::size_t CharWidth(char32_t cp) {
    if (cp < 0x80) return 1;
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1; // half-width katakana
    return 2;
}
} // namespace

std::size_t Width(std::string_view utf8) {
    std::size_t w = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp;
        std::size_t n = utf8::Decode(utf8, i, cp);
        if (n == 0) {
            n = 1;
            cp = 0xFFFD;
        }
        w += CharWidth(cp);
        i += n;
    }
    return w;
}

std::string Truncate(std::string_view utf8, std::size_t maxBytes) {
    std::size_t w = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp;
        std::size_t n = utf8::Decode(utf8, i, cp);
        if (n == 0) {
            n = 1;
            cp = 0xFFFD;
        }
        const std::size_t cw = CharWidth(cp);
        if (w + cw > maxBytes) break;
        w += cw;
        i += n;
    }
    return std::string(utf8.substr(0, i));
}

} // namespace bansho::sjis
