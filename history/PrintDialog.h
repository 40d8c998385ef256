#pragma once
// The desktop's print dialog and print preview, from a module of its own (bansho-print) that
// is loaded at the first print: Qt's print support is a large library whose loading every
// start paid for.
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace bansho {

// What a print came to.
enum class PrintOutcome { Printed, Cancelled, Unavailable };

using PaintPages = std::function<void(QPagedPaintDevice&)>;

// The printer and paper the user printed with last: offered first at the next print, for the
// rest of the run and, through the settings file, at later runs.
struct PrintChoice {
    // A printer's name, or the PDF file printed to (a path: it starts with '/', which no
    // printer's name holds). Empty: the desktop's default printer.
    QString printer;
    QPageSize paper; // not valid: the printer's own default paper
};

struct PrintRequest {
    QString docName;      // the document's name in the printer's queue
    QString title;        // the title of the print dialog or of the preview window
    bool preview = false; // the print preview window instead of the print dialog
    PrintChoice offered;  // the printer and paper selected when the dialog opens
    PaintPages paint;     // paints the pages on the printer the user chose
};

// The module's one entry point: shows the print dialog (or the print preview, from which the
// user may print) and, when the user prints, calls `paint` with the chosen printer and sets
// `chosen` to the printer and paper printed with. Returns Printed or Cancelled.
using PrintEntry = PrintOutcome (*)(QWidget* parent, const PrintRequest& request, PrintChoice& chosen);

// The folders the module is looked for in: the program's own folder (a build tree), then
// the private library folder of an installed program; or, once set, the given ones (a test
// runs from a folder of its own).
QStringList PrintModuleFolders();
void SetPrintModuleFolders(const QStringList& folders);

// The entry point of the first module found in `folders`; null when there is none.
PrintEntry LoadPrintModule(const QStringList& folders = PrintModuleFolders());

// Prints through the module; Unavailable when it cannot be loaded.
PrintOutcome PrintWithDialog(QWidget* parent, const PrintRequest& request, PrintChoice& chosen);

// A paper as the settings file keeps it: a standard size by its name ("A4", "Letter"), any
// other as its size in millimetres ("80x297mm"); an invalid paper gives an empty text.
QString PaperText(const QPageSize& paper);
// The paper a text names; not valid for an empty or unknown text.
QPageSize PaperFromText(const QString& text);

} // namespace bansho
