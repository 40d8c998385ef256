#include "PasteText.h"

#include "Utf8.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace bansho {

namespace {

// One decoded UTF-8 character; malformed bytes come through as themselves and never match.
std::vector<std::uint32_t> Decode(std::string_view s) {
    std::vector<std::uint32_t> out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + len > s.size()) {
            out.push_back(0xFFFFFFFFu); // a byte that is no character: the text stays refused
            ++i;
            continue;
        }
        std::uint32_t c = len == 1 ? b : len == 2 ? (b & 0x1Fu) : len == 3 ? (b & 0x0Fu) : (b & 0x07u);
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) ok = false;
            c = (c << 6) | (t & 0x3Fu);
        }
        out.push_back(ok ? c : 0xFFFFFFFFu);
        i += ok ? len : 1;
    }
    return out;
}

bool IsBlank(std::uint32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x00A0 || c == 0x3000;
}

bool IsCurrency(std::uint32_t c) {
    return c == '$' || c == 0x00A5 /* ¥ */ || c == 0xFFE5 /* ￥ */ || c == 0x5186 /* 円 */;
}

// Full-width forms and the minus sign in their ASCII shape; anything else unchanged.
std::uint32_t Narrow(std::uint32_t c) {
    if (c >= 0xFF10 && c <= 0xFF19) return '0' + (c - 0xFF10);
    switch (c) {
    case 0xFF0B: return '+'; // ＋
    case 0xFF0D: return '-'; // －
    case 0x2212: return '-'; // −
    case 0xFF0E: return '.'; // ．
    case 0xFF0C: return ','; // ，
    default: return c;
    }
}

bool IsDigit(std::uint32_t c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<std::string> NormalisePastedNumber(std::string_view text) {
    std::vector<std::uint32_t> in = Decode(text);
    for (auto& c : in)
        c = Narrow(c);

    // Currency marks go, and with them the blanks on either side of each.
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (IsCurrency(in[i])) {
            while (!kept.empty() && IsBlank(kept.back()))
                kept.pop_back();
            while (i + 1 < in.size() && IsBlank(in[i + 1]))
                ++i;
            continue;
        }
        kept.push_back(in[i]);
    }
    std::size_t b = 0, e = kept.size();
    while (b < e && IsBlank(kept[b]))
        ++b;
    while (e > b && IsBlank(kept[e - 1]))
        --e;

    std::string sign;
    if (b < e && (kept[b] == '-' || kept[b] == '+')) {
        if (kept[b] == '-') sign = "-";
        ++b;
    }

    // Whole part with its separators, then the fraction; every other character refuses.
    std::string whole, fraction;
    std::vector<std::size_t> groupLengths; // digits between separators, first group included
    bool point = false;
    std::size_t run = 0;
    for (std::size_t i = b; i < e; ++i) {
        const std::uint32_t c = kept[i];
        if (IsDigit(c)) {
            (point ? fraction : whole).push_back(static_cast<char>(c));
            if (!point) ++run;
        } else if (c == ',' && !point) {
            groupLengths.push_back(run);
            run = 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!groupLengths.empty()) {
        // "1,5" is one and a half in half of Europe: a comma counts as a thousands separator
        // only where every comma is followed by exactly three digits and the first group is
        // one to three digits long.
        groupLengths.push_back(run);
        if (groupLengths.front() < 1 || groupLengths.front() > 3) return std::nullopt;
        for (std::size_t k = 1; k < groupLengths.size(); ++k)
            if (groupLengths[k] != 3) return std::nullopt;
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;
    if (whole.size() + fraction.size() > 15) return std::nullopt;
    if (whole.empty()) whole = "0"; // ".5" reads as the entry "0.5" would
    return sign + whole + (point ? "." : "") + fraction;
}

namespace {

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

// A NUL, a control character other than tab and the line breaks, or bytes that are no UTF-8
// (a sequence cut off by the end of what was read is not held against the text).
bool IsBinary(std::string_view head, bool more) {
    std::size_t i = 0;
    while (i < head.size()) {
        const auto b = static_cast<unsigned char>(head[i]);
        if (b < 0x80) {
            if ((b < 0x20 && b != '\t' && !IsLineBreak(static_cast<char>(b))) || b == 0x7F)
                return true;
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t len = utf8::Decode(head, i, cp);
        if (len == 0) return !(more && head.size() - i < 4);
        i += len;
    }
    return false;
}

} // namespace

std::optional<std::string> PastedEntryText(std::string_view head, bool more) {
    if (head.size() > kPasteReadLimit) {
        head = head.substr(0, kPasteReadLimit);
        more = true;
    }
    if (IsBinary(head, more)) return std::nullopt;
    // The first line with anything but blanks in it.
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = head.find_first_of("\r\n", begin);
        const std::string_view line =
            head.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
        if (end == std::string_view::npos && more) return std::nullopt; // longer than the limit
        if (line.find_first_not_of(" \t") != std::string_view::npos || end == std::string_view::npos) {
            if (auto number = NormalisePastedNumber(line)) return number;
            std::string text(line);
            while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
                text.pop_back();
            return text;
        }
        begin = end + 1;
    }
}

} // namespace bansho
