// Replacing a file in one step: a temporary file of this save alone, written, flushed and
// renamed over the target.
#include "FileReplace.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <unistd.h>

#include "Settings.h"

namespace bansho {

namespace fs = std::filesystem;

namespace filereplace {

std::string CannotCreate(const std::string& name, const std::string& reason) {
    return "ファイル \"" + name + "\" を作成できません。" + reason;
}

std::string CannotCreate(const std::string& name, int err) {
    return CannotCreate(name, SystemReason(err));
}

SaveTarget FindSaveTarget(const std::string& path) {
    SaveTarget t;
    t.Path = path;
    struct stat lst {};
    if (::lstat(path.c_str(), &lst) != 0) {
        if (errno != ENOENT) t.Errno = errno;
        return t; // a new file (its folder may still be missing)
    }
    if (S_ISLNK(lst.st_mode)) {
        if (::stat(path.c_str(), &t.St) != 0) {
            if (errno != ENOENT) {
                t.Errno = errno;
                return t;
            }
            // A link that leads nowhere yet: the file is made where it points.
            fs::path at = path;
            for (int hops = 0; hops < 40; ++hops) {
                std::error_code ec;
                const fs::path to = fs::read_symlink(at, ec);
                if (ec) break; // no link any more: the file to make
                at = to.is_absolute() ? to : at.parent_path() / to;
            }
            t.Path = at.lexically_normal();
            return t;
        }
        char real[PATH_MAX];
        if (::realpath(path.c_str(), real) == nullptr) {
            t.Errno = errno;
            return t;
        }
        t.Path = real;
    } else {
        t.St = lst;
    }
    t.Exists = true;
    if (S_ISDIR(t.St.st_mode))
        t.Errno = EISDIR;
    else if (!S_ISREG(t.St.st_mode))
        t.Reason = "通常のファイルではありません。";
    return t;
}

bool IsFrozen(const struct stat& st) {
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

constexpr std::size_t kTemporaryTail = 6; // "name.XXXXXX"

bool IsTemporaryChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsTemporaryOf(std::string_view entry, std::string_view name) {
    if (entry.size() != name.size() + 1 + kTemporaryTail || entry.substr(0, name.size()) != name ||
        entry[name.size()] != '.')
        return false;
    for (char c : entry.substr(name.size() + 1)) {
        if (!IsTemporaryChar(c)) return false;
    }
    return true;
}

void ForEachTemporary(int dirFd, std::string_view name,
                      const std::function<void(const char* entry)>& each) {
    const int scanFd = ::dup(dirFd); // closedir closes its own descriptor
    if (scanFd < 0) return;
    DIR* d = ::fdopendir(scanFd);
    if (!d) {
        ::close(scanFd);
        return;
    }
    while (const dirent* e = ::readdir(d)) {
        if (IsTemporaryOf(e->d_name, name)) each(e->d_name);
    }
    ::closedir(d);
}

int MakeTemporary(int dirFd, const std::string& name, mode_t mode, std::string& tmpName,
                  int flags) {
    static constexpr char kChars[] =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[kTemporaryTail] = {};
        if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
            // No random bytes: the process and a counter still give a name of our own.
            static std::uint32_t counter = 0;
            std::uint64_t v = (static_cast<std::uint64_t>(::getpid()) << 20) ^ ++counter ^
                              (static_cast<std::uint64_t>(attempt) << 40);
            for (unsigned char& b : random) {
                b = static_cast<unsigned char>(v);
                v >>= 8;
            }
        }
        tmpName = name + '.';
        for (unsigned char b : random)
            tmpName += kChars[b % (sizeof kChars - 1)];
        const int fd = ::openat(dirFd, tmpName.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | flags, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace filereplace

namespace {

using filereplace::CannotCreate;
using filereplace::IsTemporaryOf;
using filereplace::MakeTemporary;
using filereplace::WriteAll;

// A save holds a lock on its temporary file until the rename; a temporary that nobody holds
// is what a killed save left behind. The caller holds the folder's lock, so no save of this
// program is between making its temporary and locking it.
void RemoveStaleTemporaries(int dirFd, const std::string& name) {
    filereplace::ForEachTemporary(dirFd, name, [dirFd](const char* entry) {
        const int fd = ::openat(dirFd, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(dirFd, entry, 0);
        ::close(fd);
    });
}

// Holds the folder's lock for as long as it lives (no lock where the folder cannot be locked).
class FolderLock {
public:
    explicit FolderLock(int dirFd) : fd_(dirFd) {
        int r;
        while ((r = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        locked_ = r == 0;
    }
    ~FolderLock() {
        if (locked_) ::flock(fd_, LOCK_UN);
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Locked() const { return locked_; }

private:
    int fd_;
    bool locked_ = false;
};

} // namespace

SaveResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const filereplace::SaveTarget t = filereplace::FindSaveTarget(path);
    if (!t.Ok())
        return {false, t.Errno ? CannotCreate(path, t.Errno) : CannotCreate(path, t.Reason)};
    const fs::path& target = t.Path;
    const std::string name = target.filename().string();
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return {false, CannotCreate(path, ec.value())}; // the folder's own reason

    // A folder the user may write but not list is still saved into, without the lock (and
    // without removing stale temporaries, which needs the listing anyway).
    int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0 && errno == EACCES) dirFd = ::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return {false, CannotCreate(path, errno)};
    std::string tmp;
    int fd = -1;
    {
        // Other copies of the program save into the same folder: the folder's lock keeps the
        // removal of stale temporaries away from a temporary that is not locked yet.
        const FolderLock folder(dirFd);
        if (folder.Locked()) RemoveStaleTemporaries(dirFd, name);
        // A new file gets the usual mode of a new file; a replaced file starts private and
        // takes the old one's mode below.
        fd = MakeTemporary(dirFd, name, t.Exists ? 0600 : 0666, tmp, 0);
        if (fd >= 0) ::flock(fd, LOCK_EX); // held until the rename is done
    }
    if (fd < 0) {
        const int err = errno;
        ::close(dirFd);
        return {false, CannotCreate(path, err)};
    }

    auto fail = [&](int err) -> SaveResult {
        ::unlinkat(dirFd, tmp.c_str(), 0);
        ::close(fd);
        ::close(dirFd);
        return {false, CannotCreate(path, err)};
    };

    // The new file gets the old one's owner, group and permissions, set on its own
    // descriptor. A file whose owner cannot be kept is not taken over.
    if (t.Exists) {
        struct stat mine {};
        if (::fstat(fd, &mine) != 0) return fail(errno);
        if ((mine.st_uid != t.St.st_uid || mine.st_gid != t.St.st_gid) &&
            ::fchown(fd, t.St.st_uid, t.St.st_gid) != 0)
            return fail(errno);
        if (::fchmod(fd, t.St.st_mode & 07777) != 0) return fail(errno);
    }

    if (!WriteAll(fd, bytes)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (::renameat(dirFd, tmp.c_str(), dirFd, name.c_str()) != 0) return fail(errno);
    ::close(fd);
    // Make the rename itself durable; a failure here no longer endangers the file.
    ::fsync(dirFd);
    ::close(dirFd);
    return {};
}

} // namespace bansho
