// Nothing of the display is cut off at any width: every mark, label and glyph is drawn whole,
// status bar shown or hidden, while the window keeps the size the layout rule gives it.
#include "StatusBarPanels.h"
#include "TMForm.h"
#include "RandomRounds.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace bansho;

namespace {

// The rectangle of the pixels that differ from `background`, or an empty one.
QRect InkBounds(const QImage& image, QRgb background) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == (background & 0xFFFFFF)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// The size of the text's ink when nothing stands in its way.
QSize FreeInk(const QFont& font, const QString& text) {
    const QFontMetrics fm(font);
    const int pad = fm.height() + 8;
    QImage image(fm.horizontalAdvance(text) + 2 * pad, fm.height() + 2 * pad,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(pad, pad + fm.ascent(), text);
    p.end();
    return InkBounds(image, qRgb(255, 255, 255)).size();
}

// The size of the ink the label shows inside the window, as far as its parents let it show.
QSize InkInWindow(TMForm& form, QWidget* label, QRgb background) {
    const QRect visible = label->visibleRegion().boundingRect() & label->contentsRect();
    if (visible.isEmpty()) return {};
    const QRect inWindow(label->mapTo(&form, visible.topLeft()), visible.size());
    const QImage image = form.grab(inWindow).toImage().convertToFormat(QImage::Format_RGB32);
    return InkBounds(image, background).size();
}

char OpeOfGlyph(const QString& glyph) {
    const QString glyphs = QStringLiteral("＋－×÷");
    return "+-*/"[std::max<qsizetype>(0, glyphs.indexOf(glyph))];
}

struct Mark {
    QWidget* (*widget)(TMForm&);
    const char* name;
    std::vector<const char*> texts;
};

// The marks are labels; the number draws its own line.
void SetShownText(QWidget* w, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else
        static_cast<NumberDisplay*>(w)->setText(text);
}

QString ShownText(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    return static_cast<NumberDisplay*>(w)->text();
}

TEST(DisplayClipping, EveryMarkIsWholeFrom280To3840Pixels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TMForm form(std::filesystem::path(dir.path().toStdString()) / "bansho.ENV");
    form.show();
    const std::vector<Mark> marks = {
        {[](TMForm& f) -> QWidget* { return f.TotMark; }, "TotMark", {"GT"}},
        {[](TMForm& f) -> QWidget* { return f.MemMark; }, "MemMark", {"M"}},
        {[](TMForm& f) -> QWidget* { return f.KctMark; }, "KctMark", {"K"}},
        {[](TMForm& f) -> QWidget* { return f.NumMark; },
         "NumMark",
         {"NUM", "税込", "税額", "税抜", "税込8%", "税額8%", "税抜8%", "合計税込", "合計税抜",
          "合計税額", "10%対象", "10%税額", "10%税込", "8.5%対象", "日付×", "検算", "OK", "検算×",
          "前", "今", "検算OK"}},
        {[](TMForm& f) -> QWidget* { return f.SelMark; }, "SelMark", {"4 四捨五入 両端", "両端"}},
        {[](TMForm& f) -> QWidget* { return f.OpeMark; }, "OpeMark", {"＋", "－", "×", "÷"}},
        {[](TMForm& f) -> QWidget* { return f.DNumber; }, "DNumber",
         {"-888,888,888,888,888.", "- E -  ", "-99,999,999,999:59:59", "2026-12-07", "7:3"}},
    };
    std::vector<int> widths;
    for (int w = 280; w < 700; w += bansho::testing::SweepStep(7))
        widths.push_back(w);
    for (int w = 700; w <= 3840; w += bansho::testing::SweepStep(61))
        widths.push_back(w);
    widths.push_back(3840);

    for (bool statusBar : {true, false}) {
        if (form.StatusBarVisible() != statusBar) form.ToggleStatusBar();
        for (int w : widths) {
            form.resize(w, form.height());
            form.FormResize();
            ASSERT_EQ(form.width(), w);
            // The window keeps exactly the height the layout rule gives.
            ASSERT_EQ(form.height(), form.Layout().clientHeight);
            const QRgb background = form.WinBase->palette().color(QPalette::Window).rgb();
            for (const Mark& m : marks) {
                QWidget* label = m.widget(form);
                for (const char* t : m.texts) {
                    const QString text = QString::fromUtf8(t);
                    if (label == form.OpeMark) {
                        // The operator mark shows what the display model holds (its font is
                        // fitted when it has a glyph to show).
                        form.Engine().ShowOpeMark(OpeOfGlyph(text));
                        form.RenderDisplay();
                        ASSERT_EQ(ShownText(label), text);
                    } else {
                        SetShownText(label, text);
                        // A label longer than the layout's own is fitted as the display
                        // model's labels are when they are rendered.
                        if (label == form.NumMark) form.FitNumMark();
                    }
                    const QSize free = FreeInk(label->font(), text);
                    const QSize shown = InkInWindow(form, label, background);
                    // A pixel of anti-aliasing may fall either way; a cut-off loses more.
                    EXPECT_TRUE(shown.width() >= free.width() - 1 &&
                                shown.height() >= free.height() - 1) << m.name << " \"" << t << "\" at width " << w
                                           << (statusBar ? " with" : " without")
                                           << " status bar: shows " << shown.width() << "x"
                                           << shown.height() << " of " << free.width() << "x"
                                           << free.height();
                }
                SetShownText(label, QString());
                if (label == form.OpeMark) form.Engine().ShowOpeMark(' ');
            }
        }
    }
}

} // namespace
