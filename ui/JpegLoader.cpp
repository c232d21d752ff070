#include "ui/JpegLoader.h"

#include "engine/Errors.h"

#include <QFile>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE declared first
#include <string>
#include <vector>

#include <jpeglib.h>

using namespace formulon::engine;

namespace {

// libjpeg's default error handler ends the process; ours jumps back to the
// phase that was running, which then reports failure.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager error;
};

void OnError(j_common_ptr info) {
    auto* error = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

// A truncated stream is only a warning to libjpeg, which pads the picture
// with grey; for our own stored pictures that is a fault like any other.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0)
        OnError(info);
}

// The two phases below run under setjmp, so they hold nothing with a
// destructor: longjmp would skip it.

// Rows straight in QImage::Format_RGB32's byte order, the fourth byte 0xFF.
constexpr J_COLOR_SPACE kRgb32 = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

bool StartDecoding(Decoder& d, const unsigned char* data, unsigned long size) {
    if (setjmp(d.error.jump))
        return false;
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, data, size);
    jpeg_read_header(&d.info, TRUE);
    d.info.out_color_space = kRgb32;
    jpeg_start_decompress(&d.info);
    return true;
}

// Rows past the image's height go to spare, one after another.
bool ReadScanlines(Decoder& d, unsigned char* bits, long bytesPerLine, long rows,
                   unsigned char* spare) {
    if (setjmp(d.error.jump))
        return false;
    while (d.info.output_scanline < d.info.output_height) {
        const long line = d.info.output_scanline;
        JSAMPROW row = line < rows ? bits + line * bytesPerLine : spare;
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    // Reads on to the end marker, so a stream cut just short of it fails too.
    jpeg_finish_decompress(&d.info);
    return true;
}

[[noreturn]] void Fail(Decoder& d, const std::string& reason) {
    jpeg_destroy_decompress(&d.info);
    throw Exception("Picture is not a valid JPEG: " + reason);
}

} // namespace

QImage DecodeJpeg(const QByteArray& data, int rows) {
    Decoder d{};
    d.info.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = OnError;
    d.error.pub.emit_message = OnMessage;

    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    if (!StartDecoding(d, bytes, static_cast<unsigned long>(data.size())))
        Fail(d, d.error.message);
    if (d.info.output_components != 4)
        Fail(d, "unexpected number of colour components");

    const int height = static_cast<int>(d.info.output_height);
    QImage image(static_cast<int>(d.info.output_width), rows > 0 && rows < height ? rows : height,
                 QImage::Format_RGB32);
    if (image.isNull())
        Fail(d, "picture too large");
    std::vector<unsigned char> spare(image.height() < height ? image.bytesPerLine() : 0);
    if (!ReadScanlines(d, image.bits(), static_cast<long>(image.bytesPerLine()), image.height(),
                       spare.data()))
        Fail(d, d.error.message);
    jpeg_destroy_decompress(&d.info);
    return image;
}

QImage LoadJpegResource(const QString& path, int rows) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception("Resource " + path.toStdString() + " not found");
    return DecodeJpeg(file.readAll(), rows);
}
