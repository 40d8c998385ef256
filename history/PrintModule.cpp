// The module bansho-print: the desktop's print dialog, the print preview and Qt's printer,
// loaded at the first print (see PrintDialog.h).
#include "PrintDialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGraphicsView>
#include <QLineEdit>
#include <QLibraryInfo>
#include <QLocale>
#include <QAbstractButton>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTranslator>

namespace {

using bansho::PrintChoice;
using bansho::PrintOutcome;
using bansho::PrintRequest;

// The dialogs speak Japanese, like the rest of the program, where Qt's own translations are
// installed and nothing has loaded them yet; otherwise they keep Qt's English texts.
void LoadDialogTranslation() {
    static const bool once = [] {
        if (QCoreApplication::translate("QPrintPreviewDialog", "Print Preview") != QLatin1String("Print Preview"))
            return true; // already translated
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                             QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
        return false;
    }();
    (void)once;
}

// The printer and paper of the last print, where they still exist.
void Offer(QPrinter& printer, const PrintChoice& offered) {
    if (offered.printer.startsWith(QLatin1Char('/'))) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(offered.printer);
    } else if (!offered.printer.isEmpty() && !QPrinterInfo::printerInfo(offered.printer).isNull()) {
        printer.setPrinterName(offered.printer);
    }
    if (offered.paper.isValid()) printer.setPageSize(offered.paper);
}

// Qt's print dialog loses a paper of no standard size (a roll) that it did not show: it
// prints on the first paper of its list instead. The paper is chosen in the dialog's printer
// properties; while the user has not opened them, the paper is the one offered.
class PaperKeeper : public QObject {
public:
    explicit PaperKeeper(QPrintDialog& dialog) {
        for (auto* button : dialog.findChildren<QAbstractButton*>(QStringLiteral("properties")))
            connect(button, &QAbstractButton::clicked, this, [this] { opened_ = true; });
    }
    void Keep(QPrinter& printer, const QPageSize& offered) const {
        if (!opened_ && offered.isValid() && !(printer.pageLayout().pageSize() == offered))
            printer.setPageSize(offered);
    }

private:
    bool opened_ = false;
};

// The preview's own controls carry no names a screen reader could read: the page number,
// the zoom and the view of the pages get theirs.
void NamePreviewControls(QPrintPreviewDialog& preview) {
    auto name = [](QWidget* w, const QString& text) {
        if (w->accessibleName().isEmpty()) w->setAccessibleName(text);
    };
    for (auto* edit : preview.findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(edit->parentWidget())) name(edit, QStringLiteral("ページ番号"));
    for (auto* combo : preview.findChildren<QComboBox*>())
        name(combo, QStringLiteral("倍率"));
    for (auto* view : preview.findChildren<QGraphicsView*>()) {
        name(view, QStringLiteral("印刷するページ"));
        name(view->viewport(), QStringLiteral("印刷するページ"));
    }
}

// Paints through the request and remembers the paper the user chose: painting a roll
// lengthens its page, so the choice is the paper as it was before the last painting, unless
// the user has chosen another since.
class Painter {
public:
    Painter(QPrinter& printer, const PrintRequest& request)
        : printer_(printer), request_(request), chosen_(printer.pageLayout().pageSize()) {}

    void Paint() {
        const QPageSize now = printer_.pageLayout().pageSize();
        if (!(now == painted_)) chosen_ = now;
        request_.paint(printer_);
        painted_ = printer_.pageLayout().pageSize();
    }

    PrintChoice Choice() const {
        const bool file = printer_.outputFormat() == QPrinter::PdfFormat;
        return {file ? printer_.outputFileName() : printer_.printerName(), chosen_};
    }

private:
    QPrinter& printer_;
    const PrintRequest& request_;
    QPageSize chosen_;
    QPageSize painted_;
};

} // namespace

extern "C" Q_DECL_EXPORT PrintOutcome bansho_print(QWidget* parent, const PrintRequest& request,
                                                   PrintChoice& chosen) {
    LoadDialogTranslation();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(request.docName);
    Offer(printer, request.offered);
    Painter painter(printer, request);

    bool printed = false;
    if (request.preview) {
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(request.title);
        preview.setAccessibleName(request.title);
        NamePreviewControls(preview);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                         [&painter](QPrinter*) { painter.Paint(); });
        // The preview closes with Accepted after it printed.
        printed = preview.exec() == QDialog::Accepted;
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(request.title);
        const PaperKeeper keeper(dialog);
        if (dialog.exec() == QDialog::Accepted) {
            keeper.Keep(printer, request.offered.paper);
            painter.Paint();
            printed = true;
        }
    }
    if (!printed) return PrintOutcome::Cancelled;
    chosen = painter.Choice();
    return PrintOutcome::Printed;
}

// The loader takes the entry point by this type: a mismatch fails to build.
static_assert(std::is_same_v<decltype(&bansho_print), bansho::PrintEntry>);
