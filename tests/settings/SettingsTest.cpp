#include "Settings.h"
#include "StartedProgram.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "CommaText.h"
#include "Sjis.h"

using namespace bansho;
using bansho::testing::Program;

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder for each test.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "bansho-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        file = (dir / "bansho.ENV").string();
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir, ec);
    }
    std::vector<std::string> FilesInDir() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename());
        return names;
    }
    fs::path dir;
    std::string file;
};

TEST(SettingsDefaults, FileDefaultsOfTheOptionRecord) {
    const TOption o = FileDefaultOptions();
    const WindowOptions w = FileDefaultWindowOptions();
    EXPECT_EQ(o.HistSet, 2);
    EXPECT_EQ(o.Acount, 0);
    EXPECT_TRUE(o.CalcMem);
    EXPECT_TRUE(w.StayHist);
    EXPECT_EQ(w.MoveDot, 8);
    EXPECT_EQ(w.FuncType, 12);
    EXPECT_EQ(o.TaxRate, "10");
    EXPECT_EQ(o.TaxRate2, "8");
    EXPECT_TRUE(w.Cycle);
    EXPECT_TRUE(w.Hint);
    EXPECT_FALSE(w.Upper);
    EXPECT_FALSE(w.SmallFont);
    EXPECT_FALSE(w.Margin);
    EXPECT_EQ(w.AlphaBlendType, 1);
    EXPECT_EQ(w.AlphaBlendValue, 180);
    EXPECT_EQ(o.UserKEY, kFactoryUserKEY);
    EXPECT_EQ(o.UserTCH, "mjkluio789.,;0p-/");
}

