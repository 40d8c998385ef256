#pragma once
// The receipt on paper: a heading (receipt kind, date and time, page), the rows exactly as the
// history window shows them in a fixed-width face, and for the input receipt the total and the
// count of rows. Long receipts go on over pages with the heading repeated on each.
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace bansho {

class ReceiptPrinter {
public:
    struct Receipt {
        QString kind;                 // "入力レシート", "計算レシート", "ユーザーメモ"
        QDateTime printedAt;          // shown in the heading
        QStringList rows;             // as the history window shows them
        std::optional<QString> total; // the input receipt's total row, aligned like the rows
        // The bill's item count as the calculator shows it ("件数"); none: the count of rows.
        std::optional<int> items;
    };

    // The face the rows are printed in; its family should be fixed-width with full-width
    // characters twice as wide as the others, as the rows are aligned for.
    explicit ReceiptPrinter(QFont face);

    // Lays the receipt out on the device's pages and paints it. Returns the number of pages,
    // 0 when the device could not be painted on.
    int Print(const Receipt& receipt, QPagedPaintDevice& device) const;

    // The heading of one page, as printed ("入力レシート  2026/12/07 12:34  1/3").
    static QString Heading(const Receipt& receipt, int page, int pages);
    // The closing lines of the input receipt: the total row and the count.
    static QStringList Footer(const Receipt& receipt);

    // Point size of the rows; the heading is the same face.
    static constexpr qreal kPointSize = 7.0;

private:
    QFont face_;
};

} // namespace bansho
