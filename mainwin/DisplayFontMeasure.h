#pragma once
// Measures the display font for the layout rule through QFontMetrics.
#include "LayoutRule.h"

#include <QFont>
#include <QStringList>

namespace bansho {

// Measurements of `base` (face and style) at any pixel height.
DisplayFontMeasure MeasureWithFont(const QFont& base);

// `base` at the given pixel height.
QFont FontAtPixelSize(const QFont& base, int size);

// `base`, made smaller one pixel at a time until each of `texts` is at most `width` wide and
// TextLineHeight at most `height` high, so that a label of that size shows them whole.
QFont FontFittingBox(const QFont& base, const QStringList& texts, int width, int height);

// The height a label needs to show each of `texts` whole in `font`: a line of the font, or
// the ink where a hinted small size draws taller than its line.
int TextLineHeight(const QFont& font, const QStringList& texts);

} // namespace bansho
