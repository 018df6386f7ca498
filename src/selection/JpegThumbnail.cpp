#include "selection/JpegThumbnail.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <thread>

#include <jpeglib.h>

namespace korvex {
namespace {

// Pictures beyond this many pixels after scaling are not decoded: a forged
// header must not make the dialog allocate gigabytes.
constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

struct Decoder
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed;
};

[[noreturn]] void failDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Decoder *>(info)->failed, 1);
}

void ignoreMessage(j_common_ptr, int) {}

int scaleFor(JDIMENSION width, JDIMENSION height, QSize frame)
{
    for (int eighths = 1; eighths < 8; ++eighths)
        if ((qint64(width) * eighths + 7) / 8 >= frame.width() && (qint64(height) * eighths + 7) / 8 >= frame.height())
            return eighths;
    return 8;
}

// Adobe CMYK photos are stored inverted.
void cmykToRgb(const JSAMPLE *in, uchar *out, JDIMENSION width)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        const int k = in[3];
        out[0] = uchar(in[0] * k / 255);
        out[1] = uchar(in[1] * k / 255);
        out[2] = uchar(in[2] * k / 255);
    }
}

// Fills image; false when the decoder gave up. Nothing with a destructor
// lives between the jump point and the decoder calls.
bool decode(Decoder &d, const QByteArray &bytes, QSize frame, QImage &image, std::vector<JSAMPLE> &cmykRow)
{
    if (setjmp(d.failed)) {
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(bytes.constData()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&d.info, TRUE);
    const bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    d.info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    d.info.scale_num = unsigned(scaleFor(d.info.image_width, d.info.image_height, frame));
    d.info.scale_denom = 8;
    d.info.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&d.info);
    if (qint64(d.info.output_width) * d.info.output_height > kMaxPixels) {
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    jpeg_start_decompress(&d.info);
    image = QImage(int(d.info.output_width), int(d.info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&d.info);
        return false;
    }
    if (cmyk)
        cmykRow.resize(size_t(d.info.output_width) * 4);
    while (d.info.output_scanline < d.info.output_height) {
        uchar *line = image.scanLine(int(d.info.output_scanline));
        JSAMPROW row = cmyk ? cmykRow.data() : line;
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1)
            break;
        if (cmyk)
            cmykToRgb(cmykRow.data(), line, d.info.output_width);
    }
    jpeg_finish_decompress(&d.info);
    jpeg_destroy_decompress(&d.info);
    return true;
}

} // namespace

QImage DecodeJpegForFrame(const QString &nativePath, QSize frame)
{
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return QImage();
    Decoder d;
    d.info.err = jpeg_std_error(&d.errors);
    d.errors.error_exit = failDecoding;
    d.errors.emit_message = ignoreMessage;
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    if (!decode(d, bytes, frame, image, cmykRow))
        return QImage();
    return image;
}

std::vector<QImage> DecodeJpegsForFrame(const std::vector<QString> &nativePaths, QSize frame)
{
    std::vector<QImage> images(nativePaths.size());
    auto decodeEvery = [&](size_t start) {
        for (size_t i = start; i < nativePaths.size(); i += 2)
            if (!nativePaths[i].isEmpty())
                images[i] = DecodeJpegForFrame(nativePaths[i], frame);
    };
    std::thread second(decodeEvery, 1);
    decodeEvery(0);
    second.join();
    return images;
}

} // namespace korvex
