#include "TextFunctions.h"

#include "CalcNum.h"
#include "Sjis.h"
#include "Utf8.h"

#include <vector>

namespace bansho {

namespace {

bool IsAscii(std::string_view s) {
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

} // namespace

void AssignText(TCalcNum& n, std::string_view text) {
    n.Text = CutText(text, kCalcNumTextMax);
    n.Kind = ValueKind::Number;
}

std::string OpeToGlyph(char c) {
    switch (c) {
    case '+':
        return "＋";
    case '-':
        return "－";
    case '*':
        return "×";
    case '/':
        return "÷";
    default:
        return {};
    }
}

char GlyphToOpe(std::string_view glyph) {
    if (glyph == "＋") return '+';
    if (glyph == "－") return '-';
    if (glyph == "×") return '*';
    return '/';
}

std::string InsertThousands(std::string_view s) {
    std::size_t start = 0;
    while (start < s.size() && s[start] == ' ')
        ++start;
    s.remove_prefix(start);

    // Split into characters so that a separator never lands inside a multi-byte character.
    std::vector<std::string_view> chars;
    chars.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8::CharLen(s, i);
        chars.push_back(s.substr(i, n));
        i += n;
    }
    std::size_t n = chars.size();
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == ".") {
            n = i;
            break;
        }
    }
    const std::size_t first = (!chars.empty() && chars[0] == "-") ? 3 : 2;
    // Positions are 1-based: a separator goes before position i when, counting from the
    // last integer digit leftwards, i is the 3rd, 6th, ... character.
    std::vector<bool> sepBefore(chars.size() + 1, false);
    std::size_t k = 0;
    for (std::size_t i = n; i >= first && i >= 1; --i) {
        ++k;
        if (k % 3 == 0) sepBefore[i] = true;
    }
    std::string out;
    out.reserve(s.size() + s.size() / 3 + 1);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (sepBefore[i + 1]) out += ',';
        out += chars[i];
    }
    return out;
}

std::string AlignNumber(std::string_view s) {
    std::string t(s);
    std::size_t dot = t.find('.');
    if (dot == std::string::npos) {
        t += '.';
        dot = t.size() - 1;
    }
    const std::size_t p = TextWidth(std::string_view(t).substr(0, dot + 1));
    const std::size_t pad = p < 23 ? 23 - p : 0;
    return std::string(pad, ' ') + t;
}

std::string TrimRightChar(std::string_view s, char c) {
    while (!s.empty() && s.back() == c)
        s.remove_suffix(1);
    return std::string(s);
}

std::string TrimLeftBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && static_cast<unsigned char>(s[i]) <= ' ')
        ++i;
    return std::string(s.substr(i));
}

std::size_t DigitLimit(std::string_view text) {
    std::size_t n = 15;
    if (text.find('.') != std::string_view::npos) ++n;
    if (text.find('-') != std::string_view::npos) ++n;
    return n;
}

std::string CutText(std::string_view text, std::size_t n) {
    if (IsAscii(text)) return std::string(text.substr(0, n));
    return sjis::Truncate(text, n);
}

std::size_t TextWidth(std::string_view text) {
    if (IsAscii(text)) return text.size();
    return sjis::Width(text);
}

std::string HistoryRowText(char ope, std::string_view number) {
    return AlignNumber(OpeToGlyph(ope) + InsertThousands(number));
}

} // namespace bansho
