// The real program, started offscreen in a folder of its own, ended by the system.
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Whether the process has a handler for `sig` (the "SigCgt" mask of /proc/PID/status).
bool Catches(pid_t pid, int sig) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("SigCgt:", 0) == 0) {
            const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
            return (mask >> (sig - 1)) & 1u;
        }
    }
    return false;
}

// The program is copied into a fresh folder, so that its settings file is that folder's.
TEST(ProgramEnd, TerminationSignalsSaveTheSettingsAsACloseDoes) {
    for (const int sig : {SIGTERM, SIGHUP, SIGINT}) {
        std::string tmpl = (fs::temp_directory_path() / "bansho-end-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        const fs::path dir = tmpl;
        const fs::path exe = dir / "bansho";
        fs::copy_file(BANSHO_EXE, exe);
        const fs::path env = dir / "bansho.ENV";
        {
            std::ofstream out(env, std::ios::binary);
            out << "[Mine]\r\nfoo=bar\r\n\r\n[OPTION]\r\nMoveDot=5\r\n";
        }

        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // As from an interactive terminal, whatever this test was started from.
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGHUP, SIG_DFL);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            const int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 1);
            ::dup2(devnull, 2);
            ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        // Up and running once it handles the signal (at most a few seconds on a busy machine).
        const auto start = std::chrono::steady_clock::now();
        while (!Catches(pid, sig) && std::chrono::steady_clock::now() - start < 20s)
            std::this_thread::sleep_for(20ms);
        std::this_thread::sleep_for(200ms);
        ASSERT_EQ(::kill(pid, sig), 0);

        int status = 0;
        pid_t done = 0;
        const auto sent = std::chrono::steady_clock::now();
        while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - sent < 20s)
            std::this_thread::sleep_for(20ms);
        if (done == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "signal " << sig << ": the program did not end";
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "signal " << sig << ": status " << status;
        const std::string saved = ReadAll(env);
        EXPECT_EQ(saved.rfind("[Mine]\r\nfoo=bar\r\n\r\n[OPTION]\r\nMoveDot=5\r\n", 0), 0u) << saved;
        EXPECT_NE(saved.find("[BANSHO]\r\nLeft="), std::string::npos) << "signal " << sig;
        EXPECT_NE(saved.find("[COMMAND]\r\nKeyCUST=1\r\n"), std::string::npos) << "signal " << sig;
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
}

// Started with Ctrl+C and hangups ignored (nohup, a background job), the program keeps
// ignoring them; SIGTERM still saves and ends it.
TEST(ProgramEnd, SignalsIgnoredAtTheStartStayIgnored) {
    std::string tmpl = (fs::temp_directory_path() / "bansho-end-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    const fs::path dir = tmpl;
    const fs::path exe = dir / "bansho";
    fs::copy_file(BANSHO_EXE, exe);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::signal(SIGINT, SIG_IGN);
        ::signal(SIGHUP, SIG_IGN);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::dup2(devnull, 2);
        ::execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto start = std::chrono::steady_clock::now();
    while (!Catches(pid, SIGTERM) && std::chrono::steady_clock::now() - start < 20s)
        std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(Catches(pid, SIGTERM));
    EXPECT_FALSE(Catches(pid, SIGINT));
    EXPECT_FALSE(Catches(pid, SIGHUP));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    std::error_code ec;
    fs::remove_all(dir, ec);
}

} // namespace
