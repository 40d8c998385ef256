// The correction-mode lamp: its figure pixel by pixel at the two example sizes, and the rule
// that only a real change repaints it.
#include "TStatusLED.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using namespace bansho;

namespace {

const QColor kMarker(255, 0, 255); // stands for the parent's background
const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kGrey(0x80, 0x80, 0x80),
    kSilver(0xC0, 0xC0, 0xC0), kGreen(0, 255, 0);

QImage Render(int w, int h, bool status, TColor color = TStatusLED::kDefaultColor) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kMarker);
    QPainter p(&img);
    TStatusLED::PaintFigure(p, w, h, status, color);
    return img;
}

struct Pixel {
    int x, y;
    QColor colour; // an invalid colour means "the fill"
    const char* why;
};

void ExpectPixels(const QImage& img, const std::vector<Pixel>& pixels, const QColor& fill) {
    for (const Pixel& p : pixels) {
        const QColor want = p.colour.isValid() ? p.colour : fill;
        EXPECT_EQ(QColor(img.pixel(p.x, p.y)), want)
            << p.why << " at (" << p.x << ", " << p.y << ")";
    }
}

// 24 x 13: h = 6, e = 18.
const std::vector<Pixel> kHorizontal = {
    {0, 8, kBlack, "polygon vertex (0, h+2)"},
    {5, 3, kBlack, "polygon vertex (h-1, 3)"},
    {23, 7, kBlack, "polygon vertex (W-1, h+1)"},
    {18, 12, kBlack, "polygon vertex (e, H-1)"},
    {4, 12, kBlack, "polygon vertex (h-2, H-1)"},
    {10, 3, kBlack, "top edge of the bar"},
    {19, 3, kGrey, "vertex (e+1, 3) lies under the grey rim (e, 2)->(W-2, h)"},
    {0, 6, kWhite, "white rim starts at (0, h)"},
    {5, 1, kWhite, "white rim (h-1, 1)"},
    {19, 1, kWhite, "white rim (e+1, 1)"},
    {23, 5, kWhite, "white rim (W-1, h-1)"},
    {18, 10, kWhite, "white rim (e, H-3)"},
    {22, 6, kWhite, "grey rim ends at (W-2, h) without its end point; white passes there"},
    {4, 10, kSilver, "silver line starts at (h-2, H-3)"},
    {2, 8, kSilver, "silver line passes (2, 8)"},
    {0, 7, kGrey, "grey rim (0, h+1)"},
    {5, 2, kGrey, "grey rim (h-1, 2)"},
    {18, 2, kGrey, "grey rim (e, 2)"},
    {23, 6, kGrey, "lower grey rim starts at (W-1, h)"},
    {18, 11, kGrey, "lower grey rim (e, H-2)"},
    {4, 11, kGrey, "lower grey rim (h-2, H-2)"},
    {12, 7, QColor(), "inside the bar"},
    {6, 5, QColor(), "inside near the left point"},
    {0, 0, kMarker, "corner outside the figure"},
    {23, 0, kMarker, "corner outside the figure"},
    {0, 12, kMarker, "corner outside the figure"},
    {23, 12, kMarker, "corner outside the figure"},
    {3, 10, kGrey, "the white rim leaves out (h-3, H-3); the lower grey rim passes there"},
};

// 13 x 24: w = 6, f = 18.
const std::vector<Pixel> kVertical = {
    {8, 0, kBlack, "polygon vertex (w+2, 0)"},
    {12, 4, kBlack, "polygon vertex (W-1, w-2)"},
    {12, 18, kBlack, "polygon vertex (W-1, f)"},
    {7, 23, kBlack, "polygon vertex (w+1, H-1)"},
    {3, 19, kGrey, "vertex (3, f+1) lies under the grey rim (2, f)->(w, H-2)"},
    {3, 5, kBlack, "polygon vertex (3, w-1)"},
    {6, 0, kWhite, "white rim starts at (w, 0)"},
    {1, 10, kWhite, "white rim along x 1"},
    {2, 10, kGrey, "grey rim along x 2"},
    {11, 10, kGrey, "lower grey rim along x W-2"},
    {10, 4, kSilver, "silver line starts at (W-3, w-2)"},
    {7, 12, QColor(), "inside the bar"},
    {0, 0, kMarker, "corner outside the figure"},
    {12, 0, kMarker, "corner outside the figure"},
    {0, 23, kMarker, "corner outside the figure"},
    {12, 23, kMarker, "corner outside the figure"},
};

