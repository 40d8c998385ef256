#pragma once
// What a fuzz target does when an invariant breaks: say which, and abort, so that libFuzzer
// keeps the input and the replay runner fails.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace bansho::testing {

[[noreturn]] inline void FuzzFail(const char* file, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(cond, what)                                                                     \
    do {                                                                                           \
        if (!(cond))                                                                               \
            bansho::testing::FuzzFail(__FILE__, __LINE__, std::string(#cond " -- ") + (what));     \
    } while (0)

} // namespace bansho::testing
