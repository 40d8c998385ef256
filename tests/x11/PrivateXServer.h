#pragma once
// A private X server for the tests that need a real window system: Xvfb started on a display
// number it picks itself (-displayfd), never the user's display, and stopped at the end.
#include <string>

#include <sys/types.h>

namespace bansho::testing {

class PrivateXServer {
public:
    // Starts Xvfb with one screen of the given size; Ok() tells whether it runs.
    PrivateXServer(int width, int height);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool Ok() const { return !display_.empty(); }
    // ":N", for DISPLAY.
    const std::string& Display() const { return display_; }
    // Why it could not be started.
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};

} // namespace bansho::testing