TEST_F(SettingsFile, MissingFileGivesEveryDefault) {
    Program p;
    p.window.Left = 455;
    EXPECT_FALSE(p.Load(file));
    EXPECT_EQ(p.window.Left, 455);
    EXPECT_EQ(p.window.Top, 119);
    EXPECT_EQ(p.window.Width, 600);
    EXPECT_EQ(p.window.Height, 140);
    EXPECT_EQ(p.window.Style, kStyleNormal);
    EXPECT_TRUE(p.window.StatusBar);
    EXPECT_FALSE(p.window.FHeight.has_value());
    EXPECT_FALSE(p.window.SHeight.has_value());
    EXPECT_EQ(p.window.FontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(p.window.FontStyle, 0);
    EXPECT_FALSE(p.status.KeyCUST);
    EXPECT_TRUE(p.history.Visible);
    EXPECT_EQ(p.history.Height, 256);
    EXPECT_FALSE(p.status.UseNumKey);
    EXPECT_EQ(p.option.TaxRate, "10");
    EXPECT_EQ(p.option.HistSet, 2);
    EXPECT_EQ(p.colors.Error, 255);
    EXPECT_EQ(p.colors.MPanel, clBtnFace);
    EXPECT_EQ(p.keys.KeyTable[27], 254);
    EXPECT_EQ(p.keys.FuncCommand[0], FactoryFuncCommand()[0]);
}

TEST_F(SettingsFile, AnExistingFileWithoutKeyCustMeansCustomized) {
    WriteAll(file, "");
    Program p;
    EXPECT_TRUE(p.Load(file));
    EXPECT_TRUE(p.status.KeyCUST);
}

TEST(Settings, FirstSaveWritesSectionsAndKeysInOrder) {
    Program p;
    p.LoadText("", false);
    const IniFile ini = p.SaveToMemory();
    using V = std::vector<std::string>;
    EXPECT_EQ(ini.SectionNames(),
              (V{"BANSHO", "COMMAND", "FUNCTION", "HISTWIN", "OPTION", "NUMKEY", "FONT", "COLOR"}));
    EXPECT_EQ(ini.KeysOf("BANSHO"), (V{"Left", "Top", "Width", "Height"}));
    EXPECT_EQ(ini.KeysOf("FUNCTION"), (V{"FuncType", "DispStrA", "DispStrB", "DispStrC", "CommandA",
                                         "CommandB", "CommandC"}));
    EXPECT_EQ(ini.KeysOf("HISTWIN"), (V{"HForm", "Cycle", "Upper", "Height"}));
    EXPECT_EQ(ini.KeysOf("OPTION"),
              (V{"Style", "StatusBar", "StayHist", "CalcMem", "SmallFont", "Margin", "Hint",
                 "Acount", "HistSet", "MoveDot", "TaxRate", "AlphaBlendType", "AlphaBlendValue"}));
    EXPECT_EQ(ini.KeysOf("NUMKEY"), (V{"UseNumKey", "UserKEY", "UserTCH"}));
    EXPECT_EQ(ini.KeysOf("FONT"), (V{"Name", "Style"}));
    EXPECT_EQ(ini.KeysOf("COLOR"), (V{"MPanel", "HPanel", "Number", "Error", "HNumber"}));

    const V command = ini.KeysOf("COMMAND");
    ASSERT_EQ(command.size(), 44u); // KeyCUST and the 43 keys with a factory command
    EXPECT_EQ(command.front(), "KeyCUST");
    EXPECT_EQ(command[1], "BACK");
    EXPECT_EQ(command.back(), "CKEY-／");
    for (const char* absent : {"LEFT", "UP", "CKEY_A", "CKEY_Z", "CKEY-：", "CKEY-[", "CKEY-￥"})
        EXPECT_FALSE(ini.ValueExists("COMMAND", absent)) << absent;
    EXPECT_EQ(ini.ReadString("COMMAND", "KeyCUST", ""), "0");

    const std::string bytes = ini.ToBytes();
    EXPECT_EQ(bytes.rfind("[BANSHO]\r\nLeft=455\r\nTop=119\r\nWidth=600\r\nHeight=140\r\n\r\n"
                          "[COMMAND]\r\nKeyCUST=0\r\nBACK=35\r\nRETURN=21\r\nESCAPE=254\r\n",
                          0),
              0u);
    EXPECT_NE(bytes.find("\r\nMPanel=-16777201\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nESCAPE=254\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nName=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\r\n"),
              std::string::npos); // "ＭＳ Ｐゴシック" in Shift_JIS
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
    // The NUM keys go out as the raw key codes.
    EXPECT_NE(bytes.find("\r\nUserKEY=MJKLUIO789\xBE\xBC\xBB\x30P\xBD\xBF\r\n"), std::string::npos);
}

TEST(Settings, EverySettingSurvivesASaveAndALoad) {
    Program a;
    a.window = {12, 34, 777, 150, kStyleStayOnTop, false, 40, 30, "IPAPGothic", 5};
    a.status.KeyCUST = true;
    a.history.Visible = false;
    a.history.Height = 300;
    a.status.UseNumKey = true;
    a.keys.KeyTable[13] = 24;
    a.keys.KeyTable[65] = 17; // a letter that had no command
    a.keys.FuncDispStr[1] = "x,y";
    a.keys.FuncCommand[2] = "1,2,3";
    a.winOptions.FuncType = 10;
    a.winOptions.Cycle = false;
    a.winOptions.Upper = true;
    a.winOptions.StayHist = false;
    a.option.CalcMem = false;
    a.winOptions.Hint = false;
    a.option.HistSet = 1;
    a.option.Acount = 1;
    a.winOptions.MoveDot = 20;
    a.winOptions.SmallFont = true;
    a.winOptions.Margin = true;
    a.option.TaxRate = "8";
    a.option.TaxRate2 = "6.5";
    a.winOptions.AlphaBlendType = 2;
    a.winOptions.AlphaBlendValue = 99;
    a.option.UserKEY = "QWERTYUIOPASDFGHJ";
    a.option.UserTCH = "qwertyuiopasdfghj";
    a.colors = {0x123456, 0x010203, 0x0000FE, 0x00FF00, static_cast<ColorValue>(0xFF000005)};
    const std::string bytes = a.SaveToMemory().ToBytes();

    Program b;
    b.LoadText(bytes);
    EXPECT_EQ(b.window.Left, 12);
    EXPECT_EQ(b.window.Top, 34);
    EXPECT_EQ(b.window.Width, 777);
    EXPECT_EQ(b.window.Height, 150);
    EXPECT_EQ(b.window.Style, kStyleStayOnTop);
    EXPECT_FALSE(b.window.StatusBar);
    EXPECT_FALSE(b.window.FHeight.has_value()); // never written
    EXPECT_EQ(b.window.FontName, "IPAPGothic");
    EXPECT_EQ(b.window.FontStyle, 5);
    EXPECT_TRUE(b.status.KeyCUST);
    EXPECT_FALSE(b.history.Visible);
    EXPECT_EQ(b.history.Height, 300);
    EXPECT_TRUE(b.status.UseNumKey);
    EXPECT_EQ(b.keys.KeyTable, a.keys.KeyTable);
    EXPECT_EQ(SplitCommaText(b.keys.FuncDispStr[1]).size(), 12u);
    EXPECT_EQ(FuncSetKeys(b.keys, 1)[1].Caption, "y");
    EXPECT_EQ(FuncSetKeys(b.keys, 2)[2].Command, 3);
    EXPECT_EQ(FuncSetKeys(b.keys, 2)[3].Command, 255);
    EXPECT_EQ(b.winOptions.FuncType, 10);
    EXPECT_FALSE(b.winOptions.Cycle);
    EXPECT_TRUE(b.winOptions.Upper);
    EXPECT_FALSE(b.winOptions.StayHist);
    EXPECT_FALSE(b.option.CalcMem);
    EXPECT_FALSE(b.winOptions.Hint);
    EXPECT_EQ(b.option.HistSet, 1);
    EXPECT_EQ(b.option.Acount, 1);
    EXPECT_EQ(b.winOptions.MoveDot, 20);
    EXPECT_TRUE(b.winOptions.SmallFont);
    EXPECT_TRUE(b.winOptions.Margin);
    EXPECT_EQ(b.option.TaxRate, "8");
    EXPECT_EQ(b.option.TaxRate2, "6.5");
    EXPECT_EQ(b.winOptions.AlphaBlendType, 2);
    EXPECT_EQ(b.winOptions.AlphaBlendValue, 99);
    EXPECT_EQ(b.option.UserKEY, "QWERTYUIOPASDFGHJ");
    EXPECT_EQ(b.option.UserTCH, "qwertyuiopasdfghj");
    EXPECT_EQ(b.colors.MPanel, 0x123456);
    EXPECT_EQ(b.colors.Number, 0x010203);
    EXPECT_EQ(b.colors.Error, 0x0000FE);
    EXPECT_EQ(b.colors.HPanel, 0x00FF00);
    EXPECT_EQ(b.colors.HNumber, static_cast<ColorValue>(0xFF000005));
}

TEST(Settings, ReadsTheWindowPanelHeightsButNeverWritesThem) {
    Program p;
    p.LoadText("[option]\r\nfheight=33\r\nSHeight=$18\r\n");
    EXPECT_EQ(p.window.FHeight, 33);
    EXPECT_EQ(p.window.SHeight, 24);
    const IniFile ini = p.SaveToMemory("[option]\r\nfheight=33\r\n");
    EXPECT_EQ(ini.ReadInteger("OPTION", "FHeight", 0), 33); // the old line stays
    EXPECT_FALSE(ini.ValueExists("OPTION", "SHeight"));
}

TEST(Settings, ANegativeKeyCommandDoesNothingAndItsLineStays) {
    const std::string file = "[COMMAND]\r\nESCAPE=-1\r\nRETURN=300\r\nCKEY_A=$11\r\n";
    Program p;
    p.LoadText(file);
    EXPECT_EQ(p.keys.KeyTable[27], 255);
    EXPECT_EQ(p.keys.KeyTable[13], 255);
    EXPECT_EQ(p.keys.KeyTable['A'], 17);
    const IniFile ini = p.SaveToMemory(file);
    EXPECT_EQ(ini.ReadString("COMMAND", "ESCAPE", ""), "-1");
    EXPECT_EQ(ini.ReadString("COMMAND", "RETURN", ""), "300");
    EXPECT_EQ(ini.ReadString("COMMAND", "CKEY_A", ""), "17");
}

TEST(Settings, AnUnassignedKeyStaysUnassignedAfterARestart) {
    // Whatever the file held for a key, a key the user left without a command does nothing
    // at the next start; 255 is written only where that start would give it a command.
    struct Row {
        const char* name;
        const char* file;  // the file as it was before the run
        int code;          // the key the user un-assigns
        const char* after; // its line after the save ("" = no line)
    } rows[] = {
        {"a factory command, no line", "", 'C', "255"},
        {"a line with a command", "[COMMAND]\r\nHOME=5\r\n", 36, "255"},
        {"a line that is no number (factory command)", "[COMMAND]\r\nCKEY_C=abc\r\n", 'C', "255"},
        {"a line that already does nothing", "[COMMAND]\r\nESCAPE=-1\r\n", 27, "-1"},
        {"a line of 300 does nothing", "[COMMAND]\r\nRETURN=300\r\n", 13, "300"},
        {"no factory command, no line", "", 'A', ""},
        {"no factory command, a line with a command", "[COMMAND]\r\nCKEY_A=7\r\n", 'A', "255"},
        {"a numpad digit", "", 96, "255"},
    };
    for (const auto& r : rows) {
        Program p;
        p.LoadText(r.file, true);
        p.keys.KeyTable[static_cast<std::size_t>(r.code)] = 255;
        const IniFile ini = p.SaveToMemory(r.file);
        const std::string& name = KeyNames()[static_cast<std::size_t>(r.code)];
        EXPECT_EQ(ini.ReadString("COMMAND", name, ""), r.after) << r.name;
        Program q;
        q.LoadText(ini.ToBytes());
        EXPECT_EQ(q.keys.KeyTable[static_cast<std::size_t>(r.code)], 255) << r.name;
        EXPECT_EQ(q.keys.KeyTable, p.keys.KeyTable) << r.name; // every other key as it was
    }
}

TEST(Settings, FunctionKeySlotsWithoutACommandStayEmptyAfterARestart) {
    Program p;
    p.LoadText("", false);
    for (int set = 0; set < kFuncSetCount; ++set) {
        auto items = SplitCommaText(p.keys.FuncCommand[static_cast<std::size_t>(set)]);
        items[static_cast<std::size_t>(set * 4 + 1)] = "255";
        p.keys.FuncCommand[static_cast<std::size_t>(set)] = JoinCommaText(items);
    }
    Program q;
    q.LoadText(p.SaveToMemory().ToBytes());
    for (int set = 0; set < kFuncSetCount; ++set) {
        EXPECT_EQ(q.keys.FuncCommand[static_cast<std::size_t>(set)],
                  p.keys.FuncCommand[static_cast<std::size_t>(set)]);
        EXPECT_EQ(SplitCommaText(q.keys.FuncCommand[static_cast<std::size_t>(set)])[set * 4 + 1],
                  "255");
    }
}

TEST(Settings, FactoryAssignmentsSaveNoKeyWithoutACommand) {
    // Files written before read the same, and a factory save lists no 255 at all.
    Program p;
    p.LoadText("", false);
    const IniFile ini = p.SaveToMemory();
    for (const std::string& key : ini.KeysOf("COMMAND"))
        EXPECT_NE(ini.ReadInteger("COMMAND", key, 0), 255) << key;
    const std::string bytes = ini.ToBytes();
    Program q;
    q.LoadText(bytes);
    EXPECT_EQ(q.SaveToMemory(bytes).ToBytes(), bytes);
}

TEST(Settings, OutOfRangeOptionsFallBack) {
    struct Row {
        const char* name;
        const char* file;
        int histSet, acount, alphaType, funcType, style;
    } rows[] = {
        {"HistSet keeps eight bits", "[OPTION]\nHistSet=258\n", 2, 0, 1, 12, 0},
        {"HistSet 1 stays", "[OPTION]\nHistSet=257\n", 1, 0, 1, 12, 0},
        {"HistSet 3 is no mode", "[OPTION]\nHistSet=3\n", 2, 0, 1, 12, 0},
        {"HistSet -1 is 255, no mode", "[OPTION]\nHistSet=-1\n", 2, 0, 1, 12, 0},
        {"Acount 2", "[OPTION]\nAcount=2\n", 2, 0, 1, 12, 0},
        {"Acount 257 is 1", "[OPTION]\nAcount=257\n", 2, 1, 1, 12, 0},
        {"AlphaBlendType 3", "[OPTION]\nAlphaBlendType=3\n", 2, 0, 1, 12, 0},
        {"AlphaBlendType 0 stays", "[OPTION]\nAlphaBlendType=0\n", 2, 0, 0, 12, 0},
        {"FuncType 9", "[FUNCTION]\nFuncType=9\n", 2, 0, 1, 12, 0},
        {"FuncType 8 stays", "[FUNCTION]\nFuncType=8\n", 2, 0, 1, 8, 0},
        {"Style 1", "[OPTION]\nStyle=1\n", 2, 0, 1, 12, 0},
        {"Style 3 stays", "[OPTION]\nStyle=3\n", 2, 0, 1, 12, 3},
        {"unreadable HistSet", "[OPTION]\nHistSet=two\n", 2, 0, 1, 12, 0},
    };
    for (const auto& r : rows) {
        Program p;
        p.LoadText(r.file);
        EXPECT_EQ(p.option.HistSet, r.histSet) << r.name;
        EXPECT_EQ(p.option.Acount, r.acount) << r.name;
        EXPECT_EQ(p.winOptions.AlphaBlendType, r.alphaType) << r.name;
        EXPECT_EQ(p.winOptions.FuncType, r.funcType) << r.name;
        EXPECT_EQ(p.window.Style, r.style) << r.name;
    }
}

TEST(Settings, CaptionsWithBlanksCommasAndQuotesComeBackWhole) {
    Program a;
    a.LoadText("", false);
    auto items = SplitCommaText(a.keys.FuncDispStr[0]);
    items[0] = "Ａ ↓"; // a blank: the value would begin with a quote
    items[5] = "x,y";
    items[11] = "say \"hi\""; // and end with one
    a.keys.FuncDispStr[0] = JoinCommaText(items);
    const std::string bytes = a.SaveToMemory().ToBytes();

    Program b;
    b.LoadText(bytes);
    EXPECT_EQ(SplitCommaText(b.keys.FuncDispStr[0]), items);
    const auto keys = FuncSetKeys(b.keys, 0);
    EXPECT_EQ(keys[0].Caption, "Ａ ↓");
    EXPECT_EQ(keys[1].Caption, "ＡＣ"); // nothing shifted
    EXPECT_EQ(keys[5].Caption, "x,y");
    EXPECT_EQ(keys[11].Caption, "say \"hi\"");
}

TEST(Settings, ListsWrittenWithoutQuotesStayReadable) {
    // Files of the kind written before captions kept their quotes: a blank splits.
    Program p;
    p.LoadText(sjis::FromUtf8("[FUNCTION]\r\nDispStrA=Ａ↓,a b,Ｃ\r\nCommandA=50,24,\r\n"));
    const auto keys = FuncSetKeys(p.keys, 0);
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_EQ(keys[1].Caption, "a");
    EXPECT_EQ(keys[2].Caption, "b");
    EXPECT_EQ(keys[3].Caption, "Ｃ");
    EXPECT_EQ(keys[4].Caption, "****");
    EXPECT_EQ(keys[1].Command, 24);
    EXPECT_EQ(keys[2].Command, 255);
}

TEST(Settings, UnknownSectionsAndKeysSurviveAndCommentsDoNot) {
    const std::string old = "[Mine]\r\n; note to self\r\nfoo=bar\r\n[OPTION]\r\nExtra=1\r\n";
    Program p;
    p.LoadText(old);
    const IniFile ini = p.SaveToMemory(old);
    const std::string bytes = ini.ToBytes();
    EXPECT_EQ(ini.SectionNames().front(), "Mine");
    EXPECT_EQ(ini.ReadString("Mine", "foo", ""), "bar");
    EXPECT_EQ(ini.KeysOf("OPTION").front(), "Extra");
    EXPECT_EQ(bytes.find("note to self"), std::string::npos);
}

TEST(Settings, NumKeyStringsKeepTheirBytes) {
    Program a;
    a.option.UserKEY = std::string("\xBB\xBF\xE2\x41 ", 5); // ends in the Space key's code
    a.option.UserTCH = "mjkluio789.,;0p- ";
    Program b;
    b.LoadText(a.SaveToMemory().ToBytes());
    EXPECT_EQ(b.option.UserKEY, a.option.UserKEY);
    EXPECT_EQ(b.option.UserTCH, a.option.UserTCH);
}

TEST(Settings, ColoursInHexadecimalAreRead) {
    Program p;
    p.LoadText("[COLOR]\r\nMPanel=$FF00000F\r\nNumber=0xFF\r\nError=junk\r\n");
    EXPECT_EQ(p.colors.MPanel, clBtnFace);
    EXPECT_EQ(p.colors.Number, 255);
    EXPECT_EQ(p.colors.Error, clRed);
}

// --- Bad files ----------------------------------------------------------------------------

TEST_F(SettingsFile, BadFilesGiveDefaultsAndASaveWritesAWellFormedFile) {
    std::mt19937 rng(7);
    std::string random(64 * 1024, '\0');
    for (char& c : random)
        c = static_cast<char>(rng());
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"random bytes", random},
        {"invalid Shift_JIS", "[OPTION]\r\nTaxRate=\x81\xFF\x82\r\nMoveDot=\x85\x40\r\n"
                              "[FONT]\r\nName=\xFD\xFE\r\n"},
        {"a 1 MB line", "[OPTION]\r\nMoveDot=3\r\n" + std::string(1 << 20, 'Z') + "\r\nHint=0\r\n"},
        {"duplicate sections", "[OPTION]\r\nMoveDot=3\r\n[COLOR]\r\nError=1\r\n[option]\r\n"
                               "MoveDot=4\r\nHint=0\r\n"},
        {"missing ]", "[OPTION\r\nMoveDot=3\r\nHint=0\r\n"},
        {"nothing but NULs", std::string(5000, '\0')},
    };
    for (const auto& f : files) {
        WriteAll(file, f.bytes);
        Program p;
        EXPECT_TRUE(p.Load(file)) << f.name;
        EXPECT_GE(FuncSetKeys(p.keys, 0).size(), 12u) << f.name;
        const SaveResult r = SaveSettings(file, p.Refs());
        ASSERT_TRUE(r.Ok) << f.name << ": " << r.Error;

        // Well formed: reading it back gives what was saved, and saving again changes nothing.
        const std::string saved = ReadAll(file);
        Program q;
        q.Load(file);
        EXPECT_EQ(q.winOptions.MoveDot, p.winOptions.MoveDot) << f.name;
        EXPECT_EQ(q.winOptions.Hint, p.winOptions.Hint) << f.name;
        EXPECT_EQ(q.keys.KeyTable, p.keys.KeyTable) << f.name;
        ASSERT_TRUE(SaveSettings(file, q.Refs()).Ok);
        EXPECT_EQ(ReadAll(file), saved) << f.name;
    }
}

