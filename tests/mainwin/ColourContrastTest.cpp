// Text on the display panels can be read: the factory colours on the standard theme reach
// the accessibility guidelines' 4.5:1 (3:1 for the large error display), and a theme that
// darkens the panels does not leave black digits on them.
#include "ColorValue.h"
#include "TMForm.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace bansho;

namespace {

TEST(ColourContrast, RatiosAsTheGuidelinesDefineThem) {
    struct Row {
        const char* name;
        QColor a, b;
        double ratio;
    } rows[] = {
        {"black on white is the most", Qt::black, Qt::white, 21.0},
        {"a colour on itself is the least", QColor(0x12, 0x34, 0x56), QColor(0x12, 0x34, 0x56), 1.0},
        {"grey 777 on white falls just short of 4.5", QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
        {"red on white", Qt::red, Qt::white, 4.0},
        {"the order does not matter", Qt::white, Qt::black, 21.0},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(ContrastRatio(r.a, r.b), r.ratio, 0.01) << r.name;
}

TEST(ColourContrast, FactoryColoursOnTheStandardThemeAreReadable) {
    const QPalette p = QApplication::palette();
    const DisplayColorSet c;
    const double number = ContrastRatio(ToQColor(c.Number, p), ToQColor(c.MPanel, p));
    const double history = ContrastRatio(ToQColor(c.HNumber, p), ToQColor(c.HPanel, p));
    const double error = ContrastRatio(ToQColor(c.Error, p), ToQColor(c.MPanel, p));
    RecordProperty("number", std::to_string(number));
    RecordProperty("history", std::to_string(history));
    RecordProperty("error", std::to_string(error));
    EXPECT_GE(number, 4.5);
    EXPECT_GE(history, 4.5);
    EXPECT_GE(error, 3.0); // drawn only in the giant display: large text
}

TEST(ColourContrast, ADarkThemeTurnsTheFactoryDigitsToItsOwnTextColour) {
    QPalette dark;
    dark.setColor(QPalette::Button, QColor(0x10, 0x10, 0x10));
    dark.setColor(QPalette::ButtonText, Qt::white);
    // The factory pair: black digits on the theme's button face.
    EXPECT_EQ(ReadableText(clBlack, clBtnFace, dark), QColor(Qt::white));
    // Colours the user chose for both are kept, however they look.
    EXPECT_EQ(ReadableText(clBlack, 0x101010, dark), QColor(Qt::black));
    // A colour the user chose is kept, readable or not.
    EXPECT_EQ(ReadableText(0x00FF00, clBtnFace, QPalette(Qt::white)), QColor(Qt::green));
    EXPECT_EQ(ReadableText(clRed, clBtnFace, dark), QColor(Qt::red));

    // And in the window itself.
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark);
    QTemporaryDir dir;
    {
        TMForm form(std::filesystem::path(dir.path().toStdString()) / "bansho.ENV");
        auto* number = form.findChild<QWidget*>("DNumber");
        ASSERT_NE(number, nullptr);
        EXPECT_EQ(number->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
    QApplication::setPalette(before);
}

} // namespace
