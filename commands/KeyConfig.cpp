#include "KeyConfig.h"

#include <algorithm>

#include "CommaText.h"
#include "CommandTable.h"
#include "ParseInt32.h"
#include "Utf8.h"

namespace bansho {

const std::array<std::string_view, kFuncSetCount> kFactoryFuncDispStr = {
    "Ａ↓,ＡＣ,Ｃ,ＨＣ,ＨＳ,ＨＲ,％,ＧＴ,０００,＋/－,税込み,税抜き",
    "Ｂ↓,ＡＣ,Ｃ,ＭＣ,ＭＲ,Ｍ＋,Ｍ－,ＭＲＶ,ＮＵＭ,＋/－,税込み,税抜き",
    "Ｃ↑,転写,クリア,メモリ,履歴,補助,ズーム,環境,情報,切取り,コピー,貼付け",
};

namespace {

using FuncSetCommands = std::array<Command, kFuncKeyCount>;

// The commands of the factory sets A, B, C, key F1 first.
constexpr std::array<FuncSetCommands, kFuncSetCount> kFactoryFuncCommands = {{
    {Command::NextFuncSet, Command::AllClear, Command::ClearEntry, Command::HistoryClear,
     Command::HistoryStore, Command::HistoryShow, Command::Percent, Command::GrandTotal,
     Command::TripleZero, Command::ChangeSign, Command::TaxIncluded, Command::TaxExcluded},
    {Command::NextFuncSet, Command::AllClear, Command::ClearEntry, Command::MemoryClear,
     Command::MemoryRecall, Command::MemoryAdd, Command::MemorySubtract, Command::MemorySwap,
     Command::ToggleNumKey, Command::ChangeSign, Command::TaxIncluded, Command::TaxExcluded},
    {Command::NextFuncSet, Command::EditMenu, Command::ClearMenu, Command::MemoryMenu,
     Command::HistoryMenu, Command::EntryMenu, Command::ZoomMenu, Command::Customize,
     Command::About, Command::Cut, Command::Copy, Command::Paste},
}};

struct NamedKey {
    int Code;
    const char* Name;
    Command Factory;
};

// The keys that can be reassigned, with their factory commands. Digits, letters and the
// keypad digits follow as ranges below.
constexpr NamedKey kNamedKeys[] = {
    {vk::Back, "BACK", Command::ShiftRight},
    {vk::Return, "RETURN", Command::Equals},
    {vk::Escape, "ESCAPE", Command::Quit},
    {vk::Space, "SPACE", Command::NextFuncSet},
    {vk::Prior, "ROLLDOWN", Command::ZoomOutDot},
    {vk::Next, "ROLLUP", Command::ZoomInDot},
    {vk::End, "END", Command::ClearEntry},
    {vk::Home, "HOME", Command::AllClear},
    {vk::Left, "LEFT", Command::None},
    {vk::Up, "UP", Command::None},
    {vk::Right, "RIGHT", Command::None},
    {vk::Down, "DOWN", Command::None},
    {vk::Insert, "INSERT", Command::ToggleNumKey},
    {vk::Delete, "DELETE", Command::ShiftRight},
    {vk::Multiply, "MULTI", Command::Multiply},
    {vk::Add, "ADD", Command::Add},
    {vk::Separator, "COMMA", Command::TripleZero},
    {vk::Subtract, "SUBTRACT", Command::Subtract},
    {vk::Decimal, "PERIOD", Command::Point},
    {vk::Divide, "DIVIDE", Command::Divide},
    {vk::OemNecEqual, "EQUAL", Command::Equals},
    {vk::Oem1, "CKEY-：", Command::None},
    {vk::OemPlus, "CKEY-；", Command::None},
    {vk::OemComma, "CKEY-，", Command::TripleZero},
    {vk::OemMinus, "CKEY-－", Command::None},
    {vk::OemPeriod, "CKEY-．", Command::Point},
    {vk::Oem2, "CKEY-／", Command::Divide},
    {vk::Oem3, "CKEY-＠", Command::None},
    {vk::Oem4, "CKEY-[", Command::None},
    {vk::Oem5, "CKEY-￥", Command::None},
    {vk::Oem6, "CKEY-]", Command::None},
    {vk::Oem7, "CKEY-＾", Command::None},
};

// Codes without a name that still have a factory entry: the codes of the characters
// '*', '+', '/' and '='. 61 ('=') is where the seventeenth NUM-key position lands, so the
// slash key performs "=" in NUM-key mode.
constexpr NamedKey kUnnamedKeys[] = {{'*', "", Command::Multiply},
                                     {'+', "", Command::Add},
                                     {'/', "", Command::Divide},
                                     {'=', "", Command::Equals}};

std::array<std::string, kKeyCodeCount> BuildKeyNames() {
    std::array<std::string, kKeyCodeCount> names;
    for (const auto& k : kNamedKeys)
        names[static_cast<std::size_t>(k.Code)] = k.Name;
    for (int d = 0; d <= 9; ++d) {
        names[static_cast<std::size_t>(vk::Key0 + d)] = "CKEY_" + std::string(1, char('0' + d));
        names[static_cast<std::size_t>(vk::Numpad0 + d)] = "TKEY_" + std::string(1, char('0' + d));
    }
    for (char c = 'A'; c <= 'Z'; ++c)
        names[static_cast<std::size_t>(c)] = "CKEY_" + std::string(1, c);
    return names;
}

std::array<std::string, kFuncSetCount> BuildFactoryFuncCommand() {
    std::array<std::string, kFuncSetCount> texts;
    for (std::size_t set = 0; set < texts.size(); ++set) {
        std::vector<std::string> items;
        for (const Command c : kFactoryFuncCommands[set])
            items.push_back(std::to_string(CommandNumber(c)));
        texts[set] = JoinCommaText(items);
    }
    return texts;
}

// Lists padded to twelve items, each kept as comma text.
void PadList(std::string& text, std::string_view filler) {
    while (!text.empty() && text.back() == ',')
        text.pop_back();
    auto items = SplitCommaText(text);
    while (items.size() < kFuncKeyCount)
        items.emplace_back(filler);
    text = JoinCommaText(items);
}

// Code points of a UTF-8 text; a byte that starts no valid sequence counts alone.
std::vector<char32_t> CodePoints(std::string_view s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t len = utf8::Decode(s, i, cp);
        out.push_back(len == 0 ? char32_t(0xFFFD) : cp);
        i += len == 0 ? 1 : len;
    }
    return out;
}

char32_t UpperAscii(char32_t c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

} // namespace

const std::array<std::string, kKeyCodeCount>& KeyNames() {
    static const auto names = BuildKeyNames();
    return names;
}

const std::array<std::string, kFuncSetCount>& FactoryFuncCommand() {
    static const auto texts = BuildFactoryFuncCommand();
    return texts;
}

void InitKeyTBL(KeyConfig& keys, TOption& option, TCalcStatus& status) {
    keys.KeyTable.fill(kNoCommand);
    for (const auto& k : kNamedKeys)
        keys.KeyTable[static_cast<std::size_t>(k.Code)] = CommandNumber(k.Factory);
    for (const auto& k : kUnnamedKeys)
        keys.KeyTable[static_cast<std::size_t>(k.Code)] = CommandNumber(k.Factory);
    for (int d = 0; d <= 9; ++d) {
        const int digit = CommandNumber(Command::Digit0) + d;
        keys.KeyTable[static_cast<std::size_t>(vk::Key0 + d)] = digit;
        keys.KeyTable[static_cast<std::size_t>(vk::Numpad0 + d)] = digit;
    }
    keys.KeyTable['C'] = CommandNumber(Command::Copy);
    keys.KeyTable['V'] = CommandNumber(Command::Paste);
    keys.KeyTable['X'] = CommandNumber(Command::Cut);
    for (std::size_t i = 0; i < kFuncSetCount; ++i) {
        keys.FuncDispStr[i] = kFactoryFuncDispStr[i];
        keys.FuncCommand[i] = FactoryFuncCommand()[i];
    }
    status.UseNumKey = false;
    option.UserKEY = kFactoryUserKEY;
    option.UserTCH = kFactoryUserTCH;
}

void NormalizeFuncSets(KeyConfig& keys) {
    for (auto& s : keys.FuncDispStr)
        PadList(s, kEmptyFuncCaption);
    for (auto& s : keys.FuncCommand)
        PadList(s, kEmptyFuncCommand);
}

int TranslateNumKey(int code, const TOption& option) {
    if (code < 0 || code >= kKeyCodeCount) return code;
    const std::size_t n = std::min<std::size_t>(option.UserKEY.size(), kNumKeyPositions);
    for (std::size_t p = 0; p < n; ++p) {
        if (static_cast<unsigned char>(option.UserKEY[p]) == code)
            return static_cast<unsigned char>(kNumKeyVKRow[p]);
    }
    return code;
}

char32_t TranslateNumChar(char32_t ch, const TOption& option) {
    const auto chars = CodePoints(option.UserTCH);
    const std::size_t n = std::min<std::size_t>(chars.size(), kNumKeyPositions);
    const char32_t want = UpperAscii(ch);
    for (std::size_t p = 0; p < n; ++p) {
        if (UpperAscii(chars[p]) == want) return static_cast<char32_t>(kNumKeyRow[p]);
    }
    return ch;
}

void CycleFuncSet(TCalcStatus& status) {
    const int next = status.FuncSet + 1;
    status.FuncSet = (next >= 0 && next < kFuncSetCount) ? next : 0;
}

void ToggleNumKey(TCalcStatus& status) {
    status.UseNumKey = !status.UseNumKey;
}

std::vector<FunctionKeyEntry> FuncSetKeys(const KeyConfig& keys, int set) {
    std::vector<FunctionKeyEntry> out;
    if (set < 0 || set >= kFuncSetCount) return out;
    const auto captions = SplitCommaText(keys.FuncDispStr[static_cast<std::size_t>(set)]);
    const auto commands = SplitCommaText(keys.FuncCommand[static_cast<std::size_t>(set)]);
    const std::size_t n = std::min({captions.size(), commands.size(), kFuncKeyCount});
    for (std::size_t k = 0; k < n; ++k) {
        FunctionKeyEntry e;
        e.Caption = captions[k];
        // A number outside the catalogue does nothing and shows no hint.
        const auto n2 = ParseInt32(commands[k]);
        const bool known = n2 && *n2 >= 0 && *n2 < kCommandCount;
        e.Command = known ? *n2 : kNoCommand;
        if (known) e.Hint = CommandOf(*n2).Description;
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace bansho
