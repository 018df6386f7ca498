#include "import/HostExtraction.h"

#include "import/CodeTables.h"
#include "import/EquipmentVocabulary.h"
#include "import/HostRules.h"
#include "import/InterchangeFile.h"
#include "import/PriceArithmetic.h"
#include "platform/DatabaseSession.h"
#include "platform/HostTable.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"

#include <array>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

struct Branch
{
    const char16_t *folder;
    const char16_t *alias;
    QChar prefix;
};

const std::array<Branch, 4> kBranches = {{
    {u"Data\\", u"BAZAR1", u'A'},
    {u"Data2\\", u"BAZAR2", u'B'},
    {u"Data3\\", u"BAZAR3", u'C'},
    {u"Data4\\", u"BAZAR4", u'D'},
}};

const QString kIndex = u"Index_CIS_ZAK"_s;

// The equipment tables of one data folder, opened on first use and kept
// open for the folder, so that a look-up never reads a table again.
class EquipmentTables
{
public:
    explicit EquipmentTables(const DatabaseSession &session)
        : m_vyb(session)
        , m_check(session)
    {
    }

    // The tables of another data folder from now on.
    void switchTo(const QString &alias)
    {
        m_alias = alias;
        m_vyb.close();
        m_check.close();
    }

    std::optional<QString> find(bool fromVyb, const QString &key)
    {
        HostTable &table = fromVyb ? m_vyb : m_check;
        if (!table.isOpen())
            table.open(m_alias, fromVyb ? u"TSvyb.DB"_s : u"TScheck.DB"_s, kIndex);
        if (!table.findKey(key))
            return std::nullopt;
        return table.text(u"VYBAVA");
    }

private:
    QString m_alias;
    HostTable m_vyb;
    HostTable m_check;
};

// Field positions of the overview and intake tables, looked up once per
// data folder rather than by name for every record.
struct OverviewFields
{
    explicit OverviewFields(const HostTable &t)
        : cisZak(t.requireField(u"CIS_ZAK"))
        , stav(t.requireField(u"STAV_ZAKAZKY"))
        , rezJmeno(t.requireField(u"REZ_JMENO"))
        , rezPrehl5(t.requireField(u"REZ_PREHL5"))
        , price(t.requireField(u"Prodej_Cena"))
        , fotky(t.requireField(u"Fotky"))
        , vykon(t.requireField(u"VYKON"))
    {
    }
    int cisZak, stav, rezJmeno, rezPrehl5, price, fotky, vykon;
};

struct IntakeFields
{
    explicit IntakeFields(const HostTable &t)
        : druh(t.requireField(u"DRUH_VOZIDLA"))
        , znacka(t.requireField(u"ZNACKA_VOZIDLA"))
        , technical(t.requireField(u"VYKUP_REZERVA1"))
        , note(t.requireField(u"VYKUP_REZERVA2"))
        , barva(t.requireField(u"BARVA_VOZIDLA"))
        , metaliza(t.requireField(u"METALIZA"))
        , palivo(t.requireField(u"PALIVO"))
        , tachom(t.requireField(u"STAV_TACHOM"))
        , provozOd(t.requireField(u"PROVOZ_OD"))
        , mesic(t.requireField(u"MESIC_VYROBY"))
        , rok(t.requireField(u"ROK_VYROBY"))
        , majitelu(t.requireField(u"POCET_MAJITELU"))
        , stkDo(t.requireField(u"STK_DO"))
        , varianta(t.requireField(u"VARIANTA_TS"))
        , obsah(t.requireField(u"OBSAH_MOTORU"))
        , nosnost(t.requireField(u"NOSNOST"))
    {
    }
    int druh, znacka, technical, note, barva, metaliza, palivo, tachom, provozOd, mesic, rok, majitelu, stkDo,
        varianta, obsah, nosnost;
};

class Extraction
{
public:
    Extraction(const DatabaseSession &session, const ExtractionSettings &settings)
        : m_session(session)
        , m_settings(settings)
    {
    }

    int run(const TakenRecord &taken);

private:
    struct Folder
    {
        HostTable &overview;
        const OverviewFields &o;
        HostTable &intake;
        const IntakeFields &i;
        EquipmentTables &equipment;
        QString prefix;
        QString alias;
        QString dataFolder;
    };

    bool selected(const Folder &f) const;
    InterchangeRecord buildRecord(const Folder &f);
    QString photoList(const QString &dataFolder, const QString &fotky);

    const DatabaseSession &m_session;
    const ExtractionSettings &m_settings;
    WinPath::CachedResolver m_files;
    QString m_path, m_candidate; // reused from photo to photo for their room
    int m_vatRate = 19;
    bool m_reservationsHidden = false;
};

