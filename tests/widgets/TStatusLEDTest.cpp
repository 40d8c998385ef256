// The status lamp: its figure pixel by pixel, both orientations, and when it repaints.
#include "TStatusLED.h"
#include "ColorValue.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPalette>
#include <QPainter>

#include <gtest/gtest.h>

using namespace bansho;

using bansho::TStatusLED;

namespace {

const QRgb kBackground = qRgb(10, 20, 30);
const QRgb kBlack = qRgb(0, 0, 0), kWhite = qRgb(255, 255, 255), kGrey = qRgb(0x80, 0x80, 0x80),
           kSilver = qRgb(0xC0, 0xC0, 0xC0), kGreen = qRgb(0, 255, 0);

QImage Render(int w, int h, bool status, ColorValue color = TStatusLED::kDefaultColor) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBackground);
    QPainter painter(&image);
    TStatusLED::PaintFigure(painter, w, h, status, color);
    return image;
}

struct Pixel {
    int x, y;
    QRgb colour;
    const char* what;
};

void ExpectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) {
        SCOPED_TRACE(::testing::Message() << p.what << " at (" << p.x << ", " << p.y << ")");
        EXPECT_EQ(QColor(image.pixel(p.x, p.y)).name(), QColor(p.colour).name());
    }
}

} // namespace

TEST(TStatusLED, HorizontalFigureAt24By13) {
    const QImage img = Render(24, 13, false);
    ExpectPixels(img, {
                          {0, 8, kBlack, "polygon"},
                          {5, 3, kBlack, "polygon"},
                          {19, 3, kGrey, "polygon vertex under the upper grey line"},
                          {23, 7, kBlack, "polygon"},
                          {18, 12, kBlack, "polygon"},
                          {4, 12, kBlack, "polygon"},
                          {0, 6, kWhite, "white"},
                          {5, 1, kWhite, "white"},
                          {19, 1, kWhite, "white"},
                          {23, 5, kWhite, "white"},
                          {18, 10, kWhite, "white"},
                          {0, 7, kGrey, "upper grey"},
                          {5, 2, kGrey, "upper grey"},
                          {18, 2, kGrey, "upper grey"},
                          {23, 6, kGrey, "lower grey"},
                          {18, 11, kGrey, "lower grey"},
                          {4, 11, kGrey, "lower grey"},
                          {4, 10, kSilver, "silver"},
                          {1, 7, kSilver, "silver"},
                          // Lines leave out their last point.
                          {22, 6, kWhite, "end of the upper grey line, white below it"},
                          {3, 10, kGrey, "end of the white line, under the lower grey line"},
                          {12, 7, kGrey, "dark fill"},
                      });
}

TEST(TStatusLED, NothingIsPaintedOutsideTheFigure) {
    const QImage img = Render(24, 13, true);
    for (int x = 0; x < 24; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(img.pixel(x, 0), kBackground) << "row 0 lies above the rim";
    }
    ExpectPixels(img, {
                          {0, 5, kBackground, "left of the white rim"},
                          {0, 9, kBackground, "below the left point"},
                          {0, 12, kBackground, "lower-left corner"},
                          {3, 12, kBackground, "lower-left corner"},
                          {19, 12, kBackground, "lower-right corner"},
                          {23, 12, kBackground, "lower-right corner"},
                          {23, 8, kBackground, "below the right point"},
                          {23, 4, kBackground, "above the right point"},
                          {4, 0, kBackground, "top edge"},
                      });
}

TEST(TStatusLED, LitFillIsTheColourOnlyWhileStatusIsOn) {
    EXPECT_EQ(Render(24, 13, true).pixel(12, 7), kGreen);
    EXPECT_EQ(Render(24, 13, true, 0x000000FF).pixel(12, 7), qRgb(255, 0, 0)); // 0x00BBGGRR
    EXPECT_EQ(Render(24, 13, true, 0x00FF0000).pixel(12, 7), qRgb(0, 0, 255));
    EXPECT_EQ(Render(24, 13, false, 0x000000FF).pixel(12, 7), kGrey);
    // The rim does not depend on the state.
    EXPECT_EQ(Render(24, 13, true).pixel(5, 1), kWhite);
    EXPECT_EQ(Render(24, 13, true).pixel(0, 8), kBlack);
}

// A system colour lights the lamp in the same colour as the rest of the program shows it: one
// table, whatever the theme makes of each role.
TEST(TStatusLED, SystemColoursAreTheProgramsOwn) {
    const QPalette saved = QApplication::palette();
    QPalette themed = saved;
    int shade = 10;
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            themed.setColor(g, static_cast<QPalette::ColorRole>(role), QColor(shade, 255 - shade, shade * 3 % 256));
            shade = (shade + 37) % 250;
        }
    QApplication::setPalette(themed);
    for (int index = 0; index <= 30; ++index) {
        const ColorValue system = static_cast<ColorValue>(0xFF000000u | static_cast<unsigned>(index));
        EXPECT_EQ(QColor(Render(24, 13, true, system).pixel(12, 7)).name(), ToQColor(system).name())
            << "system colour " << index;
    }
    QApplication::setPalette(saved);
}

