// The file work under the journal (see JournalFiles.h).
#include "JournalFiles.h"

#include "Settings.h"

#include <cerrno>
#include <cstdint>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

namespace bansho::keep::journalfiles {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

std::string Distrust(const struct stat& st, std::uint64_t maxBytes) {
    if (S_ISLNK(st.st_mode)) return "シンボリックリンクです。";
    if (S_ISDIR(st.st_mode)) return SystemReason(EISDIR);
    if (!S_ISREG(st.st_mode)) return "通常のファイルではありません。";
    if (st.st_uid != ::geteuid()) return "別のユーザーのファイルです。";
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return SystemReason(EFBIG);
    return {};
}

int MakeFolders(const std::string& dir) {
    if (dir.empty()) return 0;
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const std::size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        if (const int err = MakeFolders(dir.substr(0, slash))) return err;
    }
    if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    return 0;
}

void RemoveTemporaries(int dirFd, std::string_view name) {
    filereplace::ForEachTemporary(dirFd, name,
                                  [dirFd](const char* entry) { ::unlinkat(dirFd, entry, 0); });
}

int MakeTemporary(int dirFd, const std::string& name, std::string& tmpName) {
    return filereplace::MakeTemporary(dirFd, name, 0600, tmpName, O_APPEND);
}

bool EndReplacement(int dirFd, int fd, const std::string& tmp, bool ok) {
    if (!ok) {
        ::unlinkat(dirFd, tmp.c_str(), 0);
        ::close(fd);
    } else {
        ::fsync(dirFd);
    }
    ::close(dirFd);
    return ok;
}

std::string AsideName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string base = path + "." + stamp;
    std::string name = base;
    struct stat st {};
    for (int n = 2; ::lstat(name.c_str(), &st) == 0; ++n)
        name = base + "-" + std::to_string(n);
    return name;
}

std::string CannotKeep(const std::string& path, const std::string& reason) {
    return "ファイル \"" + path + "\" を使えません。" + reason;
}

} // namespace bansho::keep::journalfiles
