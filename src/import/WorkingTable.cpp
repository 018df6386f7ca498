#include "import/WorkingTable.h"

#include "import/NestaFields.h"
#include "platform/WinPath.h"

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The one place that says where the working table lies.
QString tableInFolder(const QString &folder)
{
    return WinPath::resolve(folder + u"Nesta.DB"_s);
}

QString tableAlias()
{
    return u"BAZAR"_s;
}

FieldDef text(QStringView name, int width, Qt::Alignment alignment = Qt::AlignLeft, const char16_t *format = u"")
{
    return FieldDef{name.toString(), FieldKind::Text, width, width, QString::fromUtf16(format), alignment, false};
}

FieldDef memo(QStringView name)
{
    return FieldDef{name.toString(), FieldKind::Memo, 0, 0, QString(), Qt::AlignLeft, false};
}

FieldDef boolean(QStringView name, Qt::Alignment alignment = Qt::AlignLeft)
{
    return FieldDef{name.toString(), FieldKind::Boolean, 0, 0, QString(), alignment, false};
}

// Photo paths are created 130 wide and never cut: a path cut on assignment
// would name a file that does not exist.
FieldDef photo(QStringView name)
{
    return FieldDef{name.toString(), FieldKind::Text, 130, 0, QString(), Qt::AlignLeft, false};
}

TableDef makeNesta()
{
    TableDef def;
    def.name = QStringLiteral("Nesta");
    def.fields = {
        FieldDef{nesta::Poradi.toString(), FieldKind::AutoInc, 0, 0, QString(), Qt::AlignLeft, true},
        text(nesta::Cj, 20),
        text(nesta::Alias, 15),
        text(nesta::ZnackaTyp, 45),
        text(nesta::DruhVozidla, 25),
        text(nesta::Znacka, 20),
        text(nesta::Model, 20),
        text(nesta::Typ, 25),
        text(nesta::BarvaXml, 25),
        text(nesta::Barva, 25),
        text(nesta::StatXml, 10),
        text(nesta::Stat, 20),
        text(nesta::PalivoXml, 15),
        text(nesta::Palivo, 20),
        text(nesta::OznaceniKm, 10),
        text(nesta::Najeto, 8, Qt::AlignRight, u"!9999999\\ \\ \\km;1;_"),
        text(nesta::DatumVyrobyXml, 15),
        text(nesta::DatumVyroby, 10, Qt::AlignRight),
        text(nesta::PrvMajitel, 5),
        text(nesta::ServisKn, 5),
        text(nesta::Lpg, 5),
        text(nesta::Metaliza, 5),
        text(nesta::StkDoXml, 12),
        text(nesta::StkDo, 12),
        text(nesta::StavVozidlaXml, 20),
        text(nesta::StavVozidla, 25),
        text(nesta::CenaVozidla, 10, Qt::AlignRight, u"!9999999\\ \\ \\Kč;1;_"),
        text(nesta::CenaMena, 10),
        text(nesta::Poznamka, 255),
        memo(nesta::VybavaXml),
        memo(nesta::Vybava),
        text(nesta::VybavaDoPoznamky, 255),
        photo(nesta::Foto1),
        photo(nesta::Foto2),
        photo(nesta::Foto3),
        photo(nesta::Foto4),
        photo(nesta::Foto5),
        photo(nesta::Foto6),
        text(nesta::Vykon, 6, Qt::AlignRight, u"!999\\ \\ \\kW;1;_"),
        text(nesta::Obsah, 6, Qt::AlignRight, u"!9999\\ \\cm3;1;_"),
        text(nesta::CelkHmotnost, 6),
        boolean(nesta::Oznaceno, Qt::AlignHCenter),
        boolean(nesta::ZobFoto1),
        boolean(nesta::ZobFoto2),
        boolean(nesta::ZobFoto3),
        boolean(nesta::ZobFoto4),
        boolean(nesta::ZobFoto5),
        boolean(nesta::ZobFoto6),
        text(nesta::PrijemDne, 15),
        text(nesta::OdesliFoto, 3, Qt::AlignHCenter),
        text(nesta::Rezerva1, 255),
        text(nesta::Rezerva2, 255),
        text(nesta::Rezerva3, 255),
        text(nesta::Rezerva4, 255),
        text(nesta::Rezerva5, 255),
        text(nesta::Rezerva6, 100),
        text(nesta::Rezerva7, 100),
        text(nesta::Rezerva8, 100),
        text(nesta::Rezerva9, 100),
        text(nesta::Rezerva10, 100),
    };
    return def;
}

} // namespace

const TableDef &NestaTableDef()
{
    static const TableDef def = makeNesta();
    return def;
}

QString WorkingTableFile(const DatabaseSession &session)
{
    return tableInFolder(session.aliasFolder(tableAlias()));
}

QString StartUpWorkingTableFile(const DatabaseSession &session, const QString &executableFolder)
{
    QString folder = executableFolder.toUpper();
    WorkingTablePath(session, tableAlias(), folder);
    return tableInFolder(folder);
}

void CreateWorkingTable(Dataset &query, const DatabaseSession &session)
{
    query.close();
    const QString file = WorkingTableFile(session);
    SqliteStore::create(file, NestaTableDef());
    query.setFileName(file);
    query.open();
}

void OpenWorkingQuery(Dataset &query, const DatabaseSession &session)
{
    query.close();
    query.setFileName(WorkingTableFile(session));
    query.open();
}

} // namespace korvex
