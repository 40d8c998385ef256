// The kept receipt's journal: lock, read, append, flush in groups, compact.
#include "ReceiptJournal.h"

#include "JournalFiles.h"
#include "Settings.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace bansho::keep {

namespace fs = std::filesystem;
using namespace journalfiles;

namespace {

constexpr std::uint64_t kMinCompactBytes = 4ull << 20;
constexpr std::size_t kReadChunk = 4u << 20;

} // namespace

std::string JournalFileFor(const std::string& settingsFile, bool portable,
                           std::string_view xdgStateHome, std::string_view home) {
    std::string name = NameOf(settingsFile);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    name += ".journal";
    if (portable) return FolderOf(settingsFile) + "/" + name;
    std::string base;
    if (!xdgStateHome.empty() && xdgStateHome.front() == '/')
        base = std::string(xdgStateHome);
    else if (!home.empty())
        base = std::string(home) + "/.local/state";
    else
        return FolderOf(settingsFile) + "/" + name;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/bansho/" + name;
}

std::string JournalFileName(const std::string& settingsFile, bool portable) {
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    return JournalFileFor(settingsFile, portable, state ? state : "", home ? home : "");
}

Journal::Journal(std::string path, std::chrono::milliseconds syncDelay)
    : path_(std::move(path)), syncDelay_(syncDelay) {}

Journal::~Journal() {
    Close();
}

Journal::Status Journal::Fail(Status status, const std::string& reason) {
    status_ = status;
    problem_ = CannotKeep(path_, reason);
    CloseFd(fd_);
    return status_;
}

