#pragma once
// Colour values of the settings (0x00BBGGRR, or 0xFF0000nn for system colour nn) as Qt colours.
#include "DisplayColors.h"

#include <QColor>

class QPalette;

namespace bansho {

// System colours come from the given palette (button face = the palette's button colour).
QColor ToQColor(ColorValue value, const QPalette& palette);
// The same, from the application's palette.
QColor ToQColor(ColorValue value);

// An RGB colour as a settings value (0x00BBGGRR).
ColorValue FromQColor(const QColor& c);

// The contrast ratio of two colours as the web's accessibility guidelines define it, from
// 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The text colour to draw on `background`: `text` itself, unless it is the factory black on a
// system colour that the theme has made too dark to read it on (under 3:1, as a dark
// high-contrast theme's button face); then the theme's own text colour for buttons. Any
// colour the user chose other than black stays as chosen.
QColor ReadableText(ColorValue text, ColorValue background, const QPalette& palette);

} // namespace bansho
