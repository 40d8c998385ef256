#pragma once
// The desktop's print dialog, from a module of its own (bansho-print) that is loaded at the
// first print: Qt's print support is a large library whose loading every start paid for.
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace bansho {

// What a print came to.
enum class PrintOutcome { Printed, Cancelled, Unavailable };

using PaintPages = std::function<void(QPagedPaintDevice&)>;

// The module's one entry point: shows the print dialog for an A4 document named `docName`
// and, when the user accepts, calls `paint` with the chosen printer.
using PrintEntry = bool (*)(QWidget* parent, const QString& docName, const QString& title,
                            const PaintPages& paint);

// The folders the module is looked for in: the program's own folder (a build tree), then
// the private library folder of an installed program; or, once set, the given ones (a test
// runs from a folder of its own).
QStringList PrintModuleFolders();
void SetPrintModuleFolders(const QStringList& folders);

// The entry point of the first module found in `folders`; null when there is none.
PrintEntry LoadPrintModule(const QStringList& folders = PrintModuleFolders());

// Prints through the module; Unavailable when it cannot be loaded.
PrintOutcome PrintWithDialog(QWidget* parent, const QString& docName, const QString& title,
                             const PaintPages& paint);

} // namespace bansho
