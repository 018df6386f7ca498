#include "HostExtraction.h"

#include "CodeTables.h"
#include "DatabaseSession.h"
#include "EquipmentVocabulary.h"
#include "HostRules.h"
#include "HostTable.h"
#include "InterchangeFile.h"
#include "PriceArithmetic.h"
#include "TextFile.h"
#include "WinPath.h"

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

// Line numbers of the interchange record, counted from 1.
enum Line {
    VehicleNumber = 1, Alias, Category, Make, Model, Type, ColourXml, Colour, CountryXml, Country,
    FuelXml, Fuel, MileageUnit, Mileage, MadeYmd, MadeDisplay, FirstOwner, ServiceBook, Lpg, Metallic,
    InspectionYmd, InspectionDisplay, ConditionCode, ConditionText, Price, Currency, Note, EquipmentKeys,
    EquipmentLabels, EquipmentOther, Photos, Power, Capacity, Payload, Body, Doors, Reserve, WithoutVat,
    DownPayment, Instalment, Instalments, NotDamaged,
};

// The equipment tables of one data folder, opened on first use and kept
// open for the folder, so that a look-up never reads a table again.
class EquipmentTables
{
public:
    EquipmentTables(const DatabaseSession &session, const QString &alias)
        : m_alias(alias)
        , m_vyb(session)
        , m_check(session)
    {
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

class Extraction
{
public:
    Extraction(const DatabaseSession &session, const ExtractionSettings &settings)
        : m_session(session)
        , m_settings(settings)
    {
    }

    int run();

private:
    bool selected(const HostTable &overview, int fotky) const;
    void buildRecord(const HostTable &overview, HostTable &intake, EquipmentTables &equipment,
                     const QString &prefix, const QString &alias, const QString &dataFolder, int fotky);
    QString photoList(const QString &dataFolder, const QString &fotky);

    const DatabaseSession &m_session;
    const ExtractionSettings &m_settings;
    WinPath::CachedResolver m_files;
    InterchangeWriter m_writer;
    int m_vatRate = 19;
    bool m_reservationsHidden = false;
};

bool Extraction::selected(const HostTable &overview, int fotky) const
{
    if (overview.text(u"STAV_ZAKAZKY") != u"nabízeno")
        return false;
    if (m_reservationsHidden && !overview.text(u"REZ_JMENO").isEmpty())
        return false;
    if (ReadExportMark(overview.text(u"REZ_PREHL5")) == u"*N*")
        return false;
    if (m_settings.onlyWithPrice) {
        const QString price = overview.text(u"Prodej_Cena").left(15);
        if (price.isEmpty() || price == u"0")
            return false;
    }
    if (m_settings.onlyWithPhotos && HostLines(overview.text(fotky)).isEmpty())
        return false;
    return true;
}

QString Extraction::photoList(const QString &dataFolder, const QString &fotky)
{
    QString list;
    for (const QString &line : HostLines(fotky)) {
        const QString path = dataFolder + line;
        const QString base = path.left(path.size() - 4);
        const qsizetype dot = path.lastIndexOf(u'.');
        const QString ext = dot < 0 ? QString() : path.mid(dot);
        for (const QString &variant : {u"_WEB"_s, u"_MAX"_s}) {
            const QString candidate = base + variant + ext;
            if (m_files.isFile(candidate)) {
                list += m_files.resolve(candidate) + u',';
                break;
            }
        }
    }
    return list;
}

void Extraction::buildRecord(const HostTable &overview, HostTable &intake, EquipmentTables &equipment,
                             const QString &prefix, const QString &alias, const QString &dataFolder, int fotky)
{
    InterchangeRecord r;
    auto set = [&r](Line line, const QString &value) { r[size_t(line - 1)] = value; };

    const QString cisZak = overview.text(u"CIS_ZAK").left(15);
    const QString price = overview.text(u"Prodej_Cena").left(15);
    set(VehicleNumber, prefix + cisZak);
    set(Alias, alias);
    set(Price, price);
    set(Power, overview.text(u"VYKON").left(15));
    set(Photos, photoList(dataFolder, overview.text(fotky)));

    QString varianta;
    if (intake.findKey(cisZak)) {
        set(Category, CategoryCode(intake.text(u"DRUH_VOZIDLA")));
        set(Make, intake.text(u"ZNACKA_VOZIDLA"));
        QString note = intake.text(u"VYKUP_REZERVA2");

        const TechnicalData tech(intake.text(u"VYKUP_REZERVA1"));
        set(Body, BodyStyle(tech.field(4, 10)));
        set(Model, tech.field(1));
        set(Type, tech.field(2));
        set(Country, tech.field(26, 10));
        set(Doors, tech.field(5, 10));
        set(Reserve, tech.field(19, 10));
        set(WithoutVat, tech.field(23, 5));
        set(DownPayment, tech.field(11));
        set(Instalment, tech.field(20));
        set(Instalments, tech.field(21));
        set(NotDamaged, tech.field(16));

        const QString colour = intake.text(u"BARVA_VOZIDLA");
        set(ColourXml, colour);
        set(Colour, colour);
        set(CountryXml, CountryCode(tech.field(26, 10)));
        set(Metallic, intake.boolean(u"METALIZA") ? u"1"_s : u"0"_s);

        const QString fuel = intake.text(u"PALIVO").left(15);
        set(Fuel, fuel);
        set(FuelXml, FuelCode(fuel));
        set(Lpg, fuel == u"LPG" ? u"1"_s : u"0"_s);
        set(MileageUnit, u"km"_s);

        const QString mileage = intake.text(u"STAV_TACHOM").left(15);
        set(Mileage, ReadsAsWholeNumber(mileage) ? mileage : QString());

        if (tech.field(23, 5) == u"A") {
            const PriceSplit split = SplitGrossPrice(price, m_vatRate);
            set(Price, WholePartOf(split.netText));
            note = u"CENA BEZ DPH, "_s + note;
        }
        set(Note, note);

        const DatePair made = ManufactureDate(intake.text(u"PROVOZ_OD"), intake.text(u"MESIC_VYROBY"),
                                              intake.text(u"ROK_VYROBY"));
        set(MadeYmd, made.ymd);
        set(MadeDisplay, made.display);
        const DatePair inspection = InspectionDate(intake.text(u"STK_DO"));
        set(InspectionYmd, inspection.ymd);
        set(InspectionDisplay, inspection.display);

        set(FirstOwner, intake.text(u"POCET_MAJITELU").left(15) == u"1" ? u"1"_s : u"0"_s);
        set(ServiceBook, tech.field(18, 10) == u"A" ? u"1"_s : u"0"_s);
        const Condition condition = VehicleCondition(tech.field(13, 10), tech.field(25));
        set(ConditionCode, condition.code);
        set(ConditionText, condition.text);
        set(Currency, u"CZK"_s);

        varianta = intake.text(u"VARIANTA_TS").left(15);
        set(Capacity, intake.text(u"OBSAH_MOTORU").left(15));
        set(Payload, intake.text(u"NOSNOST").left(15));
    }

    if (const auto text = equipment.find(varianta == u"0", cisZak)) {
        const EquipmentLists lists = TranslateEquipment(*text);
        set(EquipmentKeys, lists.keys);
        set(EquipmentLabels, lists.labels);
        set(EquipmentOther, lists.other == u", " ? QString() : lists.other);
    }
    m_writer.add(r);
}

int Extraction::run()
{
    const QString exe = m_settings.executableFolder;
    const QString dataRoot = ReadHostDataRoot(exe);
    const auto route = TextFile::readLines(exe + u"Route_Seznam_Zobraz.ddd"_s).value_or(QStringList());
    std::array<bool, 5> on{};
    int switchedOn = 0;
    for (int i = 0; i < 5; ++i) {
        on[size_t(i)] = TextFile::lineAt(route, i).left(15) == u"TRUE";
        switchedOn += on[size_t(i)] ? 1 : 0;
    }
    m_vatRate = ReadVatRate(dataRoot);
    m_reservationsHidden = WinPath::isFile(m_settings.hostRoot + u"WWW_Export\\Data\\Rezervovana_ne.ddd"_s);

    int taken = 0;
    for (size_t b = 0; b < kBranches.size(); ++b) {
        if (!on[b])
            continue;
        const Branch &branch = kBranches[b];
        const QString alias = QString::fromUtf16(branch.alias);
        const QString prefix = switchedOn == 1 ? QString() : QString(branch.prefix);
        const QString dataFolder = dataRoot + QString::fromUtf16(branch.folder);

        HostTable overview(m_session);
        HostTable intake(m_session);
        overview.open(alias, u"Prehledy.DB"_s, kIndex);
        intake.open(alias, u"Prijeti.DB"_s, kIndex);
        EquipmentTables equipment(m_session, alias);
        const int fotky = overview.requireField(u"Fotky");

        for (overview.first(); !overview.eof(); overview.next()) {
            if (m_settings.progress)
                m_settings.progress(ExtractionCaption(taken));
            if (!selected(overview, fotky))
                continue;
            ++taken;
            buildRecord(overview, intake, equipment, prefix, alias, dataFolder, fotky);
        }
    }
    m_writer.write(exe + u"ASCII_Nesta.TXT"_s);
    return taken;
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

int ExtractHostVehicles(const DatabaseSession &session, const ExtractionSettings &settings)
{
    return Extraction(session, settings).run();
}

} // namespace korvex
