#pragma once
// One copy of the program owns the user's files at a time: the first copy started. A later
// start asks it to come to the front and ends, unless the user asked for another copy.
//
// The lock belongs to the settings file (one per user): a lock file held with flock and a
// Unix socket beside it, both in the user's private runtime folder. Anything that must not be
// written by two copies asks IsFirstCopy(); a copy that is not the first leaves such files
// alone. The kernel lets go of the lock when the copy ends, however it ends.
#include <chrono>
#include <functional>
#include <string>

namespace bansho {

class FirstCopyLock {
public:
    enum class Role {
        First, // holds the lock: owns the user's files
        Later, // another copy holds it
        NoLock // the lock could not be made (no private runtime folder): owns nothing for sure
    };

    // Takes the lock of `settingsFile` in UserRuntimeFolder() when no other copy holds it.
    explicit FirstCopyLock(const std::string& settingsFile);
    // The same in `runtimeFolder` (which must exist, private to the user).
    FirstCopyLock(const std::string& settingsFile, const std::string& runtimeFolder);
    ~FirstCopyLock();
    FirstCopyLock(const FirstCopyLock&) = delete;
    FirstCopyLock& operator=(const FirstCopyLock&) = delete;

    Role GetRole() const { return role_; }
    bool IsFirstCopy() const { return role_ == Role::First; }

    // The first copy: a descriptor that becomes readable when a later start asks it to come
    // to the front (-1 when there is none).
    int RequestFd() const { return listenFd_; }
    // The first copy: takes one waiting request, calls `comeForward` and tells the asking start
    // that it was heard. Returns false when no request waits.
    bool AnswerRequest(const std::function<void()>& comeForward);

    // A later copy: asks the first copy to come to the front and waits at most `wait` for it
    // to be heard. Returns whether the first copy was reached. When the first copy ended in
    // the meantime, this copy takes the lock and becomes the first (and false is returned).
    bool AskFirstCopyToComeForward(std::chrono::milliseconds wait = std::chrono::seconds(5));

    const std::string& SocketPath() const { return socketPath_; }

private:
    bool TryLock();
    void Listen();

    Role role_ = Role::NoLock;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string socketPath_;
};

// The user's private runtime folder: $XDG_RUNTIME_DIR when it is a folder of the user's,
// else /tmp/bansho-<uid>, made private to the user. Empty when there is none to trust.
std::string UserRuntimeFolder();

} // namespace bansho
