// Fuzz target: arbitrary bytes as the settings file. Loading never fails; every value read
// is one the program can use; a save writes a well-formed file; loading that file gives
// the same settings again, and saving them once more changes no byte.
#include "CommaText.h"
#include "FuzzCheck.h"
#include "IniFile.h"
#include "KeyConfig.h"
#include "Options.h"
#include "Settings.h"
#include "StartedProgram.h"
#include "Utf8.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

using namespace bansho;
using namespace bansho::testing;

namespace {

// True when every byte belongs to a valid UTF-8 sequence.
bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t n = utf8::Decode(s, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string Differences(const Program& a, const Program& b) {
    std::ostringstream out;
#define SAME(field)                                                                                \
    if (!(a.field == b.field)) out << #field << " '" << a.field << "' became '" << b.field << "'; "
    SAME(option.HistSet + 0);
    SAME(option.Acount + 0);
    SAME(option.CalcMem);
    SAME(winOptions.StayHist);
    SAME(winOptions.MoveDot);
    SAME(winOptions.FuncType);
    SAME(option.TaxRate);
    SAME(option.TaxRate2);
    SAME(winOptions.Cycle);
    SAME(winOptions.Hint);
    SAME(winOptions.Upper);
    SAME(winOptions.SmallFont);
    SAME(winOptions.Margin);
    SAME(winOptions.AlphaBlendType);
    SAME(winOptions.AlphaBlendValue);
    SAME(option.Decimals);
    SAME(option.Rounding);
    SAME(option.UserKEY);
    SAME(option.UserTCH);
    SAME(colors.MPanel);
    SAME(colors.Number);
    SAME(colors.Error);
    SAME(colors.HPanel);
    SAME(colors.HNumber);
    SAME(status.UseNumKey);
    SAME(status.KeyCUST);
    SAME(history.Visible);
    SAME(history.Height);
    SAME(window.Left);
    SAME(window.Top);
    SAME(window.Width);
    SAME(window.Height);
    SAME(window.Style);
    SAME(window.StatusBar);
    SAME(window.FHeight.value_or(-1));
    SAME(window.SHeight.value_or(-1));
    SAME(window.FontName);
    SAME(window.FontStyle);
    for (int i = 0; i < kFuncSetCount; ++i) {
        SAME(keys.FuncDispStr[static_cast<std::size_t>(i)]);
        SAME(keys.FuncCommand[static_cast<std::size_t>(i)]);
    }
    for (int code = 0; code < kKeyCodeCount; ++code) {
        SAME(keys.KeyTable[static_cast<std::size_t>(code)]);
    }
#undef SAME
    return out.str();
}

// Values the rest of the program relies on.
void CheckUsable(const Program& s) {
    for (const auto cmd : s.keys.KeyTable)
        FUZZ_CHECK(cmd >= 0 && cmd <= 255, "key command " + std::to_string(cmd));
    FUZZ_CHECK(s.option.HistSet <= 2, "HistSet " + std::to_string(s.option.HistSet));
    FUZZ_CHECK(s.option.Acount <= 1, "Acount " + std::to_string(s.option.Acount));
    FUZZ_CHECK(s.winOptions.FuncType == 8 || s.winOptions.FuncType == 10 || s.winOptions.FuncType == 12,
               "FuncType " + std::to_string(s.winOptions.FuncType));
    FUZZ_CHECK(s.winOptions.AlphaBlendType >= 0 && s.winOptions.AlphaBlendType <= 2,
               "AlphaBlendType " + std::to_string(s.winOptions.AlphaBlendType));
    FUZZ_CHECK(s.window.Style == kStyleNormal || s.window.Style == kStyleStayOnTop,
               "Style " + std::to_string(s.window.Style));
    for (const std::string* t : {&s.option.TaxRate, &s.option.UserTCH, &s.window.FontName})
        FUZZ_CHECK(IsUtf8(*t), "a text setting is not UTF-8");
    for (int i = 0; i < kFuncSetCount; ++i) {
        const auto keys = FuncSetKeys(s.keys, i);
        FUZZ_CHECK(keys.size() == kFuncKeyCount,
                   "set " + std::to_string(i) + " has " + std::to_string(keys.size()) + " keys");
    }
}

// Every line ends in CR LF; a section header, a key line or the one empty line that ends
// each section. Reading the bytes back and writing them again gives the same bytes.
void CheckWellFormed(const std::string& bytes) {
    std::size_t pos = 0;
    // The one comment a save may write: the first line of a file that would read as UTF-8.
    if (bytes.rfind(IniFile::kShiftJisMarker, 0) == 0) pos = IniFile::kShiftJisMarker.size();
    bool inSection = false;
    bool afterBlank = true;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        FUZZ_CHECK(end != std::string::npos, "a line without CR LF at byte " + std::to_string(pos));
        const std::string_view line(bytes.data() + pos, end - pos);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string_view::npos,
                   "a lone line break at byte " + std::to_string(pos));
        if (line.empty()) {
            FUZZ_CHECK(inSection && !afterBlank, "an empty line that ends no section");
            afterBlank = true;
        } else if (line.front() == '[') {
            FUZZ_CHECK(afterBlank, "a section that follows a key without an empty line");
            FUZZ_CHECK(line.back() == ']', "a section line without ']'");
            inSection = true;
            afterBlank = false;
        } else {
            FUZZ_CHECK(inSection && !afterBlank, "a key line outside a section");
            FUZZ_CHECK(line.find('=') != std::string_view::npos && line.front() != '=' &&
                           line.front() != ';',
                       "not a key line: '" + std::string(line) + "'");
        }
        pos = end + 2;
    }
    FUZZ_CHECK(afterBlank, "the last section is not closed by an empty line");
    FUZZ_CHECK(IniFile::FromBytes(bytes).ToBytes() == bytes, "the file does not read back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);

    IniFile ini = IniFile::FromBytes(file);
    Program first;
    first.LoadIni(ini);
    CheckUsable(first);

    SaveSettings(ini, first.Refs());
    const std::string saved = ini.ToBytes();
    CheckWellFormed(saved);
    const IniFile reread = IniFile::FromBytes(saved);

    Program second;
    second.LoadIni(reread);
    const std::string diff = Differences(first, second);
    FUZZ_CHECK(diff.empty(), "load, save, load: " + diff);

    IniFile again = reread;
    SaveSettings(again, second.Refs());
    FUZZ_CHECK(again.ToBytes() == saved, "a second save changes the file");
    return 0;
}
