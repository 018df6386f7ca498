#include "platform/ModuleSettings.h"

#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"
#include "platform/Win1250.h"

using namespace Qt::StringLiterals;

namespace korvex {

// Scrambled with the key, the password's bytes stay clear of CR and LF, so
// line 8 always fits on one line.
const QString kDefaultFtpServer = u"ftp.korvex.cz"_s;
const QString kDefaultFtpUser = u"inzerce"_s;
const QString kDefaultFtpPassword = u"Tr4s9Kp"_s;
const QByteArray kScrambleKey = "574";

StoredSettings::StoredSettings()
    : ftpServer(kDefaultFtpServer)
    , ftpJmeno(kDefaultFtpUser)
    , ftpHeslo(kDefaultFtpPassword)
{
}

namespace {

// A decimal integer with an optional sign; blanks around it, as a hand-edited
// file has them, do not count.
std::optional<int> readInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

QByteArray ScrambleText(const QByteArray &text, const QByteArray &key, ScrambleDirection direction)
{
    unsigned shift = 0;
    for (const char k : key)
        shift += static_cast<unsigned char>(k);
    QByteArray out = text;
    for (char &c : out) {
        const unsigned b = static_cast<unsigned char>(c);
        c = static_cast<char>(direction == ScrambleDirection::Decode ? b + shift : b - shift);
    }
    return out;
}

void LoadFtpMode(ModuleSettings &settings, const QString &hostRoot)
{
    const auto lines = TextFile::readLines(hostRoot + u"WWW_Export\\Data\\Rezim_Pr.ddd"_s);
    if (!lines)
        return;
    const QString mode = TextFile::lineAt(*lines, 0);
    if (mode == u"ACTIVE")
        settings.ftpPassive = false;
    else if (mode == u"PASIVE")
        settings.ftpPassive = true;
}

void LoadHostProxy(ModuleSettings &settings, const QString &executableFolder)
{
    const QString file = executableFolder + u"Patrani.ddd"_s;
    const auto lines = TextFile::readLines(file);
    if (!lines)
        return;
    if (TextFile::lineAt(*lines, 1) == u"1") {
        const QString portText = TextFile::lineAt(*lines, 5);
        const auto port = readInteger(portText);
        if (!port)
            throw ModuleError(u"Soubor \"%1\": port proxy \"%2\" není celé číslo"_s.arg(file, portText));
        settings.proxy = ProxySettings{TextFile::lineAt(*lines, 2), TextFile::lineAt(*lines, 3),
                                       TextFile::lineAt(*lines, 4), *port};
        settings.labelProxy = u"PROXY: ZAPNUTO"_s;
    } else {
        settings.proxy = ProxySettings();
        settings.labelProxy = u"PROXY: VYPNUTO"_s;
    }
}

void LoadExtractionFlags(ModuleSettings &settings, const QString &folder)
{
    settings.onlyWithPhotos = false;
    settings.onlyWithPrice = false;
    const auto lines = TextFile::readLines(folder + u"Pelanto_dod.ddd"_s);
    if (!lines)
        return;
    settings.onlyWithPhotos = TextFile::lineAt(*lines, 0) == u"1";
    settings.onlyWithPrice = TextFile::lineAt(*lines, 1) == u"1";
}

void LoadModuleSettings(ModuleSettings &settings, const QString &executableFolder)
{
    const QString file = ModuleFolders::path(ModuleFile::SettingsFile, executableFolder);
    const auto lines = TextFile::readLines(file);
    StoredSettings &stored = settings.stored;
    if (!lines) {
        stored = StoredSettings();
        return;
    }
    auto line = [&](int n) { return TextFile::lineAt(*lines, n - 1); };
    stored.stahovatFoto = line(1) == u"1";
    stored.jenPrvniFoto = line(2) == u"1";
    stored.uzivJmeno = line(4);
    stored.uzivHeslo = line(5);
    stored.ftpServer = line(6);
    stored.ftpJmeno = line(7);
    stored.ftpHeslo = Win1250::decode(ScrambleText(Win1250::encode(line(8)), kScrambleKey, ScrambleDirection::Decode));
    stored.resultPageAddress = line(9);
    // The account lines are read before a bad number is reported: a save
    // after the error must not put the defaults over them. The number keeps
    // its default, so that such a save mends the line.
    const auto maxModulu = readInteger(line(3));
    if (!maxModulu) {
        stored.maxModulu = StoredSettings().maxModulu;
        throw ModuleError(u"Soubor \"%1\", řádek 3: '%2' is not a valid integer value"_s.arg(file, line(3)));
    }
    stored.maxModulu = line(3).trimmed();
}

void SaveModuleSettings(const ModuleSettings &settings, const QString &executableFolder)
{
    const StoredSettings &stored = settings.stored;
    const QString scrambled =
        Win1250::decode(ScrambleText(Win1250::encode(kDefaultFtpPassword), kScrambleKey, ScrambleDirection::Encode));
    TextFile::writeLinesAtomic(ModuleFolders::path(ModuleFile::SettingsFile, executableFolder),
                               {stored.stahovatFoto ? u"1"_s : u"0"_s,
                                stored.jenPrvniFoto ? u"1"_s : u"0"_s,
                                stored.maxModulu,
                                stored.uzivJmeno,
                                stored.uzivHeslo,
                                stored.ftpServer,
                                stored.ftpJmeno,
                                scrambled,
                                stored.resultPageAddress},
                               true);
}

} // namespace korvex
