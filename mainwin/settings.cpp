#include "settings.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CommandTable.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kBansho = "BANSHO";
constexpr const char* kCommand = "COMMAND";
constexpr const char* kFunction = "FUNCTION";
constexpr const char* kHistWin = "HISTWIN";
constexpr const char* kOptionSec = "OPTION";
constexpr const char* kNumKey = "NUMKEY";
constexpr const char* kFont = "FONT";
constexpr const char* kColor = "COLOR";

constexpr const char* kDispStr[kFuncSetCount] = {"DispStrA", "DispStrB", "DispStrC"};
constexpr const char* kCommandKey[kFuncSetCount] = {"CommandA", "CommandB", "CommandC"};

std::string CannotCreate(const std::string& name, int err) {
    return "ファイル \"" + name + "\" を作成できません。" + std::strerror(err);
}

} // namespace

TOption FileDefaultOptions() {
    TOption o;
    SetFileDefaults(o);
    o.UserKEY = kFactoryUserKEY;
    o.UserTCH = kFactoryUserTCH;
    return o;
}

// --- Where the file lives ------------------------------------------------------------

std::string EnvFileNameBeside(std::string_view exePath) {
    std::string path(exePath);
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string::npos && dot > nameStart) path.erase(dot);
    return path + ".ENV";
}

std::string EnvFileNameFor(std::string_view exePath, bool exeDirWritable,
                           std::string_view xdgConfigHome, std::string_view home) {
    const std::string beside = EnvFileNameBeside(exePath);
    if (exeDirWritable) return beside;
    std::string base;
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') {
        base = std::string(xdgConfigHome);
    } else if (!home.empty()) {
        base = std::string(home) + "/.config";
    } else {
        return beside;
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/bansho/" + fs::path(beside).filename().string();
}

std::string EnvFileName() {
    std::error_code ec;
    std::string exe = fs::read_symlink("/proc/self/exe", ec).string();
    if (ec || exe.empty()) exe = (fs::current_path(ec) / "bansho").string();
    const std::string dir = fs::path(exe).parent_path().string();
    const bool writable = !dir.empty() && ::access(dir.c_str(), W_OK) == 0;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string homeDir = home ? home : "";
    if (homeDir.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) homeDir = pw->pw_dir;
    }
    return EnvFileNameFor(exe, writable, xdg ? xdg : "", homeDir);
}

// --- Reading ----------------------------------------------------------------------------

