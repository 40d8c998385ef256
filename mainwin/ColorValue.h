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

} // namespace bansho
