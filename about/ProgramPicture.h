#pragma once
// The program's own picture, carried inside the executable: the about box's
// 36 x 36 JPEG (with a 72 x 72 twin for 2x screens) and the window icon.
#include <QIcon>
#include <QImage>

class QWidget;
#include <cstddef>
#include <span>

namespace bansho::about {

// The id the desktop knows the program by: the .desktop file, the icon names and
// the AppStream metainfo all carry it. Pass it to QGuiApplication::setDesktopFileName.
inline constexpr const char* kDesktopFileId = "org.example.Bansho";

// Side of the about box's picture in device-independent pixels.
inline constexpr int kPictureSide = 36;

// The embedded JPEG bytes of the picture: 36 x 36, or 72 x 72 for twice the density.
std::span<const unsigned char> ProgramPictureJpeg();
std::span<const unsigned char> ProgramPictureJpeg2x();

// The picture decoded with libjpeg for a screen of the given device pixel ratio:
// the 36 x 36 image up to a ratio of 1, above that the 72 x 72 image marked with a
// device pixel ratio of 2 (still 36 x 36 on screen). Null when decoding fails.
QImage ProgramPicture(qreal devicePixelRatio = 1.0);

// The window icon: the same picture with a transparent background at 48 and 256
// pixels. Empty (isNull) only if the embedded images were damaged.
QIcon ProgramWindowIcon();

// Makes ProgramWindowIcon() the program's window icon once `window` has painted for the
// first time: decoding the pictures is then no longer in the way of the first paint.
void SetWindowIconAfterFirstPaint(QWidget& window);

} // namespace bansho::about
