// Commands 印刷 and プレビュー: the receipt through the desktop's print dialog or the print
// preview window.
#include "CalcEngine.h"
#include "MessageBoxes.h"
#include "Options.h"
#include "WindowOptions.h"
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
        ReceiptPrinter::ClosingLine totalLine;
        totalLine.value = QString::fromStdString(text).trimmed();
        totalLine.total = true;
        r.closing.push_back(totalLine);
        // The count the calculator shows, not the number of rows.
        r.closing.push_back({QStringLiteral("件数"), QString::number(engine_.ItemCount()), false});
    }
    // The tax bill's invoice block closes the receipt, after a blank line when the total and
    // the count stand before it, and is kept with the last rows like them. A line's amount
    // after its last blank ("¥162", "E") stands under the rows' numbers.
    const std::vector<std::string> invoice = engine_.InvoiceBlock();
    if (!invoice.empty() && !r.closing.empty()) r.closing.push_back({});
    for (const std::string& text : invoice) {
        const QString line = QString::fromStdString(text);
        const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
        if (blank > 0)
            r.closing.push_back({line.left(blank), line.mid(blank + 1), false});
        else
            r.closing.push_back({line, QString(), false});
    }
    return r;
}

namespace {

PrintChoice OfferedChoice(const WindowOptions& o) {
    return {QString::fromStdString(o.Printer), PaperFromText(QString::fromStdString(o.PrintPaper))};
}

} // namespace

// The print dialog or the preview; what the user printed with is offered at the next print.
void THForm::RunPrint(bool preview) {
    if (engine_.HistoryCount() == 0) return; // nothing to print
    const ReceiptPrinter printer(HistWin->font());
    PrintRequest request;
    request.docName = QStringLiteral("バンショ ") + ReceiptForPrint().kind;
    request.title = preview ? QStringLiteral("印刷プレビュー") : QStringLiteral("印刷");
    request.preview = preview;
    request.offered = OfferedChoice(winOptions_);
    request.paint = [this, &printer](QPagedPaintDevice& device) { printer.Print(ReceiptForPrint(), device); };
    PrintChoice chosen;
    const PrintOutcome outcome = PrintWithDialog(this, request, chosen);
    if (outcome == PrintOutcome::Printed) {
        winOptions_.Printer = chosen.printer.toStdString();
        winOptions_.PrintPaper = PaperText(chosen.paper).toStdString();
    } else if (outcome == PrintOutcome::Unavailable) {
        platform::ShowError(this, QStringLiteral("印刷の部品 (bansho-print) が見つかりません。"),
                            request.title);
    }
}

void THForm::PrintReceipt() {
    RunPrint(false);
}

void THForm::PreviewReceipt() {
    RunPrint(true);
}

} // namespace bansho
