// The printed receipt: printed to a PDF file offscreen and read back with pdftotext.
#include "HistoryRig.h"
#include "Platform.h"
#include "PrintDialog.h"
#include "ReceiptPrinter.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLocale>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace bansho::testing {
namespace {

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

TEST_F(ReceiptPrint, ThreeHundredRowsGoOnOverPagesWhoseTextMatchesTheRows) {
    THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
    for (int k = 1; k <= 300; ++k)
        Type(std::to_string(k) + (k % 7 == 0 ? "-" : "+"));
    Type("0=");
    ASSERT_EQ(Engine().HistoryCount(), 301u); // 300 numbers and the closing 0

    ReceiptPrinter::Receipt r = h.ReceiptForPrint();
    r.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
    ASSERT_EQ(r.rows.size(), 301);
    const QString pdf = dir_.filePath(QStringLiteral("receipt.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const int pages = ReceiptPrinter(h.HistWin->font()).Print(r, printer);
    // Rows of at least ten points: more than 40 and fewer than 80 rows on an A4 page.
    ASSERT_GE(pages, 4);
    ASSERT_LE(pages, 8);
    ASSERT_EQ(PageCount(pdf), pages);

    // The expected text: on every page the heading, then the rows in order, the closing
    // lines last.
    QStringList expected = r.rows;
    for (const auto& line : r.closing)
        expected << line.Text();
    int next = 0;
    for (int page = 1; page <= pages; ++page) {
        const QStringList lines = PageLines(pdf, page);
        ASSERT_FALSE(lines.isEmpty()) << "page " << page;
        EXPECT_EQ(lines.front(), NoBlanks(ReceiptPrinter::Heading(r, page, pages))) << "page " << page;
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
    EXPECT_EQ(NoBlanks(expected[301]), QStringLiteral("＝32,424."));
    EXPECT_EQ(NoBlanks(expected[300]), QStringLiteral("＋0."));
    // The count is the calculator's: 300 amounts and the closing 0, each entered with + - =.
    EXPECT_EQ(Engine().ItemCount(), 301);
    EXPECT_EQ(expected[302], QStringLiteral("件数 301"));
}

// A mixed bill: the items with their rates on the receipt, and the invoice block at its end.
TEST_F(ReceiptPrint, TheInvoiceBlockEndsTheReceipt) {
    THForm& h = Start([](TMForm& f) {
        f.Option().HistSet = 2;
        f.Option().Decimals = 0;
        f.Option().Rounding = 0;
    });
    Type("1000");
    form_->ExecCommand(38);
    Type("150");
    form_->ExecCommand(46);
    Type("620");
    form_->ExecCommand(38);
    ReceiptPrinter::Receipt r = h.ReceiptForPrint();
    r.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(NoBlanks(r.rows[1]), QStringLiteral("※外150."));
    const QStringList invoice = {
        QStringLiteral("10%対象 ¥1,620 消費税 ¥162"), QStringLiteral("8%対象 ¥150 消費税 ¥12"),
        QStringLiteral("税抜合計 ¥1,770"),          QStringLiteral("消費税合計 ¥174"),
        QStringLiteral("税込合計 ¥1,944"),          QStringLiteral("※は軽減税率対象")};
    // The block closes the receipt after the total, the count and a blank line, so the page
    // breaks keep it with the last rows as they keep the total.
    ASSERT_EQ(r.closing.size(), 3 + static_cast<std::size_t>(invoice.size()));
    EXPECT_TRUE(r.closing[0].total);
    EXPECT_EQ(r.closing[1].Text(), QStringLiteral("件数 3"));
    EXPECT_TRUE(r.closing[2].Text().isEmpty());
    QStringList block;
    for (std::size_t k = 3; k < r.closing.size(); ++k)
        block << r.closing[k].Text();
    EXPECT_EQ(block, invoice);
    // An amount stands apart from its label, to be aligned under the rows' numbers.
    EXPECT_EQ(r.closing[3].value, QStringLiteral("¥162"));
    EXPECT_EQ(r.closing.back().value, QString());

    const QString pdf = dir_.filePath(QStringLiteral("bill.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ASSERT_EQ(ReceiptPrinter(h.HistWin->font()).Print(r, printer), 1);
    const QStringList lines = PageLines(pdf, 1);
    ASSERT_GE(lines.size(), 1 + 3 + invoice.size()); // heading, rows, block
    // The invoice block is the last thing on the page, after the rows, the total and the count.
    const QStringList tail = lines.mid(lines.size() - invoice.size());
    QStringList want;
    for (const QString& l : invoice)
        want << NoBlanks(l);
    EXPECT_EQ(tail, want);
    EXPECT_EQ(lines[2], QStringLiteral("※外150."));
    // Without a bill there is no block.
    form_->ExecCommand(24);
    Type("12+30=");
    const ReceiptPrinter::Receipt plain = h.ReceiptForPrint();
    ASSERT_EQ(plain.closing.size(), 2u);
    EXPECT_EQ(plain.closing[1].Text(), QStringLiteral("件数 %1").arg(plain.rows.size()));
}

TEST_F(ReceiptPrint, TotalAndCountOnlyOnTheInputReceipt) {
    THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
    Type("12+30=");
    for (int kind : {0, 1, 2}) {
        Option().HistSet = kind;
        const ReceiptPrinter::Receipt r = h.ReceiptForPrint();
        EXPECT_EQ(r.rows.size(), 2) << kind;
        EXPECT_EQ(r.kind, QStringList({"ユーザーメモ", "計算レシート", "入力レシート"})[kind]);
        // The input receipt closes with its total (printed large) and the count of rows.
        ASSERT_EQ(r.closing.size(), kind == 2 ? 2u : 0u) << kind;
        if (kind == 2) {
            EXPECT_TRUE(r.closing[0].total);
            EXPECT_EQ(r.closing[0].Text(), QStringLiteral("＝42."));
            EXPECT_FALSE(r.closing[1].total);
            EXPECT_EQ(r.closing[1].Text(), QStringLiteral("件数 2"));
        }
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

// Qt's print dialog speaks the user's language: under a Japanese locale its buttons and
// labels are Japanese, under English its own English.
TEST_F(ReceiptPrint, ThePrintDialogSpeaksTheUsersLanguage) {
    SetPrintModuleFolders({QStringLiteral(BANSHO_BUILD_DIR)});
    const QLocale saved;
    Start([](TMForm& f) { f.Option().HistSet = 2; });
    Type("5+6=");
    auto textsOfDialog = [this] {
        auto texts = std::make_shared<QStringList>();
        QTimer::singleShot(0, qApp, [texts] {
            if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                for (auto* b : d->findChildren<QAbstractButton*>())
                    if (b->isVisible()) *texts << b->text().remove(QLatin1Char('&'));
                for (auto* l : d->findChildren<QLabel*>())
                    if (l->isVisible()) *texts << l->text().remove(QLatin1Char('&'));
                d->reject();
            }
        });
        form_->ExecCommand(54);
        return *texts;
    };
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    const QStringList ja = textsOfDialog();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList en = textsOfDialog();
    QLocale::setDefault(saved);
    platform::LoadQtTranslations();
    for (const char* text : {"印刷(P)", "キャンセル", "プロパティ(R)", "名前(N):", "オプション(O) >>"})
        EXPECT_TRUE(ja.contains(QString::fromUtf8(text))) << text << " in " << ja.join(" | ").toStdString();
    for (const char* text : {"Print", "Cancel", "Properties", "Name:"}) {
        EXPECT_FALSE(ja.contains(QString::fromUtf8(text))) << text;
        EXPECT_TRUE(en.contains(QString::fromUtf8(text))) << text << " in " << en.join(" | ").toStdString();
    }
}

QSizeF PageSizePoints(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    if (!p.waitForFinished(30000)) return {};
    const auto m = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"))
                       .match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

// Accepts the print dialog when it opens, after noting the file and paper it offers.
struct DialogSeen {
    QString file;
    QPageSize paper;
    bool seen = false;
    bool propertiesButton = false;
};
std::shared_ptr<DialogSeen> AcceptPrintDialog() {
    auto seen = std::make_shared<DialogSeen>();
    QTimer::singleShot(0, qApp, [seen] {
        if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            seen->seen = true;
            // The paper is chosen behind this button (the program relies on its name).
            seen->propertiesButton = d->findChild<QAbstractButton*>(QStringLiteral("properties")) != nullptr;
            seen->file = d->printer()->outputFileName();
            seen->paper = d->printer()->pageLayout().pageSize();
            d->accept();
        }
    });
    return seen;
}

TEST_F(ReceiptPrint, TheDialogOffersThePrinterAndPaperOfTheLastPrint) {
    SetPrintModuleFolders({QStringLiteral(BANSHO_BUILD_DIR)});
    Start([](TMForm& f) { f.Option().HistSet = 2; });
    Type("5+6=");
    constexpr double kPtPerMm = 72.0 / 25.4;
    struct Row {
        const char* paper;   // as the settings file holds it
        QSizeF pagePoints;   // the PDF's page; a roll's length is the receipt's own
        bool roll;
    } rows[] = {
        {"A5", {419.53, 595.28}, false},
        {"Letter", {612, 792}, false},
        {"80x297mm", {80 * kPtPerMm, 0}, true},
        {"58x210mm", {58 * kPtPerMm, 0}, true},
    };
    int n = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.paper);
        const QString pdf = dir_.filePath(QStringLiteral("printed-%1.pdf").arg(++n));
        WinOptions().Printer = pdf.toStdString();
        WinOptions().PrintPaper = r.paper;
        const auto seen = AcceptPrintDialog();
        form_->ExecCommand(54);
        ASSERT_TRUE(seen->seen);
        EXPECT_TRUE(seen->propertiesButton);
        EXPECT_EQ(seen->file, pdf);
        EXPECT_EQ(PaperText(seen->paper), QString::fromLatin1(r.paper));
        // What was printed with is what the next print offers: the paper as chosen, not
        // the roll's page as lengthened for this receipt.
        EXPECT_EQ(WinOptions().Printer, pdf.toStdString());
        EXPECT_EQ(WinOptions().PrintPaper, r.paper);
        const QSizeF page = PageSizePoints(pdf);
        EXPECT_NEAR(page.width(), r.pagePoints.width(), 0.6);
        if (r.roll)
            EXPECT_LT(page.height(), 100 * kPtPerMm);
        else
            EXPECT_NEAR(page.height(), r.pagePoints.height(), 0.6);
    }
}

TEST_F(ReceiptPrint, PreviewShowsThePagesAndPrintsNothingWhenClosed) {
    SetPrintModuleFolders({QStringLiteral(BANSHO_BUILD_DIR)});
    Start([](TMForm& f) { f.Option().HistSet = 2; });
    Type("5+6=");
    const QString pdf = dir_.filePath(QStringLiteral("never.pdf"));
    WinOptions().Printer = pdf.toStdString();
    WinOptions().PrintPaper = "80x297mm";
    QString title;
    int pages = -1;
    QTimer::singleShot(0, qApp, [&] {
        if (auto* d = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            title = d->windowTitle();
            if (auto* w = d->findChild<QPrintPreviewWidget*>()) pages = w->pageCount();
            d->reject();
        }
    });
    form_->ExecCommand(53);
    EXPECT_EQ(title, QStringLiteral("印刷プレビュー"));
    EXPECT_EQ(pages, 1); // the roll is one page
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(WinOptions().PrintPaper, "80x297mm");
}

TEST(PaperText, NamesStandardSizesAndGivesOthersInMillimetres) {
    struct Row {
        QPageSize paper;
        const char* text;
    } rows[] = {
        {QPageSize(QPageSize::A4), "A4"},
        {QPageSize(QPageSize::A5), "A5"},
        {QPageSize(QPageSize::JisB5), "B5"},
        {QPageSize(QPageSize::B5), "ISOB5"},
        {QPageSize(QPageSize::Letter), "Letter"},
        {QPageSize(QSizeF(80, 297), QPageSize::Millimeter, QString(), QPageSize::ExactMatch), "80x297mm"},
        {QPageSize(QSizeF(57.5, 3276), QPageSize::Millimeter, QString(), QPageSize::ExactMatch), "57.5x3276mm"},
        {QPageSize(), ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(PaperText(r.paper), QString::fromLatin1(r.text)) << r.text;
        EXPECT_TRUE(PaperFromText(QString::fromLatin1(r.text)) == r.paper) << r.text;
    }
    for (const char* bad : {"A99", "80x", "x297mm", "5x5mm", "80x297", "-80x297mm"})
        EXPECT_FALSE(PaperFromText(QString::fromLatin1(bad)).isValid()) << bad;
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
