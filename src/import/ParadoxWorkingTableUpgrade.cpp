#include "import/ParadoxWorkingTableUpgrade.h"

#include "import/WorkingTable.h"
#include "platform/ModuleError.h"
#include "platform/ParadoxFormat.h"
#include "platform/ParadoxTable.h"
#include "platform/SqliteStore.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <numeric>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The header of a Paradox data file: record and header sizes, file type 0 or
// 2 (a .DB table), a block size of 1 to 32 kB and a known version byte.
bool looksLikeParadoxTable(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(0x58);
    if (head.size() < 0x58 || head.startsWith("SQLite format 3"))
        return false;
    const auto byte = [&](int at) { return std::uint8_t(head[at]); };
    const int recordSize = byte(0) | byte(1) << 8;
    const int headerSize = byte(2) | byte(3) << 8;
    const int fileType = byte(4);
    const int blockKb = byte(5);
    const int version = byte(0x39);
    return recordSize > 0 && headerSize >= 0x58 && headerSize <= f.size() && (fileType == 0 || fileType == 2)
        && blockKb >= 1 && blockKb <= 32 && version >= 3 && version <= 12;
}

bool fits(FieldKind kind, std::uint8_t type)
{
    switch (kind) {
    case FieldKind::AutoInc:
        return type == Paradox::AutoInc || type == Paradox::Long || type == Paradox::Short;
    case FieldKind::Text:
        return type == Paradox::Alpha;
    case FieldKind::Memo:
        return type == Paradox::Memo || type == Paradox::FormattedMemo || type == Paradox::Alpha;
    case FieldKind::Boolean:
        return type == Paradox::Logical;
    }
    return false;
}

// Fills the new file at target from the old table, in the order of its keys.
void copyRecords(const ParadoxTable &old, const QString &target)
{
    const TableDef &def = NestaTableDef();
    std::vector<int> source(def.fields.size());
    int keyField = -1;
    for (size_t i = 0; i < def.fields.size(); ++i) {
        const FieldDef &f = def.fields[i];
        source[i] = old.fieldIndex(f.name);
        if (source[i] < 0)
            throw ModuleError(u"chybí pole %1"_s.arg(f.name));
        if (!fits(f.kind, old.fields()[size_t(source[i])].type))
            throw ModuleError(u"pole %1 má jiný typ"_s.arg(f.name));
        if (f.kind == FieldKind::AutoInc)
            keyField = source[i];
    }
    const auto key = [&](int r) { return Paradox::integerValue(old.raw(r, keyField)).value_or(0); };
    std::vector<int> order(size_t(old.recordCount()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });

    SqliteStore::create(target, def);
    SqliteStore store(target, def);
    store.begin();
    PackedRow::Builder builder(qsizetype(def.fields.size()));
    const auto fill = [&](int r) {
        for (size_t i = 0; i < def.fields.size(); ++i) {
            switch (def.fields[i].kind) {
            case FieldKind::AutoInc:
                builder.appendNull();
                break;
            case FieldKind::Boolean:
                if (const std::optional<bool> value = old.logical(r, source[i]))
                    builder.appendBoolean(*value);
                else
                    builder.appendNull();
                break;
            case FieldKind::Text:
            case FieldKind::Memo:
                builder.appendText(old.text(r, source[i]));
                break;
            }
        }
        return builder.take();
    };
    // The records keep their numbers, which the list shows as "Čís.". One
    // without a number, or with the number of the record before it, gets
    // the next free one after all the others.
    std::vector<int> renumbered;
    std::int64_t last = 0;
    for (int r : order) {
        if (key(r) <= last) {
            renumbered.push_back(r);
            continue;
        }
        last = key(r);
        PackedRow row = fill(r);
        row.setKey(last);
        store.insertWithKey(row);
    }
    for (int r : renumbered)
        store.insert(fill(r));
    store.commit();
}

} // namespace

bool UpgradeParadoxWorkingTable(const QString &file)
{
    if (!looksLikeParadoxTable(file))
        return false;
    // Built under a temporary name and renamed into place, the old table
    // copied aside first: whenever the run stops, "Nesta.DB" is either the
    // untouched old table or the complete new one.
    const QString target = file + u".upgrade"_s;
    const QString kept = file + u".paradox"_s;
    try {
        copyRecords(ParadoxTable::open(file), target);
        QFile::remove(kept);
        if (!QFile::copy(file, kept))
            throw ModuleError(u"zálohu \"%1\" nelze zapsat"_s.arg(kept));
        if (std::rename(QFile::encodeName(target).constData(), QFile::encodeName(file).constData()) != 0)
            throw ModuleError(u"nový soubor nelze přejmenovat"_s);
    } catch (const ModuleError &e) {
        QFile::remove(target);
        QFile::remove(target + u"-journal"_s);
        QFile::remove(kept);
        throw ModuleError(u"Starou pracovní tabulku \"%1\" nelze převést: %2"_s.arg(file, e.text()));
    }
    return true;
}

} // namespace korvex
