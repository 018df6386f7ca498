#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace korvex::fixture {

// A photo line of the host's "Fotky" memo, and which file of it exists.
struct FixturePhoto
{
    QString line;       // relative to the data folder, e.g. "FOTO\12345_1.JPG"
    QString variant;    // "_WEB", "_MAX", or empty when no file exists
};

// The intake record of a vehicle ("Prijeti.DB").
struct FixtureIntake
{
    QString druh = QStringLiteral("osobní");
    QString znacka;
    QString technicalData;  // VYKUP_REZERVA1, values separated by "*"
    QString note;           // VYKUP_REZERVA2
    QString barva;
    std::optional<bool> metaliza;
    QString palivo;
    QString stavTachom;
    QString provozOd;       // dd.mm.yyyy
    QString mesicVyroby;
    QString rokVyroby;
    QString pocetMajitelu;
    QString stkDo;          // mm/yyyy
    QString variantaTs = QStringLiteral("0");
    QString obsahMotoru;
    QString nosnost;
};

// One order of the host: its overview record, intake and equipment.
struct FixtureVehicle
{
    QString cisZak;
    QString stav = QStringLiteral("nabízeno");
    QString rezJmeno;
    QString rezPrehl5;
    QString prodejCena;     // as text; written as a number when it reads as one
    QString vykon;
    std::vector<FixturePhoto> photos;
    std::optional<FixtureIntake> intake;
    std::optional<QString> equipment;   // VYBAVA of TSvyb or TScheck
};

struct FixtureBranch
{
    int number = 1;         // 1 to 4: "Data\", "Data2\", ...
    std::vector<FixtureVehicle> vehicles;
};

// A complete host installation.
struct FixtureHost
{
    std::array<bool, 5> route{true, false, false, false, false};
    std::optional<int> vatRate = 21;
    bool reservationsMarker = false;    // WWW_Export\Data\Rezervovana_ne.ddd
    enum class PriceField { Number, Currency, Alpha };
    PriceField priceField = PriceField::Number; // type of Prodej_Cena
    bool provozOdAsDate = false;        // PROVOZ_OD as a date field, else alpha
    bool numericMileage = false;        // STAV_TACHOM as a number field, else alpha
    // "Prehledy.DB" and "Prijeti.DB" as a dealer's tables are: keyed by an
    // autoincrement ID, with a secondary index on CIS_ZAK and further
    // columns of every other field type that the module does not read.
    bool engineTables = false;
    QStringList ftpMode;                // Rezim_Pr.ddd lines; empty: no file
    QStringList extractionFlags;        // Pelanto_dod.ddd lines; empty: no file
    QStringList proxy;                  // Patrani.ddd lines; empty: no file
    int photoWidth = 320;
    int photoHeight = 240;
    bool emptyPhotoFiles = false;       // photo files of 0 bytes instead of JPEGs
    bool listIcons = false;             // "Foto.bmp" and "Data_Off_LIne\No_Foto.bmp"
    std::vector<FixtureBranch> branches;
};

// Where the written installation keeps its parts (native paths, each
// folder with a trailing '/').
struct HostLayout
{
    QString root;
    QString programFolder;  // PRG/, where the module's executable goes
    QString aliasFile;      // PRG/aliases.ini
    QString dataFolder(int number) const;
};

// Writes the installation under root (created when missing): PRG/ with the
// route files, aliases.ini and Patrani.ddd; the data folders with
// "Prehledy.DB", "Prijeti.DB", "TSvyb.DB", "TScheck.DB" and the photo files;
// Data/INI/parametry.ini; the WWW_Export marker files.
HostLayout writeHost(const QString &root, const FixtureHost &host);

// A realistic dealer: about 40 vehicles over two branches.
FixtureHost demoDealer();

// A dealer of any size for tests and benchmarks; deterministic per seed.
FixtureHost generatedDealer(int vehicles, int branches, unsigned seed = 1);

} // namespace korvex::fixture
