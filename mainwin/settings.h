#pragma once
// The settings file: one INI-style Shift_JIS file named after the executable with the
// extension ".ENV", read once while the main window is created and written once when it
// closes. Everything here works on plain data; the main window applies its own part.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "IniFile.h"
#include "KeyConfig.h"
#include "Options.h"

inline constexpr std::int32_t kStyleNormal = 0;    // "OPTION"/"Style": normal window
inline constexpr std::int32_t kStyleStayOnTop = 3; // "OPTION"/"Style": always on top

// The values that belong to the main window itself. The window fills this from its
// current state before a save and applies it after a load.
struct TMainWinSettings {
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

// Everything the file holds, by reference to where it lives in the program.
// From TCalcStatus: UseNumKey, KeyCUST, HistWinVisible, HistWinHeight.
struct TSettingsRefs {
    TOption& Option;
    TDisplayColors& Colors;
    TCalcStatus& Status;
    TKeyConfig& Keys;
    TMainWinSettings& Window;
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

// Reads the file and applies what it holds; a missing file, section or key, and a value
// that cannot be read, give the defaults. Call after InitKeyTBL; afterwards the caller runs
// NormalizeFuncSets. Returns whether the file existed.
bool LoadSettings(const std::string& envFileName, const TSettingsRefs& s);
// The same over a file already in memory.
void LoadSettings(const TIniFile& ini, bool fileExisted, const TSettingsRefs& s);

struct TSaveResult {
    bool Ok = true;
    std::string Error; // when not Ok: the file name and the system's reason, for an error box
};

// Rewrites the file whole, keeping what it held that the program does not use. The old
// file is replaced in one step: a failed save leaves it as it was.
TSaveResult SaveSettings(const std::string& envFileName, const TSettingsRefs& s);
// The same into a file held in memory (sets every written key, in the file's order).
void SaveSettings(TIniFile& ini, const TSettingsRefs& s);

// Writes a temporary file in the target's folder, flushes it to the disk and renames it
// over the target. Missing folders are created.
TSaveResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Deletes the settings file (the factory reset of the key assignments). A missing file
// is no error.
TSaveResult DeleteSettingsFile(const std::string& envFileName);
