// The journal file: what it keeps comes back, a torn or broken tail is cut at the last whole
// record, a file that cannot be trusted is left exactly as it is, and one copy keeps it.
#include "JournalFiles.h"
#include "ReceiptJournal.h"
#include "KeepTempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace bansho;
using namespace bansho::keep;
using bansho::testing::TempDir;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The rows of a state as "glyph mark number" lines, for comparing.
std::string Dump(const KeptState& s) {
    std::string out;
    for (const HistoryEntry& r : s.Rows) {
        out += r.Glyph();
        out += std::to_string(static_cast<int>(r.Mark())) + " " + std::string(r.Number()) + "\n";
    }
    out += "M " + s.Memory.Text + (s.Memory.Error ? "E" : "") +
           std::to_string(static_cast<int>(s.Memory.Kind)) + "\n";
    out += "GT " + s.GrandTotal.Text + (s.GrandTotal.Error ? "E" : "") +
           std::to_string(static_cast<int>(s.GrandTotal.Kind)) + "\n";
    out += "K " + std::to_string(s.Kind) + "\n";
    return out;
}

// Every kind of record, each one a step; `states[k]` is the state after the first k records.
struct Script {
    std::vector<std::string> records;
    std::vector<KeptState> states;
};

Script EveryKindOfRecord() {
    Script s;
    KeptState st;
    s.states.push_back(st);
    auto step = [&](std::string rec) {
        std::string_view body;
        std::size_t size = 0;
        EXPECT_EQ(ReadFrame(rec, body, size), FrameStatus::Ok);
        EXPECT_TRUE(ApplyRecord(body, st));
        s.records.push_back(std::move(rec));
        s.states.push_back(st);
    };
    auto rec = [](auto f) {
        std::string r;
        f(r);
        return r;
    };
    const std::string longNumber(40, '7'); // kept on the heap by the row
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("1200", '+')); }));
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("-5", ' ')); }));
    // Marks are kept as the bytes they are, whatever they mean.
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("27000", '*', RowMark::Time)); }));
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("3.5", '/', static_cast<RowMark>(0x13))); }));
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("8", '-', static_cast<RowMark>(0x31))); }));
    step(rec([&](std::string& r) { AppendRow(r, HistoryEntry(longNumber, '+')); }));
    step(rec([](std::string& r) {
        AppendRowAt(r, RecordType::Replace, 1, HistoryEntry("9", '-', static_cast<RowMark>(0xFE)));
    }));
    step(rec([](std::string& r) { AppendRowAt(r, RecordType::Insert, 0, HistoryEntry("0", '+')); }));
    step(rec([](std::string& r) { AppendIndex(r, RecordType::Remove, 2); }));
    step(rec([](std::string& r) { AppendSwap(r, 0, 3); }));
    step(rec([](std::string& r) { AppendValue(r, RecordType::Memory, TCalcNum{"12.5", false, ValueKind::Number}); }));
    step(rec([](std::string& r) { AppendValue(r, RecordType::GrandTotal, TCalcNum{"45537", false, ValueKind::Date}); }));
    step(rec([](std::string& r) { AppendKind(r, 1); }));
    step(rec([](std::string& r) { AppendClear(r); }));
    step(rec([](std::string& r) { AppendRow(r, HistoryEntry("42", '+', RowMark::Date)); }));
    step(rec([](std::string& r) { AppendValue(r, RecordType::GrandTotal, TCalcNum{"", true, ValueKind::Number}); }));
    return s;
}

std::string JournalBytes(const Script& s, std::size_t records) {
    std::string bytes(kJournalMagic);
    for (std::size_t i = 0; i < records; ++i)
        bytes += s.records[i];
    return bytes;
}

} // namespace

