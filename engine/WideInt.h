#pragma once
// An unsigned integer of 384 bits for the exact results of the decimal selection: the operands
// of a register (at most 22 digits) multiplied in pairs and scaled by a few powers of ten stay
// far below its limit. Sums, products, comparison and division with remainder; nothing else.
#include <array>
#include <cstdint>
#include <string>

namespace bansho {

class WideInt {
public:
    using u64 = std::uint64_t;
    using u128 = unsigned __int128;
    static constexpr int kLimbs = 6;

    WideInt() = default;
    WideInt(u64 v) { limb_[0] = v; } // NOLINT(google-explicit-constructor): a small number

    static WideInt Pow10(int k) {
        WideInt p(1);
        for (; k >= 19; k -= 19)
            p.MulSmall(10000000000000000000ULL);
        u64 rest = 1;
        for (; k > 0; --k)
            rest *= 10;
        p.MulSmall(rest);
        return p;
    }

    bool IsZero() const {
        for (u64 l : limb_)
            if (l != 0) return false;
        return true;
    }
    // The value when it fits into 64 bits; check with Compare first.
    u64 Low() const { return limb_[0]; }

    void MulSmall(u64 m) {
        u64 carry = 0;
        for (u64& l : limb_) {
            const u128 t = static_cast<u128>(l) * m + carry;
            l = static_cast<u64>(t);
            carry = static_cast<u64>(t >> 64);
        }
    }
    void AddSmall(u64 a) { *this = *this + WideInt(a); }

    // The bits above the limit are lost; the callers stay far below it.
    friend WideInt operator*(const WideInt& a, const WideInt& b) {
        WideInt r;
        const int usedA = a.Used(), usedB = b.Used();
        for (int i = 0; i < usedA; ++i) {
            if (a.limb_[i] == 0) continue;
            u64 carry = 0;
            for (int j = 0; i + j < kLimbs && (j < usedB || carry != 0); ++j) {
                const u128 t = static_cast<u128>(a.limb_[i]) * b.limb_[j] + r.limb_[i + j] + carry;
                r.limb_[i + j] = static_cast<u64>(t);
                carry = static_cast<u64>(t >> 64);
            }
        }
        return r;
    }
    friend WideInt operator+(const WideInt& a, const WideInt& b) {
        WideInt r;
        u64 carry = 0;
        for (int i = 0; i < kLimbs; ++i) {
            const u128 t = static_cast<u128>(a.limb_[i]) + b.limb_[i] + carry;
            r.limb_[i] = static_cast<u64>(t);
            carry = static_cast<u64>(t >> 64);
        }
        return r;
    }
    // a - b for a >= b.
    friend WideInt operator-(const WideInt& a, const WideInt& b) {
        WideInt r;
        u64 borrow = 0;
        for (int i = 0; i < kLimbs; ++i) {
            const u64 x = a.limb_[i];
            const u64 y = b.limb_[i];
            r.limb_[i] = x - y - borrow;
            borrow = (x < y || (x == y && borrow != 0)) ? 1 : 0;
        }
        return r;
    }
    friend int Compare(const WideInt& a, const WideInt& b) {
        for (int i = kLimbs - 1; i >= 0; --i)
            if (a.limb_[i] != b.limb_[i]) return a.limb_[i] < b.limb_[i] ? -1 : 1;
        return 0;
    }
    friend bool operator<(const WideInt& a, const WideInt& b) { return Compare(a, b) < 0; }
    friend bool operator==(const WideInt& a, const WideInt& b) { return Compare(a, b) == 0; }

    // n = q * d + r with r < d; d must not be zero. Two 128-bit numbers divide directly, any
    // other pair bit by bit.
    static void DivMod(const WideInt& n, const WideInt& d, WideInt& q, WideInt& r) {
        if (n.Used() <= 1 && d.Used() <= 1) {
            q = WideInt(n.limb_[0] / d.limb_[0]);
            r = WideInt(n.limb_[0] % d.limb_[0]);
            return;
        }
        if (n.Fits128() && d.Fits128()) {
            q = FromU128(n.Low128() / d.Low128());
            r = FromU128(n.Low128() % d.Low128());
            return;
        }
        q = WideInt();
        r = WideInt();
        for (int bit = n.BitLength() - 1; bit >= 0; --bit) {
            r.ShiftLeft1();
            r.limb_[0] |= (n.limb_[bit / 64] >> (bit % 64)) & 1;
            if (!(r < d)) {
                r = r - d;
                q.limb_[bit / 64] |= static_cast<u64>(1) << (bit % 64);
            }
        }
    }

    // Decimal digits, "0" for zero.
    std::string ToDecimal() const {
        std::string s;
        WideInt v = *this;
        const WideInt ten(10);
        do {
            WideInt q, r;
            DivMod(v, ten, q, r);
            s.insert(s.begin(), static_cast<char>('0' + r.Low()));
            v = q;
        } while (!v.IsZero());
        return s;
    }

private:
    static WideInt FromU128(u128 v) {
        WideInt w;
        w.limb_[0] = static_cast<u64>(v);
        w.limb_[1] = static_cast<u64>(v >> 64);
        return w;
    }
    // Limbs up to the highest one that is not zero.
    int Used() const {
        int n = kLimbs;
        while (n > 0 && limb_[n - 1] == 0)
            --n;
        return n;
    }
    bool Fits128() const {
        for (int i = 2; i < kLimbs; ++i)
            if (limb_[i] != 0) return false;
        return true;
    }
    u128 Low128() const { return (static_cast<u128>(limb_[1]) << 64) | limb_[0]; }
    int BitLength() const {
        for (int i = kLimbs - 1; i >= 0; --i)
            if (limb_[i] != 0) return i * 64 + 64 - __builtin_clzll(limb_[i]);
        return 0;
    }
    void ShiftLeft1() {
        for (int i = kLimbs - 1; i > 0; --i)
            limb_[i] = (limb_[i] << 1) | (limb_[i - 1] >> 63);
        limb_[0] <<= 1;
    }

    std::array<u64, kLimbs> limb_{};
};

} // namespace bansho
