// The kept receipt of the real program on a private X server, typed into with real keys
// (xdotool): killed with SIGKILL at random points, the next start shows what was typed, missing
// at most the action being typed when it was killed; a second copy never writes the first's
// journal; with the option off nothing is written anywhere.
//
// BANSHO_CRASH_ROUNDS sets the number of kills (20 by default; tools/keep-crash.sh runs 200).
#include "PrivateXServer.h"
#include "ReceiptJournal.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using bansho::testing::PrivateXServer;

namespace {

bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = 60s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// Runs a command with the private display; its standard output.
std::string Shell(const std::string& display, const std::string& command) {
    const std::string line = "DISPLAY=" + display + " " + command + " 2>/dev/null";
    std::string out;
    if (FILE* p = ::popen(line.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        ::pclose(p);
    }
    return out;
}

class Program {
public:
    // The program's standard error goes to `errLog`: a sanitizer build reports there.
    Program(const std::string& display, const fs::path& exe, const fs::path& home,
            const fs::path& errLog, std::vector<std::string> args = {}) {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("DISPLAY", display.c_str(), 1);
            ::setenv("HOME", home.c_str(), 1);
            ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            ::unsetenv("QT_QPA_PLATFORM");
            const int devnull = ::open("/dev/null", O_WRONLY);
            const int err = ::open(errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
            ::dup2(devnull, 1);
            ::dup2(err >= 0 ? err : devnull, 2);
            std::vector<char*> argv{const_cast<char*>(exe.c_str())};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~Program() { Kill(SIGKILL); }
    pid_t Pid() const { return pid_; }
    // Waits for the program to end by itself (a close from its own keys).
    bool WaitForEnd() {
        if (ended_) return true;
        ended_ = WaitUntil([&] {
            int status = 0;
            return ::waitpid(pid_, &status, WNOHANG) == pid_;
        });
        return ended_;
    }
    void Kill(int signal) {
        if (ended_) return;
        ::kill(pid_, signal);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        ended_ = true;
    }
    // The main window once it is shown, given the keyboard.
    std::string Window(const std::string& display) {
        std::string wid;
        WaitUntil([&] {
            wid = MainWindowOf(display, pid_);
            return !wid.empty();
        });
        if (!wid.empty()) Focus(display, wid);
        return wid;
    }
    // The program's mapped windows.
    static std::vector<std::string> VisibleWindows(const std::string& display, pid_t pid) {
        const std::string ids =
            Shell(display, "xdotool search --onlyvisible --pid " + std::to_string(pid));
        std::vector<std::string> out;
        std::size_t at = 0;
        while (at < ids.size()) {
            std::size_t nl = ids.find('\n', at);
            if (nl == std::string::npos) nl = ids.size();
            if (nl > at) out.push_back(ids.substr(at, nl - at));
            at = nl + 1;
        }
        return out;
    }
    static bool Titled(const std::string& display, const std::string& id, const char* part) {
        return Shell(display, "xdotool getwindowname " + id).find(part) != std::string::npos;
    }
    static std::string MainWindowOf(const std::string& display, pid_t pid) {
        for (const std::string& id : VisibleWindows(display, pid)) {
            if (Titled(display, id, "ver ")) return id;
        }
        return {};
    }
    bool Shows(const std::string& display, const std::string& wid) const {
        const std::vector<std::string> ids = VisibleWindows(display, pid_);
        return std::find(ids.begin(), ids.end(), wid) != ids.end();
    }
    // The message box the program shows at start: its window besides the main window, once
    // it is mapped, given the keyboard.
    std::string Box(const std::string& display) {
        std::string box;
        WaitUntil([&] {
            const std::string main = MainWindowOf(display, pid_);
            for (const std::string& id : VisibleWindows(display, pid_)) {
                if (id != main && Titled(display, id, "v3.")) box = id;
            }
            return !box.empty();
        });
        if (!box.empty()) Focus(display, box);
        return box;
    }
    static void Focus(const std::string& display, const std::string& wid) {
        WaitUntil([&] {
            Shell(display, "xdotool windowfocus " + wid);
            std::string now = Shell(display, "xdotool getwindowfocus");
            if (!now.empty() && now.back() == '\n') now.pop_back();
            return now == wid;
        });
    }

private:
    pid_t pid_ = -1;
    bool ended_ = false;
};

std::vector<std::string> KeptNumbers(const std::string& journal) {
    bansho::keep::KeptState st;
    std::vector<std::string> out;
    if (!bansho::keep::PeekJournal(journal, st)) return {"(unreadable)"};
    for (const auto& r : st.Rows)
        out.emplace_back(r.Number());
    return out;
}

std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v)
        s += x + " ";
    return s;
}

class KeptReceiptProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x_.Ok()) << x_.Error();
        std::string tmpl = (fs::temp_directory_path() / "bansho-kept-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        fs::create_directories(dir_ / "prog");
        fs::create_directories(dir_ / "home");
        exe_ = dir_ / "prog" / "bansho";
        fs::copy_file(BANSHO_EXE, exe_);
        // A portable install: the settings file and the journal beside the program.
        journal_ = (dir_ / "prog" / "bansho.journal").string();
    }
    void TearDown() override {
        // No start of the program reported a sanitizer error (a killed one never checks for
        // leaks; one that ended cleanly did).
        for (int n = 0; n < logs_; ++n) {
            std::ifstream in(LogPath(n), std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(in), {}};
            for (const char* report : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer: detected",
                                       "runtime error:", "SUMMARY: UndefinedBehaviorSanitizer"})
                EXPECT_EQ(text.find(report), std::string::npos) << "start " << n << ":\n" << text;
        }
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Settings(bool keep) {
        std::ofstream(dir_ / "prog" / "bansho.ENV", std::ios::binary)
            << (keep ? "[OPTION]\r\nHistSet=2\r\nKeepReceipt=1\r\n" : "[OPTION]\r\nHistSet=2\r\n");
    }
    // Keys of one action: a number and "+", on the keypad.
    static std::string Keys(const std::string& number) {
        std::string keys;
        for (char c : number)
            keys += std::string(" KP_") + c;
        return keys + " KP_Add";
    }

