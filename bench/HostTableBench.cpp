// Host table of 20,000 records: open, walk in key order and answer 20,000 key
// look-ups with the module's reader, against a bare pxlib read of every
// record and field of the same file. Both sides leave out the memo field:
// pxlib 0.6.8 smashes its stack opening the memo file of this table
// (PX_open_blob_file), so it cannot be the baseline for memos.
#include "BenchReport.h"
#include "ParadoxWriter.h"
#include "platform/DatabaseSession.h"
#include "platform/HostTable.h"

#include <QCoreApplication>
#include <QFile>
#include <cstring>
#include <QTemporaryDir>

extern "C" {
#include <paradox.h>
}

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRecords = 20000;

void writeTable(const QString &path)
{
    fixture::ParadoxWriter w(path, {{"CIS_ZAK", pxfAlpha, 15},
                                    {"STAV_ZAKAZKY", pxfAlpha, 20},
                                    {"REZ_JMENO", pxfAlpha, 40},
                                    {"REZ_PREHL5", pxfAlpha, 120},
                                    {"Prodej_Cena", pxfNumber, 8},
                                    {"Fotky", pxfMemoBLOb, 20},
                                    {"VYKON", pxfAlpha, 10}});
    for (int i = 0; i < kRecords; ++i) {
        // Keys in scrambled order, so that the index has work to do.
        const int key = (i * 7919) % kRecords;
        w.addRecord({QString::number(100000 + key), u"nabízeno"_s, QString(), u"#########**#"_s,
                     double(100000 + key * 10), QStringLiteral("FOTO\\%1_1.JPG\r\nFOTO\\%1_2.JPG").arg(key),
                     u"77"_s});
    }
}

long pxlibRead(const QString &path)
{
    pxdoc_t *doc = PX_new();
    PX_open_file(doc, QFile::encodeName(path).constData());
    const int fields = PX_get_num_fields(doc);
    std::vector<char> buf(size_t(PX_get_recordsize(doc)));
    long checksum = 0;
    for (int r = 0; r < PX_get_num_records(doc); ++r) {
        PX_get_record(doc, r, buf.data());
        char *data = buf.data();
        for (int f = 0; f < fields; ++f) {
            const pxfield_t *field = PX_get_field(doc, f);
            if (field->px_ftype == pxfAlpha) {
                char *value = nullptr;
                if (PX_get_data_alpha(doc, data, field->px_flen, &value) > 0) {
                    checksum += long(std::strlen(value));
                    doc->free(doc, value);
                }
            } else if (field->px_ftype == pxfNumber) {
                double value = 0;
                PX_get_data_double(doc, data, field->px_flen, &value);
                checksum += long(value);
            }
            data += field->px_flen;
        }
    }
    PX_close(doc);
    PX_delete(doc);
    return checksum;
}

long moduleRead(const DatabaseSession &session)
{
    HostTable table(session);
    table.open(u"BAZAR1"_s, u"Prehledy.DB"_s, u"Index_CIS_ZAK"_s);
    std::vector<int> fields;
    for (const ParadoxField &f : table.table().fields())
        if (f.type != pxfMemoBLOb)
            fields.push_back(table.fieldIndex(f.name));
    long checksum = 0;
    for (table.first(); !table.eof(); table.next())
        for (const int f : fields)
            checksum += table.text(f).size();
    for (int i = 0; i < kRecords; ++i)
        checksum += table.findKey(QString::number(100000 + i)) ? 1 : 0;
    return checksum;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Prehledy.DB"_s);
    writeTable(path);
    const auto session = DatabaseSession::fromText(u"[BAZAR1]\nPATH="_s + dir.path() + u'\n');

    long sink = 0;
    const double ours = bench::bestOf(5, [&] { sink += moduleRead(session); });
    const double pxlib = bench::bestOf(5, [&] { sink += pxlibRead(path); });
    const bool met = bench::reportRatio("host table 20k: open, key walk, 20k look-ups", ours, "bare pxlib read", pxlib, 1.5);
    return sink > 0 && met ? 0 : 1;
}
