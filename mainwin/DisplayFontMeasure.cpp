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

} // namespace bansho
