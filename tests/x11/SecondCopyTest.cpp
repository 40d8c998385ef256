// The program started again while it runs: real copies of the program on the private X
// server. The later start ends and the running copy comes to the front with the keyboard;
// "--new-instance" starts a copy of its own.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
// After gtest: Xlib's macros would break its headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// Polls `done` until it holds or a generous time has passed (a busy machine is slow).
bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A copy of the program started as a user starts it; ended with SIGTERM unless it ended.
class Copy {
public:
    explicit Copy(const fs::path& exe, std::vector<std::string> args = {}) {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 1);
            ::dup2(devnull, 2);
            std::vector<char*> argv{const_cast<char*>(exe.c_str())};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(exe.c_str(), argv.data());
            ::_exit(127);
        }
    }
    ~Copy() {
        if (Running()) {
            ::kill(pid_, SIGTERM);
            if (!WaitUntil([this] { return !Running(); })) ::kill(pid_, SIGKILL);
        }
        if (!ended_) ::waitpid(pid_, &status_, 0);
    }
    pid_t Pid() const { return pid_; }
    bool Running() {
        if (ended_) return false;
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
        return !ended_;
    }
    bool ExitedWith(int code) const {
        return ended_ && WIFEXITED(status_) && WEXITSTATUS(status_) == code;
    }

private:
    pid_t pid_ = -1;
    int status_ = 0;
    bool ended_ = false;
};

// What a window manager sees of the screen: the top-level windows bottom to top.
class StackingView {
public:
    StackingView() : dpy_(XOpenDisplay(nullptr)) {}
    ~StackingView() {
        if (dpy_) XCloseDisplay(dpy_);
    }
    bool Ok() const { return dpy_ != nullptr; }
    Display* Dpy() const { return dpy_; }

    std::vector<Window> Stacking() {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        std::vector<Window> out;
        if (XQueryTree(dpy_, DefaultRootWindow(dpy_), &root, &parent, &children, &n)) {
            out.assign(children, children + n);
            XFree(children);
        }
        return out;
    }
    // The shown top-level windows of a process (_NET_WM_PID), bottom to top.
    std::vector<Window> ShownWindowsOf(pid_t pid) {
        std::vector<Window> out;
        const Atom pidAtom = XInternAtom(dpy_, "_NET_WM_PID", False);
        for (const Window w : Stacking()) {
            XWindowAttributes a{};
            if (!XGetWindowAttributes(dpy_, w, &a) || a.map_state != IsViewable) continue;
            Atom type = 0;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(dpy_, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                                   &count, &after, &data) == Success &&
                data) {
                if (count == 1 && format == 32 &&
                    static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid)
                    out.push_back(w);
                XFree(data);
            }
        }
        return out;
    }
    // Whether every window of `below` lies under `w`.
    bool AllBelow(const std::vector<Window>& below, Window w) {
        const std::vector<Window> order = Stacking();
        const auto at = [&](Window x) { return std::find(order.begin(), order.end(), x); };
        for (const Window b : below)
            if (at(b) == order.end() || at(b) > at(w)) return false;
        return at(w) != order.end();
    }
    Window Focus() {
        Window w = 0;
        int revert = 0;
        XGetInputFocus(dpy_, &w, &revert);
        return w;
    }

private:
    Display* dpy_;
};

class SecondCopy : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen_.Ok()) << "cannot reach the private X server";
        // A copy of the program in a folder of its own: its settings file is that folder's,
        // and so is its lock.
        std::string tmpl = (fs::temp_directory_path() / "bansho-copies-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        exe_ = dir_ / "bansho";
        fs::copy_file(BANSHO_EXE, exe_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // Another program's window over the whole screen, with the keyboard.
    Window Cover() {
        Display* d = screen_.Dpy();
        const Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1280, 1024, 0, 0, 0);
        XMapRaised(d, w);
        XSync(d, False);
        XSetInputFocus(d, w, RevertToParent, CurrentTime);
        XSync(d, False);
        return w;
    }

    StackingView screen_;
    fs::path dir_;
    fs::path exe_;
};

TEST_F(SecondCopy, ALaterStartEndsAndBringsTheRunningCopyToTheFront) {
    Copy first(exe_);
    std::vector<Window> shown;
    ASSERT_TRUE(WaitUntil([&] {
        shown = screen_.ShownWindowsOf(first.Pid());
        return shown.size() >= 2 || !first.Running(); // the main window and the receipt
    })) << "the program's windows did not appear";
    ASSERT_TRUE(first.Running());

    const Window cover = Cover();
    ASSERT_TRUE(screen_.AllBelow(shown, cover));
    ASSERT_EQ(screen_.Focus(), cover);

    Copy second(exe_);
    EXPECT_TRUE(WaitUntil([&] { return !second.Running(); })) << "the later start runs on";
    EXPECT_TRUE(second.ExitedWith(0));
    EXPECT_TRUE(first.Running());

    // The running copy's windows come above the other program's, and it has the keyboard.
    const auto inFront = [&] {
        const std::vector<Window> now = screen_.ShownWindowsOf(first.Pid());
        for (const Window w : now)
            if (!screen_.AllBelow({cover}, w)) return false;
        const Window focus = screen_.Focus();
        return !now.empty() && std::find(now.begin(), now.end(), focus) != now.end();
    };
    EXPECT_TRUE(WaitUntil(inFront)) << "the running copy did not come to the front";
    XDestroyWindow(screen_.Dpy(), cover);
    XSync(screen_.Dpy(), False);
}

TEST_F(SecondCopy, NewInstanceStartsACopyOfItsOwn) {
    Copy first(exe_);
    ASSERT_TRUE(WaitUntil([&] { return !screen_.ShownWindowsOf(first.Pid()).empty(); }));
    Copy another(exe_, {"--new-instance"});
    EXPECT_TRUE(WaitUntil(
        [&] { return !screen_.ShownWindowsOf(another.Pid()).empty() || !another.Running(); }));
    EXPECT_TRUE(another.Running()) << "the copy asked for ended";
    EXPECT_FALSE(screen_.ShownWindowsOf(another.Pid()).empty());
    EXPECT_TRUE(first.Running());
}

} // namespace