Journal::Status Journal::Open(KeptState& state) {
    state = KeptState{};
    problem_.clear();
    cutBytes_ = 0;
    const std::string dir = FolderOf(path_);
    if (const int err = MakeFolders(dir)) return Fail(Status::Failed, SystemReason(err));
    if (lockFd_ < 0) {
        lockFd_ = ::open((path_ + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (lockFd_ < 0) return Fail(Status::Failed, SystemReason(errno));
        if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            CloseFd(lockFd_);
            if (err == EWOULDBLOCK)
                return Fail(Status::Busy, "ほかのバンショが記録に使っています。");
            return Fail(Status::Failed, SystemReason(err));
        }
    }
    // Only a copy holding the lock gets here: any temporary beside the journal is one a
    // killed compaction left.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return Fail(Status::Failed, SystemReason(errno));
    RemoveTemporaries(dirFd, NameOf(path_));

    struct stat st {};
    if (::lstat(path_.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            const int err = errno;
            ::close(dirFd);
            return Fail(Status::Bad, SystemReason(err));
        }
        // A new journal: its header, made in one step, so that a journal always has one.
        std::string tmp;
        const int fd = MakeTemporary(dirFd, NameOf(path_), tmp);
        bool ok = fd >= 0 && WriteAll(fd, kJournalMagic) && ::fsync(fd) == 0 &&
                  ::renameat(dirFd, tmp.c_str(), dirFd, NameOf(path_).c_str()) == 0;
        const int err = errno;
        if (!ok && fd >= 0) ::unlinkat(dirFd, tmp.c_str(), 0);
        if (fd >= 0) ::close(fd);
        if (ok) ::fsync(dirFd);
        ::close(dirFd);
        if (!ok) return Fail(Status::Failed, SystemReason(err));
        if (::lstat(path_.c_str(), &st) != 0) return Fail(Status::Failed, SystemReason(errno));
    } else {
        ::close(dirFd);
    }
    if (std::string why = Distrust(st, kMaxJournalBytes); !why.empty()) return Fail(Status::Bad, why);
    fd_ = ::open(path_.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return Fail(Status::Bad, SystemReason(errno));
    struct stat opened {};
    if (::fstat(fd_, &opened) != 0) return Fail(Status::Bad, SystemReason(errno));
    if (opened.st_ino != st.st_ino || opened.st_dev != st.st_dev)
        return Fail(Status::Bad, "読み込み中に置き換えられました。");
    if (std::string why = Distrust(opened, kMaxJournalBytes); !why.empty())
        return Fail(Status::Bad, why);
    const Status read = ReadInto(state);
    if (read != Status::Keeping) {
        state = KeptState{};
        return read;
    }
    status_ = Status::Keeping;
    snapshotSize_ = size_.load();
    StartWorker();
    return status_;
}

Journal::Status Journal::ReadInto(KeptState& state) {
    std::string buf;
    std::vector<char> chunk(kReadChunk);
    std::uint64_t offset = 0; // of buf's first byte in the file
    std::uint64_t good = 0;   // the end of the last whole record
    bool eof = false;
    bool header = false;
    for (;;) {
        if (!eof) {
            const ssize_t n = ::read(fd_, chunk.data(), chunk.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(Status::Bad, SystemReason(errno));
            }
            if (n == 0) eof = true;
            buf.append(chunk.data(), static_cast<std::size_t>(n));
        }
        std::string_view rest(buf);
        std::size_t used = 0;
        if (!header) {
            if (rest.size() < kJournalMagic.size() && !eof) continue;
            if (rest.substr(0, kJournalMagic.size()) != kJournalMagic) {
                // A header cut short is a journal whose making was cut short: nothing kept.
                if (rest.size() < kJournalMagic.size() &&
                    kJournalMagic.substr(0, rest.size()) == rest)
                    break;
                return Fail(Status::Bad, "バンショの記録ファイルではありません。");
            }
            header = true;
            used = kJournalMagic.size();
            good = used;
        }
        bool torn = false;
        while (used < rest.size()) {
            std::string_view body;
            std::size_t size = 0;
            const FrameStatus f = ReadFrame(rest.substr(used), body, size);
            if (f == FrameStatus::Short && !eof) break;
            if (f != FrameStatus::Ok) {
                torn = true;
                break;
            }
            if (!ApplyRecord(body, state))
                return Fail(Status::Bad, "記録が壊れています（" +
                                             std::to_string(offset + used) + " バイト目）。");
            used += size;
            good = offset + used;
        }
        buf.erase(0, used);
        offset += used;
        if (torn || (eof && !buf.empty())) break;
        if (eof) break;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return Fail(Status::Bad, SystemReason(errno));
    const auto fileSize = static_cast<std::uint64_t>(st.st_size);
    if (!header) {
        // Whatever the file held is the start of a header: write it whole.
        if (::ftruncate(fd_, 0) != 0 || !WriteAll(fd_, kJournalMagic) || ::fsync(fd_) != 0)
            return Fail(Status::Failed, SystemReason(errno));
        cutBytes_ = fileSize;
        size_ = kJournalMagic.size();
        return Status::Keeping;
    }
    if (good < fileSize) {
        // A torn or broken tail: never trusted, cut at the last whole record.
        if (::ftruncate(fd_, static_cast<off_t>(good)) != 0 || ::fsync(fd_) != 0)
            return Fail(Status::Failed, SystemReason(errno));
        cutBytes_ = fileSize - good;
    }
    size_ = good;
    return Status::Keeping;
}

std::string Journal::MoveAside() {
    if (status_ != Status::Bad) return {};
    const std::string aside = AsideName(path_);
    if (::rename(path_.c_str(), aside.c_str()) != 0) {
        problem_ = CannotKeep(path_, SystemReason(errno));
        return {};
    }
    status_ = Status::Closed;
    problem_.clear();
    return aside;
}

void Journal::Write(std::string_view records) {
    if (status_ != Status::Keeping || records.empty()) return;
    int err = 0;
    {
        // Under the lock: a background compaction moves the journal to its new file between
        // two writes, never inside one.
        std::lock_guard lock(mutex_);
        if (WriteAll(fd_, records)) {
            size_ += records.size();
            if (!dirty_) {
                dirty_ = true;
                dirtySince_ = std::chrono::steady_clock::now();
                wake_.notify_one();
            }
            return;
        }
        err = errno;
    }
    StopCompaction();
    StopWorker();
    Fail(Status::Failed, SystemReason(err));
}

bool Journal::CompactionDue() const {
    const std::uint64_t size = size_.load();
    return status_ == Status::Keeping && !compacting_.load() && size > kMinCompactBytes &&
           size > 2 * snapshotSize_.load();
}

bool Journal::Compact(const std::deque<HistoryEntry>& rows, const TCalcNum& memory,
                      const TCalcNum& grandTotal, int kind) {
    if (status_ != Status::Keeping) return false;
    StopCompaction();
    const std::string dir = FolderOf(path_);
    const std::string name = NameOf(path_);
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return false;
    std::string tmp;
    const int fd = MakeTemporary(dirFd, name, tmp);
    if (fd < 0) {
        ::close(dirFd);
        return false;
    }
    std::uint64_t written = 0;
    bool ok = StreamJournal(rows, memory, grandTotal, kind, [&](const std::string& chunk) {
        if (!WriteAll(fd, chunk)) return false;
        written += chunk.size();
        return true;
    });
    ok = ok && ::fsync(fd) == 0 && ::renameat(dirFd, tmp.c_str(), dirFd, name.c_str()) == 0;
    if (!EndReplacement(dirFd, fd, tmp, ok))
        return false; // the old journal stays and is appended to as before
    {
        std::lock_guard lock(mutex_);
        CloseFd(fd_);
        fd_ = fd;
        dirty_ = false; // everything in the new file is on the disk
        size_ = written;
        snapshotSize_ = written;
    }
    return true;
}

void Journal::SyncNow() {
    int fd = -1;
    {
        std::lock_guard lock(mutex_);
        if (fd_ < 0) return;
        dirty_ = false;
        fd = ::dup(fd_);
    }
    if (fd >= 0) {
        ::fdatasync(fd);
        ::close(fd);
        ++syncs_;
    }
}

void Journal::Close() {
    StopCompaction();
    StopWorker();
    if (fd_ >= 0) ::fdatasync(fd_);
    CloseFd(fd_);
    CloseFd(lockFd_);
    if (status_ == Status::Keeping) status_ = Status::Closed;
}

void Journal::StartWorker() {
    stop_ = false;
    worker_ = std::thread([this] { Worker(); });
}

void Journal::StopWorker() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        wake_.notify_one();
    }
    worker_.join();
}

void Journal::Worker() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || dirty_; });
        if (stop_) return;
        // The records written meanwhile join this flush.
        const auto since = dirtySince_;
        wake_.wait_until(lock, since + syncDelay_, [this] { return stop_; });
        if (stop_) return; // Close flushes
        if (!dirty_) continue; // a compaction flushed them
        dirty_ = false;
        const int fd = fd_ >= 0 ? ::dup(fd_) : -1;
        lock.unlock();
        if (fd >= 0) {
            ::fdatasync(fd);
            ::close(fd);
            ++syncs_;
            const auto waited = std::chrono::duration_cast<std::chrono::microseconds>(
                                    std::chrono::steady_clock::now() - since)
                                    .count();
            if (waited > longestWaitUs_.load()) longestWaitUs_.store(waited);
        }
        lock.lock();
    }
}

} // namespace bansho::keep

namespace bansho::keep {

bool PeekJournal(const std::string& path, KeptState& state) {
    state = KeptState{};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    std::string bytes;
    std::vector<char> chunk(1u << 16);
    ssize_t n = 0;
    while ((n = ::read(fd, chunk.data(), chunk.size())) > 0)
        bytes.append(chunk.data(), static_cast<std::size_t>(n));
    ::close(fd);
    if (n < 0 || bytes.substr(0, kJournalMagic.size()) != kJournalMagic) return false;
    std::string_view rest(bytes);
    rest.remove_prefix(kJournalMagic.size());
    std::string_view body;
    std::size_t size = 0;
    while (ReadFrame(rest, body, size) == FrameStatus::Ok) {
        if (!ApplyRecord(body, state)) return false;
        rest.remove_prefix(size);
    }
    return true;
}

} // namespace bansho::keep