TEST(TStatusLED, VerticalFigureAt13By24) {
    const QImage img = Render(13, 24, false);
    ExpectPixels(img, {
                          {8, 0, kBlack, "polygon"},
                          {12, 4, kBlack, "polygon"},
                          {12, 18, kBlack, "polygon"},
                          {7, 23, kBlack, "polygon"},
                          {3, 19, kGrey, "polygon vertex under the left grey line"},
                          {3, 5, kBlack, "polygon"},
                          {6, 0, kWhite, "white"},
                          {1, 5, kWhite, "white"},
                          {1, 19, kWhite, "white"},
                          {5, 23, kWhite, "white"},
                          {10, 18, kWhite, "white"},
                          {7, 0, kGrey, "left grey"},
                          {2, 5, kGrey, "left grey"},
                          {2, 18, kGrey, "left grey"},
                          {6, 23, kGrey, "right grey"},
                          {11, 18, kGrey, "right grey"},
                          {11, 4, kGrey, "right grey"},
                          {10, 4, kSilver, "silver"},
                          {7, 12, kGrey, "dark fill"},
                          {0, 0, kBackground, "corner"},
                          {12, 0, kBackground, "corner"},
                          {0, 23, kBackground, "corner"},
                          {12, 23, kBackground, "corner"},
                          {0, 12, kBackground, "left of the rim"},
                      });
}

TEST(TStatusLED, ColourIsBlueInTheHighByte) {
    const QImage lit = Render(24, 13, true, 0x00FF0000); // 0x00BBGGRR: blue
    EXPECT_EQ(lit.pixel(12, 7), qRgb(0, 0, 255));
    const QImage dark = Render(24, 13, false, 0x000000FF); // red, but dark
    EXPECT_EQ(dark.pixel(12, 7), kGrey);
}

TEST(TStatusLED, SquareIsDrawnHorizontally) {
    // H <= W: h = 6, e = 7; the polygon starts at (0, h + 2).
    const QImage img = Render(13, 13, false);
    ExpectPixels(img, {{0, 8, kBlack, "polygon"},
                       {5, 3, kBlack, "polygon"},
                       {8, 3, kGrey, "polygon vertex under the upper grey line"},
                       {12, 7, kBlack, "polygon"},
                       {7, 12, kBlack, "polygon"},
                       {4, 12, kBlack, "polygon"},
                       {8, 1, kWhite, "white"}});
}

TEST(TStatusLED, TinySizesAreClippedWithoutHarm) {
    for (int w : {0, 1, 2, 3, 5}) {
        for (int h : {0, 1, 2, 4}) {
            if (w == 0 || h == 0) continue;
            SCOPED_TRACE(::testing::Message() << w << "x" << h);
            const QImage img = Render(w, h, true);
            EXPECT_EQ(img.width(), w);
        }
    }
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

} // namespace

TEST(TStatusLED, NewLampIs24By13DarkAndGreen) {
    TStatusLED led;
    EXPECT_EQ(led.size(), QSize(24, 13));
    EXPECT_FALSE(led.Status());
    EXPECT_EQ(led.Color(), 0x0000FF00);
    EXPECT_EQ(led.focusPolicy(), Qt::NoFocus);
}

TEST(TStatusLED, RepaintsAtOnceAndOnlyOnARealChange) {
    QWidget parent;
    parent.resize(100, 50);
    auto* led = new TStatusLED(&parent);
    parent.show();
    QApplication::processEvents();
    PaintCounter counter;
    led->installEventFilter(&counter);

    led->SetStatus(false);
    EXPECT_EQ(counter.paints, 0) << "same status";
    led->SetStatus(true);
    EXPECT_EQ(counter.paints, 1) << "painted synchronously, no event loop needed";
    led->TurnOn();
    EXPECT_EQ(counter.paints, 1) << "TurnOn on a lit lamp";
    led->SetColor(TStatusLED::kDefaultColor);
    EXPECT_EQ(counter.paints, 1) << "same colour";
    led->TurnOff();
    EXPECT_EQ(counter.paints, 2);
    led->SetColor(0x000000FF);
    EXPECT_EQ(counter.paints, 3) << "a new colour repaints even while dark";
    EXPECT_TRUE(led->Status() == false && led->Color() == 0x000000FF);
}

TEST(TStatusLED, ParentBackgroundShowsAroundTheFigure) {
    QWidget parent;
    parent.resize(60, 40);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(kBackground));
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    auto* led = new TStatusLED(&parent);
    led->move(10, 10);
    led->TurnOn();
    const QImage img = parent.grab().toImage();
    EXPECT_EQ(img.pixel(10, 10), kBackground); // the lamp's corner
    EXPECT_EQ(img.pixel(10 + 23, 10 + 12), kBackground);
    EXPECT_EQ(img.pixel(10 + 0, 10 + 8), kBlack);  // polygon vertex
    EXPECT_EQ(img.pixel(10 + 12, 10 + 7), kGreen); // lit fill
}
