#include "CommaText.h"

namespace bansho {

namespace {

// Blanks and control characters (but not the end of the text).
bool IsBlank(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= ' ';
}

} // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> items;
    // A NUL ends the text, as it would for a C string.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::size_t p = 0;
    const std::size_t n = text.size();
    while (p < n && IsBlank(text[p]))
        ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p; // closing quote
                    break;
                }
                item += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p < n && !IsBlank(text[p]) && text[p] != ',')
                ++p;
            item.assign(text.substr(start, p - start));
        }
        items.push_back(std::move(item));
        while (p < n && IsBlank(text[p]))
            ++p;
        if (p < n && text[p] == ',') {
            if (p + 1 == n) items.emplace_back(); // trailing comma: one more, empty item
            ++p;
            while (p < n && IsBlank(text[p]))
                ++p;
        }
    }
    return items;
}

std::string JoinCommaText(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& s = items[i];
        bool quote = false;
        for (const char c : s) {
            const auto b = static_cast<unsigned char>(c);
            if (b <= ' ' || c == '"' || c == ',') {
                quote = true;
                break;
            }
        }
        if (i > 0) out += ',';
        // A last empty item is written as "": a list that ends in a comma loses that comma
        // (and so the item) when the function-key sets are padded at the next start.
        if (s.empty() && i + 1 == items.size()) quote = true;
        if (quote) {
            out += '"';
            for (const char c : s) {
                if (c == '"') out += '"';
                out += c;
            }
            out += '"';
        } else {
            out += s;
        }
    }
    return out;
}

} // namespace bansho
