#include "FontFit.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>

#include <algorithm>
#include <cstdlib>

namespace bansho {

int FitFontHeight(int startHeight, int width, const std::function<int(int)>& textWidth) {
    int h = std::clamp(std::abs(startHeight), kFitMinHeight, kFitMaxHeight);
    if (textWidth(h) < width) {
        while (h + 2 <= kFitMaxHeight) {
            h += 2;
            if (textWidth(h) >= width) break;
        }
    } else {
        while (h - 2 >= kFitMinHeight && textWidth(h) > width)
            h -= 2;
    }
    return h;
}

void FitFontToWidth(QLabel* label, const QString& text) {
    QFont font = label->font();
    const int start = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
    const int h = FitFontHeight(start, label->width(), [&](int px) {
        QFont f(font);
        f.setPixelSize(px);
        return QFontMetrics(f).horizontalAdvance(text);
    });
    font.setPixelSize(h);
    label->setFont(font);
}

QStringList ListScreenFonts() {
    QStringList faces;
    for (const QString& family : QFontDatabase::families()) {
        if (family.startsWith(QLatin1Char('@')) || faces.contains(family)) continue;
        if (!QFontDatabase::isScalable(family)) continue;
        faces << family;
    }
    return faces;
}

void ListScreenFonts(QComboBox* list) {
    list->clear();
    list->addItems(ListScreenFonts());
}

} // namespace bansho