TEST(Settings, WhatTheBadFilesStillSay) {
    {
        Program p;
        p.LoadText("[OPTION]\r\nTaxRate=\x81\xFF\r\nMoveDot=\x85\x40\r\n");
        EXPECT_EQ(p.winOptions.MoveDot, 8);    // unreadable: the default
        EXPECT_EQ(p.option.TaxRate, "??"); // what a save would write for the lost bytes
    }
    {
        Program p;
        p.LoadText("[OPTION]\r\nMoveDot=3\r\n[option]\r\nMoveDot=4\r\nHint=0\r\n");
        EXPECT_EQ(p.winOptions.MoveDot, 3);
        EXPECT_FALSE(p.winOptions.Hint);
    }
    {
        Program p;
        p.LoadText("[OPTION\r\nMoveDot=3\r\n");
        EXPECT_EQ(p.winOptions.MoveDot, 3);
    }
}

// --- Saving safely --------------------------------------------------------------------------

TEST_F(SettingsFile, SaveReplacesTheFileAndLeavesNoTemporaryBehind) {
    WriteAll(file, "[Mine]\r\nfoo=bar\r\n");
    ::chmod(file.c_str(), 0640);
    Program p;
    p.Load(file);
    const SaveResult r = SaveSettings(file, p.Refs());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"bansho.ENV"});
    EXPECT_EQ(ReadAll(file).substr(0, 19), "[Mine]\r\nfoo=bar\r\n\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u); // the old file's permissions stay
}