TEST(JournalTest, WhatIsWrittenComesBackAfterARestart) {
    TempDir dir;
    const std::string path = dir.File("state/bansho/bansho.journal");
    const Script s = EveryKindOfRecord();
    {
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Keeping) << j.Problem();
        EXPECT_TRUE(st.Empty());
        for (const std::string& r : s.records)
            j.Write(r);
    } // no clean close: the records alone
    Journal j(path);
    KeptState st;
    ASSERT_EQ(j.Open(st), Journal::Status::Keeping) << j.Problem();
    EXPECT_EQ(Dump(st), Dump(s.states.back()));
    EXPECT_EQ(j.CutBytes(), 0u);
    // A snapshot keeps the same state.
    ASSERT_TRUE(j.Compact(st.Rows, st.Memory, st.GrandTotal, st.Kind));
    j.Close();
    KeptState again;
    Journal k(path);
    ASSERT_EQ(k.Open(again), Journal::Status::Keeping);
    EXPECT_EQ(Dump(again), Dump(s.states.back()));
    // The folder and the file are the user's alone.
    struct stat st2 {};
    ASSERT_EQ(::stat(path.c_str(), &st2), 0);
    EXPECT_EQ(st2.st_mode & 077, 0u);
    ASSERT_EQ(::stat(dir.File("state/bansho").c_str(), &st2), 0);
    EXPECT_EQ(st2.st_mode & 077, 0u);
}

// A journal cut anywhere (a crash, a power cut) reads as the records that are whole; the rest is
// cut off the file, which then takes new records after the last whole one.
TEST(JournalTest, ATornTailIsCutAtTheLastWholeRecord) {
    const Script s = EveryKindOfRecord();
    const std::string full = JournalBytes(s, s.records.size());
    for (std::size_t cut = 0; cut <= full.size(); ++cut) {
        TempDir dir;
        const std::string path = dir.File("b.journal");
        WriteBytes(path, full.substr(0, cut));
        std::size_t whole = 0; // records wholly before the cut
        for (std::size_t len = kJournalMagic.size(); whole < s.records.size() &&
                                                     len + s.records[whole].size() <= cut;)
            len += s.records[whole++].size();
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Keeping) << "cut at " << cut << ": " << j.Problem();
        EXPECT_EQ(Dump(st), Dump(s.states[whole])) << "cut at " << cut;
        const std::string kept = JournalBytes(s, whole);
        EXPECT_EQ(ReadBytes(path), kept) << "cut at " << cut;
        EXPECT_EQ(j.CutBytes(), cut >= kJournalMagic.size() ? cut - kept.size() : cut);
        j.Write(s.records[0]);
        j.Close();
        EXPECT_EQ(ReadBytes(path), kept + s.records[0]) << "cut at " << cut;
    }
}

// A flipped bit in a record stops the reading there: what comes before it is kept, nothing after.
// A flipped bit in the header makes the file one that is not read at all, and left as it is.
TEST(JournalTest, AFlippedBitKeepsTheRecordsBeforeIt) {
    const Script s = EveryKindOfRecord();
    const std::string full = JournalBytes(s, s.records.size());
    std::vector<std::size_t> starts{kJournalMagic.size()};
    for (const std::string& r : s.records)
        starts.push_back(starts.back() + r.size());
    for (std::size_t byte = 0; byte < full.size(); ++byte) {
        for (int bit : {0, 7}) {
            TempDir dir;
            const std::string path = dir.File("b.journal");
            std::string flipped = full;
            flipped[byte] = static_cast<char>(flipped[byte] ^ (1 << bit));
            WriteBytes(path, flipped);
            Journal j(path);
            KeptState st;
            const Journal::Status status = j.Open(st);
            if (byte < kJournalMagic.size()) {
                EXPECT_EQ(status, Journal::Status::Bad) << byte;
                EXPECT_EQ(ReadBytes(path), flipped);
                continue;
            }
            ASSERT_EQ(status, Journal::Status::Keeping) << byte << ": " << j.Problem();
            std::size_t record = 0;
            while (starts[record + 1] <= byte)
                ++record;
            EXPECT_EQ(Dump(st), Dump(s.states[record])) << "byte " << byte << " bit " << bit;
            EXPECT_EQ(ReadBytes(path), JournalBytes(s, record));
        }
    }
}

