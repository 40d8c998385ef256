#include "IniFile.h"
#include "Sjis.h"

#include <random>

#include <gtest/gtest.h>

using namespace bansho;

namespace {

TEST(IniFile, DecodesShiftJisAsCodePage932) {
    // Plain SHIFT_JIS would turn 5C into a yen sign and refuse the NEC row (87 40).
    const std::string file = "[T]\r\n"
                             "a=\x5C\r\n"
                             "b=\x81\x5F\r\n"
                             "c=\x81\x60\r\n"
                             "d=\x87\x40\r\n"
                             "e=\x88\x9F\r\n";
    IniFile ini = IniFile::FromBytes(file);
    struct Row {
        const char* key;
        const char* utf8;
    } rows[] = {
        {"a", "\\"}, {"b", "＼"}, {"c", "～"}, {"d", "①"}, {"e", "亜"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ini.ReadString("T", r.key, "?"), r.utf8) << r.key;
        ini.WriteString("T", r.key, r.utf8); // and the same bytes go back out
    }
    EXPECT_EQ(ini.ToBytes(), file + "\r\n");
}

TEST(IniFile, NamesMatchWithoutRegardToCaseButKeepTheirSpelling) {
    IniFile ini = IniFile::FromBytes("[Option]\r\nTaxRate=8\r\n");
    EXPECT_EQ(ini.ReadString("OPTION", "taxrate", "x"), "8");
    ini.WriteString("OPTION", "TAXRATE", "5");
    EXPECT_EQ(ini.ToBytes(), "[Option]\r\nTaxRate=5\r\n\r\n");
}

TEST(IniFile, FoldsOnlyRealLettersOfShiftJisNames) {
    // "CKEY-：" is 43 4B 45 59 2D 81 46; changing its second byte to 'f' gives another
    // character (81 66), which must not match.
    const IniFile ini = IniFile::FromBytes("[COMMAND]\r\nckey-\x81\x66=5\r\nckey-\x81\x46=7\r\n");
    EXPECT_EQ(ini.ReadInteger("COMMAND", "CKEY-：", -1), 7);
}

TEST(IniFile, ReadsIntegersBooleansAndTexts) {
    const IniFile ini = IniFile::FromBytes("[S]\n"
                                           "dec= -12 \n"
                                           "hex=0x1F\n"
                                           "dollar=$FF00000F\n"
                                           "junk=12abc\n"
                                           "empty=\n"
                                           "yes=2\n"
                                           "no=0\n"
                                           "word=true\n"
                                           "text=  hello world  \n"
                                           "quoted=\" spaced \"\n"
                                           "twice=\"\"x\"\"\n"
                                           "one=\"\n"
                                           "half=\"abc\n"
                                           "eq=a=b\n");
    EXPECT_EQ(ini.ReadInteger("S", "dec", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "dollar", 0), -16777201);
    EXPECT_EQ(ini.ReadInteger("S", "junk", 99), 99);
    EXPECT_EQ(ini.ReadInteger("S", "empty", 99), 99);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 99), 99);
    EXPECT_EQ(ini.ReadInteger("nosection", "dec", 99), 99);
    EXPECT_TRUE(ini.ReadBool("S", "yes", false));
    EXPECT_FALSE(ini.ReadBool("S", "no", true));
    EXPECT_TRUE(ini.ReadBool("S", "word", true)); // unreadable: the default
    EXPECT_FALSE(ini.ReadBool("S", "word", false));
    EXPECT_EQ(ini.ReadString("S", "text", ""), "hello world");
    EXPECT_EQ(ini.ReadString("S", "quoted", ""), " spaced ");
    EXPECT_EQ(ini.ReadString("S", "twice", ""), "\"x\""); // one pair only
    EXPECT_EQ(ini.ReadString("S", "one", ""), "\"");
    EXPECT_EQ(ini.ReadString("S", "half", ""), "\"abc");
    EXPECT_EQ(ini.ReadString("S", "eq", ""), "a=b");
    EXPECT_EQ(ini.ReadString("S", "empty", "def"), "");
}

TEST(IniFile, WrittenTextsReadBackUnchanged) {
    const std::string texts[] = {
        "plain", "",     " lead", "trail ",      "\"quoted\"", "\"a b\",c,\"d e\"",
        "\"",    "\"\"", "\t",    "a \"mid\" b", "全角　",
    };
    for (const auto& t : texts) {
        IniFile ini;
        ini.WriteString("S", "k", t);
        const IniFile back = IniFile::FromBytes(ini.ToBytes());
        EXPECT_EQ(back.ReadString("S", "k", "absent"), t) << "[" << t << "]";
    }
    IniFile ini;
    ini.WriteString("S", "k", "two\r\nlines");
    EXPECT_EQ(ini.ToBytes(), "[S]\r\nk=two  lines\r\n\r\n"); // a line break cannot be kept
}

