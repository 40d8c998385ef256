#include "ProgramPicture.h"

#include <QApplication>
#include <QBuffer>
#include <QImageReader>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "JpegDecoder.h"

extern const unsigned char Embedded_bansho_36_jpg[];
extern const std::size_t Embedded_bansho_36_jpgSize;
extern const unsigned char Embedded_bansho_72_jpg[];
extern const std::size_t Embedded_bansho_72_jpgSize;
extern const unsigned char Embedded_bansho_48_png[];
extern const std::size_t Embedded_bansho_48_pngSize;
extern const unsigned char Embedded_bansho_128_png[];
extern const std::size_t Embedded_bansho_128_pngSize;

namespace bansho::about {

std::span<const unsigned char> ProgramPictureJpeg() {
    return {Embedded_bansho_36_jpg, Embedded_bansho_36_jpgSize};
}

std::span<const unsigned char> ProgramPictureJpeg2x() {
    return {Embedded_bansho_72_jpg, Embedded_bansho_72_jpgSize};
}

QImage ProgramPicture(qreal devicePixelRatio) {
    if (devicePixelRatio <= 1.0) return DecodeJpeg(ProgramPictureJpeg());
    QImage image = DecodeJpeg(ProgramPictureJpeg2x());
    if (image.isNull()) return DecodeJpeg(ProgramPictureJpeg()); // plain beats none
    image.setDevicePixelRatio(2.0);
    return image;
}

QIcon ProgramWindowIcon() {
    // PNG support is built into QtGui. The reader is told the format and not to guess it:
    // guessing asks every image plugin installed (SVG, GIF, JPEG, ...), loading each.
    // 48 and 128 pixels: the window's icon property holds every size as 32-bit pixels, and a
    // 256 one alone made half a megabyte at start.
    QIcon icon;
    const std::span<const unsigned char> pngs[] = {
        {Embedded_bansho_48_png, Embedded_bansho_48_pngSize},
        {Embedded_bansho_128_png, Embedded_bansho_128_pngSize}};
    for (auto png : pngs) {
        QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(png.data()),
                                                   static_cast<qsizetype>(png.size()));
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

namespace {

class IconAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint and its flush to the screen: the next turn of the event loop.
            QTimer::singleShot(0, qApp, [] { QApplication::setWindowIcon(ProgramWindowIcon()); });
            deleteLater();
        }
        return false;
    }
};

} // namespace

void SetWindowIconAfterFirstPaint(QWidget& window) {
    window.installEventFilter(new IconAfterFirstPaint(&window));
}

} // namespace bansho::about
