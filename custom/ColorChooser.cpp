#include "ColorChooser.h"

#include "ColorValue.h"

#include <QColorDialog>

namespace bansho {

namespace {

std::optional<TColor> StandardChooser(QWidget* parent, TColor initial) {
    const QColor c = QColorDialog::getColor(ToQColor(initial), parent);
    if (!c.isValid()) return std::nullopt;
    return FromQColor(c);
}

ColorChooser& Current() {
    static ColorChooser chooser;
    return chooser;
}

} // namespace

std::optional<TColor> ChooseColor(QWidget* parent, TColor initial) {
    return Current() ? Current()(parent, initial) : StandardChooser(parent, initial);
}

ColorChooser SetColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(Current());
    Current() = std::move(chooser);
    return previous;
}

} // namespace bansho
