#include "ReceiptPrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace bansho {

ReceiptPrinter::ReceiptPrinter(QFont face) : face_(std::move(face)) {
    face_.setPointSizeF(kPointSize);
    face_.setFixedPitch(true);
    face_.setStyleHint(QFont::TypeWriter);
    face_.setKerning(false);
}

QString ReceiptPrinter::Heading(const Receipt& receipt, int page, int pages) {
    return QStringLiteral("%1  %2  %3/%4")
        .arg(receipt.kind, receipt.printedAt.toString(QStringLiteral("yyyy/MM/dd HH:mm")))
        .arg(page)
        .arg(pages);
}

QStringList ReceiptPrinter::Footer(const Receipt& receipt) {
    if (!receipt.total) return {};
    const qsizetype items = receipt.items ? *receipt.items : receipt.rows.size();
    return {QString(), *receipt.total, QStringLiteral("件数 %1").arg(items)};
}

int ReceiptPrinter::Print(const Receipt& receipt, QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    painter.setFont(face_);
    const QFontMetricsF metrics(painter.font(), &device);
    const qreal pitch = metrics.lineSpacing();
    const QRectF area(0, 0, device.width(), device.height());

    // Every page: heading, a blank line, then rows. The footer follows the last row and never
    // stands alone on a page without at least the heading.
    const int headingLines = 2;
    const int perPage = std::max(1, static_cast<int>(area.height() / pitch) - headingLines);
    QStringList lines = receipt.rows;
    lines += Footer(receipt);
    const int pages = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));

    for (int page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        qreal y = area.top() + metrics.ascent();
        painter.drawText(QPointF(area.left(), y), Heading(receipt, page + 1, pages));
        y += pitch * headingLines;
        const int first = page * perPage;
        const int last = std::min<int>(static_cast<int>(lines.size()), first + perPage);
        for (int i = first; i < last; ++i, y += pitch)
            painter.drawText(QPointF(area.left(), y), lines[i]);
    }
    painter.end();
    return pages;
}

} // namespace bansho