void LoadSettings(const TIniFile& ini, bool fileExisted, const TSettingsRefs& s) {
    TOption& o = s.Option;
    TCalcStatus& st = s.Status;
    TMainWinSettings& w = s.Window;
    const TMainWinSettings winDef;
    const TOption def = FileDefaultOptions();

    // Window style and panel heights.
    w.Style = ini.ReadInteger(kOptionSec, "Style", winDef.Style);
    if (w.Style != kStyleNormal && w.Style != kStyleStayOnTop) w.Style = kStyleNormal;
    w.FHeight = ini.TryReadInteger(kOptionSec, "FHeight");
    w.StatusBar = ini.ReadBool(kOptionSec, "StatusBar", winDef.StatusBar);
    w.SHeight = ini.TryReadInteger(kOptionSec, "SHeight");

    // Geometry: an absent position leaves the window where it is.
    w.Left = ini.ReadInteger(kBansho, "Left", w.Left);
    w.Top = ini.ReadInteger(kBansho, "Top", w.Top);
    w.Width = ini.ReadInteger(kBansho, "Width", winDef.Width);
    w.Height = ini.ReadInteger(kBansho, "Height", winDef.Height);

    // Key assignments: a command outside 0..255 does nothing.
    st.KeyCUST = ini.ReadBool(kCommand, "KeyCUST", fileExisted);
    const auto& names = KeyNames();
    for (int code = 0; code < kKeyCodeCount; ++code) {
        const std::string& name = names[static_cast<std::size_t>(code)];
        if (name.empty()) continue;
        auto& entry = s.Keys.KeyTable[static_cast<std::size_t>(code)];
        entry = ini.ReadInteger(kCommand, name, entry);
        if (entry < 0 || entry >= kCommandCount) entry = kNoCommand;
    }

    for (int i = 0; i < kFuncSetCount; ++i) {
        auto& disp = s.Keys.FuncDispStr[static_cast<std::size_t>(i)];
        disp = ini.ReadString(kFunction, kDispStr[i], disp);
    }
    for (int i = 0; i < kFuncSetCount; ++i) {
        auto& cmd = s.Keys.FuncCommand[static_cast<std::size_t>(i)];
        cmd = ini.ReadString(kFunction, kCommandKey[i], cmd);
    }

    st.HistWinVisible = ini.ReadBool(kHistWin, "HForm", true);
    st.HistWinHeight = ini.ReadInteger(kHistWin, "Height", 256);
    o.Cycle = ini.ReadBool(kHistWin, "Cycle", def.Cycle);
    o.Upper = ini.ReadBool(kHistWin, "Upper", def.Upper);

    // The bar shows 8, 10 or 12 keys; any other count falls back to twelve.
    o.FuncType = ini.ReadInteger(kFunction, "FuncType", def.FuncType);
    if (o.FuncType != 8 && o.FuncType != 10 && o.FuncType != 12) o.FuncType = def.FuncType;

    o.StayHist = ini.ReadBool(kOptionSec, "StayHist", def.StayHist);
    o.CalcMem = ini.ReadBool(kOptionSec, "CalcMem", def.CalcMem);
    o.Hint = ini.ReadBool(kOptionSec, "Hint", def.Hint);
    // Both are kept in eight bits (258 gives 2); a mode that does not exist gives the default.
    o.HistSet = static_cast<std::uint8_t>(ini.ReadInteger(kOptionSec, "HistSet", def.HistSet));
    if (o.HistSet > 2) o.HistSet = def.HistSet;
    o.Acount = static_cast<std::uint8_t>(ini.ReadInteger(kOptionSec, "Acount", def.Acount));
    if (o.Acount > 1) o.Acount = def.Acount;
    o.MoveDot = ini.ReadInteger(kOptionSec, "MoveDot", def.MoveDot);
    o.SmallFont = ini.ReadBool(kOptionSec, "SmallFont", def.SmallFont);
    o.Margin = ini.ReadBool(kOptionSec, "Margin", def.Margin);
    o.TaxRate = ini.ReadString(kOptionSec, "TaxRate", def.TaxRate);
    o.AlphaBlendType = ini.ReadInteger(kOptionSec, "AlphaBlendType", def.AlphaBlendType);
    if (o.AlphaBlendType < 0 || o.AlphaBlendType > 2) o.AlphaBlendType = def.AlphaBlendType;
    o.AlphaBlendValue = ini.ReadInteger(kOptionSec, "AlphaBlendValue", def.AlphaBlendValue);

    st.UseNumKey = ini.ReadBool(kNumKey, "UseNumKey", false);
    o.UserKEY = ini.ReadBytes(kNumKey, "UserKEY", def.UserKEY); // key codes, not text
    o.UserTCH = ini.ReadString(kNumKey, "UserTCH", def.UserTCH);

    w.FontName = ini.ReadString(kFont, "Name", winDef.FontName);
    w.FontStyle = ini.ReadInteger(kFont, "Style", winDef.FontStyle);

    const TDisplayColors colDef;
    s.Colors.Error = ini.ReadInteger(kColor, "Error", colDef.Error);
    s.Colors.Number = ini.ReadInteger(kColor, "Number", colDef.Number);
    s.Colors.MPanel = ini.ReadInteger(kColor, "MPanel", colDef.MPanel);
    s.Colors.HPanel = ini.ReadInteger(kColor, "HPanel", colDef.HPanel);
    s.Colors.HNumber = ini.ReadInteger(kColor, "HNumber", colDef.HNumber);
}

bool LoadSettings(const std::string& envFileName, const TSettingsRefs& s) {
    bool existed = false;
    const TIniFile ini = TIniFile::Load(envFileName, &existed);
    LoadSettings(ini, existed, s);
    return existed;
}

// --- Writing ----------------------------------------------------------------------------

