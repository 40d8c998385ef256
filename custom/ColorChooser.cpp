#include "ColorChooser.h"

#include "ColorValue.h"
#include "Platform.h"

#include <QColorDialog>

namespace bansho {

namespace {

std::optional<ColorValue> StandardChooser(QWidget* parent, ColorValue initial) {
    platform::LoadQtTranslations(); // the dialog is Qt's own
    const QColor c = QColorDialog::getColor(ToQColor(initial), parent);
    if (!c.isValid()) return std::nullopt;
    return FromQColor(c);
}

ColorChooser& Current() {
    static ColorChooser chooser;
    return chooser;
}

} // namespace

std::optional<ColorValue> ChooseColor(QWidget* parent, ColorValue initial) {
    return Current() ? Current()(parent, initial) : StandardChooser(parent, initial);
}

ColorChooser SetColorChooser(ColorChooser chooser) {
    ColorChooser previous = std::move(Current());
    Current() = std::move(chooser);
    return previous;
}

} // namespace bansho
