#include "ColorChooser.h"

#include "ColorValue.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace bansho {

namespace {

// The standard dialog speaks Japanese, like the rest of the program, where Qt's own
// translations are installed; otherwise it keeps Qt's English texts.
void LoadDialogTranslation() {
    static const bool loaded = [] {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                             QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
        return false;
    }();
    (void)loaded;
}

std::optional<ColorValue> StandardChooser(QWidget* parent, ColorValue initial) {
    LoadDialogTranslation();
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