void SaveSettings(TIniFile& ini, const TSettingsRefs& s) {
    const TOption& o = s.Option;
    const TCalcStatus& st = s.Status;
    const TMainWinSettings& w = s.Window;

    ini.WriteInteger(kBansho, "Left", w.Left);
    ini.WriteInteger(kBansho, "Top", w.Top);
    ini.WriteInteger(kBansho, "Width", w.Width);
    ini.WriteInteger(kBansho, "Height", w.Height);

    // A key without a command is not written; a line the file holds for it stays.
    ini.WriteBool(kCommand, "KeyCUST", st.KeyCUST);
    const auto& names = KeyNames();
    for (int code = 0; code < kKeyCodeCount; ++code) {
        const std::string& name = names[static_cast<std::size_t>(code)];
        const std::int32_t cmd = s.Keys.KeyTable[static_cast<std::size_t>(code)];
        if (!name.empty() && cmd != kNoCommand) ini.WriteInteger(kCommand, name, cmd);
    }

    // The lists keep their quotes, so a caption holding a blank, a comma or a quote
    // comes back whole at the next start.
    ini.WriteInteger(kFunction, "FuncType", o.FuncType);
    for (int i = 0; i < kFuncSetCount; ++i)
        ini.WriteString(kFunction, kDispStr[i], s.Keys.FuncDispStr[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kFuncSetCount; ++i)
        ini.WriteString(kFunction, kCommandKey[i], s.Keys.FuncCommand[static_cast<std::size_t>(i)]);

    ini.WriteBool(kHistWin, "HForm", st.HistWinVisible);
    ini.WriteBool(kHistWin, "Cycle", o.Cycle);
    ini.WriteBool(kHistWin, "Upper", o.Upper);
    ini.WriteInteger(kHistWin, "Height", st.HistWinHeight);

    ini.WriteInteger(kOptionSec, "Style", w.Style);
    ini.WriteBool(kOptionSec, "StatusBar", w.StatusBar);
    ini.WriteBool(kOptionSec, "StayHist", o.StayHist);
    ini.WriteBool(kOptionSec, "CalcMem", o.CalcMem);
    ini.WriteBool(kOptionSec, "SmallFont", o.SmallFont);
    ini.WriteBool(kOptionSec, "Margin", o.Margin);
    ini.WriteBool(kOptionSec, "Hint", o.Hint);
    ini.WriteInteger(kOptionSec, "Acount", o.Acount);
    ini.WriteInteger(kOptionSec, "HistSet", o.HistSet);
    ini.WriteInteger(kOptionSec, "MoveDot", o.MoveDot);
    ini.WriteString(kOptionSec, "TaxRate", o.TaxRate);
    ini.WriteInteger(kOptionSec, "AlphaBlendType", o.AlphaBlendType);
    ini.WriteInteger(kOptionSec, "AlphaBlendValue", o.AlphaBlendValue);

    ini.WriteBool(kNumKey, "UseNumKey", st.UseNumKey);
    ini.WriteBytes(kNumKey, "UserKEY", o.UserKEY);
    ini.WriteString(kNumKey, "UserTCH", o.UserTCH);

    ini.WriteString(kFont, "Name", w.FontName);
    ini.WriteInteger(kFont, "Style", w.FontStyle);

    ini.WriteInteger(kColor, "MPanel", s.Colors.MPanel);
    ini.WriteInteger(kColor, "HPanel", s.Colors.HPanel);
    ini.WriteInteger(kColor, "Number", s.Colors.Number);
    ini.WriteInteger(kColor, "Error", s.Colors.Error);
    ini.WriteInteger(kColor, "HNumber", s.Colors.HNumber);
}

TSaveResult SaveSettings(const std::string& envFileName, const TSettingsRefs& s) {
    TIniFile ini = TIniFile::Load(envFileName);
    SaveSettings(ini, s);
    return WriteFileAtomically(envFileName, ini.ToBytes());
}

TSaveResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::error_code ec;
    fs::path target(path);
    // Write through a symbolic link to the file it names, and keep the link.
    if (fs::is_symlink(target, ec)) {
        const fs::path real = fs::weakly_canonical(target, ec);
        if (!ec) target = real;
    }
    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    fs::create_directories(dir, ec);

    std::string tmp = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) return {false, CannotCreate(path, errno)};

    auto fail = [&](int err) -> TSaveResult {
        ::unlink(tmp.c_str());
        return {false, CannotCreate(path, err)};
    };

    // The new file gets the old one's permissions, or the usual ones for a new file.
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        ::fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }

    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return fail(err);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(err);
    }
    if (::close(fd) != 0) return fail(errno);
    if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(errno);

    // Make the rename itself durable; a failure here no longer endangers the file.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

TSaveResult DeleteSettingsFile(const std::string& envFileName) {
    std::error_code ec;
    fs::remove(envFileName, ec);
    if (ec) return {false, "ファイル \"" + envFileName + "\" を削除できません。" + ec.message()};
    return {};
}
