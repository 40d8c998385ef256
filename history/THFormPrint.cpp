// Command 印刷: the receipt through the desktop's print dialog.
#include "CalcEngine.h"
#include "ReceiptListView.h"
#include "ReceiptPrinter.h"
#include "ReceiptTotal.h"
#include "THForm.h"
#include "TextFunctions.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

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
    }
    return r;
}

void THForm::PrintReceipt() {
    if (engine_.HistoryCount() == 0) return; // nothing to print
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("バンショ ") + ReceiptForPrint().kind);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    if (dialog.exec() != QDialog::Accepted) return;
    ReceiptPrinter(HistWin->font()).Print(ReceiptForPrint(), printer);
}

} // namespace bansho
