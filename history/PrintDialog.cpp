#include "PrintDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "LateLibrary.h"

namespace bansho {

namespace {
QStringList& FolderOverride() {
    static QStringList folders;
    return folders;
}
} // namespace

void SetPrintModuleFolders(const QStringList& folders) {
    FolderOverride() = folders;
}

QStringList PrintModuleFolders() {
    if (!FolderOverride().isEmpty()) return FolderOverride();
    const QString own = QCoreApplication::applicationDirPath();
    QStringList folders{own};
#ifdef BANSHO_MODULE_RELDIR
    folders << QDir::cleanPath(own + QLatin1Char('/') + QStringLiteral(BANSHO_MODULE_RELDIR));
#endif
    return folders;
}

PrintEntry LoadPrintModule(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("libbansho-print.so")));
        // The module stays loaded for the rest of the run: the dialog's classes live in it.
        void* handle = platform::OpenLibrary(path.constData());
        if (!handle) continue;
        PrintEntry entry = nullptr;
        if (platform::Resolve(handle, "bansho_print_dialog", entry)) return entry;
        dlclose(handle);
    }
    return nullptr;
}

PrintOutcome PrintWithDialog(QWidget* parent, const QString& docName, const QString& title,
                             const PaintPages& paint) {
    static PrintEntry entry = nullptr;
    if (!entry) entry = LoadPrintModule();
    if (!entry) return PrintOutcome::Unavailable;
    return entry(parent, docName, title, paint) ? PrintOutcome::Printed : PrintOutcome::Cancelled;
}

} // namespace bansho