TEST(IniFile, RawBytesRoundTripWithoutConversion) {
    // Key codes: half-width kana bytes, a lead byte (E2) before a letter, a trailing blank.
    const std::string bytes = "\xBB\xBF\xE2\x41\x30 ";
    IniFile ini;
    ini.WriteBytes("NUMKEY", "UserKEY", bytes);
    const IniFile back = IniFile::FromBytes(ini.ToBytes());
    EXPECT_EQ(back.ReadBytes("NUMKEY", "UserKEY", ""), bytes);
}

TEST(IniFile, RewriteKeepsOrderAppendsNewAndDropsComments) {
    IniFile ini = IniFile::FromBytes("; a comment\r\n"
                                     "[First]\r\n"
                                     "b=1\r\n"
                                     "; inner comment\r\n"
                                     "\r\n\r\n"
                                     "a=2\r\n"
                                     "not a key line\r\n"
                                     "[Unknown]\r\n"
                                     "keep=me\r\n");
    ini.WriteInteger("New2", "x", 1);
    ini.WriteInteger("First", "c", 3);
    ini.WriteInteger("First", "b", 9);
    ini.WriteInteger("New1", "y", 2);
    EXPECT_EQ(ini.ToBytes(), "[First]\r\nb=9\r\na=2\r\nc=3\r\n\r\n"
                             "[Unknown]\r\nkeep=me\r\n\r\n"
                             "[New2]\r\nx=1\r\n\r\n"
                             "[New1]\r\ny=2\r\n\r\n");
}

TEST(IniFile, AcceptsAnyLineEnding) {
    const IniFile ini = IniFile::FromBytes("[S]\na=1\rb=2\r\nc=3");
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), 1);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), 2);
    EXPECT_EQ(ini.ReadInteger("S", "c", 0), 3);
    EXPECT_EQ(ini.KeysOf("S"), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(IniFile, DuplicateSectionsJoinAndTheFirstKeyWins) {
    IniFile ini = IniFile::FromBytes("[A]\nx=1\n[B]\nz=0\n[a]\nx=2\ny=3\n");
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("A", "y", 0), 3);
    EXPECT_EQ(ini.ToBytes(), "[A]\r\nx=1\r\ny=3\r\n\r\n[B]\r\nz=0\r\n\r\n");
}

TEST(IniFile, SectionHeadersWithoutTheClosingBracket) {
    const IniFile ini = IniFile::FromBytes("[OPTION\nTaxRate=8\n[ X ] tail\nk=1\n[a]b]\nm=2\n");
    EXPECT_EQ(ini.ReadString("OPTION", "TaxRate", ""), "8");
    EXPECT_EQ(ini.ReadInteger("X", "k", 0), 1);
    EXPECT_EQ(ini.ReadInteger("a]b", "m", 0), 2);
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"OPTION", "X", "a]b"}));
    // Written back as well-formed headers.
    const IniFile again = IniFile::FromBytes(ini.ToBytes());
    EXPECT_EQ(again.ToBytes(), ini.ToBytes());
    EXPECT_EQ(ini.ToBytes().substr(0, 10), "[OPTION]\r\n");
}

TEST(IniFile, ShiftJisSectionNameWhoseSecondByteIsABracket) {
    // "ゾ" is 83 5D: its second byte is ']' and must not be taken for the closing bracket.
    const IniFile ini = IniFile::FromBytes("[\x83\x5D\nk=1\n");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"ゾ"}));
    EXPECT_EQ(ini.ReadInteger("ゾ", "k", 0), 1);
}

TEST(IniFile, InvalidShiftJisNeverStopsReading) {
    const IniFile ini = IniFile::FromBytes("[S]\nbad=\x81\xFF\x82\nnext=5\n");
    EXPECT_EQ(ini.ReadInteger("S", "next", 0), 5);
    const std::string bad = ini.ReadString("S", "bad", "");
    EXPECT_FALSE(bad.empty());
    // What was lost reads as '?', which is also what a save writes for it.
    EXPECT_EQ(bad.find("\xEF\xBF\xBD"), std::string::npos);
    EXPECT_NE(bad.find('?'), std::string::npos);
}

TEST(IniFile, AnUnchangedTextThatIsNoShiftJisKeepsItsBytes) {
    IniFile ini = IniFile::FromBytes("[S]\r\nbad=\x82\xA0\x9F\r\nquoted= \"8\" \r\n");
    const std::string bad = ini.ReadString("S", "bad", "");
    ini.WriteString("S", "bad", bad);
    ini.WriteString("S", "quoted", ini.ReadString("S", "quoted", ""));
    EXPECT_EQ(ini.ToBytes(), "[S]\r\nbad=\x82\xA0\x9F\r\nquoted= \"8\" \r\n\r\n");
    // Read again, the setting is what it was, not a '?' in place of the lost bytes.
    EXPECT_EQ(IniFile::FromBytes(ini.ToBytes()).ReadString("S", "bad", ""), bad);
    // Changed, it is written in CP932 and reads back as it was written.
    ini.WriteString("S", "bad", bad + "x");
    EXPECT_EQ(IniFile::FromBytes(ini.ToBytes()).ReadString("S", "bad", ""), bad + "x");
    ini.WriteString("S", "bad", "new");
    EXPECT_EQ(IniFile::FromBytes(ini.ToBytes()).ReadString("S", "bad", ""), "new");
}

