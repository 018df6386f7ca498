#include "import/InterchangeImport.h"

#include "import/HostRules.h"
#include "import/InterchangeFile.h"
#include "import/NestaFields.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/UnfilteredView.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

using enum InterchangeLine;

// Fields that take their interchange line as it stands.
struct Plain
{
    InterchangeLine line;
    QStringView field;
};

const Plain kPlainFields[] = {
    {Alias, nesta::Alias},
    {Category, nesta::DruhVozidla},
    {Make, nesta::Znacka},
    {Model, nesta::Model},
    {Type, nesta::Typ},
    {ColourXml, nesta::BarvaXml},
    {Colour, nesta::Barva},
    {CountryXml, nesta::StatXml},
    {Country, nesta::Stat},
    {FuelXml, nesta::PalivoXml},
    {Fuel, nesta::Palivo},
    {MileageUnit, nesta::OznaceniKm},
    {Mileage, nesta::Najeto},
    {MadeYmd, nesta::DatumVyrobyXml},
    {FirstOwner, nesta::PrvMajitel},
    {ServiceBook, nesta::ServisKn},
    {Lpg, nesta::Lpg},
    {Metallic, nesta::Metaliza},
    {InspectionYmd, nesta::StkDoXml},
    {InspectionDisplay, nesta::StkDo},
    {ConditionCode, nesta::StavVozidlaXml},
    {ConditionText, nesta::StavVozidla},
    {Price, nesta::CenaVozidla},
    {Currency, nesta::CenaMena},
    {Note, nesta::Poznamka},
    {EquipmentKeys, nesta::VybavaXml},
    {EquipmentLabels, nesta::Vybava},
    {Power, nesta::Vykon},
    {Capacity, nesta::Obsah},
    {Payload, nesta::CelkHmotnost},
    {Body, nesta::Rezerva1},
    {Reserve, nesta::Rezerva3},
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
        cj = at(nesta::Cj);
        key = at(nesta::Poradi);
        znackaTyp = at(nesta::ZnackaTyp);
        datumVyroby = at(nesta::DatumVyroby);
        vybavaDoPoznamky = at(nesta::VybavaDoPoznamky);
        rezerva2 = at(nesta::Rezerva2);
        rezerva5 = at(nesta::Rezerva5);
        odesliFoto = at(nesta::OdesliFoto);
        for (int n = 0; n < 6; ++n) {
            foto[n] = at(u"FOTO%1"_s.arg(n + 1));
            zobFoto[n] = at(u"ZOB_FOTO%1"_s.arg(n + 1));
        }
    }

    std::vector<std::pair<InterchangeLine, int>> plain; // line, field
    int cj, key, znackaTyp, datumVyroby, vybavaDoPoznamky, rezerva2, rezerva5, odesliFoto;
    int foto[6], zobFoto[6];
};

// One record into the edited one; scratch is reused for the joined values.
void assignRecord(Dataset &query, const Columns &c, const InterchangeValues &line, QString &scratch)
{
    for (const auto &[n, field] : c.plain)
        query.setText(field, line[n]);
    const auto joined = [&scratch](std::initializer_list<QStringView> parts) -> QStringView {
        scratch.clear();
        for (const QStringView part : parts)
            scratch += part;
        return scratch;
    };
    query.setText(c.znackaTyp, joined({line[Make], u" ", line[Model], u" ", line[Type]}));
    query.setText(c.datumVyroby, YearOfDisplayDate(line[MadeDisplay]));
    if (!line[EquipmentOther].isEmpty())
        query.setText(c.vybavaDoPoznamky, joined({u"další výbava: ", line[EquipmentOther]}));
    query.setText(c.rezerva2, line[Doors].left(10));
    query.setText(c.rezerva5, joined({line[WithoutVat].left(5), u"*", line[DownPayment], u"*", line[Instalment], u"*",
                                      line[Instalments], u"*", line[NotDamaged]}));

    // Photos: a new path for photo n shows it unless the user had one there
    // already; a shorter list leaves the later photos as they were.
    const QStringView photos = line[Photos];
    int n = 0;
    for (const QStringView part : photos.tokenize(u',')) {
        if (n == 6)
            break;
        if (!part.isEmpty()) {
            if (query.value(c.foto[n]).toString().isEmpty())
                query.setValue(c.zobFoto[n], true);
            query.setText(c.foto[n], part);
        }
        ++n;
    }
    const qsizetype count = photos.count(u',');
    if (count >= 1 && query.value(c.odesliFoto).toString().isEmpty())
        query.setText(c.odesliFoto, QString::number(count));
}

void load(Dataset &query, const InterchangeRecords &records)
{
    const Columns c(query);
    // Every record seen, the display quiet, both restored however it ends.
    const Dataset::DisplaySuspended display(query);
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
    InterchangeValues values;
    QString scratch;
    // What was posted before a failing record stays, as it would without a
    // transaction; the failing record is dropped, not posted a second time.
    Dataset::Batch batch(query);
    for (size_t r = 0; r < records.size(); ++r) {
        values.decode(records.bytes(r));
        const QString cj = values[VehicleNumber].toString();
        offered.insert(cj.toCaseFolded());
        const auto found = byCj.constFind(cj);
        if (found != byCj.constEnd()) {
            query.setRecNo(found.value());
            query.edit();
        } else {
            query.append();
            query.setText(c.cj, cj);
        }
        assignRecord(query, c, values, scratch);
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
    batch.commit();
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
    load(query, ExtractHostRecords(session, settings));
    if (listRefreshed)
        listRefreshed();
}

} // namespace korvex
