#include "selection/VehicleColumns.h"

#include "import/WorkingTable.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct ColumnSpec
{
    const char16_t *field;
    const char16_t *caption; // empty: the field name
    int width;               // 0: the default width
};

constexpr int kDefaultWidth = 64;

constexpr ColumnSpec kColumns[] = {
    {u"PORADI", u"Čís.", 25},
    {u"CJ", u"č. zak.", 55},
    {u"FOTO1", u"foto", 23},
    {u"ODESLI_FOTO", u"ks", 0},
    {u"ZNACKA_TYP", u"Značka a typ", 183},
    {u"DATUM_VYROBY", u"Výroba", 45},
    {u"NAJETO", u"Stav km", 67},
    {u"VYKON", u"Výkon", 48},
    {u"OBSAH", u"Obsah", 52},
    {u"BARVA", u"Barva", 77},
    {u"PALIVO", u"Palivo", 52},
    {u"CENA_VOZIDLA", u"CENA", 73},
    {u"DRUH_VOZIDLA", u"", 77},
    {u"ALIAS", u"", 0},
    {u"BARVA_XML", u"", 0},
    {u"ZNACKA", u"", 0},
    {u"TYP", u"", 75},
    {u"MODEL", u"", 0},
    {u"STAT_XML", u"", 0},
    {u"STAT", u"", 0},
    {u"PALIVO_XML", u"", 0},
    {u"OZNACENI_KM", u"", 0},
    {u"DATUM_VYROBY_XML", u"", 0},
    {u"PRV_MAJITEL", u"", 0},
    {u"SERVIS_KN", u"", 0},
    {u"LPG", u"", 0},
    {u"METALIZA", u"", 0},
    {u"STK_DO_XML", u"", 0},
    {u"STK_DO", u"", 0},
    {u"STAV_VOZIDLA_XML", u"", 0},
    {u"STAV_VOZIDLA", u"", 0},
    {u"CENA_MENA", u"", 0},
    {u"POZNAMKA", u"", 0},
    {u"VYBAVA_XML", u"", 0},
    {u"VYBAVA", u"", 0},
    {u"VYBAVA_DO_POZNAMKY", u"", 0},
    {u"FOTO2", u"", 0},
    {u"FOTO3", u"", 0},
    {u"FOTO4", u"", 0},
    {u"FOTO5", u"", 0},
    {u"FOTO6", u"", 0},
    {u"CELK_HMOTNOST", u"", 0},
    {u"OZNACENO", u"", 0},
    {u"PRIJEM_DNE", u"", 0},
    {u"REZERVA1", u"", 0},
    {u"REZERVA2", u"", 0},
    {u"REZERVA3", u"", 0},
    {u"REZERVA4", u"", 0},
    {u"REZERVA5", u"", 0},
    {u"REZERVA6", u"", 0},
    {u"REZERVA7", u"", 0},
    {u"REZERVA8", u"", 0},
    {u"REZERVA9", u"", 0},
    {u"REZERVA10", u"", 0},
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
        const QString field = QString::fromUtf16(spec.field);
        const FieldDef &f = def.fields[size_t(def.indexOf(field))];
        DatasetColumn column;
        column.field = field;
        column.caption = spec.caption[0] ? QString::fromUtf16(spec.caption) : field;
        column.width = spec.width ? spec.width : kDefaultWidth;
        column.alignment = f.alignment | Qt::AlignVCenter;
        column.displayFormat = f.displayFormat;
        if (field == u"CENA_VOZIDLA")
            column.titleAlignment = Qt::AlignCenter;
        columns.push_back(column);
    }
    return columns;
}

} // namespace korvex
