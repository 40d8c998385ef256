#pragma once
// The records of the kept receipt's journal: what one change of the receipt, the memory, the
// grand total or the receipt kind looks like on disk, and the state that replaying them gives.
//
// A journal file is a header (kJournalMagic) and records, each framed as
//   u32 length of the body | body (a type byte and its fields) | u32 CRC-32 of length and body
// in little-endian order. A row is written with every field it holds: its number as stored,
// its glyph and its mark byte, whatever the mark means (a reader never judges the mark).
#include "CalcNum.h"
#include "HistoryEntry.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace bansho::keep {

inline constexpr std::string_view kJournalMagic = "BANSHOK1"; // eight bytes, then the records
// No record is longer: a row's number that long exists nowhere.
inline constexpr std::uint32_t kMaxRecordBody = 1u << 20;
inline constexpr std::size_t kFrameBytes = 8; // the length before a body, the checksum after

enum class RecordType : unsigned char {
    Append = 1,     // a row at the end
    Replace = 2,    // row i changed
    Insert = 3,     // a row before row i
    Remove = 4,     // row i taken out
    Swap = 5,       // rows i and j exchanged
    Clear = 6,      // no rows
    Memory = 7,     // the memory's value
    GrandTotal = 8, // the grand total's value
    Kind = 9,       // the receipt kind (0 memo, 1 calculation receipt, 2 input receipt)
};

// What the journal keeps, as replaying it from the start gives it.
struct KeptState {
    std::deque<HistoryEntry> Rows;
    TCalcNum Memory;
    TCalcNum GrandTotal;
    int Kind = -1; // -1: never recorded (the settings file's kind stays)

    // Everything empty: nothing worth a file.
    bool Empty() const {
        return Rows.empty() && Memory.Text.empty() && !Memory.Error && GrandTotal.Text.empty() &&
               !GrandTotal.Error && Kind < 0;
    }
};

// CRC-32 (the polynomial of zlib and PNG), continued from `crc` (0 to start).
std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

// Appends one framed record to `out`.
void AppendRow(std::string& out, const HistoryEntry& row);
void AppendRowAt(std::string& out, RecordType type, std::uint64_t index, const HistoryEntry& row);
void AppendIndex(std::string& out, RecordType type, std::uint64_t index);
void AppendSwap(std::string& out, std::uint64_t i, std::uint64_t j);
void AppendClear(std::string& out);
void AppendValue(std::string& out, RecordType type, const TCalcNum& value);
void AppendKind(std::string& out, int kind);
// The records after the rows that set the memory, the grand total and, when known, the kind
// (a compacted journal is a Clear, an Append for each row, and these).
void AppendValues(std::string& out, const TCalcNum& memory, const TCalcNum& grandTotal, int kind);
// The records that build `state` from nothing.
void AppendSnapshot(std::string& out, const KeptState& state);
// A whole journal of the rows and the values (the header, a Clear, the rows, the values), handed
// to `sink` a megabyte at a time; false as soon as `sink` returns false.
bool StreamJournal(const std::deque<HistoryEntry>& rows, const TCalcNum& memory,
                   const TCalcNum& grandTotal, int kind,
                   const std::function<bool(const std::string&)>& sink);

// How one framed record at the front of `bytes` reads.
enum class FrameStatus {
    Ok,       // a whole record; its body is in `body` and it is `size` bytes long
    Short,    // the bytes end inside the record (a torn tail)
    BadCheck, // the length is impossible or the checksum does not match (a torn or broken tail)
};
FrameStatus ReadFrame(std::string_view bytes, std::string_view& body, std::size_t& size);

// Applies one record's body to `state`. False when the body is not a record this program
// writes (an unknown type, a field cut short, a row index that does not exist); `state` is
// then unchanged.
bool ApplyRecord(std::string_view body, KeptState& state);

} // namespace bansho::keep
