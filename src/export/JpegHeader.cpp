#include "export/JpegHeader.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace korvex {
namespace {

struct HeaderReader
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    std::jmp_buf failed;
};

[[noreturn]] void giveUp(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<HeaderReader *>(info)->failed, 1);
}

void ignoreMessage(j_common_ptr, int) {}

// Nothing with a destructor lives between the jump point and the decoder
// calls.
bool readHeader(HeaderReader &r, FILE *file)
{
    if (setjmp(r.failed)) {
        jpeg_destroy_decompress(&r.info);
        return false;
    }
    jpeg_create_decompress(&r.info);
    jpeg_stdio_src(&r.info, file);
    // A header cut short is an error here, not a warning.
    const bool ok = jpeg_read_header(&r.info, TRUE) == JPEG_HEADER_OK && r.info.image_width > 0
        && r.info.image_height > 0;
    jpeg_destroy_decompress(&r.info);
    return ok;
}

} // namespace

bool HasJpegHeader(const QString &path)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file)
        return false;
    HeaderReader reader;
    reader.info.err = jpeg_std_error(&reader.errors);
    reader.errors.error_exit = giveUp;
    reader.errors.emit_message = ignoreMessage;
    const bool ok = readHeader(reader, file);
    std::fclose(file);
    return ok;
}

} // namespace korvex
