#include "CommaText.h"

#include <gtest/gtest.h>

using namespace bansho;

namespace {

using Items = std::vector<std::string>;

TEST(CommaText, SplitsByTheQuotingRules) {
    struct Row {
        const char* name;
        std::string text;
        Items want;
    } rows[] = {
        {"plain items", "50,24,25", {"50", "24", "25"}},
        {"full-width captions", "Ａ↓,ＡＣ,＋/－", {"Ａ↓", "ＡＣ", "＋/－"}},
        {"empty text", "", {}},
        {"trailing comma gives an empty item", "Ａ↓,ＡＣ,", {"Ａ↓", "ＡＣ", ""}},
        {"inner empty item", "a,,b", {"a", "", "b"}},
        {"leading comma", ",a", {"", "a"}},
        {"unquoted blank separates", "a b,c", {"a", "b", "c"}},
        {"tab separates", "a\tb", {"a", "b"}},
        {"blanks around commas are dropped", "  a ,  b  ", {"a", "b"}},
        {"comma then blank at the end gives no empty item", "a, ", {"a"}},
        {"quoted blank stays", "\"a b\",c", {"a b", "c"}},
        {"quoted comma stays", "\"x,y\",z", {"x,y", "z"}},
        {"doubled quote inside quotes", "\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"empty quoted item", "\"\",a", {"", "a"}},
        {"single empty quoted", "\"\"", {""}},
        {"text after a closing quote is the next item", "\"a\"b,c", {"a", "b", "c"}},
        {"unclosed quote takes the rest", "a,\"b c", {"a", "b c"}},
        {"bare quote inside an unquoted item stays", "a\"b", {"a\"b"}},
        {"nul ends the text", std::string("a,b\0,c", 6), {"a", "b"}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SplitCommaText(r.text), r.want) << r.name;
}

TEST(CommaText, JoinsQuotingOnlyWhatNeedsIt) {
    struct Row {
        const char* name;
        Items items;
        std::string want;
    } rows[] = {
        {"plain", {"50", "24"}, "50,24"},
        {"nothing", {}, ""},
        {"one empty item", {""}, "\"\""},
        {"empty items among others stay bare", {"a", "", "b"}, "a,,b"},
        {"an empty last item is quoted", {"a", ""}, "a,\"\""},
        {"blank", {"a b", "c"}, "\"a b\",c"},
        {"comma", {"x,y"}, "\"x,y\""},
        {"quote doubled", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {"control character", {"a\tb"}, "\"a\tb\""},
        {"full-width text is not quoted", {"税込み", "Ｃ↑"}, "税込み,Ｃ↑"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(JoinCommaText(r.items), r.want) << r.name;
}

TEST(CommaText, AnyListSurvivesJoinThenSplit) {
    const Items lists[] = {
        {"Ａ↓", "a b", "x,y", "\"", "\"\"", "", "end"},
        {"", ""},
        {""},
        {" lead", "trail ", ","},
        {"税込み", "\t", "q\"q"},
    };
    for (const auto& items : lists)
        EXPECT_EQ(SplitCommaText(JoinCommaText(items)), items);
}

} // namespace
