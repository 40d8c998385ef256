// Command 印刷: the receipt through the desktop's print dialog.
#include "CalcEngine.h"
#include "MessageBoxes.h"
#include "PrintDialog.h"
#include "ReceiptListView.h"
#include "ReceiptPrinter.h"
#include "ReceiptTotal.h"
#include "THForm.h"
#include "TextFunctions.h"

namespace bansho {

ReceiptPrinter::Receipt THForm::ReceiptForPrint() const {
    ReceiptPrinter::Receipt r;
    switch (option_.HistSet) {
    case 0: r.kind = QStringLiteral("ユーザーメモ"); break;
    case 1: r.kind = QStringLiteral("計算レシート"); break;
    default: r.kind = QStringLiteral("入力レシート"); break;
    }
    r.printedAt = QDateTime::currentDateTime();
    for (std::size_t i = 0; i < engine_.HistoryCount(); ++i)
        r.rows << QString::fromStdString(engine_.HistRow(i));
    if (option_.HistSet == 2 && engine_.HistoryCount() > 0) {
        // The total the re-total would show; a row that is not a number or an error in the
        // chain prints as the error mark instead of a number.
        TCalcNum total;
        std::string bad;
        const bool ok = engine_.ReceiptTotal(total, &bad);
        const std::string text = ok && !total.Error
                                     ? AlignNumber("＝" + InsertThousands(total.Text.empty() ? "0" : total.Text))
                                     : AlignNumber("＝") + " E";
        r.total = QString::fromStdString(text);
        r.items = engine_.ItemCount(); // the count the calculator shows
    }
    return r;
}

void THForm::PrintReceipt() {
    if (engine_.HistoryCount() == 0) return; // nothing to print
    const ReceiptPrinter printer(HistWin->font());
    const PrintOutcome outcome =
        PrintWithDialog(this, QStringLiteral("バンショ ") + ReceiptForPrint().kind,
                        QStringLiteral("印刷"), [this, &printer](QPagedPaintDevice& device) {
                            printer.Print(ReceiptForPrint(), device);
                        });
    if (outcome == PrintOutcome::Unavailable)
        platform::ShowError(this, QStringLiteral("印刷の部品 (bansho-print) が見つかりません。"),
                            QStringLiteral("印刷"));
}

} // namespace bansho