    // A new file for the standard error of the next start.
    fs::path Log() { return LogPath(logs_++); }
    fs::path LogPath(int n) const { return dir_ / ("start-" + std::to_string(n) + ".err"); }

    PrivateXServer x_{1024, 768};
    int logs_ = 0;
    fs::path dir_, exe_;
    std::string journal_;
};

TEST_F(KeptReceiptProgram, AKilledProgramLosesAtMostTheActionBeingTyped) {
    Settings(true);
    int rounds = 20;
    if (const char* r = std::getenv("BANSHO_CRASH_ROUNDS")) rounds = std::max(1, std::atoi(r));
    std::mt19937 rng(20261207);
    std::vector<std::string> expected; // the rows every earlier round kept
    int next = 1;
    int lostLast = 0;
    for (int round = 0; round < rounds; ++round) {
        Program p(x_.Display(), exe_, dir_ / "home", Log());
        const std::string wid = p.Window(x_.Display());
        ASSERT_FALSE(wid.empty()) << "round " << round << ": no window";
        // The start shows what the last start kept (the windows may be mapped a moment before
        // the journal is made on the first start).
        WaitUntil([&] { return fs::exists(journal_); });
        ASSERT_EQ(Join(KeptNumbers(journal_)), Join(expected)) << "round " << round;
        const int actions = 1 + static_cast<int>(rng() % 4);
        for (int a = 0; a < actions; ++a) {
            const std::string number = std::to_string(next++);
            expected.push_back(number);
            const auto want = expected.size();
            Shell(x_.Display(), "xdotool key --delay 1" + Keys(number));
            // The row is in the file before the next key goes: nothing shown is lost.
            ASSERT_TRUE(WaitUntil([&] { return KeptNumbers(journal_).size() >= want; }))
                << "round " << round << ": the row " << number << " was not written";
        }
        // The last action is typed while the kill comes, at a random point, often while the
        // records written wait for their flush (the flush groups within 200 ms).
        const std::string last = std::to_string(next++);
        std::thread typing([&] { Shell(x_.Display(), "xdotool key --delay 2" + Keys(last)); });
        std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 60));
        p.Kill(SIGKILL);
        typing.join();
        const std::vector<std::string> kept = KeptNumbers(journal_);
        std::vector<std::string> withLast = expected;
        withLast.push_back(last);
        ASSERT_TRUE(Join(kept) == Join(expected) || Join(kept) == Join(withLast))
            << "round " << round << ": kept " << Join(kept);
        if (kept.size() == withLast.size())
            expected = withLast;
        else
            ++lostLast;
    }
    // A clean end keeps one snapshot of the same rows.
    Program p(x_.Display(), exe_, dir_ / "home", Log());
    ASSERT_FALSE(p.Window(x_.Display()).empty());
    p.Kill(SIGTERM);
    EXPECT_EQ(Join(KeptNumbers(journal_)), Join(expected));
    RecordProperty("LostLastActions", lostLast);
}

