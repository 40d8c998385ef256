#pragma once
// The display colours: the settings file keeps them and the windows paint with them; the
// engine never reads them.
#include <cstdint>

namespace bansho {

// A colour is 0x00BBGGRR, or a system colour number with the top byte 0xFF.
using ColorValue = std::int32_t;
inline constexpr ColorValue clBtnFace = static_cast<ColorValue>(0xFF00000F);
inline constexpr ColorValue clBlack = 0x000000;
inline constexpr ColorValue clRed = 0x0000FF;

struct DisplayColorSet {
    ColorValue MPanel = clBtnFace; // background of the main display panel
    ColorValue Number = clBlack;   // the display number and the marks
    ColorValue Error = clRed;      // the display number after an error
    ColorValue HPanel = clBtnFace; // background of the history panel
    ColorValue HNumber = clBlack;  // the history numbers
};

} // namespace bansho
