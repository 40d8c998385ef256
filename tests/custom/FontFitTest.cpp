// Fitting the sample font to a width, and the list of faces offered.
#include "FontFit.h"
#include "RowNames.h"

#include <QFontDatabase>
#include <QLabel>
#include <gtest/gtest.h>

using namespace bansho;

namespace {

struct FitCase {
    const char* name;
    int start;
    int width;
    int expected;
};

// A text whose width is ten pixels per pixel of height.
int TenPerPixel(int h) {
    return 10 * h;
}

class FitFontHeightTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitFontHeightTest, FitsInTwoPixelSteps) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitFontHeight(c.start, c.width, TenPerPixel), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FitFontHeightTest,
    ::testing::Values(
        // Growing stops at the first height at which the text is at least as wide.
        FitCase{"grows_until_at_least_as_wide", 20, 255, 26},
        FitCase{"grows_to_exact_width", 20, 240, 24},
        // Shrinking stops at the first height at which it is no wider.
        FitCase{"shrinks_until_no_wider", 40, 255, 24}, FitCase{"exact_width_stays", 30, 300, 30},
        // A character height (negative) counts by its magnitude.
        FitCase{"negative_start_counts_by_magnitude", -20, 255, 26},
        // A label of no width cannot shrink the font for ever.
        FitCase{"zero_width_stops_at_lower_bound", 40, 0, kFitMinHeight},
        FitCase{"huge_width_stops_at_upper_bound", 20, 1000000, kFitMaxHeight}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return info.param.name; });

TEST(FitFontToWidth, SampleEndsAtLeastAsWideAsTheLabel) {
    QLabel label;
    label.resize(421, 65);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(64);
    label.setFont(f);
    const QString text = QStringLiteral(" -123,456,789,012,345. ");
    FitFontToWidth(&label, text);
    const int h = label.font().pixelSize();
    const auto widthAt = [&](int px) {
        QFont g(f);
        g.setPixelSize(px);
        return QFontMetrics(g).horizontalAdvance(text);
    };
    // Shrunk from 64 until no wider than the label: two pixels more would be wider.
    EXPECT_LE(widthAt(h), 421);
    EXPECT_GT(widthAt(h + 2), 421);
    EXPECT_EQ(h % 2, 0);
}

TEST(ListScreenFonts, OnlyScalableFacesWithoutVerticalVariants) {
    QStringList faces = ListScreenFonts();
    ASSERT_FALSE(faces.isEmpty());
    for (const QString& face : faces) {
        EXPECT_FALSE(face.startsWith(QLatin1Char('@'))) << face.toStdString();
        EXPECT_TRUE(QFontDatabase::isScalable(face)) << face.toStdString();
    }
    EXPECT_EQ(faces.removeDuplicates(), 0);
}

// Qt names the generic families "Sans Serif", "Serif" and "Monospace" beside the real faces;
// they stand for other faces and are not offered. Every face listed is one fontconfig has.
TEST(ListScreenFonts, NoGenericNamesAndNoFoundryNames) {
    const QStringList faces = ListScreenFonts();
    ASSERT_FALSE(faces.isEmpty());
    for (const char* generic : {"Sans Serif", "Serif", "Monospace"})
        EXPECT_FALSE(faces.contains(QString::fromLatin1(generic))) << generic;
    for (const QString& face : faces)
        EXPECT_FALSE(face.contains(QLatin1String(" ["))) << face.toStdString();
    EXPECT_TRUE(faces.contains(QStringLiteral("DejaVu Sans")));
}

struct FacesCase {
    const char* name;
    QStringList families; // as Qt lists them
    QStringList expected;
};

class UniqueFacesTest : public ::testing::TestWithParam<FacesCase> {};

TEST_P(UniqueFacesTest, EachInstalledFaceOnce) {
    // The faces fontconfig knows in these rows.
    const QStringList installed = {"C059", "DejaVu Sans", "IPAGothic", "Nimbus Sans", "MS Gothic"};
    const auto isInstalled = [&](const QString& f) { return installed.contains(f); };
    EXPECT_EQ(UniqueFaces(GetParam().families, isInstalled), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UniqueFacesTest,
    ::testing::Values(FacesCase{"foundry_duplicates_listed_once_without_foundry",
                                {"C059 [UKWN]", "C059 [urw]", "DejaVu Sans"},
                                {"C059", "DejaVu Sans"}},
                      FacesCase{"foundry_name_after_the_plain_name_is_dropped",
                                {"Nimbus Sans", "Nimbus Sans [urw]"},
                                {"Nimbus Sans"}},
                      FacesCase{"generic_names_are_not_faces",
                                {"DejaVu Sans", "Monospace", "Sans Serif", "Serif", "IPAGothic"},
                                {"DejaVu Sans", "IPAGothic"}},
                      FacesCase{
                          "vertical_variants_left_out", {"@MS Gothic", "MS Gothic"}, {"MS Gothic"}},
                      FacesCase{"order_kept",
                                {"IPAGothic", "C059", "DejaVu Sans"},
                                {"IPAGothic", "C059", "DejaVu Sans"}}),
    [](const ::testing::TestParamInfo<FacesCase>& info) { return info.param.name; });

} // namespace
