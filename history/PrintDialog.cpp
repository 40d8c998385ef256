#include "PrintDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSizeF>

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
        if (platform::Resolve(handle, "bansho_print", entry)) return entry;
        dlclose(handle);
    }
    return nullptr;
}

PrintOutcome PrintWithDialog(QWidget* parent, const PrintRequest& request, PrintChoice& chosen) {
    static PrintEntry entry = nullptr;
    if (!entry) entry = LoadPrintModule();
    if (!entry) return PrintOutcome::Unavailable;
    return entry(parent, request, chosen);
}

QString PaperText(const QPageSize& paper) {
    if (!paper.isValid()) return {};
    if (paper.id() != QPageSize::Custom) return QPageSize::key(paper.id());
    const QSizeF mm = paper.size(QPageSize::Millimeter);
    return QStringLiteral("%1x%2mm").arg(mm.width(), 0, 'g', 6).arg(mm.height(), 0, 'g', 6);
}

QPageSize PaperFromText(const QString& text) {
    static const QRegularExpression size(QStringLiteral("^(\\d{1,4}(?:\\.\\d+)?)x(\\d{1,5}(?:\\.\\d+)?)mm$"));
    if (const auto m = size.match(text); m.hasMatch()) {
        const QSizeF mm(m.captured(1).toDouble(), m.captured(2).toDouble());
        if (mm.width() < 10 || mm.height() < 10) return {};
        return QPageSize(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    }
    for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
        const auto pageId = static_cast<QPageSize::PageSizeId>(id);
        if (pageId != QPageSize::Custom && !text.isEmpty() && QPageSize::key(pageId) == text)
            return QPageSize(pageId);
    }
    return {};
}

} // namespace bansho
