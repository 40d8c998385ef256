#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

#include "LateLibrary.h"

namespace bansho::about {

namespace {

// libjpeg is opened when the first picture is decoded (the about box), not at every start.
struct Libjpeg {
    decltype(&jpeg_std_error) stdError = nullptr;
    decltype(&jpeg_CreateDecompress) createDecompress = nullptr;
    decltype(&jpeg_mem_src) memSrc = nullptr;
    decltype(&jpeg_read_header) readHeader = nullptr;
    decltype(&jpeg_start_decompress) startDecompress = nullptr;
    decltype(&jpeg_read_scanlines) readScanlines = nullptr;
    decltype(&jpeg_finish_decompress) finishDecompress = nullptr;
    decltype(&jpeg_destroy_decompress) destroyDecompress = nullptr;
};

const Libjpeg* OpenLibjpeg() {
    static const Libjpeg* const library = []() -> const Libjpeg* {
        using platform::Resolve;
        void* h = platform::OpenLibrary("libjpeg.so.62");
        if (!h) return nullptr;
        static Libjpeg j;
        const bool all = Resolve(h, "jpeg_std_error", j.stdError) &&
                         Resolve(h, "jpeg_CreateDecompress", j.createDecompress) &&
                         Resolve(h, "jpeg_mem_src", j.memSrc) &&
                         Resolve(h, "jpeg_read_header", j.readHeader) &&
                         Resolve(h, "jpeg_start_decompress", j.startDecompress) &&
                         Resolve(h, "jpeg_read_scanlines", j.readScanlines) &&
                         Resolve(h, "jpeg_finish_decompress", j.finishDecompress) &&
                         Resolve(h, "jpeg_destroy_decompress", j.destroyDecompress);
        return all ? &j : nullptr;
    }();
    return library;
}

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

bool Run(const Libjpeg& j, Decoding& d, std::span<const unsigned char> data) {
    if (setjmp(d.err.jump)) return false;
    j.createDecompress(&d.cinfo, JPEG_LIB_VERSION, sizeof(d.cinfo));
    j.memSrc(&d.cinfo, data.data(), static_cast<unsigned long>(data.size()));
    j.readHeader(&d.cinfo, TRUE);
    if (d.cinfo.image_width == 0 || d.cinfo.image_height == 0 || d.cinfo.image_width > kMaxSide ||
        d.cinfo.image_height > kMaxSide)
        return false;
    d.cinfo.out_color_space = JCS_RGB; // grey and YCbCr both come out as RGB
    j.startDecompress(&d.cinfo);
    if (d.cinfo.output_components != 3) return false;
    d.image = QImage(static_cast<int>(d.cinfo.output_width),
                     static_cast<int>(d.cinfo.output_height), QImage::Format_RGB888);
    if (d.image.isNull()) return false;
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.cinfo.output_scanline));
        j.readScanlines(&d.cinfo, &row, 1);
    }
    j.finishDecompress(&d.cinfo);
    return true;
}

} // namespace

QImage DecodeJpeg(std::span<const unsigned char> data) {
    if (data.empty()) return {};
    const Libjpeg* j = OpenLibjpeg();
    if (!j) return {};
    Decoding d;
    d.cinfo.err = j->stdError(&d.err.pub);
    d.err.pub.error_exit = OnError;
    d.err.pub.emit_message = OnMessage;
    d.err.pub.output_message = Silent;
    const bool ok = Run(*j, d, data);
    j->destroyDecompress(&d.cinfo);
    if (!ok) return {};
    return d.image.convertToFormat(QImage::Format_RGB32);
}

} // namespace bansho::about