TEST_F(SettingsFile, AFullDiskLeavesTheOldFileWhole) {
    const std::string old = "[OPTION]\r\nMoveDot=3\r\n";
    WriteAll(file, old);
    Program p;
    p.Load(file);

    // Writes beyond 100 bytes fail as they would on a full disk.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const SaveResult r = SaveSettings(file, p.Refs());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find(file), std::string::npos) << r.Error; // names the file
    EXPECT_NE(r.Error.find("を作成できません"), std::string::npos) << r.Error;
    EXPECT_EQ(ReadAll(file), old);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"bansho.ENV"});

    // Closing can be tried again, and then it works.
    EXPECT_TRUE(SaveSettings(file, p.Refs()).Ok);
    EXPECT_NE(ReadAll(file), old);
}

TEST_F(SettingsFile, AFolderThatCannotBeWrittenIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    const std::string old = "[OPTION]\r\nMoveDot=3\r\n";
    WriteAll(file, old);
    ::chmod(dir.c_str(), 0555);
    Program p;
    const SaveResult r = SaveSettings(file, p.Refs());
    ::chmod(dir.c_str(), 0755);
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find(file), std::string::npos);
    EXPECT_EQ(ReadAll(file), old);
}

TEST_F(SettingsFile, ATargetThatIsAFolderIsReportedNotThrown) {
    fs::create_directory(file);
    Program p;
    const SaveResult r = SaveSettings(file, p.Refs());
    EXPECT_FALSE(r.Ok);
    EXPECT_NE(r.Error.find("bansho.ENV"), std::string::npos);
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"bansho.ENV"}); // no temporary left
}

