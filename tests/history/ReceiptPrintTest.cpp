// The printed receipt: printed to a PDF file offscreen and read back with pdftotext.
#include "HistoryRig.h"
#include "PrintDialog.h"
#include "ReceiptPrinter.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace bansho::testing {
namespace {

QString NoBlanks(QString s) {
    return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

// The text of one page, each line without blanks, empty lines dropped.
QStringList PageLines(const QString& pdf, int page) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), QStringLiteral("-f"),
                                          QString::number(page), QStringLiteral("-l"),
                                          QString::number(page), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {QStringLiteral("<pdftotext failed>")};
    QStringList lines;
    for (const QString& l : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QString s = NoBlanks(l);
        if (!s.isEmpty()) lines << s;
    }
    return lines;
}

int PageCount(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000)) return -1;
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

using ReceiptPrint = HistoryRig;

TEST_F(ReceiptPrint, ThreeHundredRowsMakeThreePagesWhoseTextMatchesTheRows) {
    THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
    for (int k = 1; k <= 300; ++k)
        Type(std::to_string(k) + (k % 7 == 0 ? "-" : "+"));
    Type("0=");
    ASSERT_EQ(Engine().HistoryCount(), 301u); // 300 numbers and the closing 0

    ReceiptPrinter::Receipt r = h.ReceiptForPrint();
    r.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
    r.rows.removeLast(); // exactly 300 rows
    ASSERT_EQ(r.rows.size(), 300);
    const QString pdf = dir_.filePath(QStringLiteral("receipt.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_EQ(ReceiptPrinter(h.HistWin->font()).Print(r, printer), 3);
    ASSERT_EQ(PageCount(pdf), 3);

    // The expected text: on every page the heading, then the rows in order, the footer last.
    QStringList expected = r.rows;
    expected += ReceiptPrinter::Footer(r);
    expected.removeAll(QString());
    int next = 0;
    for (int page = 1; page <= 3; ++page) {
        const QStringList lines = PageLines(pdf, page);
        ASSERT_FALSE(lines.isEmpty()) << "page " << page;
        EXPECT_EQ(lines.front(), NoBlanks(ReceiptPrinter::Heading(r, page, 3))) << "page " << page;
        EXPECT_TRUE(lines.front().contains(QStringLiteral("入力レシート2026/12/0709:05")))
            << lines.front().toStdString();
        for (int i = 1; i < lines.size(); ++i, ++next) {
            ASSERT_LT(next, expected.size()) << "page " << page;
            EXPECT_EQ(lines[i], NoBlanks(expected[next])) << "page " << page << " line " << i;
        }
    }
    EXPECT_EQ(next, expected.size());
    EXPECT_EQ(NoBlanks(expected[299]), QStringLiteral("＋300."));
    // 1..300, each row counted by the operator typed before it: every number after a
    // multiple of seven is subtracted.
    EXPECT_EQ(NoBlanks(expected[300]), QStringLiteral("＝32,424."));
    // The count is the calculator's: 300 amounts and the closing 0, each entered with + - =.
    EXPECT_EQ(Engine().ItemCount(), 301);
    EXPECT_EQ(expected[301], QStringLiteral("件数 301"));
}

TEST_F(ReceiptPrint, TotalAndCountOnlyOnTheInputReceipt) {
    THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
    Type("12+30=");
    for (int kind : {0, 1, 2}) {
        Option().HistSet = kind;
        const ReceiptPrinter::Receipt r = h.ReceiptForPrint();
        EXPECT_EQ(r.rows.size(), 2) << kind;
        EXPECT_EQ(r.kind, QStringList({"ユーザーメモ", "計算レシート", "入力レシート"})[kind]);
        EXPECT_EQ(r.total.has_value(), kind == 2) << kind;
        EXPECT_EQ(ReceiptPrinter::Footer(r).size(), kind == 2 ? 3 : 0) << kind;
    }
}

TEST_F(ReceiptPrint, CommandOpensThePrintDialogOnlyWithRows) {
    SetPrintModuleFolders({QStringLiteral(BANSHO_BUILD_DIR)});
    Start([](TMForm& f) { f.Option().HistSet = 2; });
    auto dialogSeen = [] {
        auto seen = std::make_shared<bool>(false);
        QTimer::singleShot(0, qApp, [seen] {
            if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                *seen = true;
                d->reject();
            }
        });
        return seen;
    };
    auto seen = dialogSeen();
    form_->ExecCommand(54);
    EXPECT_FALSE(*seen); // an empty receipt prints nothing
    QCoreApplication::processEvents();
    Type("5+6=");
    seen = dialogSeen();
    form_->ExecCommand(54);
    EXPECT_TRUE(*seen);
}

// The print dialog comes from a module loaded at the first print; the program itself does
// not load Qt's print support (nor the sound library, nor libjpeg) when it starts.
TEST(PrintModule, IsFoundInItsFolderAndIsNoPartOfTheProgramsStart) {
    EXPECT_NE(LoadPrintModule({QStringLiteral(BANSHO_BUILD_DIR)}), nullptr);
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    EXPECT_EQ(LoadPrintModule({empty.path()}), nullptr);

    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(BANSHO_PROGRAM)});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    ASSERT_EQ(readelf.exitCode(), 0);
    QStringList needed;
    for (const QString& line : QString::fromUtf8(readelf.readAllStandardOutput()).split('\n'))
        if (line.contains(QStringLiteral("(NEEDED)"))) needed << line.section('[', 1).section(']', 0, 0);
    ASSERT_TRUE(needed.contains(QStringLiteral("libQt6Widgets.so.6"))) << needed.join(' ').toStdString();
    for (const char* late : {"libQt6PrintSupport", "libcanberra", "libjpeg"})
        for (const QString& lib : needed)
            EXPECT_FALSE(lib.startsWith(QLatin1String(late))) << lib.toStdString();
}

} // namespace
} // namespace bansho::testing
