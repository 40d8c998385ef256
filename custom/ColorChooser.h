#pragma once
// The colour chooser of the customization dialog: given the colour being edited, it returns
// the chosen colour, or nothing when the user cancels. Replaceable, so tests answer it
// instead of opening the system's colour dialog.
#include "DisplayColors.h"

#include <functional>
#include <optional>

class QWidget;

namespace bansho {

using ColorChooser = std::function<std::optional<ColorValue>(QWidget* parent, ColorValue initial)>;

// Runs the current chooser (the standard colour dialog unless replaced).
std::optional<ColorValue> ChooseColor(QWidget* parent, ColorValue initial);
// Replaces the chooser; an empty function restores the standard dialog. Returns the previous.
ColorChooser SetColorChooser(ColorChooser chooser);

} // namespace bansho
