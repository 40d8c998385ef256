// Fuzz target: comma text. Parsing any text and building it again gives the same items;
// building any items and parsing them gives them back; padding a function-key list gives
// at least twelve items, keeps the items it had and does nothing the second time.
//
// Input: byte 0 chooses the part (even: the bytes after it are a text to parse; odd: they
// are items separated by NUL bytes).
#include "CommaText.h"
#include "FuzzCheck.h"
#include "KeyConfig.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace bansho;
using namespace bansho::testing;

namespace {

std::string Show(const std::vector<std::string>& items) {
    std::string s = "[";
    for (const auto& i : items)
        s += "<" + i + ">";
    return s + "]";
}

void ParseThenBuild(std::string_view text) {
    const auto items = SplitCommaText(text);
    for (const auto& item : items)
        FUZZ_CHECK(item.find('\0') == std::string::npos, "an item holds a NUL");
    const std::string joined = JoinCommaText(items);
    const auto again = SplitCommaText(joined);
    FUZZ_CHECK(again == items, Show(items) + " built as '" + joined + "' reads " + Show(again));
    FUZZ_CHECK(JoinCommaText(again) == joined, "building is not stable: '" + joined + "'");

    // Padding a function-key list, as at every start.
    KeyConfig keys;
    keys.FuncDispStr[0] = std::string(text);
    keys.FuncCommand[0] = std::string(text);
    NormalizeFuncSets(keys);
    std::string trimmed(text);
    while (!trimmed.empty() && trimmed.back() == ',')
        trimmed.pop_back();
    const auto before = SplitCommaText(trimmed);
    for (const std::string* list : {&keys.FuncDispStr[0], &keys.FuncCommand[0]}) {
        const auto padded = SplitCommaText(*list);
        FUZZ_CHECK(padded.size() >= kFuncKeyCount,
                   "padded list of " + std::to_string(padded.size()) + " items");
        FUZZ_CHECK(std::vector<std::string>(padded.begin(),
                                            padded.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                                 before.size(), padded.size()))) ==
                       before,
                   "padding changed the items " + Show(before) + " into " + Show(padded));
    }
    KeyConfig again2 = keys;
    NormalizeFuncSets(again2);
    FUZZ_CHECK(again2.FuncDispStr[0] == keys.FuncDispStr[0], "padding twice changes the list");

    // The bar's keys from such a list: at most twelve, every command a number 0..255.
    const auto bar = FuncSetKeys(keys, 0);
    FUZZ_CHECK(bar.size() == kFuncKeyCount, "the bar gets " + std::to_string(bar.size()) + " keys");
    for (const auto& key : bar)
        FUZZ_CHECK(key.Command >= 0 && key.Command <= 255,
                   "command " + std::to_string(key.Command));
}

void BuildThenParse(std::string_view bytes) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t nul = bytes.find('\0', start);
        items.emplace_back(bytes.substr(
            start, nul == std::string_view::npos ? std::string_view::npos : nul - start));
        if (nul == std::string_view::npos) break;
        start = nul + 1;
    }
    const std::string joined = JoinCommaText(items);
    const auto back = SplitCommaText(joined);
    FUZZ_CHECK(back == items, Show(items) + " built as '" + joined + "' reads " + Show(back));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0)
        ParseThenBuild(rest);
    else
        BuildThenParse(rest);
    return 0;
}
