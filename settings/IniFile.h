#pragma once
// An INI-style text file held in memory: sections of "key=value" lines, Shift_JIS (CP932)
// on disk and UTF-8 at this interface. Section and key names match without regard to case
// (ASCII letters). Reading never fails: what cannot be read gives the caller's default.
// Writing keeps every section and key where the file had it, appends new ones in the
// order first written, and drops comment lines, blank lines and lines that are no key.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace bansho {

class IniFile {
public:
    IniFile() = default;
    // Parses the raw bytes of a file (lines ending in CR LF, LF or CR). A UTF-8 byte-order
    // mark is skipped; a file that is valid UTF-8 holding characters beyond ASCII (as an
    // ordinary Linux editor saves it) is read as UTF-8. Everything else is CP932.
    static IniFile FromBytes(std::string_view bytes);

    // What reading a file found. Only a regular file is read, never more than kMaxFileSize
    // bytes, and opening never waits (a FIFO or a device in its place is refused).
    enum class LoadStatus {
        Missing,    // nothing there: the caller's defaults
        Read,       // read whole
        Unreadable, // something is there but cannot be read as a settings file
    };
    static constexpr std::size_t kMaxFileSize = 16u << 20;
    struct LoadResult {
        LoadStatus Status = LoadStatus::Missing;
        int Errno = 0;      // the system's reason when it has one
        std::string Reason; // otherwise the program's own reason (Japanese), or empty
    };
    // Reads a file; a missing or unreadable file gives an empty one. `existed` tells
    // whether something was there; `result` tells what became of it.
    static IniFile Load(const std::string& path, bool* existed = nullptr,
                        LoadResult* result = nullptr);

    // Value texts: blanks around the value are dropped, then one pair of enclosing
    // double quotes. ReadString converts from CP932; ReadBytes gives the bytes as stored.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    std::string ReadBytes(std::string_view section, std::string_view key,
                          std::string_view def) const;
    // Integers in decimal, or hexadecimal after "0x" or "$"; anything else counts as absent.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t def) const;
    // The integer, or nothing when the key is absent or its value is not an integer.
    std::optional<std::int32_t> TryReadInteger(std::string_view section,
                                               std::string_view key) const;
    // Any integer other than 0 is true.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // A text that would lose blanks at its ends, or both begins and ends with a double
    // quote, is written inside one more pair of quotes so that it reads back unchanged.
    // Line breaks cannot live in a line and are written as blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteBytes(std::string_view section, std::string_view key, std::string_view bytes);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The whole file: every section followed by one empty line, lines ending in CR LF.
    // Text that would read as UTF-8 (only possible when every byte beyond ASCII happens to
    // form UTF-8) starts with the comment line kShiftJisMarker, so that it reads back as
    // the Shift_JIS it is.
    std::string ToBytes() const;
    static constexpr std::string_view kShiftJisMarker =
        "; \x83\x56\x83\x74\x83\x67JIS\r\n"; // "; シフトJIS"

    // Names in file order (UTF-8), for tests and diagnostics.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeysOf(std::string_view section) const;

private:
    struct Entry {
        std::string Key;   // as spelled in the file (CP932)
        std::string Value; // raw bytes after the '='
    };
    struct Section {
        std::string Name; // as spelled in the file (CP932)
        std::vector<Entry> Entries;
        std::unordered_map<std::string, std::size_t> Index; // folded key -> entry
    };

    const Entry* Find(std::string_view section, std::string_view key) const;
    const std::string* RawValue(std::string_view section, std::string_view key) const;
    Section& SectionFor(std::string_view section);
    void Put(std::string_view section, std::string_view key, std::string raw);
    Section& AddSection(std::string rawName);

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_; // folded name -> section
};

} // namespace bansho
