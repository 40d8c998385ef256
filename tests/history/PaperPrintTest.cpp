// The printed receipt on the paper a user chooses: printed to PDF offscreen on A4 and on 58 and
// 80 mm rolls, and read back with pdfinfo and pdftotext -bbox as a reader of the page sees it.
#include "HistoryRig.h"
#include "ReceiptPrinter.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

namespace bansho::testing {
namespace {

constexpr double kPtPerMm = 72.0 / 25.4;

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
};
struct Line {
    QString text; // the words without blanks
    double xMin = 1e9, yMin = 1e9, xMax = -1e9, yMax = -1e9;
    double height = 0; // of its tallest word
};
struct Page {
    double width = 0, height = 0;
    std::vector<Word> words;
    std::vector<Line> lines; // words on one baseline, top to bottom
};

std::vector<Page> ReadPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">"));
    static const QRegularExpression wordRe(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<Page> pages;
    for (const QString& chunk : html.split(QStringLiteral("</page>"))) {
        const auto pm = pageRe.match(chunk);
        if (!pm.hasMatch()) continue;
        Page page{pm.captured(1).toDouble(), pm.captured(2).toDouble(), {}, {}};
        for (auto it = wordRe.globalMatch(chunk); it.hasNext();) {
            const auto m = it.next();
            page.words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                                  m.captured(3).toDouble(), m.captured(4).toDouble()});
        }
        std::vector<Word> sorted = page.words;
        std::sort(sorted.begin(), sorted.end(), [](const Word& a, const Word& b) {
            return a.yMax < b.yMax - 1 || (std::abs(a.yMax - b.yMax) <= 1 && a.xMin < b.xMin);
        });
        for (const Word& w : sorted) {
            if (page.lines.empty() || std::abs(page.lines.back().yMax - w.yMax) > 1) page.lines.push_back({});
            Line& l = page.lines.back();
            l.text += w.text;
            l.xMin = std::min(l.xMin, w.xMin);
            l.xMax = std::max(l.xMax, w.xMax);
            l.yMin = std::min(l.yMin, w.yMin);
            l.yMax = std::max(l.yMax, w.yMax);
            l.height = std::max(l.height, w.yMax - w.yMin);
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

QPageSize Roll(double widthMm, double lengthMm) {
    return QPageSize(QSizeF(widthMm, lengthMm), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
}

// The lines of the printed pages, in order, with the page each is on.
struct Printed {
    int pagesPainted = 0;
    std::vector<Page> pages;
    QRectF paintRect; // the printable area, in points, as the printer had it after printing
};

class PaperPrint : public HistoryRig {
protected:
    Printed PrintTo(const ReceiptPrinter::Receipt& r, const QPageSize& paper, const QString& name) {
        const QString pdf = dir_.filePath(name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(paper);
        Printed out;
        out.pagesPainted = ReceiptPrinter(hist_->HistWin->font()).Print(r, printer);
        out.paintRect = printer.pageLayout().paintRect(QPageLayout::Point);
        out.pages = ReadPdf(pdf);
        Keep(pdf, name);
        return out;
    }

    // With BANSHO_KEEP_PRINTS set to a folder, the printed files are copied there to be
    // looked at.
    static void Keep(const QString& pdf, const QString& name) {
        const QString keep = qEnvironmentVariable("BANSHO_KEEP_PRINTS");
        if (keep.isEmpty()) return;
        QFile::remove(keep + QLatin1Char('/') + name);
        QFile::copy(pdf, keep + QLatin1Char('/') + name);
    }

    // A receipt with the widest numbers the display shows: fifteen digits with a sign, and
    // fourteen of them after the point; its total has fifteen digits too.
    ReceiptPrinter::Receipt WidestNumbers(int more = 0) {
        THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
        Type("0-999999999999999");
        form_->ExecCommand(23); // ＋/－
        Type("-1.23456789012345-");
        for (int k = 0; k < more; ++k)
            Type(std::to_string(k * 37 % 1000) + "-");
        Type("7=");
        ReceiptPrinter::Receipt r = h.ReceiptForPrint();
        r.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
        return r;
    }
};

bool IsTotal(const QString& line) {
    return line.startsWith(QStringLiteral("＝"));
}

// Every line inside the printable width and inside the given margin; the row font at least
// `rowHeight` points tall; the count and the total on the last page.
void ExpectInsideAndClosed(const Printed& p, const ReceiptPrinter::Receipt& r, double marginPt,
                           double rowHeight) {
    ASSERT_FALSE(p.pages.empty());
    ASSERT_EQ(static_cast<int>(p.pages.size()), p.pagesPainted);
    for (std::size_t n = 0; n < p.pages.size(); ++n) {
        const Page& page = p.pages[n];
        const double left = std::max(p.paintRect.left(), marginPt) - 0.5;
        const double right = std::min(p.paintRect.right(), page.width - marginPt) + 0.5;
        for (const Word& w : page.words) {
            EXPECT_GE(w.xMin, left) << w.text.toStdString() << " page " << n + 1;
            EXPECT_LE(w.xMax, right) << w.text.toStdString() << " page " << n + 1;
        }
    }
    QStringList rows;
    for (const QString& row : r.rows)
        rows << NoBlanks(row);
    int rowLines = 0;
    for (const Page& page : p.pages)
        for (const Line& l : page.lines)
            if (rows.contains(l.text)) {
                ++rowLines;
                EXPECT_GE(l.height, rowHeight) << l.text.toStdString();
            }
    EXPECT_GE(rowLines, r.rows.size());
    const Page& last = p.pages.back();
    ASSERT_GE(last.lines.size(), 2u);
    const QString count = QStringLiteral("件数%1").arg(r.rows.size());
    EXPECT_EQ(last.lines.back().text, count);
    const Line& total = last.lines[last.lines.size() - 2];
    EXPECT_EQ(total.text, NoBlanks(r.closing.front().value));
    EXPECT_TRUE(IsTotal(total.text));
}

TEST_F(PaperPrint, OnA4TheRowsAreReadableCentredAndTheTotalEndsTheLastPage) {
    THForm& h = Start([](TMForm& f) { f.Option().HistSet = 2; });
    // Receipts from 40 to 100 rows: wherever the last page breaks, the total and the count
    // stand on it after at least three rows, below a heading with the page's number.
    for (int k = 1; k <= 100; ++k) {
        Type(std::to_string(k * 7919 % 100000) + (k % 5 == 0 ? "-" : "+"));
        if (k < 40 || (k > 60 && k % 20 != 0)) continue;
        SCOPED_TRACE(k);
        ReceiptPrinter::Receipt r = h.ReceiptForPrint();
        r.printedAt = QDateTime(QDate(2026, 12, 7), QTime(9, 5));
        const Printed p = PrintTo(r, QPageSize(QPageSize::A4), QStringLiteral("a4-%1.pdf").arg(k));
        ExpectInsideAndClosed(p, r, ReceiptPrinter::kSheetMarginMm * kPtPerMm, 10.0);
        const int pages = static_cast<int>(p.pages.size());
        QStringList seen;
        for (int n = 0; n < pages; ++n) {
            const Page& page = p.pages[static_cast<std::size_t>(n)];
            EXPECT_NEAR(page.width, 595.3, 0.5);
            ASSERT_FALSE(page.lines.empty());
            EXPECT_EQ(page.lines.front().text, NoBlanks(ReceiptPrinter::Heading(r, n + 1, pages)));
            // The heading and the column are centred on the page.
            EXPECT_NEAR((page.lines.front().xMin + page.lines.front().xMax) / 2, page.width / 2, 3.0);
            for (const Line& l : page.lines)
                if (l.text.contains(QLatin1Char('.')) && !IsTotal(l.text)) seen << l.text;
        }
        QStringList want;
        for (const QString& row : r.rows)
            want << NoBlanks(row);
        EXPECT_EQ(seen, want);
        const Page& last = p.pages.back();
        ASSERT_GE(last.lines.size(), 6u); // heading, three rows, total, count
        for (std::size_t i = last.lines.size() - 5; i < last.lines.size() - 2; ++i)
            EXPECT_TRUE(want.contains(last.lines[i].text)) << last.lines[i].text.toStdString();
        const Line& total = last.lines[last.lines.size() - 2];
        EXPECT_GT(total.height, last.lines[last.lines.size() - 3].height);
    }
}

TEST_F(PaperPrint, OnRollsTheRowsFillTheWidthAndThePageIsAsLongAsTheReceipt) {
    const ReceiptPrinter::Receipt r = WidestNumbers();
    ASSERT_TRUE(r.rows.contains(QStringLiteral("－-999,999,999,999,999.")) ||
                std::any_of(r.rows.begin(), r.rows.end(), [](const QString& s) {
                    return NoBlanks(s) == QStringLiteral("－-999,999,999,999,999.");
                }));
    for (double width : {58.0, 80.0}) {
        SCOPED_TRACE(width);
        const double margin = ReceiptPrinter::kRollMarginMm * kPtPerMm;
        const Printed p = PrintTo(r, Roll(width, 297), QStringLiteral("roll-%1.pdf").arg(width));
        ExpectInsideAndClosed(p, r, margin, 0.0);
        ASSERT_EQ(p.pages.size(), 1u);
        const Page& page = p.pages.front();
        EXPECT_NEAR(page.width, width * kPtPerMm, 0.5);
        // As long as the receipt: the last line ends near the bottom of a page much shorter
        // than the 297 mm the roll was offered with.
        EXPECT_LT(page.height, 150 * kPtPerMm);
        EXPECT_LT(page.height - page.lines.back().yMax, 10 * kPtPerMm);
        // The rows fill the width: the widest whole number starts at the left margin, the
        // longest fraction ends at the right one.
        double widestLeft = 1e9, rightmost = 0;
        for (const Line& l : page.lines) {
            if (l.text == QStringLiteral("－-999,999,999,999,999.")) widestLeft = l.xMin;
            rightmost = std::max(rightmost, l.xMax);
        }
        const double printable = page.width - 2 * margin;
        EXPECT_LT(widestLeft, margin + printable * 0.03);
        EXPECT_GT(rightmost, page.width - margin - printable * 0.03);
        EXPECT_EQ(page.lines.front().text, r.kind);
    }
}

TEST_F(PaperPrint, ALongReceiptOnARollIsOnePageHowEverLong) {
    const ReceiptPrinter::Receipt r = WidestNumbers(150);
    const Printed p = PrintTo(r, Roll(80, 297), QStringLiteral("long.pdf"));
    ExpectInsideAndClosed(p, r, ReceiptPrinter::kRollMarginMm * kPtPerMm, 0.0);
    ASSERT_EQ(p.pages.size(), 1u);
    EXPECT_GT(p.pages.front().height, 297 * kPtPerMm);
}

// A printer that takes no page of any length: the roll goes on over pages of its own length
// that join without a gap (each page full to its foot) and the heading only at the start.
class FixedLengthRoll : public QPdfWriter {
public:
    using QPdfWriter::QPdfWriter;
    bool setPageSize(const QPageSize&) override { return false; }
};

TEST_F(PaperPrint, WhereThePageLengthIsFixedTheRollsPagesJoinWithoutAGap) {
    const ReceiptPrinter::Receipt r = WidestNumbers(60);
    const QString pdf = dir_.filePath(QStringLiteral("fixed.pdf"));
    int painted = 0;
    {
        FixedLengthRoll writer(pdf);
        writer.setResolution(600);
        writer.QPdfWriter::setPageSize(Roll(58, 120));
        painted = ReceiptPrinter(hist_->HistWin->font()).Print(r, writer);
    }
    Printed p{painted, ReadPdf(pdf), QRectF(0, 0, 58 * kPtPerMm, 120 * kPtPerMm)};
    Keep(pdf, QStringLiteral("fixed.pdf"));
    ExpectInsideAndClosed(p, r, ReceiptPrinter::kRollMarginMm * kPtPerMm, 0.0);
    ASSERT_GE(p.pages.size(), 2u);
    const double pitch = p.pages.front().lines[3].yMax - p.pages.front().lines[2].yMax;
    for (std::size_t n = 0; n < p.pages.size(); ++n) {
        const Page& page = p.pages[n];
        EXPECT_NEAR(page.height, 120 * kPtPerMm, 0.5);
        EXPECT_EQ(page.lines.front().text == r.kind, n == 0);
        // Full to the foot: no room for another row below the last one.
        if (n + 1 < p.pages.size()) {
            EXPECT_GT(page.lines.back().yMax + pitch, page.height - ReceiptPrinter::kRollMarginMm * kPtPerMm)
                << "page " << n + 1;
        }
    }
}

} // namespace
} // namespace bansho::testing
