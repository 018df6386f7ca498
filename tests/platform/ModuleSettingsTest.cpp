#include "platform/ModuleError.h"
#include "platform/ModuleSettings.h"
#include "platform/TextFile.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class SettingsFiles : public ::testing::Test
{
protected:
    QString exe() const { return dir.path() + u'/'; }
    void write(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(exe() + relative).path());
        QFile f(exe() + relative);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray read(const QString &relative) const
    {
        QFile f(exe() + relative);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    QTemporaryDir dir;
    ModuleSettings settings;
};

QByteArray encodedDefaultPassword()
{
    return ScrambleText(Win1250::encode(kDefaultFtpPassword), kScrambleKey, ScrambleDirection::Encode);
}

} // namespace

TEST(ScrambleText, DecodeUndoesEncodeAndEveryByteMovesAlike)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (const QByteArray &key : {QByteArray("574"), QByteArray("\xFF\x01"), QByteArray("k"), QByteArray()}) {
        const QByteArray encoded = ScrambleText(all, key, ScrambleDirection::Encode);
        EXPECT_EQ(ScrambleText(encoded, key, ScrambleDirection::Decode), all);
        unsigned sum = 0;
        for (const char k : key)
            sum += static_cast<unsigned char>(k);
        for (int b = 0; b < 256; ++b)
            EXPECT_EQ(static_cast<unsigned char>(encoded[b]), (b - sum) & 0xFF);
    }
    EXPECT_EQ(ScrambleText(QByteArray(), "574", ScrambleDirection::Encode), QByteArray());
}

TEST(ScrambleText, TheStoredDefaultsHaveTheirForm)
{
    EXPECT_EQ(kDefaultFtpUser.size(), 7);
    EXPECT_EQ(kDefaultFtpUser, kDefaultFtpUser.toLower());
    EXPECT_EQ(kDefaultFtpPassword.size(), 7);
    const QByteArray stored = encodedDefaultPassword();
    EXPECT_FALSE(stored.contains('\r'));
    EXPECT_FALSE(stored.contains('\n'));
}

TEST_F(SettingsFiles, AMissingFileGivesTheDefaultsAndTheirSave)
{
    settings.stored.uzivJmeno = u"jiný"_s;
    LoadModuleSettings(settings, exe());
    EXPECT_EQ(settings.stored.uzivJmeno, u"DEMO"_s);
    EXPECT_EQ(settings.stored.uzivHeslo, u"nezadáno"_s);
    EXPECT_TRUE(settings.stored.stahovatFoto);
    EXPECT_FALSE(settings.stored.jenPrvniFoto);

    SaveModuleSettings(settings, exe());
    const QByteArray expected = "1\r\n0\r\n150\r\nDEMO\r\nnezad\xE1no\r\n" + Win1250::encode(kDefaultFtpServer) + "\r\n"
        + Win1250::encode(kDefaultFtpUser) + "\r\n" + encodedDefaultPassword() + "\r\n\r\n";
    EXPECT_EQ(read(u"Korvex.ddd"_s), expected);
    EXPECT_EQ(QFile::permissions(exe() + u"Korvex.ddd"_s) & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(SettingsFiles, SaveAndLoadRoundTrip)
{
    settings.stored.stahovatFoto = false;
    settings.stored.jenPrvniFoto = true;
    settings.stored.maxModulu = u"200"_s;
    settings.stored.uzivJmeno = u"autobazar"_s;
    settings.stored.uzivHeslo = u"Heslo&#% ž"_s;
    settings.stored.resultPageAddress = u"http://example.invalid/vysledek"_s;
    SaveModuleSettings(settings, exe());
    ModuleSettings loaded;
    LoadModuleSettings(loaded, exe());
    EXPECT_FALSE(loaded.stored.stahovatFoto);
    EXPECT_TRUE(loaded.stored.jenPrvniFoto);
    EXPECT_EQ(loaded.stored.maxModulu, u"200"_s);
    EXPECT_EQ(loaded.stored.uzivJmeno, u"autobazar"_s);
    EXPECT_EQ(loaded.stored.uzivHeslo, u"Heslo&#% ž"_s);
    EXPECT_EQ(loaded.stored.ftpHeslo, kDefaultFtpPassword);
    EXPECT_EQ(loaded.stored.resultPageAddress, u"http://example.invalid/vysledek"_s);
}

TEST_F(SettingsFiles, AnotherStoredFtpPasswordLoadsButTheDefaultIsSaved)
{
    const QByteArray other = ScrambleText("jine123", kScrambleKey, ScrambleDirection::Encode);
    write(u"Korvex.ddd"_s, "1\r\n0\r\n100\r\nu\r\np\r\nftp.x\r\nuser\r\n" + other + "\r\n\r\n");
    LoadModuleSettings(settings, exe());
    EXPECT_EQ(settings.stored.ftpHeslo, u"jine123"_s);
    SaveModuleSettings(settings, exe());
    EXPECT_TRUE(read(u"Korvex.ddd"_s).contains("\r\n" + encodedDefaultPassword() + "\r\n"));
}

TEST_F(SettingsFiles, ABadThirdLineIsReportedButTheAccountSurvivesTheNextSave)
{
    for (const QByteArray &third : {QByteArray("abc"), QByteArray(""), QByteArray("1.5"), QByteArray("5 0")}) {
        write(u"Korvex.ddd"_s, "0\r\n1\r\n" + third + "\r\nuzivatel\r\nheslo\r\nftp.x\r\nucet\r\n\r\nhttp://x\r\n");
        ModuleSettings s;
        try {
            LoadModuleSettings(s, exe());
            FAIL() << third.constData();
        } catch (const ModuleError &e) {
            EXPECT_TRUE(e.text().contains(exe() + u"Korvex.ddd"_s)) << e.what();
            EXPECT_TRUE(e.text().endsWith(u"'%1' is not a valid integer value"_s.arg(QString::fromLatin1(third))))
                << e.what();
        }
        EXPECT_FALSE(s.stored.stahovatFoto);
        EXPECT_TRUE(s.stored.jenPrvniFoto);
        EXPECT_EQ(s.stored.uzivJmeno, u"uzivatel"_s);
        EXPECT_EQ(s.stored.uzivHeslo, u"heslo"_s);
        EXPECT_EQ(s.stored.ftpServer, u"ftp.x"_s);
        EXPECT_EQ(s.stored.resultPageAddress, u"http://x"_s);

        // The save after the error keeps the account and mends the number.
        SaveModuleSettings(s, exe());
        const QList<QByteArray> lines = read(u"Korvex.ddd"_s).split('\n');
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines[2], "150\r");
        EXPECT_EQ(lines[3], "uzivatel\r");
        EXPECT_EQ(lines[4], "heslo\r");
        LoadModuleSettings(s, exe());
    }
    write(u"Korvex.ddd"_s, "1\r\n0\r\n 50 \r\nu\r\n");
    LoadModuleSettings(settings, exe());
    EXPECT_EQ(settings.stored.maxModulu, u"50"_s);
    EXPECT_EQ(settings.stored.uzivJmeno, u"u"_s);
    write(u"Korvex.ddd"_s, "1\r\n0\r\n150\r\n");
    LoadModuleSettings(settings, exe());
    EXPECT_EQ(settings.stored.uzivJmeno, QString());
}

TEST_F(SettingsFiles, AFailedSaveNamesTheFileAndKeepsTheOldOne)
{
    SaveModuleSettings(settings, exe());
    const QByteArray before = read(u"Korvex.ddd"_s);
    const QString missing = exe() + u"chybi/"_s;
    try {
        SaveModuleSettings(settings, missing);
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"Korvex.ddd"_s));
        EXPECT_FALSE(e.text().contains(settings.stored.uzivHeslo));
    }
    EXPECT_EQ(read(u"Korvex.ddd"_s), before);
}

