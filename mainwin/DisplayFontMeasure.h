#pragma once
// Measures the display font for the layout rule through QFontMetrics.
#include "LayoutRule.h"

#include <QFont>

namespace bansho {

// Measurements of `base` (face and style) at any pixel height.
DisplayFontMeasure MeasureWithFont(const QFont& base);

// `base` at the given pixel height.
QFont FontAtPixelSize(const QFont& base, int size);

} // namespace bansho
