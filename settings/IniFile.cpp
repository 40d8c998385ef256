#include "IniFile.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ParseInt32.h"
#include "Sjis.h"

namespace bansho {

namespace {

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Drops a first byte of a double-byte character left alone at the end (and the blanks it
// hid), so that a name read back after "[" name "]" is written is the same name.
std::string_view WholeCharacters(std::string_view s) {
    for (;;) {
        std::size_t last = 0; // start of the last character
        for (std::size_t j = 0; j < s.size();) {
            last = j;
            j += (IsLeadByte(static_cast<unsigned char>(s[j])) && j + 1 < s.size()) ? 2 : 1;
        }
        if (s.empty() || !IsLeadByte(static_cast<unsigned char>(s[last])) || last + 1 < s.size())
            return s;
        s = Trim(s.substr(0, last));
    }
}

// Names compare as UTF-8 with ASCII letters folded. Folding the CP932 bytes themselves
// would be wrong: the second byte of "：" (81 46) is the letter F.
std::string FoldUtf8(std::string_view utf8) {
    std::string s(utf8);
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// A value's text. Bytes that are no CP932 read as '?', the character a save writes in their
// place, so that a setting reads the same before and after the program rewrites its line.
std::string DecodeValue(std::string_view cp932) {
    std::string s = sjis::ToUtf8(cp932);
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
    for (std::size_t at = s.find(kReplacement); at != std::string::npos;
         at = s.find(kReplacement, at))
        s.replace(at, kReplacement.size(), "?");
    return s;
}

std::string FoldRaw(std::string_view cp932) {
    return FoldUtf8(sjis::ToUtf8(cp932));
}

// The value as a reader sees it: blanks around it dropped, then one pair of outer quotes.
std::string_view Unwrap(std::string_view raw) {
    raw = Trim(raw);
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        raw = raw.substr(1, raw.size() - 2);
    return raw;
}

// The value as it must be written so that Unwrap gives it back.
std::string Wrap(std::string_view value) {
    std::string v(value);
    for (char& c : v) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    const bool loses = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
    const bool quoted = v.size() >= 2 && v.front() == '"' && v.back() == '"';
    if (loses || quoted) return '"' + v + '"';
    return v;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) holding at least
// one character beyond ASCII. Text in CP932 almost never passes: its lead bytes 81-9F and
// its half-width kana A1-DF cannot start a UTF-8 character.
bool IsUtf8BeyondAscii(std::string_view s) {
    bool beyond = false;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        const auto b1 = static_cast<unsigned char>(s[i + 1]);
        if (b1 < lo || b1 > hi) return false;
        for (std::size_t k = 2; k < len; ++k) {
            const auto bk = static_cast<unsigned char>(s[i + k]);
            if (bk < 0x80 || bk > 0xBF) return false;
        }
        beyond = true;
        i += len;
    }
    return beyond;
}

} // namespace

IniFile IniFile::FromBytes(std::string_view bytes) {
    static constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    // Held in memory as CP932, the way it is written back. (A mark before text that is no
    // UTF-8 after all leaves the text to be read as CP932.)
    std::string converted;
    if (IsUtf8BeyondAscii(bytes)) {
        converted = sjis::FromUtf8(bytes);
        bytes = converted;
    }

    IniFile ini;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size())
            pos += (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ? 2 : 1;

        const std::string_view t = Trim(line);
        if (t.empty() || t.front() == ';') continue; // blank and comment lines are not kept
        if (t.front() == '[') {
            // The name runs to the last ']' (a missing one: to the end of the line).
            std::size_t close = std::string_view::npos;
            for (std::size_t i = 1; i < t.size();) {
                const auto b = static_cast<unsigned char>(t[i]);
                if (IsLeadByte(b) && i + 1 < t.size()) {
                    i += 2;
                    continue;
                }
                if (b == ']') close = i;
                ++i;
            }
            const std::string_view name = WholeCharacters(
                Trim(t.substr(1, close == std::string_view::npos ? t.size() - 1 : close - 1)));
            // A section that appears twice is one section: later keys join the first.
            const std::string folded = FoldRaw(name);
            const auto it = ini.sectionIndex_.find(folded);
            current = it != ini.sectionIndex_.end() ? &ini.sections_[it->second]
                                                    : &ini.AddSection(std::string(name));
            continue;
        }
        const std::size_t eq = t.find('=');
        if (current == nullptr || eq == std::string_view::npos) continue; // not a key line
        const std::string_view key = Trim(t.substr(0, eq));
        if (key.empty()) continue;
        const std::string folded = FoldRaw(key);
        if (current->Index.count(folded) != 0) continue; // the first of duplicate keys wins
        // The value is taken from the untrimmed line so that an unchanged line stays as it was.
        const std::size_t lineEq = line.find('=');
        current->Index.emplace(folded, current->Entries.size());
        current->Entries.push_back({std::string(key), std::string(line.substr(lineEq + 1))});
    }
    return ini;
}

IniFile IniFile::Load(const std::string& path, bool* existed, LoadResult* result) {
    LoadResult r;
    std::string bytes;
    // Non-blocking, so that a FIFO in the file's place cannot hold the start; the type is
    // checked on the opened file itself.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int err = errno;
        struct stat lst {};
        // A link that leads nowhere is nothing there, as a missing file is.
        if ((err == ENOENT || err == ENOTDIR) && ::lstat(path.c_str(), &lst) != 0) {
            r.Status = LoadStatus::Missing;
        } else if (err == ENOENT && S_ISLNK(lst.st_mode)) {
            r.Status = LoadStatus::Missing;
        } else {
            r.Status = LoadStatus::Unreadable;
            r.Errno = err;
        }
    } else {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            r.Status = LoadStatus::Unreadable;
            r.Errno = errno;
        } else if (S_ISDIR(st.st_mode)) {
            r.Status = LoadStatus::Unreadable;
            r.Errno = EISDIR;
        } else if (!S_ISREG(st.st_mode)) {
            r.Status = LoadStatus::Unreadable;
            r.Reason = "通常のファイルではありません。";
        } else if (static_cast<std::uint64_t>(st.st_size) > kMaxFileSize) {
            r.Status = LoadStatus::Unreadable;
            r.Reason = "ファイルが大きすぎます。";
        } else {
            r.Status = LoadStatus::Read;
            char buf[65536];
            for (;;) {
                const ssize_t n = ::read(fd, buf, sizeof buf);
                if (n < 0 && errno == EINTR) continue;
                if (n < 0) {
                    r.Status = LoadStatus::Unreadable;
                    r.Errno = errno;
                    break;
                }
                if (n == 0) break;
                bytes.append(buf, static_cast<std::size_t>(n));
                if (bytes.size() > kMaxFileSize) { // grew while being read
                    r.Status = LoadStatus::Unreadable;
                    r.Reason = "ファイルが大きすぎます。";
                    break;
                }
            }
        }
        ::close(fd);
    }
    if (existed) *existed = r.Status != LoadStatus::Missing;
    if (result) *result = r;
    if (r.Status != LoadStatus::Read) return {};
    return FromBytes(bytes);
}

