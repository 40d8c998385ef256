#include "JpegDecoder.h"
#include "ProgramPicture.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace bansho;

using about::DecodeJpeg;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Picture() {
    auto s = about::ProgramPictureJpeg();
    return Bytes(s.begin(), s.end());
}

// Offset of the frame header (SOF0 or SOF2 marker) in a JPEG.
std::size_t FrameHeader(const Bytes& b) {
    for (std::size_t i = 0; i + 9 < b.size(); ++i)
        if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) return i;
    return 0;
}

// A width x height grey JPEG of one shade, made with libjpeg itself.
Bytes GreyJpeg(int width, int height, unsigned char shade) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width), shade);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    Bytes result(out, out + outSize);
    jpeg_destroy_compress(&c);
    std::free(out);
    return result;
}

bool Near(QRgb got, QRgb want, int tolerance) {
    return std::abs(qRed(got) - qRed(want)) <= tolerance &&
           std::abs(qGreen(got) - qGreen(want)) <= tolerance &&
           std::abs(qBlue(got) - qBlue(want)) <= tolerance;
}

std::string Hex(QRgb c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return buf;
}

} // namespace

TEST(ProgramPicture, DecodesTo36By36) {
    const QImage image = DecodeJpeg(about::ProgramPictureJpeg());
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(36, 36));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
}

// Known places of the picture: the colours of the SVG the JPEG was made from.
TEST(ProgramPicture, KnownPixels) {
    struct Row {
        const char* name;
        int x, y;
        QRgb colour;
    };
    const Row rows[] = {
        {"corner outside the case is the dialog face", 0, 0, qRgb(0xf0, 0xf0, 0xf0)},
        {"left of the digits is the display's green", 7, 12, qRgb(0xe3, 0xf2, 0xd0)},
        {"bottom edge of the case is slate", 18, 32, qRgb(0x34, 0x49, 0x5e)},
        {"rightmost key is orange", 29, 27, qRgb(0xf3, 0x9c, 0x12)},
        {"first key is light grey", 7, 27, qRgb(0xcf, 0xd8, 0xdc)},
        {"middle bar of the 2 is dark", 23, 13, qRgb(0x1e, 0x2b, 0x1a)},
    };
    const QImage image = DecodeJpeg(about::ProgramPictureJpeg());
    ASSERT_FALSE(image.isNull());
    for (const Row& r : rows) {
        const QRgb got = image.pixel(r.x, r.y);
        EXPECT_TRUE(Near(got, r.colour, 24)) << r.name << ": (" << r.x << "," << r.y << ") is "
                                             << Hex(got) << ", expected near " << Hex(r.colour);
    }
}

TEST(ProgramPicture, TwiceTheDensityStays36OnScreen) {
    const QImage plain = about::ProgramPicture(1.0);
    EXPECT_EQ(plain.size(), QSize(36, 36));
    const QImage sharp = about::ProgramPicture(2.0);
    ASSERT_FALSE(sharp.isNull());
    EXPECT_EQ(sharp.size(), QSize(72, 72));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(36, 36));
    // Same picture: the orange key sits at the same place in both.
    EXPECT_TRUE(Near(sharp.pixel(58, 54), plain.pixel(29, 27), 24));
}

// Which of Qt's image plugins this process has loaded so far.
static QStringList LoadedImagePlugins() {
    QStringList plugins;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return plugins;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const int at = line.indexOf("/imageformats/");
        if (at >= 0 && !plugins.contains(QString::fromUtf8(line.mid(at))))
            plugins << QString::fromUtf8(line.mid(at));
    }
    return plugins;
}

