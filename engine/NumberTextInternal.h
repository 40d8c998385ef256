#pragma once
// What the number reader, the result writer and the arithmetic step of NumberText.h share:
// the power-of-ten tables and a result on its way to text. Not for use outside them.
#include <array>
#include <cstdint>
#include <string>

namespace bansho::numbertext {

using u64 = std::uint64_t;
using u128 = unsigned __int128;

// Powers of ten up to 10^27 are exact in the 64-bit significand of long double.
inline constexpr int kExactPow10 = 27;
inline constexpr std::array<long double, kExactPow10 + 1> kPow10L = [] {
    std::array<long double, kExactPow10 + 1> a{};
    long double p = 1.0L;
    for (auto& x : a) {
        x = p;
        p *= 10.0L;
    }
    return a;
}();

// 10^0 .. 10^38, all of which fit into 128 bits.
inline constexpr std::array<u128, 39> kPow10U128 = [] {
    std::array<u128, 39> a{};
    u128 p = 1;
    for (auto& x : a) {
        x = p;
        p *= 10;
    }
    return a;
}();

inline u128 Pow10U128(int k) {
    return kPow10U128[static_cast<std::size_t>(k)];
}

inline constexpr u64 kPow10U64[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL,
                                    10000000000000000000ULL};

// A result on its way to text: nothing (not finite, 1e50 or more), zero, or digits.
struct ResultDigits {
    bool overflow = false; // the register gets its Error flag
    bool empty = false;    // no text at all
    bool zero = false;     // "0." (point) or "0"
    bool neg = false;
    u64 top = 0; // the digits, first one worth 10^p
    int p = 0;
    bool point = true; // the truncating mode always writes the point
};

ResultDigits SplitResult(long double r, int acount, int decimals);
void WriteResult(const ResultDigits& d, std::string& text);
// FormatResult into a string that already exists (a register's text keeps its buffer).
void FormatInto(long double r, int acount, int decimals, bool& overflow, std::string& text);

} // namespace bansho::numbertext
