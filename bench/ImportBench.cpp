// Extraction plus import of hosts with 1,000 and 10,000 offered vehicles
// (four branches, photos as empty files, equipment texts of 20 items): the
// time of each, their ratio (linear growth), and the full import against a
// bare read of the same host tables by pxlib (memo fields left out: pxlib
// 0.6.8 cannot open memo files of this size) and by the module's reader.
#include "BenchReport.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "HostFixture.h"
#include "platform/HostTable.h"
#include "import/InterchangeImport.h"
#include "import/WorkingTable.h"

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

const QStringList kItems = [] {
    QStringList items{u"rádio"_s, u"CD přehrávač"_s, u"centrální zamykání"_s, u"alarm"_s, u"imobilizér"_s,
                      u"el. okna"_s, u"el. zrcátka"_s, u"tónovaná skla"_s, u"klimatizace"_s, u"tempomat"_s,
                      u"tažné zařízení"_s, u"posilovač řízení"_s, u"zadní stěrač"_s, u"střešní nosič"_s,
                      u"ABS"_s, u"airbag řidiče"_s};
    items << u"litá kola 16\""_s << u"parkovací senzory"_s << u"výhřev sedadel"_s << u"navigace"_s;
    return items;
}();

struct Host
{
    explicit Host(int vehicles)
    {
        fixture::FixtureHost description = fixture::generatedDealer(vehicles, 4, 11);
        description.emptyPhotoFiles = true;
        for (auto &branch : description.branches)
            for (auto &v : branch.vehicles) {
                v.stav = u"nabízeno"_s;
                v.rezPrehl5.clear();
                v.equipment = kItems.join(u"; "_s);
            }
        layout = fixture::writeHost(dir.path(), description);
        session = DatabaseSession::fromFile(layout.aliasFile);
        settings.executableFolder = layout.programFolder;
        settings.hostRoot = layout.root;
    }

    double import()
    {
        Dataset query(NestaTableDef());
        return bench::bestOf(3, [&] {
            CreateWorkingTable(query, session);
            ImportInterchangeFile(query, session, settings);
        });
    }

    double pxlibRead()
    {
        return bench::bestOf(3, [&] {
            long sink = 0;
            for (int n = 1; n <= 4; ++n)
                for (const QString &table : {u"Prehledy.DB"_s, u"Prijeti.DB"_s, u"TSvyb.DB"_s, u"TScheck.DB"_s}) {
                    pxdoc_t *doc = PX_new();
                    PX_open_file(doc, QFile::encodeName(layout.dataFolder(n) + table).constData());
                    std::vector<char> buf(size_t(PX_get_recordsize(doc)));
                    for (int r = 0; r < PX_get_num_records(doc); ++r) {
                        PX_get_record(doc, r, buf.data());
                        char *data = buf.data();
                        for (int f = 0; f < PX_get_num_fields(doc); ++f) {
                            const pxfield_t *field = PX_get_field(doc, f);
                            char *value = nullptr;
                            if (field->px_ftype == pxfAlpha && PX_get_data_alpha(doc, data, field->px_flen, &value) > 0) {
                                sink += long(std::strlen(value));
                                doc->free(doc, value);
                            }
                            data += field->px_flen;
                        }
                    }
                    PX_close(doc);
                    PX_delete(doc);
                }
            if (sink < 0)
                std::abort();
        });
    }

    double bareRead()
    {
        return bench::bestOf(3, [&] {
            long sink = 0;
            for (int n = 1; n <= 4; ++n)
                for (const QString &table : {u"Prehledy.DB"_s, u"Prijeti.DB"_s, u"TSvyb.DB"_s, u"TScheck.DB"_s}) {
                    HostTable t(session);
                    t.open(u"BAZAR%1"_s.arg(n), table, u"Index_CIS_ZAK"_s);
                    const int fields = int(t.table().fields().size());
                    for (t.first(); !t.eof(); t.next())
                        for (int f = 0; f < fields; ++f)
                            sink += t.text(f).size();
                }
            if (sink < 0)
                std::abort();
        });
    }

    QTemporaryDir dir;
    fixture::HostLayout layout;
    DatabaseSession session;
    ExtractionSettings settings;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Host small(1000);
    Host large(10000);
    const double smallTime = small.import();
    const double largeTime = large.import();
    const double pxlib = large.pxlibRead();
    const double bare = large.bareRead();
    bool met = bench::reportRatio("extraction + import, 10,000 vehicles", largeTime, "the same at 1,000 vehicles",
                                  smallTime, 11.0);
    met = bench::reportRatio("extraction + import, 10,000 vehicles", largeTime, "pxlib bare read of the tables",
                             pxlib, 3.0)
        && met;
    bench::reportInfo("extraction + import, 10,000 vehicles", largeTime, "module's bare read of tables", bare);
    return met ? 0 : 1;
}