TEST(ProgramPicture, WindowIconHas48And128AndLoadsNoImagePlugin) {
    const QStringList before = LoadedImagePlugins();
    if (!before.isEmpty()) GTEST_SKIP() << "image plugins were loaded before: " << before.join(' ').toStdString();
    const QIcon icon = about::ProgramWindowIcon();
    EXPECT_EQ(LoadedImagePlugins(), QStringList()) << "decoding the icon loaded image plugins";
    ASSERT_FALSE(icon.isNull());
    const auto sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(48, 48)));
    EXPECT_TRUE(sizes.contains(QSize(128, 128)));
    EXPECT_EQ(sizes.size(), 2);
    // The window icon is transparent outside the case.
    EXPECT_EQ(qAlpha(icon.pixmap(48).toImage().pixel(0, 0)), 0);
}

// Decoding the icon is no part of the first paint: the program's windows get it right after.
TEST(ProgramPicture, WindowIconComesRightAfterTheFirstPaint) {
    QApplication::setWindowIcon(QIcon());
    QWidget window;
    window.resize(200, 100);
    about::SetWindowIconAfterFirstPaint(window);
    QCoreApplication::processEvents();
    EXPECT_TRUE(QApplication::windowIcon().isNull()) << "set before the window was shown";
    bool iconAtPaint = true;
    struct PaintWatch : QObject {
        bool* iconAtPaint;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) *iconAtPaint = !QApplication::windowIcon().isNull();
            return false;
        }
    } watch;
    watch.iconAtPaint = &iconAtPaint;
    window.installEventFilter(&watch);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([] { return !QApplication::windowIcon().isNull(); }, 2000));
    EXPECT_FALSE(iconAtPaint) << "the first paint waited for the icon";
    EXPECT_TRUE(QApplication::windowIcon().availableSizes().contains(QSize(128, 128)));
    EXPECT_EQ(window.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    window.removeEventFilter(&watch);
}

TEST(JpegDecoder, GreyPictureComesOutAsRgb) {
    const Bytes grey = GreyJpeg(8, 5, 100);
    const QImage image = DecodeJpeg(grey);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(8, 5));
    EXPECT_TRUE(Near(image.pixel(3, 2), qRgb(100, 100, 100), 2)) << Hex(image.pixel(3, 2));
}

// Every damaged picture gives a null image, never a half-grey one, a crash or an exit.
TEST(JpegDecoder, DamagedPicturesGiveNull) {
    const Bytes good = Picture();
    const std::size_t sof = FrameHeader(good);
    ASSERT_GT(sof, 0u);

    struct Row {
        const char* name;
        Bytes data;
    };
    std::vector<Row> rows;
    rows.push_back({"empty", {}});
    rows.push_back({"not a JPEG at all", Bytes{'h', 'e', 'l', 'l', 'o', 0, 1, 2, 3}});
    rows.push_back({"start marker only", Bytes{0xFF, 0xD8}});
    rows.push_back(
        {"cut in the middle of the scan", Bytes(good.begin(), good.begin() + good.size() / 2)});
    rows.push_back({"cut just before the end marker", Bytes(good.begin(), good.end() - 2 - 40)});
    rows.push_back(
        {"cut inside the headers", Bytes(good.begin(), good.begin() + static_cast<long>(sof) + 4)});
    {
        Bytes b = good;
        b[sof + 1] = 0xCF; // a frame type libjpeg does not decode (arithmetic lossless)
        rows.push_back({"unsupported frame type", b});
    }
    {
        Bytes b = good;
        b[sof + 5] = 0; // height 0
        b[sof + 6] = 0;
        rows.push_back({"zero height", b});
    }
    {
        Bytes b = good;
        b[sof + 7] = 0x23; // width 9000
        b[sof + 8] = 0x28;
        rows.push_back({"wider than any picture we take", b});
    }
    {
        Bytes b = good;
        b[sof + 9] = 4; // four components: CMYK cannot become RGB
        rows.push_back({"component count changed", b});
    }

    for (const Row& r : rows)
        EXPECT_TRUE(DecodeJpeg(r.data).isNull()) << r.name;
    // And the decoder is still fine afterwards.
    EXPECT_FALSE(DecodeJpeg(good).isNull());
}
