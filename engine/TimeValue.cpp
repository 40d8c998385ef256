#include "TimeValue.h"

#include "TextFunctions.h"

namespace bansho {

bool TimeInRange(std::int64_t seconds) {
    return seconds > -kTimeSecondsLimit && seconds < kTimeSecondsLimit;
}

namespace {
std::string TwoDigits(std::int64_t v) {
    std::string s = std::to_string(v);
    return v < 10 ? "0" + s : s;
}

std::int64_t Value(std::string_view digits) {
    std::int64_t v = 0;
    for (const char c : digits)
        v = v * 10 + (c - '0');
    return v;
}
} // namespace

std::string TimeText(std::int64_t seconds) {
    const bool negative = seconds < 0;
    // |seconds| of a time in range cannot overflow; unsigned keeps the minimum safe anyway.
    const std::uint64_t a = negative ? 0 - static_cast<std::uint64_t>(seconds)
                                     : static_cast<std::uint64_t>(seconds);
    const auto h = static_cast<std::int64_t>(a / 3600);
    const auto m = static_cast<std::int64_t>(a / 60 % 60);
    const auto s = static_cast<std::int64_t>(a % 60);
    std::string out = negative ? "-" : "";
    out += InsertThousands(std::to_string(h));
    out += ':' + TwoDigits(m) + ':' + TwoDigits(s);
    return out;
}

std::optional<std::int64_t> ParseSeconds(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == text.size() || text.size() - i > 16) return std::nullopt;
    std::int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        v = v * 10 + (text[i] - '0');
    }
    return negative ? -v : v;
}

std::string SecondsText(std::int64_t seconds) {
    return std::to_string(seconds);
}

std::optional<std::int64_t> SecondsFromHours(std::string_view hours) {
    std::size_t i = 0;
    while (i < hours.size() && static_cast<unsigned char>(hours[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < hours.size() && hours[i] == '-') {
        negative = true;
        ++i;
    }
    // value = mantissa / 10^scale, read exactly; at most eighteen significant digits matter.
    __int128 mantissa = 0;
    int scale = 0;
    bool point = false, digit = false;
    for (; i < hours.size(); ++i) {
        const char c = hours[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
            if (mantissa > static_cast<__int128>(1) << 90) return std::nullopt;
            mantissa = mantissa * 10 + (c - '0');
            if (point) ++scale;
        } else {
            return std::nullopt;
        }
    }
    if (!digit || scale > 30) return std::nullopt;
    __int128 denominator = 1;
    for (int k = 0; k < scale; ++k)
        denominator *= 10;
    const __int128 numerator = mantissa * 3600;
    __int128 q = numerator / denominator;
    if ((numerator % denominator) * 2 >= denominator) ++q; // half a second away from zero
    if (q >= kTimeSecondsLimit) return std::nullopt;
    const auto s = static_cast<std::int64_t>(q);
    return negative ? -s : s;
}

bool TimeEntry::Start(std::string_view hours) {
    if (hours.size() > 11) return false;
    for (const char c : hours)
        if (c < '0' || c > '9') return false;
    hours_ = std::string(hours);
    minutes_.clear();
    seconds_.clear();
    field_ = Field::Minutes;
    return true;
}

bool TimeEntry::Type(std::string_view digits) {
    std::string& f = field_ == Field::Minutes ? minutes_ : seconds_;
    if (field_ == Field::None || f.size() + digits.size() > 2) return false;
    f += digits;
    return true;
}

void TimeEntry::Close() {
    field_ = field_ == Field::Minutes ? Field::Seconds : Field::None;
}

bool TimeEntry::Back() {
    if (field_ == Field::Seconds) {
        if (!seconds_.empty())
            seconds_.pop_back();
        else
            field_ = Field::Minutes;
        return true;
    }
    if (field_ == Field::Minutes) {
        if (!minutes_.empty()) {
            minutes_.pop_back();
            return true;
        }
        field_ = Field::None;
    }
    return false;
}

std::int64_t TimeEntry::Seconds() const {
    return Value(hours_) * 3600 + Value(minutes_) * 60 + Value(seconds_);
}

std::string TimeEntry::Text() const {
    std::string out = InsertThousands(hours_.empty() ? std::string("0") : hours_) + ':' + minutes_;
    if (field_ == Field::Seconds) out += ':' + seconds_;
    return out;
}

} // namespace bansho
