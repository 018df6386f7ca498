// libFuzzer entry; KORVEX_FUZZ_TARGET names the reader of FuzzTargets.h.
#include "FuzzTargets.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    korvex::fuzz::KORVEX_FUZZ_TARGET(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