TEST_F(SettingsFile, SavingThroughASymbolicLinkKeepsTheLink) {
    const fs::path real = dir / "real.ENV";
    WriteAll(real, "[Mine]\r\nfoo=bar\r\n");
    fs::create_symlink("real.ENV", file);
    Program p;
    ASSERT_TRUE(SaveSettings(file, p.Refs()).Ok);
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_NE(ReadAll(real).find("[BANSHO]"), std::string::npos);
}

TEST_F(SettingsFile, MissingFoldersAreCreatedAndDeletingTwiceIsFine) {
    const std::string nested = (dir / "cfg" / "bansho" / "bansho.ENV").string();
    Program p;
    ASSERT_TRUE(SaveSettings(nested, p.Refs()).Ok);
    EXPECT_TRUE(fs::exists(nested));
    EXPECT_TRUE(DeleteSettingsFile(nested).Ok);
    EXPECT_FALSE(fs::exists(nested));
    EXPECT_TRUE(DeleteSettingsFile(nested).Ok);
}

// --- Where the file lives -------------------------------------------------------------------

TEST(EnvFile, NamedAfterTheExecutable) {
    struct Row {
        const char* exe;
        const char* want;
    } rows[] = {
        {"/usr/local/bin/bansho", "/usr/local/bin/bansho.ENV"},
        {"/opt/app/bansho.exe", "/opt/app/bansho.ENV"},
        {"/opt/v1.2/bansho", "/opt/v1.2/bansho.ENV"},
        {"/home/u/.bansho", "/home/u/.bansho.ENV"},
        {"bansho", "bansho.ENV"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(EnvFileNameBeside(r.exe), r.want) << r.exe;
}

TEST(EnvFile, FallsBackToTheUserConfigFolderWhenTheExecutablesCannotBeWritten) {
    struct Row {
        const char* name;
        bool writable;
        const char* xdg;
        const char* home;
        const char* want;
    } rows[] = {
        {"beside when writable", true, "/x", "/home/u", "/usr/bin/bansho.ENV"},
        {"XDG_CONFIG_HOME", false, "/x/cfg", "/home/u", "/x/cfg/bansho/bansho.ENV"},
        {"XDG with a trailing slash", false, "/x/cfg/", "/home/u", "/x/cfg/bansho/bansho.ENV"},
        {"unset XDG gives ~/.config", false, "", "/home/u", "/home/u/.config/bansho/bansho.ENV"},
        {"relative XDG is ignored", false, "cfg", "/home/u", "/home/u/.config/bansho/bansho.ENV"},
        {"no home at all", false, "", "", "/usr/bin/bansho.ENV"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(EnvFileNameFor("/usr/bin/bansho", r.writable, r.xdg, r.home), r.want) << r.name;
}

TEST(EnvFile, TheRunningProgramsFileFollowsItsFolder) {
    const fs::path exe = fs::read_symlink("/proc/self/exe");
    if (::access(exe.parent_path().c_str(), W_OK) == 0) {
        EXPECT_EQ(EnvFileName(), exe.string() + ".ENV");
    } else {
        // Installed where the user cannot write: the file moves to the user's config folder.
        const std::string name = EnvFileName();
        EXPECT_NE(name.find("/bansho/" + exe.filename().string() + ".ENV"), std::string::npos)
            << name;
        EXPECT_NE(name.rfind(exe.parent_path().string(), 0), 0u) << name;
    }
}

// --- The real file on disk under faults ----------------------------------------------------

// A device to link to. As root, a node of its own inside the test's folder, so that a fault
// in the code under test can never replace or change the system's device; otherwise the
// system's, which an ordinary user cannot replace.
std::string DeviceIn(const fs::path& dir, const char* name, unsigned minor) {
    if (::geteuid() != 0) return std::string("/dev/") + name;
    const fs::path node = dir / name;
    EXPECT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, minor)), 0) << node;
    return node.string();
}

struct stat StatOf(const std::string& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
    return st;
}

TEST_F(SettingsFile, WhatCannotBeReadStartsWithDefaultsAndIsNeverWrittenOver) {
    // Each case puts something in the file's place that cannot be read as a settings file.
    const struct {
        const char* name;
        std::function<void()> make;
        bool needsNonRoot; // access rights stop only an ordinary user
    } cases[] = {
        {"mode 000",
         [&] {
             WriteAll(file, "[OPTION]\r\nMoveDot=3\r\n");
             ::chmod(file.c_str(), 0);
         },
         true},
        {"a folder", [&] { fs::create_directory(file); }, false},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }, false},
        {"a link to /dev/zero", [&] { fs::create_symlink(DeviceIn(dir, "zero", 5), file); }, false},
        {"a link to a folder", [&] { fs::create_symlink(dir, file); }, false},
        {"larger than 16 MiB",
         [&] {
             WriteAll(file, "[OPTION]\r\nMoveDot=3\r\n");
             ASSERT_EQ(::truncate(file.c_str(), (16 << 20) + 1), 0);
         },
         false},
    };
    for (const auto& c : cases) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir))
            fs::remove_all(e.path(), ec); // remove_all does not follow links
        c.make();
        if (c.needsNonRoot && ::geteuid() == 0) {
            // Root reads anything; what stays true is that the file is not replaced.
            Program p;
            p.Load(file);
            const std::string before = ReadAll(file);
            const SaveResult r = SaveSettings(file, p.Refs());
            EXPECT_TRUE(r.Ok && r.Frozen) << c.name;
            EXPECT_EQ(ReadAll(file), before) << c.name;
            continue;
        }
        const struct stat before = StatOf(file);
        Program p;
        IniFile::LoadResult read;
        const auto start = std::chrono::steady_clock::now();
        LoadSettings(file, p.Refs(), &read);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << c.name;
        EXPECT_EQ(read.Status, IniFile::LoadStatus::Unreadable) << c.name;
        EXPECT_EQ(p.winOptions.MoveDot, 8) << c.name; // defaults
        EXPECT_FALSE(UnreadableMessage(file, read).empty());
        EXPECT_NE(UnreadableMessage(file, read).find(file), std::string::npos) << c.name;

        // Refused with the error box, or (mode 000 is also write-protected) left frozen.
        const SaveResult r = SaveSettings(file, p.Refs());
        EXPECT_TRUE(!r.Ok || r.Frozen) << c.name;
        if (!r.Ok) {
            EXPECT_NE(r.Error.find(file), std::string::npos) << c.name << ": " << r.Error;
        }
        const struct stat after = StatOf(file);
        EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
        EXPECT_EQ(after.st_size, before.st_size) << c.name;
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().filename().string().find("bansho.ENV."), std::string::npos)
                << c.name << ": a temporary was left";
        if (!fs::is_symlink(file)) ::chmod(file.c_str(), 0644); // never through a link
    }
}