// A file that cannot be trusted is reported with its name and reason, read as nothing, and never
// written: not by the opening, not by writes, not by a compaction, not by the close.
TEST(JournalTest, AFileThatCannotBeTrustedIsLeftAsItIs) {
    const Script s = EveryKindOfRecord();
    std::string unknownType;
    AppendClear(unknownType);
    unknownType[4] = 0x55; // a type this program never writes, with a checksum that matches
    const std::uint32_t crc = Crc32(unknownType.data(), 5);
    for (int i = 0; i < 4; ++i)
        unknownType[5 + static_cast<std::size_t>(i)] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    std::string badIndex;
    AppendIndex(badIndex, RecordType::Remove, 99);
    struct Row {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* reason;
    };
    const Row rows[] = {
        {"a folder", [](const std::string& p) { fs::create_directory(p); }, "フォルダーです"},
        {"a FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }, "通常のファイルではありません"},
        {"a link", [](const std::string& p) { fs::create_symlink("/dev/null", p); }, "シンボリックリンク"},
        {"too large",
         [](const std::string& p) {
             WriteBytes(p, std::string(kJournalMagic));
             fs::resize_file(p, kMaxJournalBytes + 1); // sparse: no disk used
         },
         "大きすぎます"},
        {"not a journal", [](const std::string& p) { WriteBytes(p, "[OPTION]\nHistSet=2\n"); },
         "記録ファイルではありません"},
        {"an unknown record",
         [&](const std::string& p) { WriteBytes(p, JournalBytes(s, 3) + unknownType + s.records[3]); },
         "記録が壊れています"},
        {"a row that does not exist",
         [&](const std::string& p) { WriteBytes(p, JournalBytes(s, 2) + badIndex); },
         "記録が壊れています"},
    };
    for (const Row& r : rows) {
        TempDir dir;
        const std::string path = dir.File("b.journal");
        r.make(path);
        struct stat before {};
        ASSERT_EQ(::lstat(path.c_str(), &before), 0) << r.name;
        const bool small = fs::is_regular_file(fs::symlink_status(path)) && before.st_size < (1 << 20);
        const std::string bytes = small ? ReadBytes(path) : "";
        {
            Journal j(path);
            KeptState st;
            EXPECT_EQ(j.Open(st), Journal::Status::Bad) << r.name;
            EXPECT_TRUE(st.Empty()) << r.name;
            EXPECT_NE(j.Problem().find(path), std::string::npos) << r.name;
            EXPECT_NE(j.Problem().find(r.reason), std::string::npos) << r.name << ": " << j.Problem();
            j.Write(s.records[0]);
            EXPECT_FALSE(j.Compact({}, {}, {}, 2)) << r.name;
        }
        struct stat after {};
        ASSERT_EQ(::lstat(path.c_str(), &after), 0) << r.name;
        EXPECT_EQ(after.st_ino, before.st_ino) << r.name;
        EXPECT_EQ(after.st_size, before.st_size) << r.name;
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << r.name;
        if (!bytes.empty()) {
            EXPECT_EQ(ReadBytes(path), bytes) << r.name;
        }

        // Moved aside with the user's agreement: the file keeps its bytes under a dated name and
        // a new journal starts.
        Journal j(path);
        KeptState st;
        ASSERT_EQ(j.Open(st), Journal::Status::Bad);
        const std::string aside = j.MoveAside();
        ASSERT_FALSE(aside.empty()) << r.name << ": " << j.Problem();
        EXPECT_EQ(aside.rfind(path + ".20", 0), 0u) << aside;
        struct stat moved {};
        ASSERT_EQ(::lstat(aside.c_str(), &moved), 0);
        EXPECT_EQ(moved.st_ino, before.st_ino);
        EXPECT_EQ(j.Open(st), Journal::Status::Keeping) << r.name << ": " << j.Problem();
    }
}

TEST(JournalTest, SomeoneElsesFileIsNotTrusted) {
    struct stat st {};
    st.st_mode = S_IFREG | 0600;
    st.st_uid = ::geteuid();
    EXPECT_EQ(journalfiles::Distrust(st, 100), "");
    st.st_uid = ::geteuid() + 1;
    EXPECT_EQ(journalfiles::Distrust(st, 100), "別のユーザーのファイルです。");
    st.st_uid = ::geteuid();
    st.st_mode = S_IFCHR | 0600;
    EXPECT_EQ(journalfiles::Distrust(st, 100), "通常のファイルではありません。");
}

// One copy keeps a journal at a time; the other runs without it and is told why.
TEST(JournalTest, ASecondCopyDoesNotKeepTheSameJournal) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    const Script s = EveryKindOfRecord();
    Journal first(path);
    KeptState st;
    ASSERT_EQ(first.Open(st), Journal::Status::Keeping);
    first.Write(s.records[0]);
    const std::string before = ReadBytes(path);
    {
        Journal second(path);
        KeptState other;
        EXPECT_EQ(second.Open(other), Journal::Status::Busy);
        EXPECT_NE(second.Problem().find("ほかのバンショ"), std::string::npos) << second.Problem();
        second.Write(s.records[1]);
        EXPECT_FALSE(second.Compact({}, {}, {}, 2));
    }
    EXPECT_EQ(ReadBytes(path), before);
    first.Close();
    Journal later(path); // the first copy has ended: the journal is free
    EXPECT_EQ(later.Open(st), Journal::Status::Keeping);
}

