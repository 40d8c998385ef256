#include "ReceiptPrinter.h"

#include "ReceiptLayout.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace bansho {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr qreal kPointsPerInch = 72.0;
// The widest number a row can hold left of its point: the glyph, the sign and fifteen digits
// with their separators. The column is never narrower, so no number the display can show
// runs past it.
const QString kWidestWhole = QStringLiteral("＝-999,999,999,999,999.");
// The total is set this much larger than the rows where it fits.
constexpr qreal kTotalScale = 1.3;
// A roll's rows are never larger than this, however wide the roll.
constexpr qreal kLargestRollPoints = 40.0;

// A number text split where the rows align: up to and including the point, and the rest.
// A text without a point ends where the rows' digits end.
struct Split {
    QString whole;
    QString fraction;
    bool point = false;
};

Split SplitAtPoint(const QString& text) {
    QString t = text;
    while (!t.isEmpty() && t.front().isSpace())
        t.remove(0, 1);
    const qsizetype dot = t.indexOf(QLatin1Char('.'));
    if (dot < 0) return {t, QString(), false};
    return {t.left(dot + 1), t.mid(dot + 1), true};
}

QFont Sized(QFont f, qreal points, bool bold = false) {
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

qreal Advance(const QFont& f, const QPaintDevice& device, const QString& s) {
    return QFontMetricsF(f, &device).horizontalAdvance(s);
}

// The fonts of one print and where the column stands, in device pixels.
struct Frame {
    QFont row, total, heading;
    qreal left = 0;        // the column's left edge
    qreal point = 0;       // where the rows' points end
    qreal right = 0;       // the column's right edge
    qreal headLeft = 0;    // the heading's extent
    qreal headRight = 0;
    qreal rowPitch = 0;
    qreal totalPitch = 0;
    qreal headPitch = 0;
    qreal gap = 0;         // the space around a rule
    qreal rulePen = 0;
    bool roll = false;
};

// The room the column needs left and right of the points, in the frame's fonts. On a roll
// the total is left out, to be fitted to the column afterwards, and the column holds the
// widest number the display can show, whatever the rows are.
std::pair<qreal, qreal> Measure(const ReceiptPrinter::Receipt& r, const Frame& f,
                                const QPaintDevice& d, bool roll) {
    const bool withTotal = !roll;
    qreal whole = roll ? Advance(f.row, d, kWidestWhole) : 0;
    qreal fraction = 0;
    for (const QString& row : r.rows) {
        const Split s = SplitAtPoint(row);
        whole = std::max(whole, Advance(f.row, d, s.whole));
        fraction = std::max(fraction, Advance(f.row, d, s.fraction));
    }
    for (const auto& line : r.closing) {
        if (line.total && !withTotal) continue;
        const QFont& font = line.total ? f.total : f.row;
        const Split s = SplitAtPoint(line.value);
        const qreal label = line.label.isEmpty() ? 0 : Advance(font, d, line.label + QStringLiteral("  "));
        whole = std::max(whole, label + Advance(font, d, s.whole));
        fraction = std::max(fraction, Advance(font, d, s.fraction));
    }
    return {whole, fraction};
}

void SetPitches(Frame& f, const QPaintDevice& d) {
    f.rowPitch = QFontMetricsF(f.row, &d).lineSpacing();
    f.totalPitch = QFontMetricsF(f.total, &d).lineSpacing() * 1.15;
    f.headPitch = QFontMetricsF(f.heading, &d).lineSpacing();
    f.gap = f.rowPitch * 0.6;
    f.rulePen = std::max<qreal>(1, d.logicalDpiY() / kPointsPerInch * 0.6);
}

QString PageText(int page, int pages) {
    return QStringLiteral("%1/%2").arg(page).arg(pages);
}

QString DateText(const ReceiptPrinter::Receipt& r) {
    return r.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

// The largest size up to `points` at which `width(size)` is at most `room`: a first guess in
// proportion, then smaller steps until it fits (sizes are rounded to the device's pixels).
template <typename Width>
qreal FitPoints(qreal points, qreal room, const Width& width) {
    const qreal w = width(points);
    if (w > room && w > 0) points *= room / w;
    while (points > 1 && width(points) > room)
        points *= 0.99;
    return points;
}

// A roll: the rows as large as fills the width between the small margins.
Frame RollFrame(const ReceiptPrinter::Receipt& r, const QFont& face, const QPagedPaintDevice& d) {
    const qreal area = std::max(1, d.width());
    Frame f;
    f.roll = true;
    const qreal rowPoints = FitPoints(kLargestRollPoints, area, [&](qreal pt) {
        f.row = Sized(face, pt);
        const auto [whole, fraction] = Measure(r, f, d, true);
        return whole + fraction;
    });
    f.row = Sized(face, rowPoints);
    const qreal fraction = Measure(r, f, d, true).second;
    f.left = 0;
    f.right = area;
    f.point = area - fraction;
    f.headLeft = 0;
    f.headRight = area;

    // The total as large as fits the column, up to kTotalScale times the rows.
    qreal totalPoints = rowPoints * kTotalScale;
    for (const auto& line : r.closing) {
        if (!line.total) continue;
        const Split s = SplitAtPoint(line.value);
        const QString left = line.label.isEmpty() ? s.whole : line.label + QStringLiteral("  ") + s.whole;
        totalPoints = FitPoints(totalPoints, f.point - f.left, [&](qreal pt) {
            return Advance(Sized(face, pt, true), d, left);
        });
        totalPoints = FitPoints(totalPoints, f.right - f.point, [&](qreal pt) {
            return Advance(Sized(face, pt, true), d, s.fraction);
        });
    }
    f.total = Sized(face, totalPoints, true);

    // The heading: the kind and the time on lines of their own, at most the rows' size.
    const qreal headPoints = FitPoints(rowPoints, area, [&](qreal pt) {
        const QFont font = Sized(face, pt);
        return std::max(Advance(font, d, r.kind), Advance(font, d, DateText(r)));
    });
    f.heading = Sized(face, headPoints);
    SetPitches(f, d);
    return f;
}

// A sheet: the sizes that read well, the column centred between margins of kSheetMarginMm
// (or the printer's own, when wider); all smaller only where the column would not fit.
Frame SheetFrame(const ReceiptPrinter::Receipt& r, const QFont& face, const QPagedPaintDevice& d) {
    const qreal pxPerMm = d.logicalDpiX() / kMmPerInch;
    const QMarginsF margins = d.pageLayout().margins(QPageLayout::Millimeter);
    const qreal insetL = std::max<qreal>(0, ReceiptPrinter::kSheetMarginMm - margins.left()) * pxPerMm;
    const qreal insetR = std::max<qreal>(0, ReceiptPrinter::kSheetMarginMm - margins.right()) * pxPerMm;
    const qreal area = std::max<qreal>(1, d.width() - insetL - insetR);

    Frame f;
    auto setFonts = [&](qreal scale) {
        f.row = Sized(face, ReceiptPrinter::kSheetRowPoints * scale);
        f.total = Sized(face, ReceiptPrinter::kSheetTotalPoints * scale, true);
        f.heading = Sized(face, ReceiptPrinter::kHeadingPoints * scale);
    };
    setFonts(FitPoints(1.0, area, [&](qreal scale) {
        setFonts(scale);
        const auto [whole, fraction] = Measure(r, f, d, false);
        return whole + fraction;
    }));
    const auto [whole, fraction] = Measure(r, f, d, false);
    const qreal centre = insetL + area / 2;
    f.left = centre - (whole + fraction) / 2;
    f.point = f.left + whole;
    f.right = f.point + fraction;
    const qreal em = Advance(f.heading, d, QStringLiteral("　"));
    const qreal heading = Advance(f.heading, d, r.kind) + Advance(f.heading, d, DateText(r)) +
                          Advance(f.heading, d, PageText(999, 999)) + 4 * em;
    const qreal half = std::min(area, std::max(whole + fraction, heading)) / 2;
    f.headLeft = centre - half;
    f.headRight = centre + half;
    SetPitches(f, d);
    return f;
}

// ---- Drawing ----------------------------------------------------------------------------

// The lines after the heading: the rows, then (when there are closing lines) a rule and the
// closing lines. Index i < rows is row i; rows is the rule; rows + 1 + k is closing line k.
qreal LineHeight(const ReceiptPrinter::Receipt& r, const Frame& f, int i) {
    const int rows = static_cast<int>(r.rows.size());
    if (i < rows) return f.rowPitch;
    if (i == rows) return f.gap;
    return r.closing[static_cast<std::size_t>(i - rows - 1)].total ? f.totalPitch : f.rowPitch;
}

int LineCount(const ReceiptPrinter::Receipt& r) {
    return static_cast<int>(r.rows.size() + (r.closing.empty() ? 0 : 1 + r.closing.size()));
}

// A number text with its point at the column's point (a text without one ends where the
// rows' digits end), at the baseline y.
void DrawNumber(QPainter& p, const Frame& f, const QString& text, qreal y) {
    const Split s = SplitAtPoint(text);
    const QFontMetricsF m(p.font(), p.device());
    qreal end = f.point;
    if (!s.point) end -= QFontMetricsF(f.row, p.device()).horizontalAdvance(QLatin1Char('.'));
    p.drawText(QPointF(end - m.horizontalAdvance(s.whole), y), s.whole);
    if (!s.fraction.isEmpty()) p.drawText(QPointF(end, y), s.fraction);
}

void DrawRule(QPainter& p, const Frame& f, qreal left, qreal right, qreal y) {
    p.save();
    p.setPen(QPen(Qt::black, f.rulePen));
    p.drawLine(QPointF(left, y), QPointF(right, y));
    p.restore();
}

// Draws line i with its top at y.
void DrawLine(QPainter& p, const ReceiptPrinter::Receipt& r, const Frame& f, int i, qreal y) {
    const int rows = static_cast<int>(r.rows.size());
    if (i < rows) {
        p.setFont(f.row);
        DrawNumber(p, f, r.rows[i], y + QFontMetricsF(f.row, p.device()).ascent());
        return;
    }
    if (i == rows) {
        DrawRule(p, f, f.left, f.right, y + f.gap / 2);
        return;
    }
    const auto& line = r.closing[static_cast<std::size_t>(i - rows - 1)];
    p.setFont(line.total ? f.total : f.row);
    const qreal pitch = line.total ? f.totalPitch : f.rowPitch;
    const QFontMetricsF m(p.font(), p.device());
    const qreal base = y + (pitch - m.lineSpacing()) / 2 + m.ascent();
    if (!line.label.isEmpty()) p.drawText(QPointF(f.left, base), line.label);
    DrawNumber(p, f, line.value, base);
}

// The heading with its top at y; returns its height.
qreal DrawHeading(QPainter& p, const ReceiptPrinter::Receipt& r, const Frame& f, int page,
                  int pages, qreal y) {
    p.setFont(f.heading);
    const QFontMetricsF m(f.heading, p.device());
    const qreal base = y + m.ascent();
    if (f.roll) {
        // One strip: no page numbers.
        p.drawText(QPointF(f.headLeft, base), r.kind);
        p.drawText(QPointF(f.headLeft, base + f.headPitch), DateText(r));
        DrawRule(p, f, f.headLeft, f.headRight, y + 2 * f.headPitch + f.gap / 2);
        return 2 * f.headPitch + f.gap;
    }
    const QString date = DateText(r);
    const QString number = PageText(page, pages);
    p.drawText(QPointF(f.headLeft, base), r.kind);
    p.drawText(QPointF((f.headLeft + f.headRight - m.horizontalAdvance(date)) / 2, base), date);
    p.drawText(QPointF(f.headRight - m.horizontalAdvance(number), base), number);
    DrawRule(p, f, f.headLeft, f.headRight, y + f.headPitch + f.gap / 2);
    return f.headPitch + f.gap;
}

qreal HeadingHeight(const Frame& f) {
    return f.roll ? 2 * f.headPitch + f.gap : f.headPitch + f.gap;
}

// A roll's page made as long as the receipt (up to kLongestRollPageMm); the device keeps
// its page where it does not take one of any length.
void FitRollLength(QPagedPaintDevice& d, qreal contentPx) {
    const qreal pxPerMm = d.logicalDpiY() / kMmPerInch;
    const QPageLayout layout = d.pageLayout();
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    const qreal width = layout.fullRect(QPageLayout::Millimeter).width();
    const qreal length = std::min(ReceiptPrinter::kLongestRollPageMm,
                                  std::ceil(contentPx / pxPerMm + margins.top() + margins.bottom() + 1));
    d.setPageSize(QPageSize(QSizeF(width, length), QPageSize::Millimeter, QString(),
                            QPageSize::ExactMatch));
}

} // namespace

QString ReceiptPrinter::ClosingLine::Text() const {
    if (label.isEmpty()) return value;
    return value.isEmpty() ? label : label + QLatin1Char(' ') + value;
}

ReceiptPrinter::Paper ReceiptPrinter::PaperOf(const QPageLayout& layout) {
    const qreal width = layout.fullRect(QPageLayout::Millimeter).width();
    return layout.pageSize().id() == QPageSize::Custom && width <= 112.0 ? Paper::Roll : Paper::Sheet;
}

ReceiptPrinter::ReceiptPrinter(QFont face) : face_(std::move(face)) {
    face_.setFixedPitch(true);
    face_.setStyleHint(QFont::TypeWriter);
    face_.setKerning(false);
}

QString ReceiptPrinter::Heading(const Receipt& receipt, int page, int pages) {
    return QStringLiteral("%1  %2  %3").arg(receipt.kind, DateText(receipt), PageText(page, pages));
}

int ReceiptPrinter::Print(const Receipt& receipt, QPagedPaintDevice& device) const {
    const bool roll = PaperOf(device.pageLayout()) == Paper::Roll;
    if (roll) {
        const qreal m = kRollMarginMm;
        device.setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    }
    const Frame frame = roll ? RollFrame(receipt, face_, device) : SheetFrame(receipt, face_, device);
    std::vector<double> heights;
    const int count = LineCount(receipt);
    for (int i = 0; i < count; ++i)
        heights.push_back(LineHeight(receipt, frame, i));
    if (roll) {
        double all = HeadingHeight(frame);
        for (double h : heights)
            all += h;
        FitRollLength(device, all);
    }

    // A sheet leaves kSheetMarginMm at top and bottom (or the printer's own margin).
    const qreal pxPerMm = device.logicalDpiY() / kMmPerInch;
    const QMarginsF margins = device.pageLayout().margins(QPageLayout::Millimeter);
    const qreal top = roll ? 0 : std::max<qreal>(0, kSheetMarginMm - margins.top()) * pxPerMm;
    const qreal bottom = roll ? 0 : std::max<qreal>(0, kSheetMarginMm - margins.bottom()) * pxPerMm;
    const qreal page = device.height() - top - bottom;

    PaginationRule rule;
    rule.firstPage = page - HeadingHeight(frame);
    rule.nextPages = roll ? page : rule.firstPage;
    rule.closingFrom = static_cast<int>(receipt.rows.size());
    rule.keepRows = roll ? 0 : 3;
    const std::vector<PageSpan> pages = Paginate(heights, rule);

    QPainter painter;
    if (!painter.begin(&device)) return 0;
    painter.setPen(Qt::black);
    const int total = std::max<int>(1, static_cast<int>(pages.size()));
    for (int n = 0; n < total; ++n) {
        if (n > 0) device.newPage();
        qreal y = top;
        // A roll's pages join into one strip: the heading only at its start.
        if (n == 0 || !roll) y += DrawHeading(painter, receipt, frame, n + 1, total, y);
        if (pages.empty()) break;
        for (int i = pages[static_cast<std::size_t>(n)].first; i < pages[static_cast<std::size_t>(n)].end; ++i) {
            DrawLine(painter, receipt, frame, i, y);
            y += heights[static_cast<std::size_t>(i)];
        }
    }
    painter.end();
    return total;
}

} // namespace bansho