TEST_F(SettingsFile, SavingThroughALinkKeepsTheTargetsOwnerGroupAndMode) {
    const fs::path other = dir / "elsewhere";
    fs::create_directory(other);
    const fs::path real = other / "preset.ENV";
    WriteAll(real, "[Mine]\r\nfoo=bar\r\n");
    ::chmod(real.c_str(), 0664);
    const bool root = ::geteuid() == 0;
    const uid_t uid = root ? 65534 : ::geteuid(); // nobody
    const gid_t gid = root ? 65534 : ::getegid();
    if (root) {
        ASSERT_EQ(::chown(real.c_str(), uid, gid), 0);
    }
    fs::create_symlink(real, file);

    Program p;
    p.winOptions.MoveDot = 42;
    const SaveResult r = SaveSettings(file, p.Refs());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(fs::is_symlink(file));
    const struct stat st = StatOf(real.string());
    EXPECT_EQ(st.st_uid, uid);
    EXPECT_EQ(st.st_gid, gid);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_NE(ReadAll(real).find("MoveDot=42"), std::string::npos);
    EXPECT_EQ(ReadAll(real).rfind("[Mine]\r\nfoo=bar\r\n", 0), 0u);
    EXPECT_EQ(fs::directory_iterator(other) != fs::directory_iterator(), true);
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(other))
        ++n;
    EXPECT_EQ(n, 1u); // no temporary left
}

TEST_F(SettingsFile, ALinkThatLeadsNowhereYetGetsItsFile) {
    fs::create_directory(dir / "cfg");
    fs::create_symlink("cfg/real.ENV", file);
    Program p;
    const SaveResult r = SaveSettings(file, p.Refs());
    ASSERT_TRUE(r.Ok) << r.Error;
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_NE(ReadAll(dir / "cfg" / "real.ENV").find("[BANSHO]"), std::string::npos);
}

TEST_F(SettingsFile, ANonRegularFileIsNeverWritten) {
    const struct {
        const char* name;
        std::function<void()> make;
    } cases[] = {
        {"a link to /dev/null", [&] { fs::create_symlink(DeviceIn(dir, "null", 3), file); }},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0); }},
        {"a link to a FIFO",
         [&] {
             ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
             fs::create_symlink("fifo", file);
         }},
    };
    for (const auto& c : cases) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(dir))
            fs::remove_all(e.path(), ec);
        c.make();
        const SaveResult r = WriteFileAtomically(file, "[X]\r\n");
        EXPECT_FALSE(r.Ok) << c.name;
        EXPECT_NE(r.Error.find("通常のファイルではありません"), std::string::npos) << r.Error;
        EXPECT_EQ(fs::symlink_status(file).type() == fs::file_type::symlink ||
                      fs::status(file).type() == fs::file_type::fifo,
                  true)
            << c.name;
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string n = e.path().filename();
            EXPECT_EQ(n.find("bansho.ENV."), std::string::npos) << c.name << ": " << n;
        }
    }
}

