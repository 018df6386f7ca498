#include "import/InterchangeImport.h"

#include "import/HostRules.h"
#include "import/InterchangeFile.h"
#include "import/NestaFields.h"
#include "platform/Dataset.h"
#include "platform/ModuleError.h"
#include "platform/UnfilteredView.h"

#include <QHash>
#include <QSet>

#include <exception>

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

// Records taken one by one into the working table, in one batch; finish()
// deletes the vehicles that were not taken and commits.
class Import
{
public:
    explicit Import(Dataset &query)
        : m_query(query)
        , m_columns(query)
        , m_display(query)
        , m_unfiltered(query)
        , m_batch(query)
        , m_startRow(query.recNo())
    {
        // The first record of each CJ, by position; positions stay put until
        // the delete pass, as updates do not move records and appends go last.
        m_byCj.reserve(2 * query.recordCount());
        for (int row = 0; row < query.recordCount(); ++row) {
            const QString cj = query.valueAt(row, m_columns.cj).toString();
            if (!m_byCj.contains(cj))
                m_byCj.insert(cj, row);
        }
        m_offered.reserve(query.recordCount());
    }

    void take(QByteArrayView record)
    {
        m_values.decode(record);
        const QString cj = m_values[VehicleNumber].toString();
        m_offered.insert(cj.toCaseFolded());
        const auto found = m_byCj.constFind(cj);
        if (found != m_byCj.constEnd()) {
            m_query.setRecNo(found.value());
            m_query.edit();
        } else {
            m_query.append();
            m_query.setText(m_columns.cj, cj);
        }
        assignRecord(m_query, m_columns, m_values, m_scratch);
        m_query.post();
        if (found == m_byCj.constEnd())
            m_byCj.insert(m_query.value(m_columns.cj).toString(), m_query.recNo());
    }

    void finish()
    {
        for (int row = 0; row < m_query.recordCount();) {
            if (m_offered.contains(m_query.valueAt(row, m_columns.cj).toString().toCaseFolded())) {
                ++row;
            } else {
                m_query.setRecNo(row);
                m_query.remove();
            }
        }
        m_batch.commit();
        m_query.first();
    }

    // Drops everything taken so far; the table is as it was before, the
    // cursor on the record it stood on (the records taken moved it).
    void discard()
    {
        m_batch.rollback();
        if (m_startRow >= 0)
            m_query.setRecNo(m_startRow);
    }

private:
    Dataset &m_query;
    const Columns m_columns;
    // Every record seen, the display quiet, both restored however it ends.
    const Dataset::DisplaySuspended m_display;
    const UnfilteredView m_unfiltered;
    // What was posted before a failing record stays, as it would without a
    // transaction; the failing record is dropped, not posted a second time.
    Dataset::Batch m_batch;
    // Taken once the batch has posted an edit in progress, which may add a
    // record and move the cursor onto it. Positions of the unfiltered
    // records are those of the store's order, which a rollback loads again.
    const int m_startRow;
    QHash<QString, int> m_byCj;
    QSet<QString> m_offered;
    InterchangeValues m_values;
    QString m_scratch;
};

} // namespace

void LoadInterchangeFile(Dataset &query, const QString &path)
{
    const InterchangeRecords records = ReadInterchangeFile(path);
    Import import(query);
    for (size_t r = 0; r < records.size(); ++r)
        import.take(records.bytes(r));
    import.finish();
}

void ImportInterchangeFile(Dataset &query, const DatabaseSession &session, const ExtractionSettings &settings,
                           const std::function<void()> &listRefreshed)
{
    // Each vehicle goes into the table as soon as it is read, so that the
    // records are never all kept in memory. The extraction still decides
    // alone: when it fails, everything taken is dropped and the table stays
    // as it was. When the database fails, the extraction goes on without
    // taking, so that the file is written as before; the database's error
    // then goes on, and what was posted before it stays.
    Import import(query);
    std::exception_ptr databaseError;
    try {
        ExtractHostVehicles(session, settings, [&](QByteArrayView record) {
            if (databaseError)
                return;
            try {
                import.take(record);
            } catch (...) {
                databaseError = std::current_exception();
            }
        });
    } catch (...) {
        import.discard();
        throw;
    }
    if (databaseError)
        std::rethrow_exception(databaseError);
    import.finish();
    if (listRefreshed)
        listRefreshed();
}

} // namespace korvex
