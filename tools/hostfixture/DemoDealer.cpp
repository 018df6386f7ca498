#include "HostFixture.h"

#include <QRandomGenerator>

namespace korvex::fixture {
namespace {

struct Model
{
    const char16_t *make;
    const char16_t *model;
    const char16_t *type;
    const char16_t *kind;
    const char16_t *body;
    const char16_t *power;
    const char16_t *capacity;
};

const Model kModels[] = {
    {u"Škoda", u"Octavia", u"1.9 TDI Ambiente", u"osobní", u"B", u"77", u"1896"},
    {u"Škoda", u"Fabia", u"1.2 HTP Classic", u"osobní", u"a", u"47", u"1198"},
    {u"Škoda", u"Superb", u"2.0 TDI Elegance", u"osobní", u"b", u"103", u"1968"},
    {u"Volkswagen", u"Golf", u"1.6 FSI Comfortline", u"osobní", u"a", u"85", u"1598"},
    {u"Volkswagen", u"Passat", u"1.9 TDI Trendline", u"osobní", u"B", u"77", u"1896"},
    {u"Volkswagen", u"Transporter", u"2.5 TDI", u"užitkový", u"G", u"96", u"2461"},
    {u"Ford", u"Focus", u"1.6 16V Ghia", u"osobní", u"a", u"74", u"1596"},
    {u"Ford", u"Mondeo", u"2.0 TDCi Trend", u"osobní", u"b", u"96", u"1998"},
    {u"Renault", u"Mégane", u"1.5 dCi Expression", u"osobní", u"a", u"63", u"1461"},
    {u"Peugeot", u"307", u"1.6 HDi XS", u"osobní", u"B", u"80", u"1560"},
    {u"Hyundai", u"Tucson", u"2.0 CRDi 4WD", u"terénní", u"d", u"83", u"1991"},
    {u"Toyota", u"Corolla", u"1.4 VVT-i Sol", u"osobní", u"b", u"71", u"1398"},
    {u"Opel", u"Astra", u"1.7 CDTI Enjoy", u"osobní", u"B", u"59", u"1686"},
    {u"Dacia", u"Logan", u"1.4 MPI Ambiance", u"osobní", u"b", u"55", u"1390"},
    {u"Avia", u"A 31", u"valník", u"nákladní", u"N", u"70", u"3596"},
    {u"Jawa", u"350", u"638", u"motocykl", u"3", u"17", u"344"},
};

const char16_t *const kColours[] = {u"stříbrná", u"černá", u"bílá", u"modrá", u"červená", u"šedá", u"zelená"};
const char16_t *const kFuels[] = {u"Benzin MIX", u"nafta", u"nafta", u"LPG", u"Benzin MIX"};
const char16_t *const kCountries[] = {u"CZ", u"CZ", u"CZ", u"D", u"A", u"SK", u"F", u"NL"};
const char16_t *const kEquipment[] = {
    u"rádio", u"CD přehrávač", u"centrální zamykání", u"centrál dálkový", u"alarm", u"imobilizér",
    u"el. okna", u"el. zrcátka", u"vyhřívaná zrcátka", u"tónovaná skla", u"střešní nosič",
    u"zadní stěrač", u"klimatizace", u"tempomat", u"tažné zařízení", u"posilovač řízení",
};
const char16_t *const kNotes[] = {
    u"Vůz v dobrém stavu, pravidelný servis.",
    u"Nové pneumatiky, po velké prohlídce.",
    u"Nehavarováno, garážováno.",
    u"Možnost odpočtu DPH.",
    u"",
};

template <typename T, size_t N>
const T &pick(const T (&items)[N], QRandomGenerator &rng)
{
    return items[rng.bounded(quint32(N))];
}

QString technicalData(const Model &m, QRandomGenerator &rng, bool withoutVat)
{
    QStringList f(27);
    f[1] = QString::fromUtf16(m.model);
    f[2] = QString::fromUtf16(m.type);
    f[4] = QString::fromUtf16(m.body);
    f[5] = m.kind == QStringView(u"motocykl") ? QString() : QStringLiteral("5");
    f[13] = rng.bounded(10) == 0 ? QStringLiteral("B") : QString();
    f[16] = rng.bounded(4) ? QStringLiteral("A") : QString();
    f[18] = rng.bounded(2) ? QStringLiteral("A") : QString();
    f[19] = QStringLiteral("R%1").arg(rng.bounded(100));
    if (rng.bounded(5) == 0) {
        f[11] = QString::number(20000 + 1000 * rng.bounded(30));
        f[20] = QString::number(2000 + 100 * rng.bounded(40));
        f[21] = QStringLiteral("48");
    }
    f[23] = withoutVat ? QStringLiteral("A") : QString();
    f[25] = rng.bounded(15) == 0 ? QStringLiteral("havarované") : QString();
    f[26] = QString::fromUtf16(pick(kCountries, rng));
    return f.join(u'*');
}

FixtureVehicle makeVehicle(int number, QRandomGenerator &rng)
{
    const Model &m = pick(kModels, rng);
    FixtureVehicle v;
    v.cisZak = QString::number(10000 + number);
    v.prodejCena = QString::number(29900 + 1000 * rng.bounded(400));
    v.vykon = QString::fromUtf16(m.power);
    QStringList marks(11);
    marks[10] = rng.bounded(20) == 0 ? QStringLiteral("*N*") : QString();
    v.rezPrehl5 = marks.join(u'#');

    const int photos = int(rng.bounded(7));
    for (int p = 1; p <= photos; ++p) {
        const quint32 roll = rng.bounded(10);
        v.photos.push_back({QStringLiteral("FOTO\\%1_%2.JPG").arg(v.cisZak).arg(p),
                            roll < 7 ? QStringLiteral("_WEB") : roll < 9 ? QStringLiteral("_MAX") : QString()});
    }

    FixtureIntake in;
    in.druh = QString::fromUtf16(m.kind);
    in.znacka = QString::fromUtf16(m.make);
    in.technicalData = technicalData(m, rng, rng.bounded(8) == 0);
    in.note = QString::fromUtf16(pick(kNotes, rng));
    in.barva = QString::fromUtf16(pick(kColours, rng));
    in.metaliza = rng.bounded(2) == 0;
    in.palivo = QString::fromUtf16(pick(kFuels, rng));
    in.stavTachom = QString::number(5000 + 1000 * rng.bounded(250));
    const int year = 1998 + int(rng.bounded(11));
    const int month = 1 + int(rng.bounded(12));
    if (rng.bounded(3))
        in.provozOd = QStringLiteral("%1.%2.%3").arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0')).arg(month, 2, 10, QLatin1Char('0')).arg(year);
    in.mesicVyroby = QString::number(month);
    in.rokVyroby = QString::number(year);
    in.pocetMajitelu = QString::number(1 + rng.bounded(3));
    in.stkDo = QStringLiteral("%1/%2").arg(1 + rng.bounded(12), 2, 10, QLatin1Char('0')).arg(2009 + rng.bounded(3));
    in.variantaTs = rng.bounded(3) ? QStringLiteral("0") : QStringLiteral("1");
    in.obsahMotoru = QString::fromUtf16(m.capacity);
    in.nosnost = in.druh == u"nákladní" ? QStringLiteral("1500") : QString();
    v.intake = in;

    QStringList items;
    for (int i = 0, n = int(rng.bounded(9)); i < n; ++i)
        items.append(QString::fromUtf16(pick(kEquipment, rng)));
    if (!items.isEmpty())
        v.equipment = items.join(QStringLiteral("; "));
    return v;
}

} // namespace

FixtureHost generatedDealer(int vehicles, int branches, unsigned seed)
{
    QRandomGenerator rng(seed);
    FixtureHost host;
    branches = std::clamp(branches, 1, 4);
    for (int b = 0; b < branches; ++b) {
        host.route[size_t(b)] = true;
        host.branches.push_back(FixtureBranch{b + 1, {}});
    }
    for (int i = 0; i < vehicles; ++i)
        host.branches[size_t(i % branches)].vehicles.push_back(makeVehicle(i + 1, rng));
    return host;
}

FixtureHost demoDealer()
{
    FixtureHost host = generatedDealer(40, 2, 2008);
    host.route[4] = true; // BAZAR_DEMO: counts as switched on, has nothing to read
    host.reservationsMarker = true;
    host.listIcons = true;
    host.proxy = {QString(), QStringLiteral("0"), QString(), QString(), QString(), QStringLiteral("0")};
    host.ftpMode = {QStringLiteral("PASIVE")};
    host.photoWidth = 640;
    host.photoHeight = 480;

    // Orders of every shape the module treats specially.
    auto &a = host.branches[0].vehicles;
    auto &b = host.branches[1].vehicles;
    for (auto &v : a)
        v.rezPrehl5.clear();
    for (auto &v : b)
        v.rezPrehl5.clear();
    a[1].stav = QStringLiteral("prodáno");
    a[2].rezJmeno = QStringLiteral("Novák Jan");                    // reserved: left out
    a[3].intake.reset();                                             // no intake record
    a[4].photos.clear();                                             // no photos
    a[5].rezPrehl5 = QStringLiteral("##########*N*#");              // not for export
    a[6].prodejCena = QStringLiteral("0");
    a[7].prodejCena.clear();
    a[8].equipment.reset();                                          // no equipment record
    a[9].intake->provozOd.clear();                                   // date from month and year
    a[10].intake->stkDo = QStringLiteral("__/____");
    a[11].intake->stkDo = QStringLiteral("_5/2010");
    a[12].intake->stkDo = QStringLiteral("05.2010");
    a[13].intake->note = QStringLiteral("Servisní knížka.\r\nNové brzdy a tlumiče.");
    for (auto &p : a[14].photos)
        p.variant = QStringLiteral("_MAX");
    QStringList fields = a[15].intake->technicalData.split(u'*');
    fields[23] = QStringLiteral("A");                                 // price without VAT
    a[15].intake->technicalData = fields.join(u'*');
    b[0].intake->technicalData = QStringLiteral("A*");                // technical data cut short
    b[1].intake->variantaTs = QStringLiteral("1");                    // equipment from TScheck.DB
    b[2].stav = QStringLiteral("Nabízeno");                           // a different state: left out
    return host;
}

} // namespace korvex::fixture
