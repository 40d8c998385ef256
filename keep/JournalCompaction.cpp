// The journal's compaction in the background (see ReceiptJournal.h): the state the journal
// gives, replayed on a thread of its own, becomes the new file while typing goes on.
//
// The old journal is never changed: until the rename it is the journal, whole, with every
// record written. The temporary holds the snapshot of the journal's first `end` bytes and,
// after it, copies of the records written since; the last of them are copied under the lock
// that every write takes, with the rename, so no record can fall between the two files.
#include "JournalFiles.h"
#include "ReceiptJournal.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace bansho::keep {

using namespace journalfiles;

namespace {

constexpr std::size_t kChunk = 1u << 20;
// Rounds of copying the records written meanwhile, each flushed to the disk, before the last
// copy that goes with the rename (typing that never stops is not waited for forever).
constexpr int kTailRounds = 8;

bool ReadAt(int fd, std::uint64_t offset, std::size_t n, std::string& out) {
    out.resize(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd, out.data() + got, n - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

// The state that the first `end` bytes of a journal give. Only whole records are ever
// appended, so anything else there means the file is not what was written: no compaction.
bool Replay(int fd, std::uint64_t end, KeptState& state, const std::atomic<bool>& cancel) {
    std::string pending;
    if (end < kJournalMagic.size() || !ReadAt(fd, 0, kJournalMagic.size(), pending) ||
        pending != kJournalMagic)
        return false;
    pending.clear();
    std::string chunk;
    for (std::uint64_t offset = kJournalMagic.size(); offset < end;) {
        if (cancel.load()) return false;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - offset));
        if (!ReadAt(fd, offset, n, chunk)) return false;
        offset += n;
        pending += chunk;
        const std::string_view rest(pending);
        std::size_t used = 0;
        for (;;) {
            std::string_view body;
            std::size_t size = 0;
            const FrameStatus f = ReadFrame(rest.substr(used), body, size);
            if (f == FrameStatus::Short) break;
            if (f != FrameStatus::Ok || !ApplyRecord(body, state)) return false;
            used += size;
        }
        pending.erase(0, used);
    }
    return pending.empty();
}

// Appends bytes [begin, end) of one file to another.
bool CopyRange(int from, std::uint64_t begin, std::uint64_t end, int to) {
    std::string buf;
    while (begin < end) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - begin));
        if (!ReadAt(from, begin, n, buf) || !WriteAll(to, buf)) return false;
        begin += n;
    }
    return true;
}

} // namespace

bool Journal::StartCompaction() {
    if (status_ != Status::Keeping || compacting_.load()) return false;
    if (compactor_.joinable()) compactor_.join(); // the last one, ended
    int oldFd = -1;
    std::uint64_t end = 0;
    {
        std::lock_guard lock(mutex_);
        oldFd = fd_ >= 0 ? ::dup(fd_) : -1;
        end = size_.load();
    }
    if (oldFd < 0) return false;
    cancel_ = false;
    compacting_ = true;
    compactor_ = std::thread([this, oldFd, end] {
        lastCompactionOk_ = CompactInBackground(oldFd, end);
        ::close(oldFd);
        if (lastCompactionOk_) ++compactions_;
        compacting_ = false;
    });
    return true;
}

bool Journal::WaitForCompaction() {
    if (!compactor_.joinable()) return false;
    compactor_.join();
    return lastCompactionOk_;
}

void Journal::StopCompaction() {
    if (!compactor_.joinable()) return;
    cancel_ = true;
    compactor_.join();
    cancel_ = false;
}

bool Journal::CompactInBackground(int oldFd, std::uint64_t end) {
    KeptState state;
    if (!Replay(oldFd, end, state, cancel_)) return false;
    const int dirFd = ::open(FolderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return false;
    std::string tmp;
    int fd = MakeTemporary(dirFd, NameOf(path_), tmp);
    if (fd < 0) {
        ::close(dirFd);
        return false;
    }
    std::uint64_t snapshot = 0;
    bool ok = StreamJournal(state.Rows, state.Memory, state.GrandTotal, state.Kind,
                            [&](const std::string& chunk) {
                                if (cancel_.load() || !WriteAll(fd, chunk)) return false;
                                snapshot += chunk.size();
                                return true;
                            });
    state = KeptState{};
    ok = ok && ::fsync(fd) == 0;
    if (ok && hook_) hook_(CompactionStep::SnapshotSynced);
    // The records written meanwhile, after it, each round flushed.
    std::uint64_t copied = end;
    for (int round = 0; ok && round < kTailRounds; ++round) {
        const std::uint64_t now = size_.load();
        if (now == copied) break;
        ok = !cancel_.load() && CopyRange(oldFd, copied, now, fd) && ::fdatasync(fd) == 0;
        copied = now;
    }
    if (ok && hook_) hook_(CompactionStep::TailCopied);
    ok = ok && SwitchToCompacted(oldFd, fd, dirFd, tmp, end, copied, snapshot);
    if (!EndReplacement(dirFd, fd, tmp, ok))
        return false; // the old journal stays and is appended to as before
    if (hook_) hook_(CompactionStep::Replaced);
    return true;
}

bool Journal::SwitchToCompacted(int oldFd, int newFd, int dirFd, const std::string& tmp,
                                std::uint64_t end, std::uint64_t copied, std::uint64_t snapshot) {
    // No write can come between the last copy and the rename: each takes this lock.
    std::lock_guard lock(mutex_);
    if (cancel_.load() || fd_ < 0) return false;
    const std::uint64_t now = size_.load();
    if (now > copied && !CopyRange(oldFd, copied, now, newFd)) return false;
    if (::renameat(dirFd, tmp.c_str(), dirFd, NameOf(path_).c_str()) != 0) return false;
    CloseFd(fd_);
    fd_ = newFd;
    size_ = snapshot + (now - end);
    snapshotSize_ = snapshot;
    if (now > copied && !dirty_) {
        // The last records copied are not on the disk yet in the new file: the next flush.
        dirty_ = true;
        dirtySince_ = std::chrono::steady_clock::now();
        wake_.notify_one();
    }
    return true;
}

} // namespace bansho::keep
