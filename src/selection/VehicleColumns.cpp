#include "selection/VehicleColumns.h"

#include "import/NestaFields.h"
#include "import/WorkingTable.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct ColumnSpec
{
    QStringView field;
    const char16_t *caption; // empty: the field name
    int width;               // 0: the default width
};

constexpr int kDefaultWidth = 64;

constexpr ColumnSpec kColumns[] = {
    {nesta::Poradi, u"Čís.", 25},
    {nesta::Cj, u"č. zak.", 55},
    {nesta::Foto1, u"foto", 23},
    {nesta::OdesliFoto, u"ks", 0},
    {nesta::ZnackaTyp, u"Značka a typ", 183},
    {nesta::DatumVyroby, u"Výroba", 45},
    {nesta::Najeto, u"Stav km", 67},
    {nesta::Vykon, u"Výkon", 48},
    {nesta::Obsah, u"Obsah", 52},
    {nesta::Barva, u"Barva", 77},
    {nesta::Palivo, u"Palivo", 52},
    {nesta::CenaVozidla, u"CENA", 73},
    {nesta::DruhVozidla, u"", 77},
    {nesta::Alias, u"", 0},
    {nesta::BarvaXml, u"", 0},
    {nesta::Znacka, u"", 0},
    {nesta::Typ, u"", 75},
    {nesta::Model, u"", 0},
    {nesta::StatXml, u"", 0},
    {nesta::Stat, u"", 0},
    {nesta::PalivoXml, u"", 0},
    {nesta::OznaceniKm, u"", 0},
    {nesta::DatumVyrobyXml, u"", 0},
    {nesta::PrvMajitel, u"", 0},
    {nesta::ServisKn, u"", 0},
    {nesta::Lpg, u"", 0},
    {nesta::Metaliza, u"", 0},
    {nesta::StkDoXml, u"", 0},
    {nesta::StkDo, u"", 0},
    {nesta::StavVozidlaXml, u"", 0},
    {nesta::StavVozidla, u"", 0},
    {nesta::CenaMena, u"", 0},
    {nesta::Poznamka, u"", 0},
    {nesta::VybavaXml, u"", 0},
    {nesta::Vybava, u"", 0},
    {nesta::VybavaDoPoznamky, u"", 0},
    {nesta::Foto2, u"", 0},
    {nesta::Foto3, u"", 0},
    {nesta::Foto4, u"", 0},
    {nesta::Foto5, u"", 0},
    {nesta::Foto6, u"", 0},
    {nesta::CelkHmotnost, u"", 0},
    {nesta::Oznaceno, u"", 0},
    {nesta::PrijemDne, u"", 0},
    {nesta::Rezerva1, u"", 0},
    {nesta::Rezerva2, u"", 0},
    {nesta::Rezerva3, u"", 0},
    {nesta::Rezerva4, u"", 0},
    {nesta::Rezerva5, u"", 0},
    {nesta::Rezerva6, u"", 0},
    {nesta::Rezerva7, u"", 0},
    {nesta::Rezerva8, u"", 0},
    {nesta::Rezerva9, u"", 0},
    {nesta::Rezerva10, u"", 0},
};

} // namespace

QFont VehicleListFont()
{
    // Liberation Sans Narrow (fonts-liberation) has Arial Narrow's metrics;
    // at 10 pixels a four-digit order number, "Benzin MIX" and a 35-letter
    // make and type fit their columns, bold ones too.
    QFont font(u"Liberation Sans Narrow"_s);
    font.setPixelSize(10);
    return font;
}

std::vector<DatasetColumn> VehicleListColumns()
{
    const TableDef &def = NestaTableDef();
    std::vector<DatasetColumn> columns;
    columns.reserve(std::size(kColumns));
    for (const ColumnSpec &spec : kColumns) {
        const QString field = spec.field.toString();
        const FieldDef &f = def.fields[size_t(def.indexOf(field))];
        DatasetColumn column;
        column.field = field;
        column.caption = spec.caption[0] ? QString::fromUtf16(spec.caption) : field;
        column.width = spec.width ? spec.width : kDefaultWidth;
        column.alignment = f.alignment | Qt::AlignVCenter;
        column.displayFormat = f.displayFormat;
        if (field == nesta::CenaVozidla)
            column.titleAlignment = Qt::AlignCenter;
        columns.push_back(column);
    }
    return columns;
}

} // namespace korvex
