// Saves of the settings file that meet other work: another copy of the program saving the
// same file, another thread creating files, a folder the user may not create.
#include "Settings.h"
#include "StartedProgram.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace bansho;
using bansho::testing::Program;

namespace fs = std::filesystem;

// --- Watching the process's file-creation mask ----------------------------------------------
// Every change of the mask in this test program passes through here: while a test watches,
// the thread that creates files is woken and makes one file under the mask just set (the
// worst moment for it), before the change returns.

namespace {

std::mutex gMaskMutex;
std::condition_variable gMaskCv;
bool gWatching = false;
int gChangesSeen = 0; // changes of the mask to something other than the test's own
int gFilesMadeAtAChange = 0;
mode_t gTestMask = 022;

} // namespace

extern "C" mode_t umask(mode_t mask) noexcept {
    const auto old = static_cast<mode_t>(::syscall(SYS_umask, mask));
    std::unique_lock lock(gMaskMutex);
    if (gWatching && mask != gTestMask) {
        const int wanted = ++gChangesSeen;
        gMaskCv.notify_all();
        gMaskCv.wait_for(lock, std::chrono::seconds(10),
                         [&] { return gFilesMadeAtAChange >= wanted || !gWatching; });
    }
    return old;
}

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A fresh folder for each test; `Fast()` moves it to a memory file system where there is one,
// so that thousands of saves (each flushed to the disk) take seconds.
class Folder : public ::testing::Test {
protected:
    void SetUp() override { MakeIn(fs::temp_directory_path()); }
    void Fast() {
        if (::access("/dev/shm", W_OK | X_OK) != 0) return;
        TearDown();
        MakeIn("/dev/shm");
    }
    void MakeIn(const fs::path& base) {
        std::string tmpl = (base / "bansho-concurrent-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
        file = (dir / "bansho.ENV").string();
    }
    void TearDown() override {
        std::error_code ec;
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

// Runs `body` in a child process; returns what it wrote to its pipe and whether it ended well.
struct ChildResult {
    bool Exited0 = false;
    std::string Output;
};

pid_t StartChild(const std::function<std::string()>& body, int& readFd) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = body();
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    readFd = fds[0];
    return pid;
}

ChildResult WaitChild(pid_t pid, int readFd) {
    ChildResult r;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(readFd, buf, sizeof buf)) > 0)
        r.Output.append(buf, static_cast<std::size_t>(n));
    ::close(readFd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.Exited0 = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

// --- Two copies saving the same file ------------------------------------------------------

TEST_F(Folder, TwoCopiesSavingAtOnceNeverFail) {
    // Before each save made its temporary file alone, about one save in 400 failed here.
    constexpr int kSavesEach = 2500;
    Fast();
    std::ofstream(file, std::ios::binary) << "[Mine]\r\nfoo=bar\r\n";
    struct Child {
        pid_t pid;
        int fd;
    };
    std::vector<Child> children;
    for (int copy = 0; copy < 2; ++copy) {
        int fd = -1;
        const pid_t pid = StartChild(
            [&, copy] {
                Program p;
                p.Load(file);
                p.winOptions.MoveDot = copy + 1; // each copy writes its own value
                int failures = 0;
                std::string first;
                for (int i = 0; i < kSavesEach; ++i) {
                    const SaveResult r = SaveSettings(file, p.Refs());
                    if (!r.Ok && failures++ == 0) first = r.Error;
                }
                return failures == 0 ? std::string()
                                     : std::to_string(failures) + " failed, first: " + first;
            },
            fd);
        ASSERT_GT(pid, 0);
        children.push_back({pid, fd});
    }
    for (const Child& c : children) {
        const ChildResult r = WaitChild(c.pid, c.fd);
        EXPECT_TRUE(r.Exited0);
        EXPECT_EQ(r.Output, "") << "of " << kSavesEach << " saves";
    }
    // The file is one copy's whole file, and nothing is left beside it.
    EXPECT_EQ(FilesInDir(), std::vector<std::string>{"bansho.ENV"});
    const std::string saved = ReadAll(file);
    EXPECT_EQ(saved.rfind("[Mine]\r\nfoo=bar\r\n", 0), 0u);
    const bool one = saved.find("MoveDot=1\r\n") != std::string::npos;
    const bool two = saved.find("MoveDot=2\r\n") != std::string::npos;
    EXPECT_TRUE(one != two) << saved;
}

// --- The file-creation mask of the whole process ------------------------------------------

TEST_F(Folder, SavesLeaveTheFileCreationMaskOfOtherThreadsAlone) {
    gTestMask = 022;
    const mode_t before = ::umask(gTestMask);
    {
        std::lock_guard lock(gMaskMutex);
        gWatching = true;
        gChangesSeen = gFilesMadeAtAChange = 0;
    }
    // Another thread of the program creates files all the while, one more at each change of
    // the mask; each must get the mask the program set (no write permission for others).
    std::atomic<bool> stop{false};
    std::vector<std::pair<std::string, mode_t>> exposed;
    int made = 0;
    std::thread creator([&] {
        const fs::path others = dir / "others";
        fs::create_directory(others);
        while (!stop) {
            std::unique_lock lock(gMaskMutex);
            gMaskCv.wait_for(lock, std::chrono::milliseconds(1),
                             [&] { return gChangesSeen > gFilesMadeAtAChange; });
            const std::string name = (others / ("f" + std::to_string(made++))).string();
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                struct stat st {};
                ::fstat(fd, &st);
                ::close(fd);
                if ((st.st_mode & 0777) != 0644) exposed.emplace_back(name, st.st_mode & 0777);
            }
            if (gChangesSeen > gFilesMadeAtAChange) {
                ++gFilesMadeAtAChange;
                gMaskCv.notify_all();
            }
        }
    });

    Program p;
    const std::string fresh = (dir / "new" / "bansho.ENV").string();
    std::vector<std::string> errors;
    for (int i = 0; i < 50; ++i) {
        fs::remove(fresh);
        for (const std::string& f : {fresh, file}) { // a new file, then one that exists
            const SaveResult r = SaveSettings(f, p.Refs());
            if (!r.Ok) errors.push_back(r.Error);
        }
    }
    stop = true;
    creator.join();
    {
        std::lock_guard lock(gMaskMutex);
        gWatching = false;
        gMaskCv.notify_all();
    }

    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_GT(made, 0);
    EXPECT_TRUE(exposed.empty()) << exposed.size() << " files made while saving, the first "
                                 << exposed.front().first << " with mode 0" << std::oct
                                 << exposed.front().second;
    EXPECT_EQ(gChangesSeen, 0) << "the mask was changed while saving";

    // A new settings file gets the usual mode of a new file under the mask in force.
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
        gTestMask = mask;
        ::umask(mask);
        fs::remove(fresh);
        ASSERT_TRUE(SaveSettings(fresh, p.Refs()).Ok);
        struct stat st {};
        ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << "mask 0" << std::oct << mask;
    }
    gTestMask = before;
    ::umask(before);
}

