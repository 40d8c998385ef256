#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

namespace bansho::about {

namespace {

constexpr JDIMENSION kMaxSide = 8192;

// libjpeg's default handler calls exit(); this one jumps back to the decoder.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Level -1 is a warning about damaged data (a cut-off file, a bad Huffman code):
// libjpeg would go on and fill the rest with grey. A damaged picture is not shown.
void OnMessage(j_common_ptr cinfo, int msgLevel) {
    if (msgLevel < 0) OnError(cinfo);
}

void Silent(j_common_ptr) {}

// Everything that must survive the longjmp lives outside the function that calls
// setjmp, so no local is left indeterminate after the jump.
struct Decoding {
    jpeg_decompress_struct cinfo{};
    ErrorManager err{};
    QImage image;
};

bool Run(Decoding& d, std::span<const unsigned char> data) {
    if (setjmp(d.err.jump)) return false;
    jpeg_create_decompress(&d.cinfo);
    jpeg_mem_src(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d.cinfo, TRUE);
    if (d.cinfo.image_width == 0 || d.cinfo.image_height == 0 || d.cinfo.image_width > kMaxSide ||
        d.cinfo.image_height > kMaxSide)
        return false;
    d.cinfo.out_color_space = JCS_RGB; // grey and YCbCr both come out as RGB
    jpeg_start_decompress(&d.cinfo);
    if (d.cinfo.output_components != 3) return false;
    d.image = QImage(static_cast<int>(d.cinfo.output_width),
                     static_cast<int>(d.cinfo.output_height), QImage::Format_RGB888);
    if (d.image.isNull()) return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.cinfo.output_scanline));
        jpeg_read_scanlines(&d.cinfo, &row, 1);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(std::span<const unsigned char> data) {
    if (data.empty()) return {};
    Decoding d;
    d.cinfo.err = jpeg_std_error(&d.err.pub);
    d.err.pub.error_exit = OnError;
    d.err.pub.emit_message = OnMessage;
    d.err.pub.output_message = Silent;
    const bool ok = Run(d, data);
    jpeg_destroy_decompress(&d.cinfo);
    if (!ok) return {};
    return d.image.convertToFormat(QImage::Format_RGB32);
}

} // namespace bansho::about
