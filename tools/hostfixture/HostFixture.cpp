#include "HostFixture.h"

#include "BmpWriter.h"
#include "JpegWriter.h"
#include "ParadoxWriter.h"
#include "platform/TextFile.h"

extern "C" {
#include <paradox.h>
}

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace korvex::fixture {
namespace {

const char *const kFolderNames[] = {"Data", "Data2", "Data3", "Data4"};

void makeFolder(const QString &path)
{
    if (!QDir().mkpath(path))
        throw std::runtime_error("cannot create folder " + path.toStdString());
}

PxValue textOrNull(const QString &text)
{
    return text.isEmpty() ? PxValue() : PxValue(text);
}

// A number typed as text, with a decimal point or comma.
PxValue numberValue(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(QString(text).replace(u',', u'.'), &ok);
    return ok ? PxValue(v) : PxValue();
}

PxColumn priceColumn(FixtureHost::PriceField type)
{
    switch (type) {
    case FixtureHost::PriceField::Currency:
        return {"Prodej_Cena", pxfCurrency, 8};
    case FixtureHost::PriceField::Alpha:
        return {"Prodej_Cena", pxfAlpha, 15};
    default:
        return {"Prodej_Cena", pxfNumber, 8};
    }
}

PxValue dateValue(const QString &text)
{
    const QDate d = QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
    return d.isValid() ? PxValue(d) : PxValue();
}

// Columns a dealer's tables carry besides those the module reads.
const std::vector<PxColumn> kEngineColumns{
    {"CENA_NAKUP", pxfBCD, 17, 2}, {"DNU_SKLADEM", pxfBCD, 17, 0}, {"CAS_PRIJETI", pxfTime, 4},
    {"ZAPSANO", pxfTimestamp, 8},  {"KOD", pxfBytes, 8},            {"PRILOHA", pxfBLOb, 10},
    {"KUSU", pxfShort, 2},         {"KM_CELKEM", pxfLong, 4},       {"CENA_EUR", pxfCurrency, 8},
    {"POPIS", pxfFmtMemoBLOb, 11}};

std::vector<PxValue> engineValues(int n)
{
    return {QStringLiteral("%1.25").arg(n * 1000), QString::number(-n), QTime(9, 30, n % 60),
            QDateTime(QDate(2008, 5, 9), QTime(10, n % 60)), QByteArray("KOD") + QByteArray::number(n),
            QByteArray(3000, char(n)), qint64(n), qint64(n * 100000), 2003.5 + n, QStringLiteral("formát %1").arg(n)};
}

// A table's columns and options as the host writes it (see
// FixtureHost::engineTables): the key ID goes first, the columns the module
// does not read after those it reads.
std::vector<PxColumn> hostColumns(std::vector<PxColumn> columns, bool engine)
{
    if (engine) {
        columns.insert(columns.begin(), PxColumn{"ID", pxfAutoInc, 4});
        columns.insert(columns.end(), kEngineColumns.begin(), kEngineColumns.end());
    }
    return columns;
}

PxTableOptions hostOptions(bool engine)
{
    return engine ? PxTableOptions{1250, 1, {1}} : PxTableOptions{};
}

// The record's values for those columns; n counts the records from 1.
std::vector<PxValue> hostValues(std::vector<PxValue> values, int n, bool engine)
{
    if (engine) {
        values.insert(values.begin(), PxValue(qint64(n)));
        const auto extra = engineValues(n);
        values.insert(values.end(), extra.begin(), extra.end());
    }
    return values;
}

// "FOTO\1_1.JPG" with "_WEB" gives <data folder>/FOTO/1_1_WEB.JPG.
QString photoFile(const QString &dataFolder, const FixturePhoto &photo)
{
    QString path = dataFolder + QString(photo.line).replace(u'\\', u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    const QString ext = dot > path.lastIndexOf(u'/') ? path.mid(dot) : QString();
    return path.left(path.size() - 4) + photo.variant + ext;
}

void writeBranch(const QString &folder, const FixtureBranch &branch, const FixtureHost &host)
{
    makeFolder(folder);
    ParadoxWriter overview(folder + u"Prehledy.DB"_s, hostColumns({{"CIS_ZAK", pxfAlpha, 15},
                            {"STAV_ZAKAZKY", pxfAlpha, 20},
                            {"REZ_JMENO", pxfAlpha, 40},
                            {"REZ_PREHL5", pxfAlpha, 255},
                            priceColumn(host.priceField),
                            {"Fotky", pxfMemoBLOb, 20},
                            {"VYKON", pxfAlpha, 10},
                            {"DATUM_ZAK", pxfDate, 4},
                            {"POZNAMKA", pxfAlpha, 60}}, host.engineTables),
                           hostOptions(host.engineTables));
    ParadoxWriter intake(folder + u"Prijeti.DB"_s, hostColumns({{"CIS_ZAK", pxfAlpha, 15},
                          {"DRUH_VOZIDLA", pxfAlpha, 20},
                          {"ZNACKA_VOZIDLA", pxfAlpha, 30},
                          {"VYKUP_REZERVA1", pxfMemoBLOb, 30},
                          {"VYKUP_REZERVA2", pxfMemoBLOb, 30},
                          {"BARVA_VOZIDLA", pxfAlpha, 30},
                          {"METALIZA", pxfLogical, 1},
                          {"PALIVO", pxfAlpha, 20},
                          host.numericMileage ? PxColumn{"STAV_TACHOM", pxfNumber, 8}
                                              : PxColumn{"STAV_TACHOM", pxfAlpha, 15},
                          {"PROVOZ_OD", host.provozOdAsDate ? pxfDate : pxfAlpha, host.provozOdAsDate ? 4 : 10},
                          {"MESIC_VYROBY", pxfAlpha, 2},
                          {"ROK_VYROBY", pxfAlpha, 4},
                          {"POCET_MAJITELU", pxfAlpha, 2},
                          {"STK_DO", pxfAlpha, 7},
                          {"VARIANTA_TS", pxfAlpha, 2},
                          {"OBSAH_MOTORU", pxfAlpha, 10},
                          {"NOSNOST", pxfAlpha, 10}}, host.engineTables),
                         hostOptions(host.engineTables));
    ParadoxWriter tsVyb(folder + u"TSvyb.DB"_s, {{"CIS_ZAK", pxfAlpha, 15}, {"VYBAVA", pxfMemoBLOb, 40}});
    ParadoxWriter tsCheck(folder + u"TScheck.DB"_s, {{"CIS_ZAK", pxfAlpha, 15}, {"VYBAVA", pxfMemoBLOb, 40}});

    unsigned seed = 1;
    int overviewCount = 0;
    int intakeCount = 0;
    for (const FixtureVehicle &v : branch.vehicles) {
        QStringList photoLines;
        for (const FixturePhoto &p : v.photos) {
            photoLines.append(p.line);
            if (p.variant.isEmpty())
                continue;
            const QString file = photoFile(folder, p);
            makeFolder(QFileInfo(file).path());
            if (host.emptyPhotoFiles)
                QFile(file).open(QIODevice::WriteOnly);
            else
                writeJpeg(file, host.photoWidth, host.photoHeight, seed++);
        }
        overview.addRecord(hostValues({v.cisZak, textOrNull(v.stav), textOrNull(v.rezJmeno), textOrNull(v.rezPrehl5),
                                       host.priceField == FixtureHost::PriceField::Alpha ? textOrNull(v.prodejCena)
                                                                                         : numberValue(v.prodejCena),
                                       textOrNull(photoLines.join(QStringLiteral("\r\n"))), textOrNull(v.vykon),
                                       PxValue(QDate(2008, 5, 9)), PxValue()},
                                      ++overviewCount, host.engineTables));

        QString variant;
        if (v.intake) {
            const FixtureIntake &i = *v.intake;
            variant = i.variantaTs;
            intake.addRecord(hostValues(
                {v.cisZak, textOrNull(i.druh), textOrNull(i.znacka), textOrNull(i.technicalData), textOrNull(i.note),
                 textOrNull(i.barva), i.metaliza ? PxValue(*i.metaliza) : PxValue(), textOrNull(i.palivo),
                 host.numericMileage ? numberValue(i.stavTachom) : textOrNull(i.stavTachom),
                 host.provozOdAsDate ? dateValue(i.provozOd) : textOrNull(i.provozOd), textOrNull(i.mesicVyroby),
                 textOrNull(i.rokVyroby), textOrNull(i.pocetMajitelu), textOrNull(i.stkDo), textOrNull(i.variantaTs),
                 textOrNull(i.obsahMotoru), textOrNull(i.nosnost)},
                ++intakeCount, host.engineTables));
        }
        if (v.equipment)
            (variant == u"0" ? tsVyb : tsCheck).addRecord({v.cisZak, textOrNull(*v.equipment)});
    }
}

} // namespace

QString HostLayout::dataFolder(int number) const
{
    return root + QString::fromLatin1(kFolderNames[number - 1]) + u'/';
}

HostLayout writeHost(const QString &root, const FixtureHost &host)
{
    HostLayout layout;
    layout.root = QDir(root).absolutePath() + u'/';
    layout.programFolder = layout.root + u"PRG/"_s;
    layout.aliasFile = layout.programFolder + u"aliases.ini"_s;
    makeFolder(layout.programFolder);
    makeFolder(layout.root + u"Data/INI"_s);
    makeFolder(layout.root + u"WWW_Export/Data/Setting"_s);

    // The host's own settings and route files.
    TextFile::writeLines(layout.programFolder + u"Route.ddd"_s, {layout.programFolder});
    QStringList route;
    for (const bool on : host.route)
        route.append(on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    TextFile::writeLines(layout.programFolder + u"Route_Seznam_Zobraz.ddd"_s, route);
    if (host.vatRate)
        TextFile::writeLines(layout.root + u"Data/INI/parametry.ini"_s,
                             {QStringLiteral("[DPH]"), QStringLiteral("DPHZaklSaz=%1").arg(*host.vatRate)});
    if (!host.proxy.isEmpty())
        TextFile::writeLines(layout.programFolder + u"Patrani.ddd"_s, host.proxy);
    if (!host.ftpMode.isEmpty())
        TextFile::writeLines(layout.root + u"WWW_Export/Data/Rezim_Pr.ddd"_s, host.ftpMode);
    if (!host.extractionFlags.isEmpty())
        TextFile::writeLines(layout.root + u"WWW_Export/Pelanto_dod.ddd"_s, host.extractionFlags);
    if (host.listIcons) {
        makeFolder(layout.programFolder + u"Data_Off_LIne"_s);
        writeIcon(layout.root + u"WWW_Export/Data/Setting/Foto.bmp"_s, 20, 14, 0x008000);
        writeIcon(layout.programFolder + u"Data_Off_LIne/No_Foto.bmp"_s, 20, 14, 0xC00000);
    }
    if (host.reservationsMarker)
        TextFile::writeLines(layout.root + u"WWW_Export/Data/Rezervovana_ne.ddd"_s, {});

    // BAZAR_DEMO has no data folder the module reads; the route list can
    // still switch it on.
    makeFolder(layout.root + u"Demo"_s);
    QStringList aliases{QStringLiteral("[BAZAR]"), u"PATH="_s + layout.dataFolder(1), QStringLiteral("[BAZAR_DEMO]"),
                        u"PATH="_s + layout.root + u"Demo/"_s};
    for (int n = 1; n <= 4; ++n)
        aliases << QStringLiteral("[BAZAR%1]").arg(n) << u"PATH="_s + layout.dataFolder(n);
    QFile file(layout.aliasFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(aliases.join(u'\n').toUtf8() + '\n') < 0)
        throw std::runtime_error("cannot write " + layout.aliasFile.toStdString());

    for (int n = 1; n <= 4; ++n) {
        FixtureBranch empty;
        empty.number = n;
        const FixtureBranch *branch = &empty;
        for (const FixtureBranch &b : host.branches)
            if (b.number == n)
                branch = &b;
        writeBranch(layout.dataFolder(n), *branch, host);
    }
    return layout;
}

} // namespace korvex::fixture
