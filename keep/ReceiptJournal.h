#pragma once
// The kept receipt's journal file: one copy of the program at a time keeps it (a lock beside
// it), every change is appended before the next key is handled, and a worker thread flushes
// the appended records to the disk in groups, within a second of their writing. Past a bound
// the file is replaced by a snapshot of the state it gives, made by a thread of its own while
// typing goes on; at a clean close, by a snapshot of the state as it stands.
//
// A journal that cannot be trusted (someone else's file, a folder, a FIFO or a device, a file
// too large, records that are not this program's) is never written over; a torn or broken
// tail, what a crash or a power cut leaves, is cut at the last whole record.
#include "KeepRecord.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace bansho::keep {

// A journal larger than this is not read (no receipt the program keeps grows so large).
inline constexpr std::uint64_t kMaxJournalBytes = 512ull << 20;
// Records are flushed to the disk at most this long after the first of a group was written.
inline constexpr std::chrono::milliseconds kSyncDelay{200};

// --- Where the journal lives ---------------------------------------------------------------

// Beside the settings file for a portable install (the settings file beside the program:
// everything of the program stays in its folder); otherwise in the user's state folder,
// $XDG_STATE_HOME/bansho/ when XDG_STATE_HOME is an absolute path, else
// ~/.local/state/bansho/. The name is the settings file's with ".journal" for ".ENV".
std::string JournalFileFor(const std::string& settingsFile, bool portable,
                           std::string_view xdgStateHome, std::string_view home);
// The same for the running program and its settings file (the environment decides).
std::string JournalFileName(const std::string& settingsFile, bool portable);

// --- The journal ------------------------------------------------------------------------------

class Journal {
public:
    enum class Status {
        Closed,  // not opened yet, or closed
        Keeping, // open, locked, read: records are appended
        Busy,    // another copy of the program keeps this journal
        Bad,     // the file is there but cannot be trusted; it is left as it is
        Failed,  // the folder or the file cannot be made or written
    };

    explicit Journal(std::string path, std::chrono::milliseconds syncDelay = kSyncDelay);
    ~Journal(); // stops the worker and flushes what was written; no compaction
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Takes the lock, then reads the journal into `state` (a new journal starts empty).
    // Keeping: `state` holds what the journal kept, any torn tail cut off. Otherwise `state` is
    // empty and Problem() says why.
    Status Open(KeptState& state);
    Status GetStatus() const { return status_; }
    bool Keeping() const { return status_ == Status::Keeping; }
    // Why the journal is not kept (the file's name and the reason), or empty.
    const std::string& Problem() const { return problem_; }
    const std::string& Path() const { return path_; }
    // Bytes of a torn or broken tail that the last Open cut off.
    std::uint64_t CutBytes() const { return cutBytes_; }

    // A Bad journal: renames it to "<name>.<yyyymmdd-hhmmss>" beside itself, so that the next
    // Open starts a new one. Returns the new name, or empty (Problem() says why).
    std::string MoveAside();

    // Appends framed records (KeepRecord.h) to the file before returning; the worker flushes
    // them within the sync delay. A failed write stops the keeping (Problem() says why).
    void Write(std::string_view records);
    // Whether the file has grown enough past its last snapshot to be compacted (and no
    // compaction runs).
    bool CompactionDue() const;
    // Replaces the file in one step by the snapshot `rows` and the values: a temporary file
    // of its own, written, flushed, renamed over the journal, and the folder flushed. A
    // compaction in the background is given up first.
    bool Compact(const std::deque<HistoryEntry>& rows, const TCalcNum& memory,
                 const TCalcNum& grandTotal, int kind);

    // Compacts in the background (JournalCompaction.cpp): a thread of its own replays the
    // journal as it stands, writes that state to a temporary file and flushes it, copies the
    // records written meanwhile after it, and renames it over the journal with the last of
    // them, while Write goes on appending to the old file. A kill at any moment leaves the old
    // journal whole or the new one with every record written. False when one runs already or
    // the journal is not kept.
    bool StartCompaction();
    bool Compacting() const { return compacting_.load(); }
    // Waits for a background compaction to end; whether it replaced the file.
    bool WaitForCompaction();
    // The background compactions that replaced the file.
    std::uint64_t CompactionCount() const { return compactions_.load(); }
    // Where a background compaction has got to; a test's hook runs there, on the compaction's
    // thread and outside every lock (Write goes on meanwhile).
    enum class CompactionStep {
        SnapshotSynced, // the temporary holds the snapshot, on the disk; the journal is the old
        TailCopied,     // the records written meanwhile follow it, on the disk
        Replaced,       // the temporary is the journal; new records go to it
    };
    void SetCompactionHook(std::function<void(CompactionStep)> hook) { hook_ = std::move(hook); }
    // Stops the worker, flushes, closes and lets go of the lock.
    void Close();

    std::uint64_t Size() const { return size_.load(); }
    // Flushes now and waits for it (tests, and the benchmark's last step).
    void SyncNow();
    // The flushes done, and the longest time a record waited for its flush.
    std::uint64_t SyncCount() const { return syncs_.load(); }
    std::chrono::microseconds LongestWait() const {
        return std::chrono::microseconds(longestWaitUs_.load());
    }

private:
    Status Fail(Status status, const std::string& reason);
    Status ReadInto(KeptState& state);
    void StartWorker();
    void StopWorker();
    void Worker();
    // The background compaction (JournalCompaction.cpp).
    void StopCompaction();
    bool CompactInBackground(int oldFd, std::uint64_t end);
    bool SwitchToCompacted(int oldFd, int newFd, int dirFd, const std::string& tmp,
                           std::uint64_t end, std::uint64_t copied, std::uint64_t snapshot);

    std::string path_;
    std::chrono::milliseconds syncDelay_;
    Status status_ = Status::Closed;
    std::string problem_;
    int lockFd_ = -1;
    int fd_ = -1;
    // Changed by the window's thread (Write) and by a background compaction, under mutex_.
    std::atomic<std::uint64_t> size_{0};
    std::atomic<std::uint64_t> snapshotSize_{0};
    std::uint64_t cutBytes_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool dirty_ = false; // records written since the worker last took the file
    bool stop_ = false;
    std::chrono::steady_clock::time_point dirtySince_;
    std::thread worker_;
    std::atomic<std::uint64_t> syncs_{0};
    std::atomic<std::int64_t> longestWaitUs_{0};

    std::thread compactor_;
    std::atomic<bool> compacting_{false};
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> compactions_{0};
    bool lastCompactionOk_ = false; // set by the compactor before it ends (read after join)
    std::function<void(CompactionStep)> hook_;
};

} // namespace bansho::keep

namespace bansho::keep {

// Reads a journal as it stands without taking its lock and without changing it: the state its
// whole records give (a torn tail is left out). False when the file cannot be read or holds
// something else (a tool's and a test's look from outside).
bool PeekJournal(const std::string& path, KeptState& state);

} // namespace bansho::keep
