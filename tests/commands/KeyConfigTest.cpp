#include "KeyConfig.h"

#include <gtest/gtest.h>

#include "CommaText.h"

using namespace bansho;

namespace {

struct Factory {
    KeyConfig keys;
    TOption option;
    TCalcStatus status;
    Factory() {
        SetBuiltInDefaults(option, status);
        InitKeyTBL(keys, option, status);
    }
    int Cmd(int code) const { return keys.KeyTable[static_cast<std::size_t>(code)]; }
};

TEST(KeyTables, FactoryEntriesOfTheNamedAndUnnamedKeys) {
    const Factory f;
    struct Row {
        const char* name;
        int code;
        int command;
    } rows[] = {
        {"Backspace", 8, 35},
        {"Enter", 13, 21},
        {"Esc", 27, 254},
        {"Space", 32, 50},
        {"Page Up", 33, 89},
        {"Page Down", 34, 88},
        {"End", 35, 25},
        {"Home", 36, 24},
        {"Left", 37, 255},
        {"Up", 38, 255},
        {"Right", 39, 255},
        {"Down", 40, 255},
        {"Insert", 45, 51},
        {"Delete", 46, 35},
        {"main 0", 48, 0},
        {"main 9", 57, 9},
        {"letter A", 65, 255},
        {"letter C", 67, 41},
        {"letter V", 86, 42},
        {"letter X", 88, 40},
        {"keypad 0", 96, 0},
        {"keypad 5", 101, 5},
        {"keypad *", 106, 19},
        {"keypad +", 107, 17},
        {"keypad separator", 108, 37},
        {"keypad -", 109, 18},
        {"keypad .", 110, 16},
        {"keypad /", 111, 20},
        {"keypad =", 146, 21},
        {"colon", 186, 255},
        {"comma", 188, 37},
        {"period", 190, 16},
        {"slash", 191, 20},
        {"yen", 220, 255},
        {"unnamed 42", 42, 19},
        {"unnamed 43", 43, 17},
        {"unnamed 47", 47, 20},
        {"unnamed 61 (NUM equals)", 61, 21},
        {"F1 never looked up", 112, 255},
        {"code 0", 0, 255},
        {"code 255", 255, 255},
    };
    for (const auto& r : rows)
        EXPECT_EQ(f.Cmd(r.code), r.command) << r.name;
}

TEST(KeyTables, SeventyEightNamedKeysFortyThreeWithACommand) {
    const Factory f;
    int named = 0, withCommand = 0;
    for (int c = 0; c < kKeyCodeCount; ++c) {
        if (KeyNames()[static_cast<std::size_t>(c)].empty()) continue;
        ++named;
        if (f.Cmd(c) != 255) ++withCommand;
    }
    EXPECT_EQ(named, 78);
    EXPECT_EQ(withCommand, 43);
    EXPECT_EQ(KeyNames()[13], "RETURN");
    EXPECT_EQ(KeyNames()[53], "CKEY_5");
    EXPECT_EQ(KeyNames()[90], "CKEY_Z");
    EXPECT_EQ(KeyNames()[101], "TKEY_5");
    EXPECT_EQ(KeyNames()[186], "CKEY-：");
    EXPECT_EQ(KeyNames()[219], "CKEY-[");
    EXPECT_EQ(KeyNames()[220], "CKEY-￥");
    EXPECT_TRUE(KeyNames()[61].empty());
    EXPECT_TRUE(KeyNames()[112].empty());
}

TEST(KeyTables, InitKeyTblRestoresFactoryButLeavesSetAndCustomFlag) {
    Factory f;
    f.keys.KeyTable[13] = 5;
    f.keys.FuncDispStr[1] = "x";
    f.status.UseNumKey = true;
    f.status.FuncSet = 2;
    f.status.KeyCUST = true;
    f.option.UserKEY = "ABC";
    f.option.UserTCH = "abc";
    InitKeyTBL(f.keys, f.option, f.status);
    EXPECT_EQ(f.Cmd(13), 21);
    EXPECT_EQ(f.keys.FuncDispStr[1], kFactoryFuncDispStr[1]);
    EXPECT_FALSE(f.status.UseNumKey);
    EXPECT_EQ(f.option.UserKEY, kFactoryUserKEY);
    EXPECT_EQ(f.option.UserTCH, "mjkluio789.,;0p-/");
    EXPECT_EQ(f.status.FuncSet, 2);
    EXPECT_TRUE(f.status.KeyCUST);
}

TEST(KeyTables, FactoryFunctionSetsHaveTwelveKeysStartingWithTheSwitch) {
    const Factory f;
    for (int s = 0; s < kFuncSetCount; ++s) {
        const auto keys = FuncSetKeys(f.keys, s);
        ASSERT_EQ(keys.size(), 12u) << s;
        EXPECT_EQ(keys[0].Command, 50);
        EXPECT_EQ(keys[0].Hint, "ファンクション切替");
    }
    const auto c = FuncSetKeys(f.keys, 2);
    EXPECT_EQ(c[0].Caption, "Ｃ↑");
    EXPECT_EQ(c[7].Caption, "環境");
    EXPECT_EQ(c[7].Command, 151);
    EXPECT_EQ(c[11].Command, 42);
    EXPECT_EQ(c[11].Hint, "クリップボードから貼付け");
}

TEST(KeyTables, FactoryFunctionSetsAsTheSettingsFileStoresThem) {
    const Factory f;
    EXPECT_EQ(f.keys.FuncCommand[0], "50,24,25,26,27,28,22,34,37,23,38,39");
    EXPECT_EQ(f.keys.FuncCommand[1], "50,24,25,29,32,30,31,33,51,23,38,39");
    EXPECT_EQ(f.keys.FuncCommand[2], "50,200,201,202,203,204,205,151,150,40,41,42");
    EXPECT_EQ(FactoryFuncCommand(), f.keys.FuncCommand);
}

TEST(KeyTables, NormalizePadsShortListsToTwelve) {
    KeyConfig k;
    k.FuncDispStr = {"Ａ↓,ＡＣ,", "", "a,b,c,d,e,f,g,h,i,j,k,l,m"};
    k.FuncCommand = {"50,24,,,", "1", "1,2,3,4,5,6,7,8,9,10,11,12,13"};
    NormalizeFuncSets(k);
    EXPECT_EQ(k.FuncDispStr[0], "Ａ↓,ＡＣ,****,****,****,****,****,****,****,****,****,****");
    EXPECT_EQ(SplitCommaText(k.FuncDispStr[1]), std::vector<std::string>(12, "****"));
    // Longer lists are kept whole; only the first twelve items are used.
    EXPECT_EQ(SplitCommaText(k.FuncDispStr[2]).size(), 13u);
    EXPECT_EQ(k.FuncCommand[0], "50,24,255,255,255,255,255,255,255,255,255,255");
    EXPECT_EQ(SplitCommaText(k.FuncCommand[1]).front(), "1");
    EXPECT_EQ(SplitCommaText(k.FuncCommand[1]).size(), 12u);
    EXPECT_EQ(FuncSetKeys(k, 2).size(), 12u);
}

TEST(KeyTables, NormalizeKeepsAQuotedCaptionWhole) {
    KeyConfig k;
    k.FuncDispStr = {"\"a b\",\"x,y\"", "", ""};
    k.FuncCommand = {"1,2", "", ""};
    NormalizeFuncSets(k);
    const auto keys = FuncSetKeys(k, 0);
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_EQ(keys[0].Caption, "a b");
    EXPECT_EQ(keys[1].Caption, "x,y");
    EXPECT_EQ(keys[2].Caption, "****");
    EXPECT_EQ(keys[2].Command, 255);
}

TEST(KeyTables, AnEmptyTwelfthCaptionSurvivesEveryStart) {
    KeyConfig k;
    k.FuncDispStr = {JoinCommaText({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", ""}), "",
                     ""};
    for (int start = 0; start < 3; ++start)
        NormalizeFuncSets(k);
    const auto captions = SplitCommaText(k.FuncDispStr[0]);
    ASSERT_EQ(captions.size(), 12u);
    EXPECT_EQ(captions[11], "");
}

TEST(KeyTables, FunctionKeyCommandsThatAreNotCommandNumbersDoNothing) {
    KeyConfig k;
    k.FuncDispStr = {"a,b,c,d,e,f", "", ""};
    k.FuncCommand = {"016,abc,300,-1,$18,", "", ""};
    const auto keys = FuncSetKeys(k, 0);
    ASSERT_EQ(keys.size(), 6u); // both lists have six items
    EXPECT_EQ(keys[0].Command, 16);
    EXPECT_EQ(keys[0].Hint, "コンマ入力");
    EXPECT_EQ(keys[1].Command, 255);
    EXPECT_EQ(keys[1].Hint, "");
    EXPECT_EQ(keys[2].Command, 255);
    EXPECT_EQ(keys[3].Command, 255);
    EXPECT_EQ(keys[4].Command, 24);
    EXPECT_EQ(keys[5].Command, 255);
    EXPECT_TRUE(FuncSetKeys(k, 3).empty());
    EXPECT_TRUE(FuncSetKeys(k, -1).empty());
}

TEST(KeyTables, CommandFiftyCyclesThroughTheSets) {
    TCalcStatus s;
    CycleFuncSet(s);
    EXPECT_EQ(s.FuncSet, 1);
    CycleFuncSet(s);
    EXPECT_EQ(s.FuncSet, 2);
    CycleFuncSet(s);
    EXPECT_EQ(s.FuncSet, 0);
    s.FuncSet = 7;
    CycleFuncSet(s);
    EXPECT_EQ(s.FuncSet, 0);
}

TEST(KeyTables, CommandFiftyOneTogglesNumKeyMode) {
    TCalcStatus s;
    ToggleNumKey(s);
    EXPECT_TRUE(s.UseNumKey);
    ToggleNumKey(s);
    EXPECT_FALSE(s.UseNumKey);
}

TEST(NumKeys, FactoryKeysBecomeTheKeypad) {
    const Factory f;
    struct Row {
        const char* name;
        int code;
        int becomes;
        int command;
    } rows[] = {
        {"M is 0", 'M', '0', 0},
        {"J is 1", 'J', '1', 1},
        {"O is 6", 'O', '6', 6},
        {"7 stays 7", '7', '7', 7},
        {"9 stays 9", '9', '9', 9},
        {"period is keypad point", 190, 110, 16},
        {"comma is keypad separator", 188, 108, 37},
        {"semicolon is keypad plus", 187, 107, 17},
        {"main 0 is keypad minus", '0', 109, 18},
        {"P is keypad multiply", 'P', 106, 19},
        {"minus is keypad divide", 189, 111, 20},
        {"slash goes through 61 to equals", 191, 61, 21},
        {"A is not a NUM key", 'A', 'A', 255},
        {"keypad 5 is untouched", 101, 101, 5},
        {"out of range stays", 300, 300, -1},
    };
    for (const auto& r : rows) {
        const int t = TranslateNumKey(r.code, f.option);
        EXPECT_EQ(t, r.becomes) << r.name;
        if (r.command >= 0) {
            EXPECT_EQ(f.Cmd(t), r.command) << r.name;
        }
    }
}

TEST(NumKeys, FirstPositionWinsAndPositionsPastSeventeenAreIgnored) {
    TOption o;
    o.UserKEY = "AA";
    EXPECT_EQ(TranslateNumKey('A', o), '0');
    o.UserKEY = std::string(17, 'Z') + "Q";
    EXPECT_EQ(TranslateNumKey('Q', o), 'Q');
    EXPECT_EQ(TranslateNumKey('Z', o), '0');
    o.UserKEY.clear();
    EXPECT_EQ(TranslateNumKey('M', o), 'M');
}

TEST(NumKeys, TypedCharactersIgnoreCase) {
    const Factory f;
    struct Row {
        const char* name;
        char32_t ch;
        char32_t want;
    } rows[] = {
        {"m", U'm', U'0'}, {"M", U'M', U'0'},       {"u", U'u', U'4'},
        {"P", U'P', U'*'}, {"/", U'/', U'='},       {";", U';', U'+'},
        {"0", U'0', U'-'}, {"-", U'-', U'/'},       {"7", U'7', U'7'},
        {".", U'.', U'.'}, {"a stays", U'a', U'a'}, {"full-width stays", U'ｍ', U'ｍ'},
    };
    for (const auto& r : rows)
        EXPECT_EQ(TranslateNumChar(r.ch, f.option), r.want) << r.name;

    TOption o;
    o.UserTCH = "MJKLUIO789.,;0P-/"; // typed in capitals
    EXPECT_EQ(TranslateNumChar(U'm', o), U'0');
    EXPECT_EQ(TranslateNumChar(U'p', o), U'*');
}

TEST(NumKeys, NonAsciiUserCharactersCountAsOnePosition) {
    TOption o;
    o.UserTCH = "あb";
    EXPECT_EQ(TranslateNumChar(U'あ', o), U'0');
    EXPECT_EQ(TranslateNumChar(U'B', o), U'1');
}

TEST(NumKeys, EachByteOfABrokenSequenceIsAPositionThatMatchesNothing) {
    // UserTCH is the broken bytes followed by "b".
    struct Row {
        const char* name;
        const char* broken;
        char32_t ch;
        char32_t want;
    } rows[] = {
        {"cut sequence: b is third", "\xE3\x81", U'b', U'2'},
        {"overlong A is no A", "\xC1\x81", U'a', U'a'},
        {"overlong A: b is third", "\xC1\x81", U'b', U'2'},
        {"surrogate: b is fourth", "\xED\xA0\x80", U'b', U'3'},
        {"stray continuation byte: b is second", "\x80", U'b', U'1'},
    };
    for (const auto& r : rows) {
        TOption o;
        o.UserTCH = std::string(r.broken) + "b";
        EXPECT_EQ(TranslateNumChar(r.ch, o), r.want) << r.name;
    }
}

} // namespace
