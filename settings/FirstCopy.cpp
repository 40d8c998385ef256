#include "FirstCopy.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace bansho {

namespace {

// The name of the lock of one settings file: a hash of its absolute path (FNV-1a).
std::string LockName(const std::string& settingsFile) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(settingsFile, ec);
    if (ec) p = settingsFile;
    const std::string key = p.lexically_normal().string();
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : key) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char name[32];
    std::snprintf(name, sizeof name, "bansho-%016llx", static_cast<unsigned long long>(h));
    return name;
}

bool IsPrivateFolder(const struct stat& st) {
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

bool MakeAddress(const std::string& path, sockaddr_un& addr) {
    addr = {};
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    return true;
}

constexpr char kHeard[] = "ok\n";

} // namespace

std::string UserRuntimeFolder() {
    struct stat st {};
    if (const char* x = std::getenv("XDG_RUNTIME_DIR");
        x && x[0] == '/' && ::stat(x, &st) == 0 && IsPrivateFolder(st))
        return x;
    const std::string dir = "/tmp/bansho-" + std::to_string(::geteuid());
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // Someone else's folder, or one others may write, is not trusted with the lock.
    if (::lstat(dir.c_str(), &st) != 0 || !IsPrivateFolder(st)) return {};
    return dir;
}

FirstCopyLock::FirstCopyLock(const std::string& settingsFile)
    : FirstCopyLock(settingsFile, UserRuntimeFolder()) {}

FirstCopyLock::FirstCopyLock(const std::string& settingsFile, const std::string& runtimeFolder) {
    if (runtimeFolder.empty()) return;
    const std::string base = runtimeFolder + "/" + LockName(settingsFile);
    socketPath_ = base + ".sock";
    lockFd_ = ::open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return;
    role_ = Role::Later;
    if (TryLock()) return;
    if (errno != EWOULDBLOCK) { // no lock to be had on this file system
        ::close(lockFd_);
        lockFd_ = -1;
        role_ = Role::NoLock;
    }
}

FirstCopyLock::~FirstCopyLock() {
    if (listenFd_ >= 0) {
        ::unlink(socketPath_.c_str()); // still ours: the lock is held until the close below
        ::close(listenFd_);
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

bool FirstCopyLock::TryLock() {
    int r;
    while ((r = ::flock(lockFd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (r != 0) return false;
    role_ = Role::First;
    Listen();
    return true;
}

// The socket of the copy that holds the lock; a socket an ended copy left is replaced.
void FirstCopyLock::Listen() {
    sockaddr_un addr;
    if (!MakeAddress(socketPath_, addr)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    ::unlink(socketPath_.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 8) != 0) {
        ::close(fd);
        return;
    }
    listenFd_ = fd;
}

bool FirstCopyLock::AnswerRequest(const std::function<void()>& comeForward) {
    if (listenFd_ < 0) return false;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return false;
    // Only the user's own starts are heard (the folder is private; this holds besides).
    ucred cred{};
    socklen_t len = sizeof cred;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == ::geteuid()) {
        comeForward();
        ::send(fd, kHeard, sizeof kHeard - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    ::close(fd);
    return true;
}

bool FirstCopyLock::AskFirstCopyToComeForward(std::chrono::milliseconds wait) {
    if (role_ != Role::Later) return false;
    sockaddr_un addr;
    if (!MakeAddress(socketPath_, addr)) return false;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) {
            // Heard once the first copy answers. A copy that is busy gets the request all the
            // same, so the wait is bounded; a copy that ends meanwhile frees the lock.
            bool closed = false; // ended without an answer: the lock tells whether it is gone
            for (;;) {
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 50) > 0) {
                    char reply[sizeof kHeard] = {};
                    closed = ::recv(fd, reply, sizeof reply - 1, 0) <= 0;
                    break;
                }
                if (TryLock()) {
                    ::close(fd);
                    return false;
                }
                if (std::chrono::steady_clock::now() >= deadline) break;
            }
            if (!closed) {
                ::close(fd);
                return true;
            }
        }
        ::close(fd);
        // Not listening yet (it is starting) or not any more (it ended): the lock tells which.
        if (TryLock()) return false;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace bansho
