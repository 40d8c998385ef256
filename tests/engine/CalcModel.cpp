#include "CalcModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <stdexcept>

namespace bansho::testing {

namespace {

locale_t CLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

// Adds one unit in the last place of a digit string; returns true on a carry out of the top.
bool Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '9') {
            *it = '0';
        } else {
            ++*it;
            return false;
        }
    }
    return true;
}

// |a| (non-zero) as 18 significant digits, rounded half away from zero from the exact
// expansion that printf gives, and the power of ten of the first digit.
std::string Sig18(long double a, int& e10) {
    char buf[400];
    locale_t old = uselocale(CLocale());
    std::snprintf(buf, sizeof buf, "%.250Le", a);
    uselocale(old);
    std::string s(buf);
    const std::size_t epos = s.find('e');
    e10 = std::atoi(s.c_str() + epos + 1);
    std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);
    const bool up = digits[18] >= '5';
    digits.resize(18);
    if (up && Increment(digits)) {
        digits = "1" + std::string(17, '0');
        ++e10;
    }
    return digits;
}

std::string Truncating(long double r, int decimals, bool& overflow) {
    overflow = false;
    if (r == 0) return "0.";
    int e10 = 0;
    const std::string d = Sig18(std::fabs(r), e10);
    // Place the digits: integer part and fraction as plain strings.
    std::string ip, fp;
    if (e10 >= 0) {
        for (int i = 0; i <= e10; ++i)
            ip += i < 18 ? d[static_cast<std::size_t>(i)] : '0';
        if (e10 + 1 < 18) fp = d.substr(static_cast<std::size_t>(e10 + 1));
    } else {
        ip = "0";
        fp = std::string(static_cast<std::size_t>(-e10 - 1), '0') + d;
    }
    if (static_cast<int>(fp.size()) > decimals) {
        const bool up = fp[static_cast<std::size_t>(decimals)] >= '5';
        fp.resize(static_cast<std::size_t>(decimals));
        if (up) {
            std::string all = ip + fp;
            if (Increment(all)) all = "1" + all;
            ip = all.substr(0, all.size() - fp.size());
            fp = all.substr(all.size() - fp.size());
        }
    }
    while (!fp.empty() && fp.back() == '0')
        fp.pop_back();
    const bool zero = ip == "0" && fp.empty();
    overflow = ip.size() > 15;
    return (r < 0 && !zero ? "-" : "") + ip + "." + fp;
}

std::string Rounding(long double r, bool& overflow) {
    overflow = false;
    if (r == 0) return "0";
    int e10 = 0;
    std::string d = Sig18(std::fabs(r), e10);
    const bool up = d[15] >= '5';
    d.resize(15);
    if (up && Increment(d)) {
        d = "1" + std::string(14, '0');
        ++e10;
    }
    overflow = e10 >= 15 || e10 < -4;
    std::string ip, fp;
    if (e10 >= 0) {
        for (int i = 0; i <= e10; ++i)
            ip += i < 15 ? d[static_cast<std::size_t>(i)] : '0';
        if (e10 + 1 < 15) fp = d.substr(static_cast<std::size_t>(e10 + 1));
    } else {
        ip = "0";
        fp = std::string(static_cast<std::size_t>(-e10 - 1), '0') + d;
    }
    while (!fp.empty() && fp.back() == '0')
        fp.pop_back();
    return (r < 0 ? "-" : "") + ip + (fp.empty() ? "" : "." + fp);
}

int Decimals(const std::string& t) {
    const std::size_t dot = t.find('.');
    return static_cast<int>(dot == std::string::npos ? t.size() : t.size() - dot - 1);
}

} // namespace

void ModelCalc(ModelNum& dst, ModelNum& src, char ope, char mode, int acount) {
    for (ModelNum* n : {&dst, &src}) {
        if (!n->text.empty() && n->text.back() == '.') n->text.pop_back();
        if (n->text.empty()) n->text = "0";
    }
    const long double a = strtold_l(dst.text.c_str(), nullptr, CLocale());
    const long double b = strtold_l(src.text.c_str(), nullptr, CLocale());
    long double r = 0;
    const bool percent = mode == '%';
    switch (ope) {
    case '+':
        r = percent ? a * ((b + 100) / 100) : a + b;
        break;
    case '-':
        r = percent ? a * ((100 - b) / 100) : a - b;
        break;
    case '*':
        r = percent ? a * (b / 100) : a * b;
        break;
    case '/':
        if (b == 0)
            dst.error = true;
        else
            r = percent ? a / (b / 100) : a / b;
        break;
    default:
        throw std::invalid_argument("operator");
    }
    if (dst.error) return;
    bool overflow = false;
    std::string t;
    if (acount == 0) {
        const int decimals =
            (ope == '+' || ope == '-') ? std::max(Decimals(dst.text), Decimals(src.text)) : 15;
        t = Truncating(r, decimals, overflow);
    } else {
        t = Rounding(r, overflow);
    }
    std::size_t limit = 15;
    if (t.find('.') != std::string::npos) ++limit;
    if (t.find('-') != std::string::npos) ++limit;
    if (t.size() > limit) t.resize(limit);
    dst.text = t;
    dst.error = overflow;
}

} // namespace bansho::testing