bool Extraction::selected(const Folder &f) const
{
    if (f.overview.text(f.o.stav) != u"nabízeno")
        return false;
    if (m_reservationsHidden && !f.overview.text(f.o.rezJmeno).isEmpty())
        return false;
    if (ReadExportMark(f.overview.text(f.o.rezPrehl5)) == u"*N*")
        return false;
    if (m_settings.onlyWithPrice) {
        const QString price = f.overview.text(f.o.price).left(15);
        if (price.isEmpty() || price == u"0")
            return false;
    }
    if (m_settings.onlyWithPhotos && HostLines(f.overview.text(f.o.fotky)).isEmpty())
        return false;
    return true;
}

QString Extraction::photoList(const QString &dataFolder, const QString &fotky)
{
    QString list;
    for (const QString &line : HostLines(fotky)) {
        QString &path = m_path;
        path.resize(0);
        path.append(dataFolder).append(line);
        const QStringView base = QStringView(path).left(path.size() - 4);
        const qsizetype dot = path.lastIndexOf(u'.');
        const QStringView ext = dot < 0 ? QStringView() : QStringView(path).mid(dot);
        for (const QStringView variant : {u"_WEB", u"_MAX"}) {
            QString &candidate = m_candidate;
            candidate.resize(0);
            candidate.append(base).append(variant).append(ext);
            if (const auto native = m_files.file(candidate)) {
                list += *native;
                list += u',';
                break;
            }
        }
    }
    return list;
}

InterchangeRecord Extraction::buildRecord(const Folder &f)
{
    const HostTable &overview = f.overview;
    HostTable &intake = f.intake;
    const IntakeFields &in = f.i;
    using enum InterchangeLine;
    InterchangeRecord r;
    auto set = [&r](InterchangeLine line, QString value) { r[ValueIndex(line)] = std::move(value); };

    const QString cisZak = overview.text(f.o.cisZak).left(15);
    const QString price = overview.text(f.o.price).left(15);
    set(VehicleNumber, f.prefix + cisZak);
    set(Alias, f.alias);
    set(Price, price);
    set(Power, overview.text(f.o.vykon).left(15));
    set(Photos, photoList(f.dataFolder, overview.text(f.o.fotky)));

    QString varianta;
    if (intake.findKey(cisZak)) {
        set(Category, CategoryCode(intake.text(in.druh)));
        set(Make, intake.text(in.znacka));
        QString note = intake.text(in.note);

        const TechnicalData tech(intake.text(in.technical));
        set(Body, BodyStyle(tech.field(4, 10)));
        set(Model, tech.field(1));
        set(Type, tech.field(2));
        const QString country = tech.field(26, 10);
        set(Country, country);
        set(Doors, tech.field(5, 10));
        set(Reserve, tech.field(19, 10));
        const QString withoutVat = tech.field(23, 5);
        set(WithoutVat, withoutVat);
        set(DownPayment, tech.field(11));
        set(Instalment, tech.field(20));
        set(Instalments, tech.field(21));
        set(NotDamaged, tech.field(16));

        const QString colour = intake.text(in.barva);
        set(ColourXml, colour);
        set(Colour, colour);
        set(CountryXml, CountryCode(country));
        set(Metallic, intake.boolean(in.metaliza) ? u"1"_s : u"0"_s);

        const QString fuel = intake.text(in.palivo).left(15);
        set(Fuel, fuel);
        set(FuelXml, FuelCode(fuel));
        set(Lpg, fuel == u"LPG" ? u"1"_s : u"0"_s);
        set(MileageUnit, u"km"_s);

        const QString mileage = intake.text(in.tachom).left(15);
        set(Mileage, ReadsAsWholeNumber(mileage) ? mileage : QString());

        if (withoutVat == u"A") {
            const PriceSplit split = SplitGrossPrice(price, m_vatRate);
            set(Price, WholePartOf(split.netText));
            note = u"CENA BEZ DPH, "_s + note;
        }
        set(Note, note);

        const DatePair made = ManufactureDate(intake.text(in.provozOd), intake.text(in.mesic),
                                              intake.text(in.rok));
        set(MadeYmd, made.ymd);
        set(MadeDisplay, made.display);
        const DatePair inspection = InspectionDate(intake.text(in.stkDo));
        set(InspectionYmd, inspection.ymd);
        set(InspectionDisplay, inspection.display);

        set(FirstOwner, intake.text(in.majitelu).left(15) == u"1" ? u"1"_s : u"0"_s);
        set(ServiceBook, tech.field(18, 10) == u"A" ? u"1"_s : u"0"_s);
        const Condition condition = VehicleCondition(tech.field(13, 10), tech.field(25));
        set(ConditionCode, condition.code);
        set(ConditionText, condition.text);
        set(Currency, u"CZK"_s);

        varianta = intake.text(in.varianta).left(15);
        set(Capacity, intake.text(in.obsah).left(15));
        set(Payload, intake.text(in.nosnost).left(15));
    }

    if (const auto text = f.equipment.find(varianta == u"0", cisZak)) {
        const EquipmentLists lists = TranslateEquipment(*text);
        set(EquipmentKeys, lists.keys);
        set(EquipmentLabels, lists.labels);
        set(EquipmentOther, lists.other == u", " ? QString() : lists.other);
    }
    return r;
}