TEST(StatusLampFigure, HorizontalDarkIsFilledGrey) {
    ExpectPixels(Render(24, 13, false), kHorizontal, kGrey);
}

TEST(StatusLampFigure, HorizontalLitIsFilledGreen) {
    ExpectPixels(Render(24, 13, true), kHorizontal, kGreen);
}

TEST(StatusLampFigure, VerticalFormForATallControl) {
    ExpectPixels(Render(13, 24, false), kVertical, kGrey);
    ExpectPixels(Render(13, 24, true), kVertical, kGreen);
}

TEST(StatusLampFigure, ColourIsBlueInTheHighByte) {
    const QImage img = Render(24, 13, true, 0x00FF0000); // blue
    EXPECT_EQ(QColor(img.pixel(12, 7)), QColor(0, 0, 255));
    const QImage dark = Render(24, 13, false, 0x000000FF); // red, but dark
    EXPECT_EQ(QColor(dark.pixel(12, 7)), kGrey);
}

TEST(StatusLampFigure, NothingOutsideTheFigureIsPainted) {
    // Every pixel left of the left point and right of the right point stays untouched.
    const QImage img = Render(24, 13, true);
    for (int y = 0; y < 13; ++y) {
        EXPECT_EQ(QColor(img.pixel(0, y)) == kMarker, y < 6 || y > 8) << "left column y " << y;
    }
    // Above the white rim's top edge (y 0) nothing is drawn.
    for (int x = 0; x < 24; ++x)
        EXPECT_EQ(QColor(img.pixel(x, 0)), kMarker) << "top row x " << x;
}

// Counts the paint events a lamp receives.
class CountingLamp : public TStatusLED {
public:
    using TStatusLED::TStatusLED;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override {
        ++paints;
        TStatusLED::paintEvent(e);
    }
};

class StatusLampRepaint : public ::testing::Test {
protected:
    void SetUp() override {
        parent_.resize(60, 40);
        lamp_ = new CountingLamp(&parent_);
        parent_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent_));
        QApplication::processEvents();
        lamp_->paints = 0;
    }
    QWidget parent_;
    CountingLamp* lamp_ = nullptr;
};

TEST_F(StatusLampRepaint, ANewLampIsDarkGreenAndTwentyFourByThirteen) {
    EXPECT_FALSE(lamp_->Status());
    EXPECT_EQ(lamp_->Color(), 0x0000FF00);
    EXPECT_EQ(lamp_->size(), QSize(24, 13));
    EXPECT_EQ(lamp_->focusPolicy(), Qt::NoFocus);
}

TEST_F(StatusLampRepaint, OnlyARealChangeRepaintsAndAtOnce) {
    lamp_->SetStatus(false);
    EXPECT_EQ(lamp_->paints, 0);
    lamp_->TurnOn();
    EXPECT_EQ(lamp_->paints, 1) << "the repaint is synchronous";
    lamp_->TurnOn();
    EXPECT_EQ(lamp_->paints, 1) << "TurnOn on a lit lamp does nothing";
    lamp_->TurnOff();
    EXPECT_EQ(lamp_->paints, 2);
    lamp_->SetColor(TStatusLED::kDefaultColor);
    EXPECT_EQ(lamp_->paints, 2);
    lamp_->SetColor(0x000000FF); // dark: the picture stays, but it is painted again
    EXPECT_EQ(lamp_->paints, 3);
}

} // namespace
