#include "ExactModel.h"

#include <algorithm>
#include <stdexcept>

namespace bansho::testing {

namespace {

// ---- Natural numbers as decimal-digit strings, no leading zeros ("0" for zero) ----

std::string Trim(std::string s) {
    const std::size_t first = s.find_first_not_of('0');
    return first == std::string::npos ? "0" : s.substr(first);
}

int Cmp(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

std::string Plus(const std::string& a, const std::string& b) {
    std::string r;
    int carry = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) || carry; ++i) {
        int d = carry;
        if (i < a.size()) d += a[a.size() - 1 - i] - '0';
        if (i < b.size()) d += b[b.size() - 1 - i] - '0';
        r.insert(r.begin(), static_cast<char>('0' + d % 10));
        carry = d / 10;
    }
    return Trim(r);
}

// a - b for a >= b.
std::string Minus(const std::string& a, const std::string& b) {
    std::string r = a;
    int borrow = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        char& c = r[r.size() - 1 - i];
        int d = c - '0' - borrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        borrow = d < 0 ? 1 : 0;
        c = static_cast<char>('0' + d + 10 * borrow);
    }
    return Trim(r);
}

std::string Times(const std::string& a, const std::string& b) {
    std::string r = "0";
    for (std::size_t i = 0; i < b.size(); ++i) {
        std::string partial = "0";
        for (int k = 0; k < b[i] - '0'; ++k)
            partial = Plus(partial, a);
        r = Plus(r + "0", partial); // shift what came before by one place
    }
    return Trim(r);
}

// Long division, one quotient digit at a time.
void Divide(const std::string& a, const std::string& b, std::string& q, std::string& r) {
    if (b == "0") throw std::invalid_argument("division by zero");
    q.clear();
    r = "0";
    for (const char c : a) {
        r = Trim(r + c);
        int digit = 0;
        while (Cmp(r, b) >= 0) {
            r = Minus(r, b);
            ++digit;
        }
        q += static_cast<char>('0' + digit);
    }
    q = Trim(q);
}

// ---- Signed fractions of such strings ----

struct Frac {
    bool neg = false;
    std::string num = "0";
    std::string den = "1";
};

Frac Read(std::string t) {
    // The calculator's reading: a trailing point dropped, nothing read as 0, blanks in front.
    if (!t.empty() && t.back() == '.') t.pop_back();
    const std::size_t start = t.find_first_not_of(" \t");
    t = start == std::string::npos ? "0" : t.substr(start);
    Frac f;
    if (!t.empty() && t[0] == '-') {
        f.neg = true;
        t.erase(0, 1);
    }
    const std::size_t dot = t.find('.');
    std::string digits = t;
    if (dot != std::string::npos) {
        digits.erase(dot, 1);
        f.den = "1" + std::string(t.size() - dot - 1, '0');
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        throw std::invalid_argument("not a number: " + t);
    f.num = Trim(digits);
    return f;
}

Frac Whole(const std::string& n) {
    return Frac{false, n, "1"};
}

Frac Add(const Frac& x, const Frac& y) {
    const std::string a = Times(x.num, y.den);
    const std::string b = Times(y.num, x.den);
    Frac r;
    r.den = Times(x.den, y.den);
    if (x.neg == y.neg) {
        r.neg = x.neg;
        r.num = Plus(a, b);
    } else if (Cmp(a, b) >= 0) {
        r.neg = x.neg;
        r.num = Minus(a, b);
    } else {
        r.neg = y.neg;
        r.num = Minus(b, a);
    }
    return r;
}

Frac Negated(Frac f) {
    f.neg = !f.neg;
    return f;
}

Frac Mul(const Frac& x, const Frac& y) {
    return Frac{x.neg != y.neg, Times(x.num, y.num), Times(x.den, y.den)};
}

Frac Div(const Frac& x, const Frac& y) {
    return Frac{x.neg != y.neg, Times(x.num, y.den), Times(x.den, y.num)};
}

// The exact value rounded and shown; error for more than 15 whole digits.
ModelNum Show(const Frac& f, int acount, int decimals, int rule) {
    std::string whole, rest;
    Divide(f.num, f.den, whole, rest);
    if (whole.size() > 15) return ModelNum{"", true};
    const int places = std::min<int>(decimals, 15 - static_cast<int>(whole.size()));
    std::string units, r;
    Divide(f.num + std::string(static_cast<std::size_t>(places), '0'), f.den, units, r);
    bool up = false;
    if (rule == 1) up = Cmp(Plus(r, r), f.den) >= 0;
    if (rule == 2) up = r != "0";
    if (up) units = Plus(units, "1");
    if (units.size() <= static_cast<std::size_t>(places))
        units.insert(0, static_cast<std::size_t>(places) + 1 - units.size(), '0');
    const std::string w = units.substr(0, units.size() - static_cast<std::size_t>(places));
    std::string frac = units.substr(w.size());
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    if (w.size() > 15) return ModelNum{"", true};
    const bool zero = Trim(units) == "0";
    return ModelNum{(f.neg && !zero ? "-" : "") + w + (frac.empty() ? (acount == 0 ? "." : "")
                                                                     : "." + frac),
                    false};
}

} // namespace

void ModelSelected(ModelNum& dst, const ModelNum& src, char ope, char mode, int acount,
                   int decimals, int rule) {
    if (dst.error || src.error) {
        dst.error = true;
        return;
    }
    const Frac a = Read(dst.text);
    const Frac b = Read(src.text);
    const Frac hundred = Whole("100");
    if ((ope == '/') && b.num == "0") {
        dst.error = true;
        return;
    }
    Frac r;
    if (mode == '%') {
        switch (ope) {
        case '+': r = Mul(a, Div(Add(b, hundred), hundred)); break;
        case '-': r = Mul(a, Div(Add(hundred, Negated(b)), hundred)); break;
        case '*': r = Mul(a, Div(b, hundred)); break;
        default: r = Div(a, Div(b, hundred)); break;
        }
    } else {
        switch (ope) {
        case '+': r = Add(a, b); break;
        case '-': r = Add(a, Negated(b)); break;
        case '*': r = Mul(a, b); break;
        default: r = Div(a, b); break;
        }
    }
    dst = Show(r, acount, decimals, rule);
}

ModelNum ModelTaxContained(const std::string& amount, const std::string& rate, int acount,
                           int decimals, int rule) {
    const Frac r = Read(rate);
    const Frac divisor = Add(Whole("100"), r);
    if (divisor.num == "0") return ModelNum{"", true};
    return Show(Div(Mul(Read(amount), r), divisor), acount, decimals, rule);
}

} // namespace bansho::testing