// Records written fast are flushed together, not one flush each, and a flush follows within the
// delay even when no more records come.
TEST(JournalTest, FlushesAreGrouped) {
    TempDir dir;
    const Script s = EveryKindOfRecord();
    Journal j(dir.File("b.journal"), std::chrono::milliseconds(200));
    KeptState st;
    ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
    for (int i = 0; i < 500; ++i)
        j.Write(s.records[0]);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (j.SyncCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_GE(j.SyncCount(), 1u);
    EXPECT_LT(j.SyncCount(), 500u);
}

// Past its bound the journal is replaced by a snapshot; a temporary left by a killed compaction
// is removed at the next start.
TEST(JournalTest, CompactionReplacesTheFileWithOneSnapshot) {
    TempDir dir;
    const std::string path = dir.File("b.journal");
    Journal j(path);
    KeptState st;
    ASSERT_EQ(j.Open(st), Journal::Status::Keeping);
    std::string rec;
    AppendRow(rec, HistoryEntry("123456789", '+'));
    std::string remove;
    AppendIndex(remove, RecordType::Remove, 0);
    std::uint64_t most = 0;
    for (int i = 0; i < 400000; ++i) { // a row added and taken away, again and again
        j.Write(rec);
        j.Write(remove);
        if (j.CompactionDue()) {
            ASSERT_TRUE(j.Compact({}, {}, {}, 2));
        }
        most = std::max(most, j.Size());
    }
    EXPECT_LT(most, 10u << 20);
    j.Close();
    WriteBytes(path + ".AbC123", "left by a killed compaction");
    Journal k(path);
    ASSERT_EQ(k.Open(st), Journal::Status::Keeping);
    EXPECT_TRUE(st.Rows.empty());
    EXPECT_FALSE(fs::exists(path + ".AbC123"));
}

TEST(JournalTest, TheJournalLivesInTheStateFolderOrBesideAPortableInstall) {
    struct Row {
        const char* settings;
        bool portable;
        const char* state;
        const char* home;
        const char* journal;
    } rows[] = {
        {"/home/u/.config/bansho/bansho.ENV", false, "", "/home/u", "/home/u/.local/state/bansho/bansho.journal"},
        {"/home/u/.config/bansho/bansho.ENV", false, "/var/st/", "/home/u", "/var/st/bansho/bansho.journal"},
        {"/home/u/.config/bansho/bansho.ENV", false, "relative", "/home/u", "/home/u/.local/state/bansho/bansho.journal"},
        {"/opt/calc/bansho.ENV", true, "/var/st", "/home/u", "/opt/calc/bansho.journal"},
        {"/opt/calc/shop.ENV", true, "", "", "/opt/calc/shop.journal"},
        {"/home/u/.config/bansho/shop.ENV", false, "", "", "/home/u/.config/bansho/shop.journal"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(JournalFileFor(r.settings, r.portable, r.state, r.home), r.journal) << r.settings;
}
