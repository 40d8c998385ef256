#pragma once
// JPEG decoding through libjpeg, kept apart from Qt's image plugins so the
// program's pictures never depend on which plugins happen to be installed.
#include <QImage>
#include <cstddef>
#include <span>

namespace bansho::about {

// Decodes a baseline or progressive JPEG (grey or colour) into an RGB32 image.
// Returns a null image for anything that is not a complete, undamaged JPEG:
// libjpeg's errors and its corrupt-data warnings both end the decoding, and
// nothing is written to stderr. Pictures larger than 8192 pixels a side are refused, and
// nothing is decoded when libjpeg (opened at the first call) is not installed.
QImage DecodeJpeg(std::span<const unsigned char> data);

} // namespace bansho::about
