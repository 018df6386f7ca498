// Posting 10,000 records through the working-table query inside one
// transaction, against the one-second budget the import relies on.
#include "BenchReport.h"
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace korvex;
using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const auto session = DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n');
    Dataset query(NestaTableDef());

    const double seconds = bench::bestOf(3, [&] {
        CreateWorkingTable(query, session);
        query.startTransaction();
        for (int i = 0; i < 10000; ++i) {
            query.append();
            query.setValue(u"CJ", QString::number(10000 + i));
            query.setValue(u"ALIAS", u"BAZAR1"_s);
            query.setValue(u"ZNACKA_TYP", u"Škoda Octavia 1.9 TDI Ambiente"_s);
            query.setValue(u"POZNAMKA", u"Vůz v dobrém stavu, pravidelný servis."_s);
            query.setValue(u"VYBAVA", u"rádio;CD přehrávač;centrální zamykání;alarm;"_s);
            query.setValue(u"FOTO1", u"/srv/host/Data/FOTO/10000_1_WEB.JPG"_s);
            query.setValue(u"ZOB_FOTO1", true);
            query.post();
        }
        query.commit();
    });
    return bench::reportLimit("post 10,000 records in one transaction", seconds, 1.0) ? 0 : 1;
}
