#include "DisplayFontMeasure.h"

#include <QFontMetrics>
#include <QString>

namespace bansho {

QFont FontAtPixelSize(const QFont& base, int size) {
    QFont f(base);
    f.setPixelSize(std::max(1, size));
    return f;
}

DisplayFontMeasure MeasureWithFont(const QFont& base) {
    DisplayFontMeasure m;
    m.sampleWidth = [base](int size) {
        return QFontMetrics(FontAtPixelSize(base, size))
            .horizontalAdvance(QString::fromLatin1(kFitSample));
    };
    m.sampleHeight = [base](int size) {
        return QFontMetrics(FontAtPixelSize(base, size)).height();
    };
    m.eightWidth = [base](int size) {
        return QFontMetrics(FontAtPixelSize(base, size)).horizontalAdvance(QLatin1Char('8'));
    };
    return m;
}

int TextLineHeight(const QFont& font, const QStringList& texts) {
    const QFontMetrics fm(font);
    int h = fm.height();
    for (const QString& t : texts)
        h = std::max(h, fm.tightBoundingRect(t).height());
    return h;
}

QFont FontFittingBox(const QFont& base, const QStringList& texts, int width, int height) {
    QFont f = base;
    for (int size = std::max(1, base.pixelSize()); size > 1; --size) {
        f.setPixelSize(size);
        const QFontMetrics fm(f);
        bool fits = TextLineHeight(f, texts) <= height;
        for (const QString& t : texts)
            fits = fits && fm.horizontalAdvance(t) <= width;
        if (fits) return f;
    }
    f.setPixelSize(1);
    return f;
}

} // namespace bansho