// A second copy started with --new-instance finds the journal taken and keeps nothing; what it
// is typed never reaches the first copy's journal.
TEST_F(KeptReceiptProgram, ASecondCopyNeverWritesTheFirstCopysJournal) {
    Settings(true);
    Program first(x_.Display(), exe_, dir_ / "home", Log());
    const std::string w1 = first.Window(x_.Display());
    ASSERT_FALSE(w1.empty());
    Shell(x_.Display(), "xdotool key --delay 1" + Keys("7"));
    ASSERT_TRUE(WaitUntil([&] { return KeptNumbers(journal_).size() == 1; }));
    Program second(x_.Display(), exe_, dir_ / "home", Log(), {"--new-instance"});
    const std::string w2 = second.Window(x_.Display());
    ASSERT_FALSE(w2.empty());
    Shell(x_.Display(), "xdotool key --delay 1" + Keys("555") + Keys("666"));
    second.Kill(SIGTERM); // its clean end writes nothing either
    EXPECT_EQ(Join(KeptNumbers(journal_)), "7 ");
    // The first copy goes on keeping.
    Program::Focus(x_.Display(), w1);
    Shell(x_.Display(), "xdotool key --delay 1" + Keys("8"));
    EXPECT_TRUE(WaitUntil([&] { return KeptNumbers(journal_).size() == 2; }))
        << Join(KeptNumbers(journal_));
}

// With the option off, the program writes no journal, no lock, no folder for them.
TEST_F(KeptReceiptProgram, WithTheOptionOffNoFileIsWrittenAnywhere) {
    Settings(false);
    {
        Program p(x_.Display(), exe_, dir_ / "home", Log());
        ASSERT_FALSE(p.Window(x_.Display()).empty());
        Shell(x_.Display(), "xdotool key --delay 1" + Keys("12") + Keys("34") + " KP_Enter");
        p.Kill(SIGKILL);
    }
    {
        Program p(x_.Display(), exe_, dir_ / "home", Log());
        ASSERT_FALSE(p.Window(x_.Display()).empty());
        Shell(x_.Display(), "xdotool key --delay 1" + Keys("5"));
        p.Kill(SIGTERM);
    }
    // Beside the program: the program and its settings file. In the home (where the desktop's
    // libraries may leave caches): no state folder, no journal, no lock.
    std::vector<std::string> prog;
    for (const auto& e : fs::directory_iterator(dir_ / "prog"))
        prog.push_back(e.path().filename().string());
    std::sort(prog.begin(), prog.end());
    EXPECT_EQ(Join(prog), "bansho bansho.ENV ");
    for (const auto& e : fs::recursive_directory_iterator(dir_ / "home")) {
        const std::string name = e.path().string();
        EXPECT_EQ(name.find("journal"), std::string::npos) << name;
        EXPECT_EQ(name.find("bansho"), std::string::npos) << name;
    }
    EXPECT_FALSE(fs::exists(dir_ / "home" / "state"));
}

// A journal that cannot be read is told in a box at start, answered with a real key: "yes"
// moves it aside under a timestamped name, byte for byte, and a new journal keeps what is
// typed; "no" (also Enter, the box's default after an error, and Escape) leaves it exactly as
// it was through typing and a clean close, and nothing is kept for that run.
struct BadJournalAnswer {
    const char* key;    // xdotool's name of the key that answers the box
    bool movedAside;    // what the key means
    bool wholeRecords;  // the bad journal: this program's header and a whole record of a type
                        // it never writes; else bytes of something else altogether
};

