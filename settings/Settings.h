#pragma once
// The settings file: one INI-style Shift_JIS file named after the executable with the
// extension ".ENV", read once while the main window is created and written once when it
// closes. Everything here works on plain data; the main window applies its own part.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DisplayColors.h"
#include "IniFile.h"
#include "KeyConfig.h"
#include "Options.h"
#include "WindowOptions.h"

namespace bansho {

inline constexpr std::int32_t kStyleNormal = 0;    // "OPTION"/"Style": normal window
inline constexpr std::int32_t kStyleStayOnTop = 3; // "OPTION"/"Style": always on top

// What a load lets through, whatever the file says: enough for any real screen and no more,
// so that no later arithmetic on these values can overflow. Bringing the window onto a
// screen is the window's own business.
inline constexpr std::int32_t kMaxMoveDot = 100;      // the customization dialog's range
inline constexpr std::int32_t kMaxPosition = 32000;   // "Left" and "Top", either sign
inline constexpr std::int32_t kMinWidth = 280;        // no narrower window exists
inline constexpr std::int32_t kMaxWindowSize = 16384; // widths and heights
inline constexpr std::int32_t kMaxPanelHeight = 1024; // "FHeight" and "SHeight"

// The values that belong to the main window itself. The window fills this from its
// current state before a save and applies it after a load.
struct MainWindowSettings {
    std::int32_t Left = 455; // design position; a load keeps the value held when absent
    std::int32_t Top = 119;
    std::int32_t Width = 600;
    std::int32_t Height = 140; // the layout rule recomputes the height at once
    std::int32_t Style = kStyleNormal;
    bool StatusBar = true;
    // Panel heights of the function-key bar and the status bar; read, never written.
    // Absent: the window keeps the heights it has.
    std::optional<std::int32_t> FHeight;
    std::optional<std::int32_t> SHeight;
    std::string FontName = "ＭＳ Ｐゴシック";
    std::int32_t FontStyle = 0; // bit 0 bold, bit 1 italic, bit 2 underline, bit 3 strike-out
};

// The program state that the settings file stores: a reference to each part where it
// lives in the program. From TCalcStatus: UseNumKey and KeyCUST.
struct StoredState {
    TOption& Option;
    DisplayColorSet& Colors;
    TCalcStatus& Status;
    KeyConfig& Keys;
    MainWindowSettings& Window;
    WindowOptions& WinOptions;
    HistoryWindowState& History;
};

// The option values that a file without the keys gives, the factory NUM-key strings included.
TOption FileDefaultOptions();

// --- Where the file lives ------------------------------------------------------------

// The executable's path with its extension replaced by ".ENV" ("/opt/x/bansho" gives
// "/opt/x/bansho.ENV"; a leading dot of a file name is not an extension).
std::string EnvFileNameBeside(std::string_view exePath);
// Beside the executable when its folder can be written; otherwise
// $XDG_CONFIG_HOME/bansho/<name>.ENV, with ~/.config when XDG_CONFIG_HOME is unset or not
// an absolute path. With neither, beside the executable all the same.
std::string EnvFileNameFor(std::string_view exePath, bool exeDirWritable,
                           std::string_view xdgConfigHome, std::string_view home);
// The settings file of the running program (/proc/self/exe and the environment).
std::string EnvFileName();

// --- Reading and writing --------------------------------------------------------------

// Where the settings are read from: the file that is saved to when it exists; otherwise,
// when that is the user's own file, a preset installed beside the executable.
std::string EnvFileToRead(const std::string& saveFile, const std::string& besideExe);
// The executable's file beside it (from /proc/self/exe).
std::string EnvFileBesideProgram();

// The system's reason for an error number, in Japanese where the program knows it,
// else the system's own text.
std::string SystemReason(int err);

// Reads the file and applies what it holds; a missing file, section or key, and a value
// that cannot be read, give the defaults. Call after InitKeyTBL; afterwards the caller runs
// NormalizeFuncSets. Returns whether the file existed. `result` tells whether the file
// could not be read: such a file must never be saved over.
bool LoadSettings(const std::string& envFileName, const StoredState& s,
                  IniFile::LoadResult* result = nullptr);
// The message for a file that is there but cannot be read (file name and reason).
std::string UnreadableMessage(const std::string& envFileName, const IniFile::LoadResult& r);
// The same over a file already in memory.
void LoadSettings(const IniFile& ini, bool fileExisted, const StoredState& s);

struct SaveResult {
    bool Ok = true;
    std::string Error;   // when not Ok: the file name and the system's reason, for an error box
    bool Frozen = false; // Ok, but nothing written: the file's mode grants no write permission
};

// Rewrites the file whole, keeping what it held that the program does not use. The old
// file is replaced in one step: a failed save leaves it as it was. A symbolic link is
// followed to a regular file, which is replaced with its owner, group and mode; anything
// else in the file's place is refused. A file whose mode grants no one write permission is
// the user's wish to keep it as it is: nothing is written and that is no error. A file that
// cannot be read is never written over.
SaveResult SaveSettings(const std::string& envFileName, const StoredState& s);
// The same into a file held in memory (sets every written key, in the file's order).
void SaveSettings(IniFile& ini, const StoredState& s);

// Writes a temporary file in the target's folder, flushes it to the disk and renames it
// over the target. Missing folders are created. Temporary files that an interrupted save
// of this program left beside the target are removed first.
SaveResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Deletes the settings file (the factory reset of the key assignments). A missing file
// is no error; a frozen file (no write permission in its mode) stays.
SaveResult DeleteSettingsFile(const std::string& envFileName);

} // namespace bansho
