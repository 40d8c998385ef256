// The module bansho-print: the desktop's print dialog and Qt's printer, loaded at the first
// print (see PrintDialog.h).
#include "PrintDialog.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT bool bansho_print_dialog(QWidget* parent, const QString& docName,
                                                  const QString& title,
                                                  const bansho::PaintPages& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(docName);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) return false;
    paint(printer);
    return true;
}

// The loader takes the entry point by this type: a mismatch fails to build.
static_assert(std::is_same_v<decltype(&bansho_print_dialog), bansho::PrintEntry>);