int Extraction::run(const TakenRecord &taken)
{
    const QString exe = m_settings.executableFolder;
    const QString dataRoot = ReadHostDataRoot(exe);
    // Without the route list every vehicle would look withdrawn, and the
    // import would delete them all with the dealer's marks and choices.
    const QString routeFile = exe + u"Route_Seznam_Zobraz.ddd"_s;
    const auto routeLines = TextFile::readLines(routeFile);
    if (!routeLines)
        throw ModuleError(u"Nelze přečíst seznam zobrazovaných databází \"%1\"; vozidla nebyla načtena a pracovní "
                          u"tabulka zůstává beze změny."_s.arg(routeFile));
    const QStringList &route = *routeLines;
    std::array<bool, 5> on{};
    int switchedOn = 0;
    for (int i = 0; i < 5; ++i) {
        on[size_t(i)] = TextFile::lineAt(route, i).left(15) == u"TRUE";
        switchedOn += on[size_t(i)] ? 1 : 0;
    }
    m_vatRate = ReadVatRate(dataRoot);
    m_reservationsHidden = WinPath::isFile(m_settings.hostRoot + u"WWW_Export\\Data\\Rezervovana_ne.ddd"_s);

    InterchangeWriter writer(ModuleFolders::path(ModuleFile::InterchangeFile, exe));

    // Kept from folder to folder, so that each reads its tables into the
    // memory the folder before used.
    HostTable overview(m_session);
    HostTable intake(m_session);
    EquipmentTables equipment(m_session);
    int told = -1;

    for (size_t b = 0; b < kBranches.size(); ++b) {
        if (!on[b])
            continue;
        const Branch &branch = kBranches[b];
        const QString alias = QString::fromUtf16(branch.alias);
        const QString prefix = switchedOn == 1 ? QString() : QString(branch.prefix);
        const QString dataFolder = dataRoot + QString::fromUtf16(branch.folder);

        overview.open(alias, u"Prehledy.DB"_s, kIndex);
        intake.open(alias, u"Prijeti.DB"_s, kIndex);
        equipment.switchTo(alias);
        const OverviewFields overviewFields(overview);
        const IntakeFields intakeFields(intake);
        const Folder folder{overview, overviewFields, intake, intakeFields, equipment, prefix, alias, dataFolder};

        for (overview.first(); !overview.eof(); overview.next()) {
            // The caption changes only when a vehicle was taken.
            if (m_settings.progress && writer.count() != told) {
                told = writer.count();
                m_settings.progress(ExtractionCaption(told));
            }
            if (!selected(folder))
                continue;
            const QByteArrayView record = writer.add(buildRecord(folder));
            if (taken)
                taken(record);
        }
    }
    writer.commit();
    return writer.count();
}

} // namespace

QString ExtractionCaption(int taken)
{
    return u"Exportní modul pro přenos inzerce na inzertní servery              Načítám vozidla: "_s
        + QString::number(taken);
}

QString ReadHostDataRoot(const QString &executableFolder)
{
    const auto lines = TextFile::readLines(executableFolder + u"Route.ddd"_s);
    return lines ? HostDataRootFrom(TextFile::lineAt(*lines, 0)) : QString();
}

int ReadVatRate(const QString &hostDataRoot)
{
    const auto lines = TextFile::readLines(hostDataRoot + u"Data\\INI\\parametry.ini"_s);
    if (!lines)
        return 19;
    bool inSection = false;
    for (const QString &raw : *lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            inSection = line.mid(1, line.size() - 2).trimmed().compare(u"DPH", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!inSection || eq < 0 || line.left(eq).trimmed().compare(u"DPHZaklSaz", Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.mid(eq + 1).trimmed();
        bool ok = false;
        const int rate = value.toInt(&ok);
        return ok ? rate : 19;
    }
    return 19;
}

int ExtractHostVehicles(const DatabaseSession &session, const ExtractionSettings &settings,
                        const TakenRecord &taken)
{
    return Extraction(session, settings).run(taken);
}

} // namespace korvex