void PrintTo(const BadJournalAnswer& a, std::ostream* os) {
    *os << a.key << (a.wholeRecords ? " to whole records" : " to other bytes");
}

std::string BadJournal(bool wholeRecords) {
    if (!wholeRecords) return "not a journal of this program\n";
    std::string bytes(bansho::keep::kJournalMagic);
    bansho::keep::AppendRow(bytes, bansho::HistoryEntry("5", '+'));
    std::string frame = std::string("\x01\x00\x00\x00", 4) + "\x63"; // type 99
    const std::uint32_t crc = bansho::keep::Crc32(frame.data(), frame.size());
    for (int i = 0; i < 4; ++i)
        frame += static_cast<char>((crc >> (8 * i)) & 0xFF);
    return bytes + frame;
}

class BadJournalBox : public KeptReceiptProgram,
                      public ::testing::WithParamInterface<BadJournalAnswer> {
protected:
    // The names beside the program other than the program, its settings and the journal.
    std::vector<std::string> Others() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_ / "prog")) {
            const std::string n = e.path().filename().string();
            if (n != "bansho" && n != "bansho.ENV" && n != "bansho.journal" &&
                n != "bansho.journal.lock")
                out.push_back(n);
        }
        return out;
    }
    static std::string Bytes(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST_P(BadJournalBox, TheAnswerDecidesWhatBecomesOfTheFile) {
    const BadJournalAnswer a = GetParam();
    Settings(true);
    const std::string bad = BadJournal(a.wholeRecords);
    std::ofstream(journal_, std::ios::binary) << bad;
    Program p(x_.Display(), exe_, dir_ / "home", Log());
    const std::string box = p.Box(x_.Display());
    ASSERT_FALSE(box.empty()) << "no box";
    Shell(x_.Display(), std::string("xdotool key ") + a.key);
    // A letter answers by an animated click: the box stays up, and the main window takes no
    // key, for a tenth of a second more. Typing goes once the box is gone.
    ASSERT_TRUE(WaitUntil([&] { return !p.Shows(x_.Display(), box); })) << "the box stayed";
    const std::string wid = p.Window(x_.Display());
    ASSERT_FALSE(wid.empty());
    if (a.movedAside) {
        ASSERT_TRUE(WaitUntil([&] { return Others().size() == 1 && fs::exists(journal_); }));
        const std::string aside = Others()[0];
        // "bansho.journal.yyyymmdd-hhmmss"
        EXPECT_EQ(aside.rfind("bansho.journal.", 0), 0u) << aside;
        EXPECT_EQ(aside.size(), std::string("bansho.journal.20261207-214500").size()) << aside;
        EXPECT_EQ(Bytes(dir_ / "prog" / aside), bad);
        Shell(x_.Display(), "xdotool key --delay 1" + Keys("12") + Keys("34"));
        EXPECT_TRUE(WaitUntil([&] { return Join(KeptNumbers(journal_)) == "12 34 "; }))
            << Join(KeptNumbers(journal_));
        Shell(x_.Display(), "xdotool key Escape"); // the program's own close
        ASSERT_TRUE(p.WaitForEnd());
        EXPECT_EQ(Join(KeptNumbers(journal_)), "12 34 ");
        EXPECT_EQ(Bytes(dir_ / "prog" / aside), bad);
        EXPECT_EQ(Others().size(), 1u);
    } else {
        // Typed into, then closed by its own key: the keys before the close were handled.
        Shell(x_.Display(), "xdotool key --delay 1" + Keys("12") + Keys("34") + " Escape");
        ASSERT_TRUE(p.WaitForEnd());
        EXPECT_EQ(Bytes(journal_), bad);
        EXPECT_TRUE(Others().empty()) << Join(Others());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BadJournalBox,
    ::testing::Values(BadJournalAnswer{"y", true, false}, BadJournalAnswer{"y", true, true},
                      BadJournalAnswer{"n", false, true}, BadJournalAnswer{"Return", false, false},
                      BadJournalAnswer{"Escape", false, true}),
    [](const ::testing::TestParamInfo<BadJournalAnswer>& info) {
        return std::string(info.param.key) +
               (info.param.wholeRecords ? "_WholeRecords" : "_OtherBytes");
    });

} // namespace
