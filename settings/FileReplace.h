#pragma once
// How the settings library replaces a file on disk: the file a path leads to, whether its
// owner froze it, and the message for a file that cannot be made. Used by Settings.cpp only.
#include <filesystem>
#include <string>

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

} // namespace bansho::filereplace
