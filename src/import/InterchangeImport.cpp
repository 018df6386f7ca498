#include "import/InterchangeImport.h"

#include "platform/Dataset.h"
#include "platform/DisabledControls.h"
#include "import/HostRules.h"
#include "import/InterchangeFile.h"
#include "platform/ModuleError.h"
#include "platform/UnfilteredView.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// Fields that take their interchange line as it stands.
struct Plain
{
    int line;
    const char16_t *field;
};

const Plain kPlainFields[] = {
    {2, u"ALIAS"},           {3, u"DRUH_VOZIDLA"},      {4, u"ZNACKA"},         {5, u"MODEL"},
    {6, u"TYP"},             {7, u"BARVA_XML"},         {8, u"BARVA"},          {9, u"STAT_XML"},
    {10, u"STAT"},           {11, u"PALIVO_XML"},       {12, u"PALIVO"},        {13, u"OZNACENI_KM"},
    {14, u"NAJETO"},         {15, u"DATUM_VYROBY_XML"}, {17, u"PRV_MAJITEL"},   {18, u"SERVIS_KN"},
    {19, u"LPG"},            {20, u"METALIZA"},         {21, u"STK_DO_XML"},    {22, u"STK_DO"},
    {23, u"STAV_VOZIDLA_XML"}, {24, u"STAV_VOZIDLA"},   {25, u"CENA_VOZIDLA"},  {26, u"CENA_MENA"},
    {27, u"POZNAMKA"},       {28, u"VYBAVA_XML"},       {29, u"VYBAVA"},        {32, u"VYKON"},
    {33, u"OBSAH"},          {34, u"CELK_HMOTNOST"},    {35, u"REZERVA1"},      {37, u"REZERVA3"},
};

// Field positions in the query, looked up once per import.
struct Columns
{
    explicit Columns(const Dataset &query)
    {
        auto at = [&](QStringView name) {
            const int i = query.fieldIndex(name);
            if (i < 0)
                throw ModuleError(u"Pracovní tabulka nemá pole %1"_s.arg(name.toString()));
            return i;
        };
        for (const Plain &p : kPlainFields)
            plain.push_back({p.line, at(p.field)});
        cj = at(u"CJ");
        key = at(u"PORADI");
        znackaTyp = at(u"ZNACKA_TYP");
        datumVyroby = at(u"DATUM_VYROBY");
        vybavaDoPoznamky = at(u"VYBAVA_DO_POZNAMKY");
        rezerva2 = at(u"REZERVA2");
        rezerva5 = at(u"REZERVA5");
        odesliFoto = at(u"ODESLI_FOTO");
        for (int n = 0; n < 6; ++n) {
            foto[n] = at(u"FOTO%1"_s.arg(n + 1));
            zobFoto[n] = at(u"ZOB_FOTO%1"_s.arg(n + 1));
        }
    }

    std::vector<std::pair<int, int>> plain; // line, field
    int cj, key, znackaTyp, datumVyroby, vybavaDoPoznamky, rezerva2, rezerva5, odesliFoto;
    int foto[6], zobFoto[6];
};

void assignRecord(Dataset &query, const Columns &c, const InterchangeRecord &r)
{
    auto line = [&r](int n) -> const QString & { return r[size_t(n - 1)]; };
    for (const auto &[n, field] : c.plain)
        query.setValue(field, line(n));
    query.setValue(c.znackaTyp, line(4) + u' ' + line(5) + u' ' + line(6));
    query.setValue(c.datumVyroby, YearOfDisplayDate(line(16)));
    if (!line(30).isEmpty())
        query.setValue(c.vybavaDoPoznamky, u"další výbava: "_s + line(30));
    query.setValue(c.rezerva2, line(36).left(10));
    query.setValue(c.rezerva5, line(38).left(5) + u'*' + line(39) + u'*' + line(40) + u'*' + line(41) + u'*' + line(42));

    // Photos: a new path for photo n shows it unless the user had one there
    // already; a shorter list leaves the later photos as they were.
    const QString &photos = line(31);
    const QStringList parts = photos.split(u',');
    for (int n = 0; n < 6 && n < parts.size(); ++n) {
        if (parts[n].isEmpty())
            continue;
        if (query.value(c.foto[n]).toString().isEmpty())
            query.setValue(c.zobFoto[n], true);
        query.setValue(c.foto[n], parts[n]);
    }
    const qsizetype count = photos.count(u',');
    if (count >= 1 && query.value(c.odesliFoto).toString().isEmpty())
        query.setValue(c.odesliFoto, QString::number(count));
}

void load(Dataset &query, const std::vector<InterchangeRecord> &records)
{
    const Columns c(query);
    // Every record seen, the display quiet, both restored however it ends.
    const DisabledControls display(query);
    const UnfilteredView unfiltered(query);

    // The first record of each CJ, by position; positions stay put until the
    // delete pass, as updates do not move records and appends go last.
    QHash<QString, int> byCj;
    byCj.reserve(query.recordCount() + qsizetype(records.size()));
    for (int row = 0; row < query.recordCount(); ++row) {
        const QString cj = query.valueAt(row, c.cj).toString();
        if (!byCj.contains(cj))
            byCj.insert(cj, row);
    }

    QSet<QString> offered;
    offered.reserve(qsizetype(records.size()));
    query.startTransaction();
    try {
        for (const InterchangeRecord &r : records) {
            const QString &cj = r[0];
            offered.insert(cj.toCaseFolded());
            const auto found = byCj.constFind(cj);
            if (found != byCj.constEnd()) {
                query.setRecNo(found.value());
                query.edit();
            } else {
                query.append();
                query.setValue(c.cj, cj);
            }
            assignRecord(query, c, r);
            query.post();
            if (found == byCj.constEnd())
                byCj.insert(query.value(c.cj).toString(), query.recNo());
        }

        for (int row = 0; row < query.recordCount();) {
            if (offered.contains(query.valueAt(row, c.cj).toString().toCaseFolded())) {
                ++row;
            } else {
                query.setRecNo(row);
                query.remove();
            }
        }
    } catch (...) {
        // The failing record is dropped, not posted a second time; what was
        // posted before it stays, as it would without a transaction. The
        // transaction ends either way, so a later close has nothing to undo.
        query.cancel();
        try {
            query.commit();
        } catch (...) {
            // The first error is the one to report. A refused commit leaves
            // the transaction open, and later posts would go into it; undone
            // now, the records shown are again those of the file.
            try {
                query.rollback();
            } catch (...) {
            }
        }
        throw;
    }
    query.commit();
    query.first();
}

} // namespace

void LoadInterchangeFile(Dataset &query, const QString &path)
{
    load(query, ReadInterchangeFile(path));
}

void ImportInterchangeFile(Dataset &query, const DatabaseSession &session, const ExtractionSettings &settings,
                           const std::function<void()> &listRefreshed)
{
    ExtractHostVehicles(session, settings);
    LoadInterchangeFile(query, InterchangeFilePath(settings.executableFolder));
    if (listRefreshed)
        listRefreshed();
}

} // namespace korvex