TEST(IniFile, RandomBytesGiveAFileThatRewritesToItself) {
    std::mt19937 rng(12345);
    for (int round = 0; round < 20; ++round) {
        std::string junk(20000 + round * 997, '\0');
        for (char& c : junk)
            c = static_cast<char>(rng());
        // Sprinkle structure so that sections and keys occur.
        for (std::size_t i = 0; i < junk.size(); i += 50 + rng() % 200) {
            const char* pieces[] = {"\n[", "]\n", "=", "\r\n", "\x81"};
            junk[i] = pieces[rng() % 5][0];
        }
        IniFile ini = IniFile::FromBytes(junk);
        ini.WriteInteger("OPTION", "MoveDot", 8);
        const std::string once = ini.ToBytes();
        IniFile back = IniFile::FromBytes(once);
        EXPECT_EQ(back.ReadInteger("OPTION", "MoveDot", 0), 8) << round;
        EXPECT_EQ(back.ToBytes(), once) << round;
    }
}

TEST(IniFile, AOneMegabyteLineIsJustALongValue) {
    const std::string big(1 << 20, 'x');
    const IniFile ini = IniFile::FromBytes("[S]\r\nbig=" + big + "\r\nafter=1\r\n" + big);
    EXPECT_EQ(ini.ReadString("S", "big", "").size(), big.size());
    EXPECT_EQ(ini.ReadInteger("S", "after", 0), 1);
}

TEST(IniFile, UnicodeFilesAreReadAndWrittenBackAsShiftJis) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* section; // the first section, which a byte-order mark must not hide
        const char* font;    // FONT/Name as read
    } rows[] = {
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBF[OPTION]\r\nMoveDot=3\r\n[FONT]\r\nName=ＭＳ Ｐゴシック\r\n", "OPTION",
         "ＭＳ Ｐゴシック"},
        {"UTF-8 from an ordinary editor", "[OPTION]\nMoveDot=3\n[FONT]\nName=IPAゴシック\n",
         "OPTION", "IPAゴシック"},
        {"a byte-order mark before plain ASCII", "\xEF\xBB\xBF[OPTION]\r\nMoveDot=3\r\n", "OPTION",
         ""},
        {"Shift_JIS stays Shift_JIS",
         "[OPTION]\r\nMoveDot=3\r\n[FONT]\r\nName=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62"
         "\x83\x4E\r\n",
         "OPTION", "ＭＳ Ｐゴシック"},
        {"a byte-order mark before Shift_JIS",
         "\xEF\xBB\xBF[OPTION]\r\nMoveDot=3\r\n[FONT]\r\nName=\x83\x53\x83\x56\x83\x62\x83\x4E\r\n",
         "OPTION", "ゴシック"},
    };
    for (const auto& r : rows) {
        const IniFile ini = IniFile::FromBytes(r.bytes);
        ASSERT_FALSE(ini.SectionNames().empty()) << r.name;
        EXPECT_EQ(ini.SectionNames().front(), r.section) << r.name;
        EXPECT_EQ(ini.ReadInteger("OPTION", "MoveDot", 0), 3) << r.name;
        EXPECT_EQ(ini.ReadString("FONT", "Name", ""), r.font) << r.name;
        // Written back in Shift_JIS, without the mark.
        const std::string out = ini.ToBytes();
        EXPECT_EQ(out.rfind("[OPTION]\r\nMoveDot=3\r\n", 0), 0u) << r.name;
        if (*r.font) {
            EXPECT_NE(out.find("Name=" + sjis::FromUtf8(r.font) + "\r\n"), std::string::npos)
                << r.name;
        }
    }
}

TEST(IniFile, ShiftJisThatLooksLikeUtf8ReadsBackAsWritten) {
    // "ﾃｩ" in Shift_JIS is the bytes of "é" in UTF-8; a bare file of them would be misread.
    const IniFile ini = IniFile::FromBytes("; \x82\xA0\r\n[FONT]\r\nName=\xC3\xA9\r\n");
    EXPECT_EQ(ini.ReadString("FONT", "Name", ""), "ﾃｩ");
    const std::string out = ini.ToBytes();
    EXPECT_EQ(out.rfind(IniFile::kShiftJisMarker, 0), 0u);
    EXPECT_EQ(IniFile::FromBytes(out).ReadString("FONT", "Name", ""), "ﾃｩ");
    EXPECT_EQ(IniFile::FromBytes(out).ToBytes(), out);
    // A file with ordinary Shift_JIS needs no marker.
    EXPECT_EQ(IniFile::FromBytes("[FONT]\r\nName=\x83\x53\r\n").ToBytes(),
              "[FONT]\r\nName=\x83\x53\r\n\r\n");
}

} // namespace
