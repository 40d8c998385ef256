#pragma once
// The program's settings as they stand right after start-up, before the file is read, as the
// main window holds them; loaded from and saved to a file or bytes as the program does.
#include "KeyConfig.h"
#include "Settings.h"

#include <string>
#include <string_view>

namespace bansho::testing {

struct Program {
    TOption option;
    DisplayColorSet colors;
    TCalcStatus status;
    KeyConfig keys;
    MainWindowSettings window;
    WindowOptions winOptions;
    HistoryWindowState history;
    Program() {
        SetBuiltInDefaults(option, status);
        InitKeyTBL(keys, option, status);
    }
    StoredState Refs() { return {option, colors, status, keys, window, winOptions, history}; }
    // Returns whether the file existed.
    bool Load(const std::string& f) {
        const bool existed = LoadSettings(f, Refs());
        NormalizeFuncSets(keys);
        return existed;
    }
    void LoadIni(const IniFile& ini, bool existed = true) {
        LoadSettings(ini, existed, Refs());
        NormalizeFuncSets(keys);
    }
    bool LoadText(std::string_view bytes, bool existed = true) {
        LoadIni(IniFile::FromBytes(bytes), existed);
        return existed;
    }
    IniFile SaveToMemory(std::string_view old = "") {
        IniFile ini = IniFile::FromBytes(old);
        SaveSettings(ini, Refs());
        return ini;
    }
    std::string SaveBytes(std::string_view old = "") { return SaveToMemory(old).ToBytes(); }
};

} // namespace bansho::testing
