#pragma once
// Colour values of the settings (0x00BBGGRR, or 0xFF0000nn for system colour nn) as Qt colours.
#include "Options.h"

#include <QColor>

class QPalette;

namespace bansho {

// System colours come from the given palette (button face = the palette's button colour).
QColor ToQColor(TColor value, const QPalette& palette);
// The same, from the application's palette.
QColor ToQColor(TColor value);

// An RGB colour as a settings value (0x00BBGGRR).
TColor FromQColor(const QColor& c);

// The contrast ratio of two colours as the web's accessibility guidelines define it, from
// 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The text colour to draw on `background`: `text` itself, unless a system theme has turned the
// background so close to it that the text cannot be read (under 3:1, as the black factory
// number on a dark high-contrast theme's button face); then `themeText`, the theme's own text
// colour for that background.
// Colours the user chose for both stay as chosen: only a background that is a system colour
// (which the theme decides) is checked.
QColor ReadableText(TColor text, TColor background, const QPalette& palette);

} // namespace bansho
