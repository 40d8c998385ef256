#pragma once
// How many random cases a model test runs. Under the sanitizers every step costs several times
// as much, and the plain build already checks the agreement on every case: there a tenth of the
// cases still takes each path the sanitizers watch.
namespace bansho::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

constexpr int RandomRounds(int full) {
    return kSanitized ? (full + 9) / 10 : full;
}

} // namespace bansho::testing
