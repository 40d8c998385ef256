#include "ReKeyCheck.h"

#include "ReceiptTotal.h"
#include "TextFunctions.h"

namespace bansho {

namespace {

// A number's text reduced to one spelling of its value: no blanks, no leading zeros, no
// trailing zeros after the point, no point without decimals, no sign on zero.
std::string Canonical(std::string_view text) {
    std::string t = TrimLeftBlanks(text);
    bool negative = false;
    if (!t.empty() && t.front() == '-') {
        negative = true;
        t.erase(0, 1);
    }
    if (t.find('.') != std::string::npos) {
        t = TrimRightChar(t, '0');
        t = TrimRightChar(t, '.');
    }
    std::size_t lead = 0;
    while (lead + 1 < t.size() && t[lead] == '0' && t[lead + 1] != '.')
        ++lead;
    t.erase(0, lead);
    if (t.empty() || t == "0") return "0";
    return negative ? "-" + t : t;
}

} // namespace

bool SameEntry(const KeyedEntry& a, const KeyedEntry& b) {
    return a.Glyph == b.Glyph && a.Mark == b.Mark && Canonical(a.Number) == Canonical(b.Number);
}

bool SameValue(const TCalcNum& a, const TCalcNum& b) {
    return a.Error == b.Error && a.Kind == b.Kind && Canonical(a.Text) == Canonical(b.Text);
}

void ReKeyCheck::Start(const std::deque<HistoryEntry>& rows, const TCalcNum& total) {
    first_.clear();
    first_.reserve(rows.size());
    rowOf_.clear();
    // The values of the pricing keys and the items of the tax bill stand beside the
    // calculation on the receipt: they are no entries of it, and a second keying does not put
    // them on the receipt again.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const HistoryEntry& r = rows[i];
        if (BesideChain(r.Mark())) continue;
        first_.push_back({std::string(r.Number()), r.Glyph(), r.Mark()});
        rowOf_.push_back(i);
    }
    rowCount_ = rows.size();
    firstTotal_ = total;
    keyed_ = 0;
    row_ = 0;
    second_.reset();
    state_ = State::Checking;
}

void ReKeyCheck::Stop() {
    state_ = State::Off;
    first_.clear();
    rowOf_.clear();
    second_.reset();
}

void ReKeyCheck::StopAt(std::size_t row, std::optional<KeyedEntry> second) {
    state_ = State::Stopped;
    row_ = row;
    second_ = std::move(second);
}

bool ReKeyCheck::Entry(const KeyedEntry& entry) {
    if (state_ != State::Checking) return false;
    const std::size_t i = keyed_++;
    if (i >= first_.size() || !SameEntry(first_[i], entry)) {
        StopAt(i, entry);
        return false;
    }
    return true;
}

bool ReKeyCheck::Finish(const TCalcNum& total) {
    if (state_ != State::Checking) return false;
    if (keyed_ < first_.size()) {
        StopAt(keyed_, std::nullopt); // a row not keyed again
        return false;
    }
    if (!SameValue(total, firstTotal_)) {
        StopAt(first_.size(), std::nullopt);
        return false;
    }
    return true;
}

} // namespace bansho