TEST_F(SettingsFile, AWriteProtectedFileIsFrozenEvenForRoot) {
    for (const mode_t mode : {0444, 0400, 0000, 0555}) {
        const std::string old = "[OPTION]\r\nMoveDot=3\r\n";
        ::chmod(file.c_str(), 0644);
        WriteAll(file, old);
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        Program p;
        p.winOptions.MoveDot = 50;
        const SaveResult r = SaveSettings(file, p.Refs());
        EXPECT_TRUE(r.Ok) << std::oct << mode << ": " << r.Error;
        EXPECT_TRUE(r.Frozen) << std::oct << mode;
        ::chmod(file.c_str(), 0644);
        EXPECT_EQ(ReadAll(file), old) << std::oct << mode;
        ::chmod(file.c_str(), mode);
        EXPECT_TRUE(DeleteSettingsFile(file).Ok);
        EXPECT_TRUE(fs::exists(file)) << "the factory reset leaves a frozen file too";
    }
    ::chmod(file.c_str(), 0644);
    // One write bit is enough to save.
    ::chmod(file.c_str(), 0604);
    Program p;
    const SaveResult r = SaveSettings(file, p.Refs());
    EXPECT_TRUE(r.Ok && !r.Frozen) << r.Error;
    EXPECT_NE(ReadAll(file).find("[BANSHO]"), std::string::npos);
}

TEST_F(SettingsFile, TemporariesOfAnInterruptedSaveAreRemovedAtTheNextSave) {
    WriteAll(file, "[OPTION]\r\nMoveDot=3\r\n");
    WriteAll(dir / "bansho.ENV.a1B2c3", std::string(1000, 'x')); // left by a killed save
    WriteAll(dir / "bansho.ENV.Zz9Yy8", "y");                    // a save running right now
    WriteAll(dir / "bansho.ENV.bak", "keep");                    // the user's own files
    WriteAll(dir / "bansho.ENV.a1B2c3d", "keep");
    WriteAll(dir / "other.ENV.a1B2c3", "keep");
    const int busy = ::open((dir / "bansho.ENV.Zz9Yy8").c_str(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);

    Program p;
    ASSERT_TRUE(SaveSettings(file, p.Refs()).Ok);
    auto names = FilesInDir();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"bansho.ENV", "bansho.ENV.Zz9Yy8", "bansho.ENV.a1B2c3d",
                                        "bansho.ENV.bak", "other.ENV.a1B2c3"}));
    ::close(busy);
}

TEST(Settings, ValuesBeyondWhatAWindowCanBeAreBoundedAndSavedBounded) {
    struct Row {
        const char* section;
        const char* key;
        const char* value;
        std::int32_t want;
    } rows[] = {
        {"OPTION", "MoveDot", "2147483647", 100},
        {"OPTION", "MoveDot", "-2147483648", 0},
        {"OPTION", "MoveDot", "100", 100},
        {"OPTION", "MoveDot", "0", 0},
        {"BANSHO", "Width", "1000000000", 16384},
        {"BANSHO", "Width", "-5", 280},
        {"BANSHO", "Width", "1920", 1920},
        {"BANSHO", "Height", "2147483647", 16384},
        {"BANSHO", "Height", "-1", 1},
        {"BANSHO", "Left", "2147483647", 32000},
        {"BANSHO", "Left", "-2147483648", -32000},
        {"BANSHO", "Top", "-40", -40},
        {"BANSHO", "Top", "99999", 32000},
        {"HISTWIN", "Height", "2147483647", 16384},
        {"HISTWIN", "Height", "-7", 0},
        {"FONT", "Style", "-1", 15},
        {"FONT", "Style", "2", 2},
        {"OPTION", "Decimals", "9", -1},
        {"OPTION", "Decimals", "-2", -1},
        {"OPTION", "Decimals", "4", 4},
        {"OPTION", "Decimals", "0", 0},
        {"OPTION", "Rounding", "3", 0},
        {"OPTION", "Rounding", "-1", 0},
        {"OPTION", "Rounding", "2", 2},
    };
    for (const auto& r : rows) {
        const std::string file =
            std::string("[") + r.section + "]\r\n" + r.key + "=" + r.value + "\r\n";
        Program p;
        p.LoadText(file);
        const IniFile ini = p.SaveToMemory(file);
        EXPECT_EQ(ini.ReadInteger(r.section, r.key, -12345), r.want)
            << r.section << "/" << r.key << "=" << r.value;
    }
    // Panel heights are read, never written: bounded in memory.
    Program p;
    p.LoadText("[OPTION]\r\nFHeight=2147483647\r\nSHeight=-9\r\n");
    EXPECT_EQ(p.window.FHeight, 1024);
    EXPECT_EQ(p.window.SHeight, 0);
}

