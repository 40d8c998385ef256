#pragma once
// The receipt on paper: a heading (receipt kind, date and time, page), the rows exactly as the
// history window shows them, and the closing lines (the input receipt's total and count, and
// whatever else closes a receipt), fitted to the paper the user chose.
//
// On a sheet (A4, A5, B5, Letter and the like) the receipt is a column centred on the page in
// a readable size, as wide as its longest row; the heading is repeated on every page and the
// closing block always stands on the page of the last rows. On a roll (a narrow paper, 58 or
// 80 mm) the rows fill the width and the receipt is one page as long as itself where the
// printer takes a page of any length, else pages that join without a gap.
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

#include <vector>

class QPageLayout;
class QPagedPaintDevice;

namespace bansho {

class ReceiptPrinter {
public:
    // One line after the rows: a label at the left (may be empty) and a number text whose
    // point stands under the rows' points. The total is printed larger and bold.
    struct ClosingLine {
        QString label;
        QString value;
        bool total = false;
        // As one text: "件数 300", "＝32,424.", a label alone without a blank after it.
        QString Text() const;
    };

    struct Receipt {
        QString kind;                     // "入力レシート", "計算レシート", "ユーザーメモ"
        QDateTime printedAt;              // shown in the heading
        QStringList rows;                 // as the history window shows them
        std::vector<ClosingLine> closing; // printed after the rows, kept with the last of them
    };

    enum class Paper { Sheet, Roll };
    // A roll is a paper of no standard size at most 112 mm wide (58 mm and 80 mm receipt
    // rolls, as a printer offers them or as a custom size); anything else is a sheet.
    static Paper PaperOf(const QPageLayout& layout);

    // The face the rows are printed in; its family should be fixed-width with full-width
    // characters twice as wide as the others, as the rows are aligned for.
    explicit ReceiptPrinter(QFont face);

    // Lays the receipt out on the device's pages and paints it. On a roll the device's page
    // is first made as long as the receipt (where the device takes it) with small margins.
    // Returns the number of pages, 0 when the device could not be painted on.
    int Print(const Receipt& receipt, QPagedPaintDevice& device) const;

    // The heading of one page, as one text ("入力レシート  2026/12/07 12:34  1/3").
    static QString Heading(const Receipt& receipt, int page, int pages);

    // Sizes on a sheet, in points. On a roll the rows take the size that fills the width.
    static constexpr qreal kSheetRowPoints = 12.0;
    static constexpr qreal kSheetTotalPoints = 16.0;
    static constexpr qreal kHeadingPoints = 10.0;
    // Blank paper around a sheet's receipt and a roll's, in millimetres.
    static constexpr qreal kSheetMarginMm = 15.0;
    static constexpr qreal kRollMarginMm = 3.0;
    // The longest page a roll is printed on in one piece (a PDF viewer's limit is 200 inches).
    static constexpr qreal kLongestRollPageMm = 5000.0;

private:
    QFont face_;
};

} // namespace bansho
