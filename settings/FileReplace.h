#pragma once
// How the settings library replaces a file on disk: the file a path leads to, whether its
// owner froze it, temporaries of a save and the message for a file that cannot be made. Used by
// Settings.cpp and by the kept receipt's journal.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace bansho::filereplace {

// The file a save replaces: the path itself, or the regular file a symbolic link leads to.
struct SaveTarget {
    std::filesystem::path Path;
    bool Exists = false;
    struct stat St {};
    int Errno = 0;      // cannot be saved: the system's reason
    std::string Reason; // cannot be saved: the program's reason
    bool Ok() const { return Errno == 0 && Reason.empty(); }
};

SaveTarget FindSaveTarget(const std::string& path);

// No one may write the file: its owner froze it, and that holds for root as well.
bool IsFrozen(const struct stat& st);

// "ファイル "name" を作成できません。" and the reason.
std::string CannotCreate(const std::string& name, const std::string& reason);
std::string CannotCreate(const std::string& name, int err);

// "name." and six letters or digits: a temporary file of a save of `name`.
bool IsTemporaryOf(std::string_view entry, std::string_view name);

// Calls `each` with the name of every temporary of `name` in the folder.
void ForEachTemporary(int dirFd, std::string_view name,
                      const std::function<void(const char* entry)>& each);

// Makes a temporary file of this save alone beside `name` in the folder: a name no one else has
// (created exclusively, another name tried when it is taken), with `mode` as the system applies
// a new file's mode (the process's file-creation mask and the folder's default access list),
// opened for reading and writing with `flags` added (O_APPEND). Returns the descriptor, or -1
// with errno.
int MakeTemporary(int dirFd, const std::string& name, mode_t mode, std::string& tmpName,
                  int flags);

// Writes all of `bytes`, again after an interrupted write; false with errno.
bool WriteAll(int fd, std::string_view bytes);

} // namespace bansho::filereplace
