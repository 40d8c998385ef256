#pragma once
// One entry of the history: the number as recorded, the glyph its row shows and the mark that
// says what kind of amount it is, in 24 bytes.
// The row text is not kept: it is drawn from these two when someone asks for it, so a receipt
// of a million rows costs 24 MB, not the 140 MB of a padded text beside every number.
//
// Every number the calculator records fits in place (21 bytes: fifteen digits, a sign, a point
// and a blank to spare). A longer text, which only a paste or the edit dialog can store, is kept
// on the heap.
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace bansho {

// What kind of amount a row holds beyond its number and operator. A plain row has none; the
// features that record other kinds of amounts add their own values here. The values may be
// kept in files, so each keeps its number.
enum class RowMark : unsigned char {
    None = 0,
    // An item of the tax bill, keyed with a tax key: at rate 1 or rate 2, as a price before
    // tax (a tax-included key) or as a price with tax (a tax-excluded key). Such a row is not
    // part of the receipt's chain; it feeds the bill's totals.
    TaxRate1BeforeTax = 0x10,
    TaxRate1WithTax = 0x11,
    TaxRate2BeforeTax = 0x12,
    TaxRate2WithTax = 0x13,
    Time = 0x20, // the number is a time's whole seconds; the row shows "h:mm:ss"
    Date = 0x21, // the number is a date's day number; the row shows "2026-12-07"
    // A value of the pricing keys, shown with its label and kept out of the total.
    CostPrice = 0x30,  // 原価
    SellPrice = 0x31,  // 売価
    MarginRate = 0x32, // 粗利率
    Profit = 0x33,     // 粗利
};

class HistoryEntry {
public:
    // `glyph` is the operator the row shows, '+', '-', '*' or '/', or ' ' for a row drawn
    // without one (a negative first row, which counts as '+').
    HistoryEntry(std::string_view number, char glyph, RowMark mark = RowMark::None)
        : glyph_(glyph), mark_(mark) {
        Assign(number);
    }
    HistoryEntry(const HistoryEntry& other) : glyph_(other.glyph_), mark_(other.mark_) {
        Assign(other.Number());
    }
    HistoryEntry(HistoryEntry&& other) noexcept { Take(other); }
    HistoryEntry& operator=(const HistoryEntry& other) {
        if (this != &other) {
            HistoryEntry copy(other);
            Release();
            Take(copy);
        }
        return *this;
    }
    HistoryEntry& operator=(HistoryEntry&& other) noexcept {
        if (this != &other) {
            Release();
            Take(other);
        }
        return *this;
    }
    ~HistoryEntry() { Release(); }

    std::string_view Number() const {
        if (size_ == kOnHeap) return *Heap();
        return {text_, size_};
    }
    char Glyph() const { return glyph_; }
    // The operator the entry counts with: its glyph, '+' for a row without one.
    char Ope() const { return glyph_ == ' ' ? '+' : glyph_; }
    RowMark Mark() const { return mark_; }

    // A corrected row keeps its mark unless it is given a new one.
    void Set(std::string_view number, char glyph) { Set(number, glyph, mark_); }
    void Set(std::string_view number, char glyph, RowMark mark) {
        HistoryEntry fresh(number, glyph, mark);
        Release();
        Take(fresh);
    }

private:
    static constexpr std::size_t kInline = 21;
    static constexpr unsigned char kOnHeap = 0xFF;

    std::string* Heap() const {
        std::string* p = nullptr;
        std::memcpy(&p, text_, sizeof p);
        return p;
    }
    void Assign(std::string_view number) {
        if (number.size() <= kInline) {
            std::memcpy(text_, number.data(), number.size());
            size_ = static_cast<unsigned char>(number.size());
        } else {
            auto* p = new std::string(number);
            std::memcpy(text_, &p, sizeof p);
            size_ = kOnHeap;
        }
    }
    // Takes what `other` holds and leaves it empty.
    void Take(HistoryEntry& other) noexcept {
        std::memcpy(text_, other.text_, kInline);
        size_ = other.size_;
        glyph_ = other.glyph_;
        mark_ = other.mark_;
        other.size_ = 0;
    }
    void Release() noexcept {
        if (size_ == kOnHeap) delete Heap();
        size_ = 0;
    }

    char text_[kInline] = {};
    unsigned char size_ = 0;
    char glyph_ = '+';
    RowMark mark_ = RowMark::None;
};

static_assert(sizeof(HistoryEntry) == 24);

} // namespace bansho
