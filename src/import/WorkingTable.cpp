#include "import/WorkingTable.h"

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

FieldDef text(const char16_t *name, int width, Qt::Alignment alignment = Qt::AlignLeft, const char16_t *format = u"")
{
    return FieldDef{QString::fromUtf16(name), FieldKind::Text, width, width, QString::fromUtf16(format), alignment, false};
}

FieldDef memo(const char16_t *name)
{
    return FieldDef{QString::fromUtf16(name), FieldKind::Memo, 0, 0, QString(), Qt::AlignLeft, false};
}

FieldDef boolean(const char16_t *name, Qt::Alignment alignment = Qt::AlignLeft)
{
    return FieldDef{QString::fromUtf16(name), FieldKind::Boolean, 0, 0, QString(), alignment, false};
}

// Photo paths are created 130 wide and never cut: a path cut on assignment
// would name a file that does not exist.
FieldDef photo(const char16_t *name)
{
    return FieldDef{QString::fromUtf16(name), FieldKind::Text, 130, 0, QString(), Qt::AlignLeft, false};
}

TableDef makeNesta()
{
    TableDef def;
    def.name = QStringLiteral("Nesta");
    def.fields = {
        FieldDef{QStringLiteral("PORADI"), FieldKind::AutoInc, 0, 0, QString(), Qt::AlignLeft, true},
        text(u"CJ", 20),
        text(u"ALIAS", 15),
        text(u"ZNACKA_TYP", 45),
        text(u"DRUH_VOZIDLA", 25),
        text(u"ZNACKA", 20),
        text(u"MODEL", 20),
        text(u"TYP", 25),
        text(u"BARVA_XML", 25),
        text(u"BARVA", 25),
        text(u"STAT_XML", 10),
        text(u"STAT", 20),
        text(u"PALIVO_XML", 15),
        text(u"PALIVO", 20),
        text(u"OZNACENI_KM", 10),
        text(u"NAJETO", 8, Qt::AlignRight, u"!9999999\\ \\ \\km;1;_"),
        text(u"DATUM_VYROBY_XML", 15),
        text(u"DATUM_VYROBY", 10, Qt::AlignRight),
        text(u"PRV_MAJITEL", 5),
        text(u"SERVIS_KN", 5),
        text(u"LPG", 5),
        text(u"METALIZA", 5),
        text(u"STK_DO_XML", 12),
        text(u"STK_DO", 12),
        text(u"STAV_VOZIDLA_XML", 20),
        text(u"STAV_VOZIDLA", 25),
        text(u"CENA_VOZIDLA", 10, Qt::AlignRight, u"!9999999\\ \\ \\Kč;1;_"),
        text(u"CENA_MENA", 10),
        text(u"POZNAMKA", 255),
        memo(u"VYBAVA_XML"),
        memo(u"VYBAVA"),
        text(u"VYBAVA_DO_POZNAMKY", 255),
        photo(u"FOTO1"),
        photo(u"FOTO2"),
        photo(u"FOTO3"),
        photo(u"FOTO4"),
        photo(u"FOTO5"),
        photo(u"FOTO6"),
        text(u"VYKON", 6, Qt::AlignRight, u"!999\\ \\ \\kW;1;_"),
        text(u"OBSAH", 6, Qt::AlignRight, u"!9999\\ \\cm3;1;_"),
        text(u"CELK_HMOTNOST", 6),
        boolean(u"OZNACENO", Qt::AlignHCenter),
        boolean(u"ZOB_FOTO1"),
        boolean(u"ZOB_FOTO2"),
        boolean(u"ZOB_FOTO3"),
        boolean(u"ZOB_FOTO4"),
        boolean(u"ZOB_FOTO5"),
        boolean(u"ZOB_FOTO6"),
        text(u"PRIJEM_DNE", 15),
        text(u"ODESLI_FOTO", 3, Qt::AlignHCenter),
        text(u"REZERVA1", 255),
        text(u"REZERVA2", 255),
        text(u"REZERVA3", 255),
        text(u"REZERVA4", 255),
        text(u"REZERVA5", 255),
        text(u"REZERVA6", 100),
        text(u"REZERVA7", 100),
        text(u"REZERVA8", 100),
        text(u"REZERVA9", 100),
        text(u"REZERVA10", 100),
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
