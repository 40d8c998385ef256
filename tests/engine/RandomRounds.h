#pragma once
// How many random cases a model test runs, and how finely a sweep steps. Under the sanitizers
// every step costs several times as much, and the plain build already checks every case: there
// a tenth of the random cases, and every third step of a sweep, still take each path the
// sanitizers watch.
namespace bansho::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

constexpr int RandomRounds(int full) {
    return kSanitized ? (full + 9) / 10 : full;
}

constexpr int SweepStep(int full) {
    return kSanitized ? full * 3 : full;
}

} // namespace bansho::testing
