#include "JpegWriter.h"

#include <QFile>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace korvex::fixture {

void writeJpeg(const QString &path, int width, int height, unsigned seed, int quality)
{
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        throw std::runtime_error("cannot create " + path.toStdString());

    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);

    const unsigned r0 = (seed * 97u) % 256, g0 = (seed * 57u) % 256, b0 = (seed * 31u) % 256;
    std::vector<JSAMPLE> row(size_t(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const unsigned y = cinfo.next_scanline;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3 + 0] = JSAMPLE((r0 + unsigned(x) * 255u / unsigned(width)) % 256);
            row[size_t(x) * 3 + 1] = JSAMPLE((g0 + y * 255u / unsigned(height)) % 256);
            row[size_t(x) * 3 + 2] = JSAMPLE((b0 + (unsigned(x) + y) % 64) % 256);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

} // namespace korvex::fixture
