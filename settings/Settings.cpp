#include "Settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CommandTable.h"
#include "Conversion.h"
#include "TaxBill.h"
#include "FileReplace.h"

namespace bansho {

namespace fs = std::filesystem;
using filereplace::CannotCreate;
using filereplace::FindSaveTarget;
using filereplace::IsFrozen;
using filereplace::SaveTarget;

namespace {

constexpr const char* kBansho = "BANSHO";
constexpr const char* kCommand = "COMMAND";
constexpr const char* kFunction = "FUNCTION";
constexpr const char* kHistWin = "HISTWIN";
constexpr const char* kPrint = "PRINT";
constexpr const char* kOptionSec = "OPTION";
constexpr const char* kNumKey = "NUMKEY";
constexpr const char* kFont = "FONT";
constexpr const char* kColor = "COLOR";
constexpr const char* kConvert = "CONVERT"; // conversion rates, written once used

// The conversion settings: a name and a rate per unit (the home unit has no rate).
struct RateKeys {
    const char* Name;
    const char* Rate; // nullptr for the home unit
};
constexpr RateKeys kRateKeys[] = {{"Name1", nullptr}, {"Name2", "Rate2"}, {"Name3", "Rate3"}};

template <class Option> auto* RateNameField(Option& o, int i) {
    return i == 0 ? &o.RateName1 : i == 1 ? &o.RateName2 : &o.RateName3;
}
template <class Option> auto* RateField(Option& o, int i) {
    return i == 1 ? &o.Rate2 : i == 2 ? &o.Rate3 : nullptr;
}

constexpr const char* kDispStr[kFuncSetCount] = {"DispStrA", "DispStrB", "DispStrC"};
constexpr const char* kCommandKey[kFuncSetCount] = {"CommandA", "CommandB", "CommandC"};

std::int32_t Bounded(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return std::clamp(v, lo, hi);
}

// What the next start would give a key if the file kept `ini`'s line for it (or had none).
std::int32_t CommandAtNextStart(const IniFile& ini, const std::string& name, std::int32_t factory) {
    const std::int32_t v = ini.ReadInteger(kCommand, name, factory);
    return (v < 0 || v >= kCommandCount) ? kNoCommand : v;
}

} // namespace

std::string SystemReason(int err) {
    struct Row {
        int Errno;
        const char* Text;
    };
    static constexpr Row kReasons[] = {
        {ENOSPC, "ディスクの空き領域が不足しています。"},
        {EDQUOT, "ディスクの使用量の上限を超えています。"},
        {EACCES, "アクセスが拒否されました。"},
        {EPERM, "この操作は許可されていません。"},
        {EROFS, "読み取り専用のファイルシステムです。"},
        {EISDIR, "フォルダーです。"},
        {ENOENT, "ファイルまたはフォルダーがありません。"},
        {ENOTDIR, "パスの途中にフォルダーでないものがあります。"},
        {EIO, "入出力エラーが発生しました。"},
        {EFBIG, "ファイルが大きすぎます。"},
        {ENAMETOOLONG, "ファイル名が長すぎます。"},
        {ELOOP, "シンボリックリンクが多すぎます。"},
        {EMFILE, "開いているファイルが多すぎます。"},
        {ENFILE, "開いているファイルが多すぎます。"},
        {EBUSY, "使用中です。"},
        {ETXTBSY, "使用中です。"},
        {ENOMEM, "メモリが不足しています。"},
        {EEXIST, "同じ名前のファイルがすでにあります。"},
    };
    for (const Row& r : kReasons) {
        if (r.Errno == err) return r.Text;
    }
    return std::strerror(err);
}

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

namespace {

std::string ExePath() {
    std::error_code ec;
    std::string exe = fs::read_symlink("/proc/self/exe", ec).string();
    if (ec || exe.empty()) exe = (fs::current_path(ec) / "bansho").string();
    return exe;
}

} // namespace

std::string EnvFileBesideProgram() {
    return EnvFileNameBeside(ExePath());
}

std::string EnvFileToRead(const std::string& saveFile, const std::string& besideExe) {
    if (saveFile == besideExe) return saveFile;
    struct stat st {};
    if (::lstat(saveFile.c_str(), &st) == 0) return saveFile; // whatever it is, it is the user's
    if (::lstat(besideExe.c_str(), &st) == 0) return besideExe;
    return saveFile;
}

std::string EnvFileName() {
    const std::string exe = ExePath();
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

void LoadSettings(const IniFile& ini, bool fileExisted, const StoredState& s) {
    TOption& o = s.Option;
    TCalcStatus& st = s.Status;
    MainWindowSettings& w = s.Window;
    WindowOptions& wo = s.WinOptions;
    HistoryWindowState& h = s.History;
    const MainWindowSettings winDef;
    const TOption def = FileDefaultOptions();
    const WindowOptions woDef = FileDefaultWindowOptions();

    // Window style and panel heights.
    w.Style = ini.ReadInteger(kOptionSec, "Style", winDef.Style);
    if (w.Style != kStyleNormal && w.Style != kStyleStayOnTop) w.Style = kStyleNormal;
    w.FHeight = ini.TryReadInteger(kOptionSec, "FHeight");
    if (w.FHeight) w.FHeight = Bounded(*w.FHeight, 0, kMaxPanelHeight);
    w.StatusBar = ini.ReadBool(kOptionSec, "StatusBar", winDef.StatusBar);
    w.SHeight = ini.TryReadInteger(kOptionSec, "SHeight");
    if (w.SHeight) w.SHeight = Bounded(*w.SHeight, 0, kMaxPanelHeight);

    // Geometry: an absent position leaves the window where it is. Every value is bounded
    // to what a window can be; the window itself is brought onto a screen later.
    w.Left = Bounded(ini.ReadInteger(kBansho, "Left", w.Left), -kMaxPosition, kMaxPosition);
    w.Top = Bounded(ini.ReadInteger(kBansho, "Top", w.Top), -kMaxPosition, kMaxPosition);
    w.Width = Bounded(ini.ReadInteger(kBansho, "Width", winDef.Width), kMinWidth, kMaxWindowSize);
    w.Height = Bounded(ini.ReadInteger(kBansho, "Height", winDef.Height), 1, kMaxWindowSize);

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

    h.Visible = ini.ReadBool(kHistWin, "HForm", true);
    h.Height = Bounded(ini.ReadInteger(kHistWin, "Height", 256), 0, kMaxWindowSize);
    wo.Cycle = ini.ReadBool(kHistWin, "Cycle", woDef.Cycle);
    wo.Upper = ini.ReadBool(kHistWin, "Upper", woDef.Upper);
    wo.Printer = ini.ReadString(kPrint, "Printer", woDef.Printer);
    wo.PrintPaper = ini.ReadString(kPrint, "Paper", woDef.PrintPaper);

    // The bar shows 8, 10 or 12 keys; any other count falls back to twelve.
    wo.FuncType = ini.ReadInteger(kFunction, "FuncType", woDef.FuncType);
    if (wo.FuncType != 8 && wo.FuncType != 10 && wo.FuncType != 12) wo.FuncType = woDef.FuncType;

    wo.StayHist = ini.ReadBool(kOptionSec, "StayHist", woDef.StayHist);
    o.CalcMem = ini.ReadBool(kOptionSec, "CalcMem", def.CalcMem);
    wo.Hint = ini.ReadBool(kOptionSec, "Hint", woDef.Hint);
    // Both are kept in eight bits (258 gives 2); a mode that does not exist gives the default.
    o.HistSet = static_cast<std::uint8_t>(ini.ReadInteger(kOptionSec, "HistSet", def.HistSet));
    if (o.HistSet > 2) o.HistSet = def.HistSet;
    o.Acount = static_cast<std::uint8_t>(ini.ReadInteger(kOptionSec, "Acount", def.Acount));
    if (o.Acount > 1) o.Acount = def.Acount;
    wo.MoveDot = Bounded(ini.ReadInteger(kOptionSec, "MoveDot", woDef.MoveDot), 0, kMaxMoveDot);
    wo.SmallFont = ini.ReadBool(kOptionSec, "SmallFont", woDef.SmallFont);
    wo.Margin = ini.ReadBool(kOptionSec, "Margin", woDef.Margin);
    o.TaxRate = ini.ReadString(kOptionSec, "TaxRate", def.TaxRate);
    wo.AlphaBlendType = ini.ReadInteger(kOptionSec, "AlphaBlendType", woDef.AlphaBlendType);
    if (wo.AlphaBlendType < 0 || wo.AlphaBlendType > 2) wo.AlphaBlendType = woDef.AlphaBlendType;
    wo.AlphaBlendValue = ini.ReadInteger(kOptionSec, "AlphaBlendValue", woDef.AlphaBlendValue);
    // A selection the selectors do not offer gives the factory one (F, 切捨).
    o.Decimals = ini.ReadInteger(kOptionSec, "Decimals", def.Decimals);
    if (o.Decimals < -1 || o.Decimals > 4) o.Decimals = def.Decimals;
    o.Rounding = ini.ReadInteger(kOptionSec, "Rounding", def.Rounding);
    if (o.Rounding < 0 || o.Rounding > 2) o.Rounding = def.Rounding;
    // The second tax rate: a number from 0 to 100, or the factory rate.
    o.TaxRate2 = ParseTaxRate(ini.ReadString(kOptionSec, "TaxRate2", def.TaxRate2))
                     .value_or(def.TaxRate2);
    o.KeepReceipt = ini.ReadBool(kOptionSec, "KeepReceipt", def.KeepReceipt);

    st.UseNumKey = ini.ReadBool(kNumKey, "UseNumKey", false);
    o.UserKEY = ini.ReadBytes(kNumKey, "UserKEY", def.UserKEY); // key codes, not text
    o.UserTCH = ini.ReadString(kNumKey, "UserTCH", def.UserTCH);

    w.FontName = ini.ReadString(kFont, "Name", winDef.FontName);
    w.FontStyle = ini.ReadInteger(kFont, "Style", winDef.FontStyle) & 0x0F; // the four style bits

    const DisplayColorSet colDef;
    s.Colors.Error = ini.ReadInteger(kColor, "Error", colDef.Error);
    s.Colors.Number = ini.ReadInteger(kColor, "Number", colDef.Number);
    s.Colors.MPanel = ini.ReadInteger(kColor, "MPanel", colDef.MPanel);
    s.Colors.HPanel = ini.ReadInteger(kColor, "HPanel", colDef.HPanel);
    s.Colors.HNumber = ini.ReadInteger(kColor, "HNumber", colDef.HNumber);

    // A name or rate the dialog would refuse reads as not set.
    for (int i = 0; i < 3; ++i) {
        std::string& name = *RateNameField(o, i);
        name = ini.ReadString(kConvert, kRateKeys[i].Name, "");
        if (!name.empty() && !IsValidRateName(name)) name.clear();
        if (std::string* rate = RateField(o, i)) {
            *rate = ini.ReadString(kConvert, kRateKeys[i].Rate, "");
            if (!rate->empty() && !IsValidRate(*rate)) rate->clear();
        }
    }
}

bool LoadSettings(const std::string& envFileName, const StoredState& s,
                  IniFile::LoadResult* result) {
    bool existed = false;
    const IniFile ini = IniFile::Load(envFileName, &existed, result);
    LoadSettings(ini, existed, s);
    return existed;
}

std::string UnreadableMessage(const std::string& envFileName, const IniFile::LoadResult& r) {
    const std::string reason = r.Errno != 0 ? SystemReason(r.Errno) : r.Reason;
    return "ファイル \"" + envFileName + "\" を読み込めません。" + reason +
           "\n設定は既定値で始まります。このファイルには保存しません。";
}

// --- Writing ----------------------------------------------------------------------------

void SaveSettings(IniFile& ini, const StoredState& s) {
    const TOption& o = s.Option;
    const TCalcStatus& st = s.Status;
    const MainWindowSettings& w = s.Window;
    const WindowOptions& wo = s.WinOptions;

    ini.WriteInteger(kBansho, "Left", w.Left);
    ini.WriteInteger(kBansho, "Top", w.Top);
    ini.WriteInteger(kBansho, "Width", w.Width);
    ini.WriteInteger(kBansho, "Height", w.Height);

    // A key without a command is written as 255 only where the next start would otherwise
    // give it a command (from the line the file holds, or from the factory table); a file
    // with the factory assignments therefore lists only the keys that do something.
    ini.WriteBool(kCommand, "KeyCUST", st.KeyCUST);
    const auto& names = KeyNames();
    static const KeyConfig factory = [] {
        KeyConfig k;
        TOption o2;
        TCalcStatus st2;
        InitKeyTBL(k, o2, st2);
        return k;
    }();
    for (int code = 0; code < kKeyCodeCount; ++code) {
        const std::string& name = names[static_cast<std::size_t>(code)];
        if (name.empty()) continue;
        const std::int32_t cmd = s.Keys.KeyTable[static_cast<std::size_t>(code)];
        if (cmd != kNoCommand) {
            ini.WriteInteger(kCommand, name, cmd);
        } else if (CommandAtNextStart(
                       ini, name, factory.KeyTable[static_cast<std::size_t>(code)]) != kNoCommand) {
            ini.WriteInteger(kCommand, name, kNoCommand);
        }
    }

    // The lists keep their quotes, so a caption holding a blank, a comma or a quote
    // comes back whole at the next start.
    ini.WriteInteger(kFunction, "FuncType", wo.FuncType);
    for (int i = 0; i < kFuncSetCount; ++i)
        ini.WriteString(kFunction, kDispStr[i], s.Keys.FuncDispStr[static_cast<std::size_t>(i)]);
    for (int i = 0; i < kFuncSetCount; ++i)
        ini.WriteString(kFunction, kCommandKey[i], s.Keys.FuncCommand[static_cast<std::size_t>(i)]);

    ini.WriteBool(kHistWin, "HForm", s.History.Visible);
    ini.WriteBool(kHistWin, "Cycle", wo.Cycle);
    ini.WriteBool(kHistWin, "Upper", wo.Upper);
    ini.WriteInteger(kHistWin, "Height", s.History.Height);
    // The printer and paper are written once a print has used them, so a file of a program
    // that never printed keeps the keys it always had.
    if (!wo.Printer.empty() || ini.ValueExists(kPrint, "Printer")) ini.WriteString(kPrint, "Printer", wo.Printer);
    if (!wo.PrintPaper.empty() || ini.ValueExists(kPrint, "Paper")) ini.WriteString(kPrint, "Paper", wo.PrintPaper);

    ini.WriteInteger(kOptionSec, "Style", w.Style);
    ini.WriteBool(kOptionSec, "StatusBar", w.StatusBar);
    ini.WriteBool(kOptionSec, "StayHist", wo.StayHist);
    ini.WriteBool(kOptionSec, "CalcMem", o.CalcMem);
    ini.WriteBool(kOptionSec, "SmallFont", wo.SmallFont);
    ini.WriteBool(kOptionSec, "Margin", wo.Margin);
    ini.WriteBool(kOptionSec, "Hint", wo.Hint);
    ini.WriteInteger(kOptionSec, "Acount", o.Acount);
    ini.WriteInteger(kOptionSec, "HistSet", o.HistSet);
    ini.WriteInteger(kOptionSec, "MoveDot", wo.MoveDot);
    ini.WriteString(kOptionSec, "TaxRate", o.TaxRate);
    ini.WriteInteger(kOptionSec, "AlphaBlendType", wo.AlphaBlendType);
    ini.WriteInteger(kOptionSec, "AlphaBlendValue", wo.AlphaBlendValue);
    // The selectors are written once they have left the factory selection (F, 切捨), so a
    // file that never used them keeps the keys it always had.
    if (o.Decimals != -1 || ini.ValueExists(kOptionSec, "Decimals"))
        ini.WriteInteger(kOptionSec, "Decimals", o.Decimals);
    if (o.Rounding != 0 || ini.ValueExists(kOptionSec, "Rounding"))
        ini.WriteInteger(kOptionSec, "Rounding", o.Rounding);
    // Likewise the second tax rate, once it is not the factory rate.
    if (o.TaxRate2 != FileDefaultOptions().TaxRate2 || ini.ValueExists(kOptionSec, "TaxRate2"))
        ini.WriteString(kOptionSec, "TaxRate2", o.TaxRate2);
    // Written once the option was used, like the selectors.
    if (o.KeepReceipt || ini.ValueExists(kOptionSec, "KeepReceipt"))
        ini.WriteBool(kOptionSec, "KeepReceipt", o.KeepReceipt);

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

    // The conversion rates: a key is written once it has been set, so a file that never used
    // them keeps the keys it always had.
    for (int i = 0; i < 3; ++i) {
        const std::string& name = *RateNameField(o, i);
        if (!name.empty() || ini.ValueExists(kConvert, kRateKeys[i].Name))
            ini.WriteString(kConvert, kRateKeys[i].Name, name);
        if (const std::string* rate = RateField(o, i)) {
            if (!rate->empty() || ini.ValueExists(kConvert, kRateKeys[i].Rate))
                ini.WriteString(kConvert, kRateKeys[i].Rate, *rate);
        }
    }
}

SaveResult SaveSettings(const std::string& envFileName, const StoredState& s) {
    const SaveTarget t = FindSaveTarget(envFileName);
    if (!t.Ok())
        return {false,
                t.Errno ? CannotCreate(envFileName, t.Errno) : CannotCreate(envFileName, t.Reason)};
    if (t.Exists && IsFrozen(t.St)) return {true, {}, true};

    IniFile::LoadResult read;
    IniFile ini = IniFile::Load(t.Path.string(), nullptr, &read);
    if (read.Status == IniFile::LoadStatus::Unreadable) {
        const std::string reason = read.Errno ? SystemReason(read.Errno) : read.Reason;
        return {false,
                "ファイル \"" + envFileName + "\" を読み込めないため、上書きしません。" + reason};
    }
    SaveSettings(ini, s);
    return WriteFileAtomically(envFileName, ini.ToBytes());
}

SaveResult DeleteSettingsFile(const std::string& envFileName) {
    const SaveTarget t = FindSaveTarget(envFileName);
    if (t.Ok() && t.Exists && IsFrozen(t.St)) return {true, {}, true};
    std::error_code ec;
    fs::remove(envFileName, ec);
    if (ec)
        return {false,
                "ファイル \"" + envFileName + "\" を削除できません。" + SystemReason(ec.value())};
    return {};
}

} // namespace bansho
