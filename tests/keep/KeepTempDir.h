#pragma once
// A folder of a test's own under /tmp, removed with everything in it at the end.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace bansho::testing {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/bansho-keep-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }
    // The names in the folder, sorted, each followed by a space.
    std::string Names() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (const auto& n : names)
            out += n + " ";
        return out;
    }

private:
    std::string path_;
};

} // namespace bansho::testing