// --- A settings folder that cannot be made --------------------------------------------------

// Loads and saves as the program does with the user's home `home`; returns the save's error.
std::string SaveWithHome(const fs::path& home) {
    const std::string env = EnvFileNameFor("/usr/bin/bansho", false, "", home.string());
    Program p;
    p.Load(env);
    const SaveResult r = SaveSettings(env, p.Refs());
    return r.Ok ? std::string("<saved>") : r.Error;
}

TEST_F(Folder, AFolderThatCannotBeMadeGivesTheRealReason) {
    const struct {
        const char* name;
        bool asAnotherUser; // a home the user may not write: root may write anywhere, so the
                            // save runs as "nobody" in a child process when the test is root
        const char* reason;
    } rows[] = {
        {"a home the user may not write", true, "アクセスが拒否されました。"},
        {"a home that is a file", false, "パスの途中にフォルダーでないものがあります。"},
    };
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const auto& r : rows) {
        const fs::path home = dir / (std::string("home-") + (r.asAnotherUser ? "a" : "b"));
        if (r.asAnotherUser) {
            fs::create_directory(home);
            fs::permissions(home, fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
        } else {
            std::ofstream(home) << "not a folder";
        }
        int fd = -1;
        const pid_t pid = StartChild(
            [&] {
                if (r.asAnotherUser && ::geteuid() == 0) {
                    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 ||
                        ::setuid(65534) != 0)
                        return std::string("<could not become nobody>");
                } else if (r.asAnotherUser) {
                    fs::permissions(home, fs::perms::owner_write, fs::perm_options::remove);
                }
                return SaveWithHome(home);
            },
            fd);
        ASSERT_GT(pid, 0);
        const ChildResult c = WaitChild(pid, fd);
        EXPECT_TRUE(c.Exited0) << r.name;
        const std::string env = (home / ".config" / "bansho" / "bansho.ENV").string();
        EXPECT_EQ(c.Output, "ファイル \"" + env + "\" を作成できません。" + r.reason) << r.name;
        EXPECT_FALSE(fs::exists(home / ".config")) << r.name;
    }
}

} // namespace

namespace {

// A folder the user may write into but not list (as "nobody" when the test is root).
TEST_F(Folder, AFolderThatCannotBeListedIsStillSavedInto) {
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path box = dir / "box";
    fs::create_directory(box);
    const bool asNobody = ::geteuid() == 0;
    if (asNobody && ::chown(box.c_str(), 65534, 65534) != 0) GTEST_SKIP() << "no user nobody";
    fs::permissions(box, fs::perms::owner_write | fs::perms::owner_exec);
    const std::string env = (box / "bansho.ENV").string();
    int fd = -1;
    const pid_t pid = StartChild(
        [&] {
            if (asNobody &&
                (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                return std::string("<could not become nobody>");
            Program p;
            std::string out;
            for (int i = 0; i < 2; ++i) { // a new file, then one that exists
                const SaveResult r = SaveSettings(env, p.Refs());
                out += r.Ok ? "saved;" : r.Error + ";";
            }
            return out;
        },
        fd);
    ASSERT_GT(pid, 0);
    const ChildResult c = WaitChild(pid, fd);
    EXPECT_TRUE(c.Exited0);
    EXPECT_EQ(c.Output, "saved;saved;");
    fs::permissions(box, fs::perms::owner_all);
    EXPECT_NE(ReadAll(env).find("[BANSHO]"), std::string::npos);
}

} // namespace
