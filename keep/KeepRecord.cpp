// The journal's records: framing, checksums, and replaying a record onto the kept state.
#include "KeepRecord.h"

#include <array>
#include <utility>

namespace bansho::keep {

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t GetU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

// Frames the body that was written from `start` on: its length in front, its checksum after.
class Frame {
public:
    Frame(std::string& out, RecordType type) : out_(out), start_(out.size()) {
        PutU32(out_, 0);
        out_ += static_cast<char>(type);
    }
    ~Frame() {
        const std::size_t bodySize = out_.size() - start_ - 4;
        for (int i = 0; i < 4; ++i)
            out_[start_ + static_cast<std::size_t>(i)] = static_cast<char>((bodySize >> (8 * i)) & 0xFF);
        PutU32(out_, Crc32(out_.data() + start_, bodySize + 4));
    }
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

private:
    std::string& out_;
    std::size_t start_;
};

void PutRow(std::string& out, const HistoryEntry& row) {
    out += row.Glyph();
    out += static_cast<char>(row.Mark());
    out += row.Number(); // the rest of the body
}

// Reads the fields of a body one after the other; any read past its end fails the whole body.
class Reader {
public:
    explicit Reader(std::string_view body) : rest_(body) {}
    bool U64(std::uint64_t& v) {
        if (rest_.size() < 8) return false;
        v = 0;
        for (int i = 7; i >= 0; --i)
            v = (v << 8) | static_cast<unsigned char>(rest_[static_cast<std::size_t>(i)]);
        rest_.remove_prefix(8);
        return true;
    }
    bool Byte(unsigned char& b) {
        if (rest_.empty()) return false;
        b = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return true;
    }
    std::string_view Rest() {
        std::string_view r = rest_;
        rest_ = {};
        return r;
    }
    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

bool ReadRow(Reader& r, HistoryEntry& row) {
    unsigned char glyph = 0, mark = 0;
    if (!r.Byte(glyph) || !r.Byte(mark)) return false;
    row = HistoryEntry(r.Rest(), static_cast<char>(glyph), static_cast<RowMark>(mark));
    return true;
}

bool FitsIndex(std::uint64_t i, std::size_t count) {
    return i < count;
}

} // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    const auto& t = CrcTable();
    const auto* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
        crc = t[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void AppendRow(std::string& out, const HistoryEntry& row) {
    Frame f(out, RecordType::Append);
    PutRow(out, row);
}

void AppendRowAt(std::string& out, RecordType type, std::uint64_t index, const HistoryEntry& row) {
    Frame f(out, type);
    PutU64(out, index);
    PutRow(out, row);
}

void AppendIndex(std::string& out, RecordType type, std::uint64_t index) {
    Frame f(out, type);
    PutU64(out, index);
}

void AppendSwap(std::string& out, std::uint64_t i, std::uint64_t j) {
    Frame f(out, RecordType::Swap);
    PutU64(out, i);
    PutU64(out, j);
}

void AppendClear(std::string& out) {
    Frame f(out, RecordType::Clear);
}

void AppendValue(std::string& out, RecordType type, const TCalcNum& value) {
    Frame f(out, type);
    out += static_cast<char>(value.Error ? 1 : 0);
    out += static_cast<char>(value.Kind);
    out += value.Text;
}

void AppendKind(std::string& out, int kind) {
    Frame f(out, RecordType::Kind);
    out += static_cast<char>(kind);
}

void AppendSnapshot(std::string& out, const KeptState& state) {
    AppendClear(out);
    for (const HistoryEntry& row : state.Rows)
        AppendRow(out, row);
    AppendValues(out, state.Memory, state.GrandTotal, state.Kind);
}

bool StreamJournal(const std::deque<HistoryEntry>& rows, const TCalcNum& memory,
                   const TCalcNum& grandTotal, int kind,
                   const std::function<bool(const std::string&)>& sink) {
    constexpr std::size_t kChunk = 1u << 20;
    std::string out(kJournalMagic);
    AppendClear(out);
    for (const HistoryEntry& row : rows) {
        AppendRow(out, row);
        if (out.size() >= kChunk) {
            if (!sink(out)) return false;
            out.clear();
        }
    }
    AppendValues(out, memory, grandTotal, kind);
    return sink(out);
}

void AppendValues(std::string& out, const TCalcNum& memory, const TCalcNum& grandTotal, int kind) {
    AppendValue(out, RecordType::Memory, memory);
    AppendValue(out, RecordType::GrandTotal, grandTotal);
    if (kind >= 0) AppendKind(out, kind);
}

FrameStatus ReadFrame(std::string_view bytes, std::string_view& body, std::size_t& size) {
    if (bytes.size() < 4) return FrameStatus::Short;
    const std::uint32_t length = GetU32(bytes.data());
    if (length == 0 || length > kMaxRecordBody) return FrameStatus::BadCheck;
    if (bytes.size() < length + kFrameBytes) return FrameStatus::Short;
    const std::uint32_t stored = GetU32(bytes.data() + 4 + length);
    if (Crc32(bytes.data(), length + 4) != stored) return FrameStatus::BadCheck;
    body = bytes.substr(4, length);
    size = length + kFrameBytes;
    return FrameStatus::Ok;
}

bool ApplyRecord(std::string_view body, KeptState& state) {
    Reader r(body);
    unsigned char type = 0;
    if (!r.Byte(type)) return false;
    auto& rows = state.Rows;
    switch (static_cast<RecordType>(type)) {
    case RecordType::Append: {
        HistoryEntry row("", '+');
        if (!ReadRow(r, row)) return false;
        rows.push_back(std::move(row));
        return true;
    }
    case RecordType::Replace:
    case RecordType::Insert: {
        std::uint64_t i = 0;
        HistoryEntry row("", '+');
        if (!r.U64(i) || !ReadRow(r, row)) return false;
        const bool insert = static_cast<RecordType>(type) == RecordType::Insert;
        if (insert ? i > rows.size() : !FitsIndex(i, rows.size())) return false;
        if (insert)
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(i), std::move(row));
        else
            rows[i] = std::move(row);
        return true;
    }
    case RecordType::Remove: {
        std::uint64_t i = 0;
        if (!r.U64(i) || !r.AtEnd() || !FitsIndex(i, rows.size())) return false;
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    case RecordType::Swap: {
        std::uint64_t i = 0, j = 0;
        if (!r.U64(i) || !r.U64(j) || !r.AtEnd() || !FitsIndex(i, rows.size()) ||
            !FitsIndex(j, rows.size()))
            return false;
        std::swap(rows[i], rows[j]);
        return true;
    }
    case RecordType::Clear:
        if (!r.AtEnd()) return false;
        rows.clear();
        return true;
    case RecordType::Memory:
    case RecordType::GrandTotal: {
        unsigned char error = 0, kind = 0;
        if (!r.Byte(error) || !r.Byte(kind) || error > 1 || kind > 2) return false;
        TCalcNum& v = static_cast<RecordType>(type) == RecordType::Memory ? state.Memory
                                                                          : state.GrandTotal;
        v = TCalcNum{std::string(r.Rest()), error == 1, static_cast<ValueKind>(kind)};
        return true;
    }
    case RecordType::Kind: {
        unsigned char kind = 0;
        if (!r.Byte(kind) || !r.AtEnd() || kind > 2) return false;
        state.Kind = kind;
        return true;
    }
    }
    return false;
}

} // namespace bansho::keep