IniFile::Section& IniFile::AddSection(std::string rawName) {
    sectionIndex_.emplace(FoldRaw(rawName), sections_.size());
    sections_.push_back(Section{std::move(rawName), {}, {}});
    return sections_.back();
}

const IniFile::Entry* IniFile::Find(std::string_view section, std::string_view key) const {
    const auto s = sectionIndex_.find(FoldUtf8(section));
    if (s == sectionIndex_.end()) return nullptr;
    const Section& sec = sections_[s->second];
    const auto e = sec.Index.find(FoldUtf8(key));
    if (e == sec.Index.end()) return nullptr;
    return &sec.Entries[e->second];
}

const std::string* IniFile::RawValue(std::string_view section, std::string_view key) const {
    const Entry* e = Find(section, key);
    return e ? &e->Value : nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const std::string* raw = RawValue(section, key);
    if (!raw) return std::string(def);
    return DecodeValue(Unwrap(*raw));
}

std::string IniFile::ReadBytes(std::string_view section, std::string_view key,
                               std::string_view def) const {
    const std::string* raw = RawValue(section, key);
    if (!raw) return std::string(def);
    return std::string(Unwrap(*raw));
}

std::optional<std::int32_t> IniFile::TryReadInteger(std::string_view section,
                                                    std::string_view key) const {
    const std::string* raw = RawValue(section, key);
    if (!raw) return std::nullopt;
    return ParseInt32(Unwrap(*raw));
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
    return TryReadInteger(section, key).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const {
    return sectionIndex_.count(FoldUtf8(section)) != 0;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

IniFile::Section& IniFile::SectionFor(std::string_view section) {
    const auto it = sectionIndex_.find(FoldUtf8(section));
    if (it != sectionIndex_.end()) return sections_[it->second];
    return AddSection(sjis::FromUtf8(section));
}

void IniFile::Put(std::string_view section, std::string_view key, std::string raw) {
    Section& sec = SectionFor(section);
    const std::string folded = FoldUtf8(key);
    const auto it = sec.Index.find(folded);
    if (it != sec.Index.end()) {
        sec.Entries[it->second].Value = std::move(raw); // the key keeps its spelling and place
        return;
    }
    sec.Index.emplace(folded, sec.Entries.size());
    sec.Entries.push_back({sjis::FromUtf8(key), std::move(raw)});
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // A value that reads back as the same text keeps its bytes, even bytes that are no CP932.
    if (const std::string* raw = RawValue(section, key); raw && DecodeValue(Unwrap(*raw)) == value)
        return;
    Put(section, key, Wrap(sjis::FromUtf8(value)));
}

void IniFile::WriteBytes(std::string_view section, std::string_view key, std::string_view bytes) {
    Put(section, key, Wrap(bytes));
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    Put(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    Put(section, key, value ? "1" : "0");
}

std::string IniFile::ToBytes() const {
    std::string out;
    for (const Section& sec : sections_) {
        out += '[';
        out += sec.Name;
        out += "]\r\n";
        for (const Entry& e : sec.Entries) {
            out += e.Key;
            out += '=';
            out += e.Value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    if (IsUtf8BeyondAscii(out)) out.insert(0, kShiftJisMarker);
    return out;
}

std::vector<std::string> IniFile::SectionNames() const {
    std::vector<std::string> out;
    for (const Section& sec : sections_)
        out.push_back(sjis::ToUtf8(sec.Name));
    return out;
}

std::vector<std::string> IniFile::KeysOf(std::string_view section) const {
    std::vector<std::string> out;
    const auto it = sectionIndex_.find(FoldUtf8(section));
    if (it == sectionIndex_.end()) return out;
    for (const Entry& e : sections_[it->second].Entries)
        out.push_back(sjis::ToUtf8(e.Key));
    return out;
}

} // namespace bansho