TEST(Settings, TheSystemsReasonIsGivenInJapanese) {
    struct Row {
        int err;
        const char* text;
    } rows[] = {
        {ENOSPC, "ディスクの空き領域が不足しています。"},
        {EACCES, "アクセスが拒否されました。"},
        {EROFS, "読み取り専用のファイルシステムです。"},
        {EISDIR, "フォルダーです。"},
        {ENOENT, "ファイルまたはフォルダーがありません。"},
        {EDQUOT, "ディスクの使用量の上限を超えています。"},
        {EPERM, "この操作は許可されていません。"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SystemReason(r.err), r.text) << r.err;
    EXPECT_EQ(SystemReason(EXDEV), std::strerror(EXDEV)); // one the program has no text for
}

TEST(EnvFile, APresetBesideTheProgramIsReadUntilTheUserHasAFile) {
    std::string tmpl = (fs::temp_directory_path() / "bansho-preset-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const fs::path d = tmpl;
    const std::string beside = (d / "bansho.ENV").string();
    const std::string user = (d / "cfg" / "bansho.ENV").string();
    EXPECT_EQ(EnvFileToRead(user, beside), user); // neither: the user's (a new file)
    WriteAll(beside, "[OPTION]\r\nMoveDot=3\r\n");
    EXPECT_EQ(EnvFileToRead(user, beside), beside);
    EXPECT_EQ(EnvFileToRead(beside, beside), beside);
    fs::create_directories(d / "cfg");
    WriteAll(user, "");
    EXPECT_EQ(EnvFileToRead(user, beside), user);
    fs::remove_all(d);
}

TEST(Settings, SecondTaxRateIsWrittenOnceItIsNotTheFactoryRate) {
    // A file written before the second rate existed reads and saves byte for byte.
    Program old;
    old.LoadText("", false);
    const std::string before = old.SaveToMemory().ToBytes();
    Program p;
    p.LoadText(before);
    EXPECT_EQ(p.option.TaxRate2, "8");
    EXPECT_EQ(p.SaveToMemory(before).ToBytes(), before);
    // A changed rate is written, and once written it stays, also back at the factory rate.
    p.option.TaxRate2 = "5";
    const IniFile used = p.SaveToMemory(before);
    EXPECT_EQ(used.ReadString("OPTION", "TaxRate2", ""), "5");
    Program q;
    q.LoadText(used.ToBytes());
    EXPECT_EQ(q.option.TaxRate2, "5");
    q.option.TaxRate2 = "8";
    EXPECT_EQ(q.SaveToMemory(used.ToBytes()).ReadString("OPTION", "TaxRate2", ""), "8");
    // What is not a rate from 0 to 100 gives the factory rate; full-width digits are digits.
    const struct {
        const char* value;
        const char* want;
    } rows[] = {{"abc", "8"}, {"-5", "8"}, {"101", "8"}, {"10%", "8"}, {"", "8"},
                {"\x82\x57", "8"} /* "８" in Shift_JIS */, {"\x82\x54", "5"}, {"7.5", "7.5"},
                {"0", "0"}, {"100", "100"}};
    for (const auto& r : rows) {
        Program b;
        b.LoadText(std::string("[OPTION]\r\nTaxRate2=") + r.value + "\r\n");
        EXPECT_EQ(b.option.TaxRate2, r.want) << r.value;
    }
}

TEST(Settings, DecimalSelectorIsWrittenOnceItLeftTheFactorySelection) {
    Program p;
    p.LoadText("", false);
    EXPECT_EQ(p.option.Decimals, -1);
    EXPECT_EQ(p.option.Rounding, 0);
    EXPECT_FALSE(p.SaveToMemory().ValueExists("OPTION", "Decimals"));
    p.option.Decimals = 0;
    p.option.Rounding = 1;
    const IniFile used = p.SaveToMemory();
    EXPECT_EQ(used.ReadInteger("OPTION", "Decimals", 99), 0);
    EXPECT_EQ(used.ReadInteger("OPTION", "Rounding", 99), 1);
    // Back at F: the file that held a selection is told so.
    p.option.Decimals = -1;
    p.option.Rounding = 0;
    const IniFile back = p.SaveToMemory(used.ToBytes());
    EXPECT_EQ(back.ReadInteger("OPTION", "Decimals", 99), -1);
    EXPECT_EQ(back.ReadInteger("OPTION", "Rounding", 99), 0);
}

TEST(Settings, ThePrinterPaperAndKeptReceiptAreWrittenOnlyOnceUsed) {
    // Files that never printed nor kept the receipt read and save byte for byte as they were; a
    // file that holds the print keys keeps them, also when they are emptied.
    Program factory;
    factory.LoadText("", false);
    const std::string factoryBytes = factory.SaveToMemory().ToBytes();
    const std::string withPrint = factoryBytes + "[PRINT]\r\nPrinter=/home/u/\x83\x8C\x83\x56\x81\x5B\x83\x67.pdf\r\nPaper=80x297mm\r\n\r\n";
    // The kept receipt's option, written once used, stays where it was written, on or off.
    std::string withKeep = factoryBytes;
    withKeep.insert(withKeep.find("\r\n", withKeep.find("AlphaBlendValue=")) + 2, "KeepReceipt=1\r\n");
    std::string keptOff = withKeep;
    keptOff.replace(keptOff.find("KeepReceipt=1"), 13, "KeepReceipt=0");
    struct Row {
        const char* name;
        std::string file;
        const char* printer; // as read, UTF-8
        const char* paper;
        bool keep;      // KeepReceipt as read
        bool sameBytes; // saved byte for byte as it was
    } rows[] = {
        {"factory save", factoryBytes, "", "", false, true},
        {"hand-written, one section", "[OPTION]\r\nMoveDot=3\r\n\r\n", "", "", false, false},
        {"printed before", withPrint, "/home/u/レシート.pdf", "80x297mm", false, true},
        {"receipt kept", withKeep, "", "", true, true},
        {"receipt kept once, now not", keptOff, "", "", false, true},
    };
    for (const auto& r : rows) {
        Program p;
        p.LoadText(r.file);
        EXPECT_EQ(p.winOptions.Printer, r.printer) << r.name;
        EXPECT_EQ(p.winOptions.PrintPaper, r.paper) << r.name;
        EXPECT_EQ(p.option.KeepReceipt, r.keep) << r.name;
        const std::string saved = p.SaveToMemory(r.file).ToBytes();
        if (r.sameBytes) {
            EXPECT_EQ(saved, r.file) << r.name;
        }
        EXPECT_EQ(saved.find("[PRINT]") != std::string::npos, *r.printer != '\0') << r.name;
        EXPECT_EQ(saved.find("KeepReceipt") != std::string::npos,
                  r.file.find("KeepReceipt") != std::string::npos) << r.name;
    }
    Program keeping;
    keeping.LoadText(factoryBytes);
    keeping.option.KeepReceipt = true;
    EXPECT_TRUE(keeping.SaveToMemory(factoryBytes).ReadBool("OPTION", "KeepReceipt", false));
    Program used;
    used.LoadText(factoryBytes);
    used.winOptions.Printer = "receipt-80";
    used.winOptions.PrintPaper = "A4";
    const IniFile ini = used.SaveToMemory(factoryBytes);
    EXPECT_EQ(ini.ReadString("PRINT", "Printer", "?"), "receipt-80");
    EXPECT_EQ(ini.ReadString("PRINT", "Paper", "?"), "A4");
    used.winOptions.PrintPaper.clear(); // a key once written stays, emptied
    EXPECT_EQ(used.SaveToMemory(ini.ToBytes()).ReadString("PRINT", "Paper", "?"), "");
}

} // namespace
