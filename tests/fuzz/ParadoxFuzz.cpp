// libFuzzer target for the host table reader. The input is a data file,
// optionally followed by "MEMOFILE" and the contents of its memo file.
#include "ModuleError.h"
#include "ParadoxTable.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf("MEMOFILE");
    std::optional<QByteArray> memo;
    QByteArray table = input;
    if (split >= 0) {
        table = input.left(split);
        memo = input.mid(split + 8);
    }
    try {
        const korvex::ParadoxTable t = korvex::ParadoxTable::parse(table, memo, QStringLiteral("fuzz.DB"));
        for (int r = 0; r < t.recordCount(); ++r)
            for (int f = 0; f < int(t.fields().size()); ++f)
                t.text(r, f);
    } catch (const korvex::ModuleError &) {
    }
    return 0;
}
