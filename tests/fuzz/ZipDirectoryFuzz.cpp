// libFuzzer target for the ZIP directory reader: any bytes as an archive.
#include "ModuleError.h"
#include "ZipDirectory.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    try {
        korvex::ZipDirectory::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)),
                                   QStringLiteral("fuzz.zip"));
    } catch (const korvex::ModuleError &) {
    }
    return 0;
}
