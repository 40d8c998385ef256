// The lock that makes one copy of the program the owner of the user's files.
#include "FirstCopy.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace bansho;
using namespace std::chrono_literals;

namespace fs = std::filesystem;

namespace {

class RuntimeFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "bansho-runtime-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    std::string dir;
};

// Answers the requests that reach `lock` on a thread of its own, as the event loop does.
class Answering {
public:
    explicit Answering(FirstCopyLock& lock) : lock_(lock), thread_([this] { Run(); }) {}
    ~Answering() {
        stop_ = true;
        thread_.join();
    }
    int Heard() const { return heard_; }

private:
    void Run() {
        while (!stop_) {
            pollfd p{lock_.RequestFd(), POLLIN, 0};
            if (::poll(&p, 1, 10) > 0)
                while (lock_.AnswerRequest([this] { ++heard_; })) {
                }
        }
    }
    FirstCopyLock& lock_;
    std::atomic<bool> stop_{false};
    std::atomic<int> heard_{0};
    std::thread thread_;
};

TEST_F(RuntimeFolder, TheFirstCopyOfASettingsFileOwnsItAndHearsLaterStarts) {
    FirstCopyLock first("/home/u/.config/bansho/bansho.ENV", dir);
    ASSERT_EQ(first.GetRole(), FirstCopyLock::Role::First);
    ASSERT_GE(first.RequestFd(), 0);

    FirstCopyLock later("/home/u/.config/bansho/../bansho/bansho.ENV", dir); // the same file
    EXPECT_EQ(later.GetRole(), FirstCopyLock::Role::Later);
    EXPECT_FALSE(later.IsFirstCopy());
    EXPECT_EQ(later.RequestFd(), -1);

    FirstCopyLock elsewhere("/opt/bansho/bansho.ENV", dir); // another settings file
    EXPECT_TRUE(elsewhere.IsFirstCopy());

    {
        const Answering answering(first);
        EXPECT_TRUE(later.AskFirstCopyToComeForward(30s));
        EXPECT_TRUE(later.AskFirstCopyToComeForward(30s));
        // Asked twice, heard twice: each answer follows the window's coming forward.
        EXPECT_EQ(answering.Heard(), 2);
    }
    EXPECT_EQ(later.GetRole(), FirstCopyLock::Role::Later);
    EXPECT_FALSE(first.AnswerRequest([] { ADD_FAILURE() << "no one asked"; }));
}

TEST_F(RuntimeFolder, WhenTheFirstCopyEndsTheNextStartOwnsTheFiles) {
    const std::string settings = "/home/u/bansho.ENV";
    // A first copy in a process of its own, killed without a chance to clean up.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        FirstCopyLock held(settings, dir);
        const char c = held.IsFirstCopy() ? '1' : '0';
        if (::write(ready[1], &c, 1) != 1) ::_exit(1);
        for (;;)
            ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, '1');
    FirstCopyLock waiting(settings, dir);
    EXPECT_EQ(waiting.GetRole(), FirstCopyLock::Role::Later);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    // Its socket is still there, but nobody listens: the lock is free, so this copy takes it
    // and is asked in turn by the next.
    EXPECT_FALSE(waiting.AskFirstCopyToComeForward(30s));
    EXPECT_TRUE(waiting.IsFirstCopy());
    FirstCopyLock next(settings, dir);
    EXPECT_EQ(next.GetRole(), FirstCopyLock::Role::Later);
    const Answering answering(waiting);
    EXPECT_TRUE(next.AskFirstCopyToComeForward(30s));
}

TEST_F(RuntimeFolder, WithoutARuntimeFolderNoCopyOwnsTheFiles) {
    FirstCopyLock a("/home/u/bansho.ENV", "");
    FirstCopyLock b("/home/u/bansho.ENV", dir + "/missing");
    for (FirstCopyLock* l : {&a, &b}) {
        EXPECT_EQ(l->GetRole(), FirstCopyLock::Role::NoLock);
        EXPECT_FALSE(l->IsFirstCopy());
        EXPECT_FALSE(l->AskFirstCopyToComeForward(100ms));
    }
}

TEST_F(RuntimeFolder, OnlyAPrivateRuntimeFolderIsTrusted) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string before = saved ? saved : "";
    const std::string fallback = "/tmp/bansho-" + std::to_string(::geteuid());
    const struct {
        const char* name;
        mode_t mode;
        bool own;
    } rows[] = {
        {"private", 0700, true},
        {"others may enter", 0755, false},
        {"others may write", 0777, false},
    };
    for (const auto& r : rows) {
        ::chmod(dir.c_str(), r.mode);
        ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        const std::string got = UserRuntimeFolder();
        EXPECT_EQ(got, r.own ? dir : fallback) << r.name;
        struct stat st {};
        ASSERT_EQ(::lstat(got.c_str(), &st), 0) << r.name;
        EXPECT_EQ(st.st_mode & 077, 0u) << r.name;
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(UserRuntimeFolder(), fallback);
    if (saved) ::setenv("XDG_RUNTIME_DIR", before.c_str(), 1);
    ::chmod(dir.c_str(), 0700);
}

} // namespace