TEST_F(SettingsFiles, FtpModeAcceptsOnlyTheTwoExactWords)
{
    LoadFtpMode(settings, exe());
    EXPECT_TRUE(settings.ftpPassive);
    write(u"WWW_Export/Data/Rezim_Pr.ddd"_s, "ACTIVE\r\n");
    LoadFtpMode(settings, exe());
    EXPECT_FALSE(settings.ftpPassive);
    for (const QByteArray &other : {QByteArray("active"), QByteArray("PASSIVE"), QByteArray("")}) {
        write(u"WWW_Export/Data/Rezim_Pr.ddd"_s, other);
        LoadFtpMode(settings, exe());
        EXPECT_FALSE(settings.ftpPassive) << other.constData();
    }
    QDir(exe() + u"WWW_Export"_s).removeRecursively();
    write(u"www_export/DATA/rezim_pr.ddd"_s, "PASIVE\r\n");
    LoadFtpMode(settings, exe());
    EXPECT_TRUE(settings.ftpPassive);
}

TEST_F(SettingsFiles, ExtractionFlagsAreClearedThenRead)
{
    settings.onlyWithPhotos = settings.onlyWithPrice = true;
    LoadExtractionFlags(settings, exe());
    EXPECT_FALSE(settings.onlyWithPhotos);
    EXPECT_FALSE(settings.onlyWithPrice);
    write(u"Pelanto_dod.ddd"_s, "1");
    LoadExtractionFlags(settings, exe());
    EXPECT_TRUE(settings.onlyWithPhotos);
    EXPECT_FALSE(settings.onlyWithPrice);
    write(u"Pelanto_dod.ddd"_s, "0\r\n1\r\n1\r\n");
    LoadExtractionFlags(settings, exe());
    EXPECT_FALSE(settings.onlyWithPhotos);
    EXPECT_TRUE(settings.onlyWithPrice);
}

TEST_F(SettingsFiles, HostProxy)
{
    LoadHostProxy(settings, exe());
    EXPECT_EQ(settings.labelProxy, u"PROXY: VYPNUTO"_s);

    write(u"Patrani.ddd"_s, "x\r\n1\r\n\r\nuser\r\ntajne\r\n8080\r\n");
    LoadHostProxy(settings, exe());
    EXPECT_EQ(settings.labelProxy, u"PROXY: ZAPNUTO"_s);
    EXPECT_EQ(settings.proxy.host, QString());
    EXPECT_EQ(settings.proxy.user, u"user"_s);
    EXPECT_EQ(settings.proxy.password, u"tajne"_s);
    EXPECT_EQ(settings.proxy.port, 8080);

    write(u"Patrani.ddd"_s, "x\r\n0\r\nproxy\r\nuser\r\ntajne\r\n8080\r\n");
    LoadHostProxy(settings, exe());
    EXPECT_EQ(settings.labelProxy, u"PROXY: VYPNUTO"_s);
    EXPECT_EQ(settings.proxy.host, QString());
    EXPECT_EQ(settings.proxy.port, 0);

    write(u"Patrani.ddd"_s, "x\r\n1\r\nproxy\r\nuser\r\ntajne\r\n 3128 \r\n");
    LoadHostProxy(settings, exe());
    EXPECT_EQ(settings.proxy.port, 3128);

    write(u"Patrani.ddd"_s, "x\r\n1\r\nproxy\r\nuser\r\ntajne\r\nosmdesát\r\n");
    try {
        LoadHostProxy(settings, exe());
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"Patrani.ddd"_s));
        EXPECT_FALSE(e.text().contains(u"tajne"_s));
    }
}
