#include "platform/ModuleFolders.h"
#include "platform/WinPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

} // namespace

TEST(WinPath, FindsFilesWhoseNamesDifferInCase)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    touch(root + u"WWW_export/data/REZIM_PR.DDD"_s);

    const QString asked = root + u"WWW_Export\\Data\\Rezim_Pr.ddd"_s;
    EXPECT_EQ(WinPath::resolve(asked), root + u"WWW_export/data/REZIM_PR.DDD"_s);
    EXPECT_TRUE(WinPath::isFile(asked));
    EXPECT_TRUE(WinPath::isFolder(root + u"www_export\\DATA\\"_s));
    EXPECT_EQ(WinPath::resolve(root + u"www_export/DATA/"_s), root + u"WWW_export/data/"_s);
}

TEST(WinPath, ExactNamesWinAndSeveralMatchesTakeTheFirstInSortedOrder)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    touch(root + u"foto.jpg"_s);
    touch(root + u"FOTO.jpg"_s);
    touch(root + u"Foto.jpg"_s);
    EXPECT_EQ(WinPath::resolve(root + u"Foto.jpg"_s), root + u"Foto.jpg"_s);
    EXPECT_EQ(WinPath::resolve(root + u"fOTO.JPG"_s), root + u"FOTO.jpg"_s);
}

TEST(WinPath, CzechLettersMatchWithoutRegardToCase)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    touch(root + u"ŠKODA/Žlutá.txt"_s);
    EXPECT_TRUE(WinPath::isFile(root + u"škoda\\žLUTÁ.TXT"_s));
}

TEST(WinPath, AMissingComponentKeepsTheRestAsWritten)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    touch(root + u"Data/x.txt"_s);
    EXPECT_EQ(WinPath::resolve(root + u"DATA\\Nic\\Foto.JPG"_s), root + u"Data/Nic/Foto.JPG"_s);
    EXPECT_FALSE(WinPath::exists(root + u"DATA\\Nic\\Foto.JPG"_s));
}

TEST(WinPath, RelativePathsStartInTheCurrentFolder)
{
    QTemporaryDir dir;
    touch(dir.path() + u"/WWW_EXPORT/Pelanto_dod.ddd"_s);
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_TRUE(WinPath::isFile(u"WWW_Export\\pelanto_dod.ddd"_s));
    EXPECT_EQ(WinPath::resolve(u"WWW_Export\\pelanto_dod.ddd"_s), u"WWW_EXPORT/Pelanto_dod.ddd"_s);
    QDir::setCurrent(saved);
}

TEST(ModuleFolders, HostRootDropsAFinalPrgFolderOfAnyCase)
{
    EXPECT_EQ(ModuleFolders::hostRoot(u"/opt/Dealer/PRG/"_s), u"/opt/Dealer/"_s);
    EXPECT_EQ(ModuleFolders::hostRoot(u"/opt/Dealer/prg/"_s), u"/opt/Dealer/"_s);
    EXPECT_EQ(ModuleFolders::hostRoot(u"/opt/Dealer/Prg/"_s), u"/opt/Dealer/"_s);
    EXPECT_EQ(ModuleFolders::hostRoot(u"/opt/Tools/Export/"_s), QString());
    EXPECT_EQ(ModuleFolders::hostRoot(u"/opt/XPRG/"_s), u"/opt/X"_s);
    EXPECT_EQ(ModuleFolders::hostRoot(u"RG/"_s), QString());
}

TEST(ModuleFolders, SettingsFolderMovesBesideTheExecutableWithFotoBmp)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u"/PRG/"_s;
    QDir().mkpath(exe);
    const QString host = ModuleFolders::hostRoot(exe);
    EXPECT_EQ(ModuleFolders::settingsFolder(exe, host), host + u"WWW_Export\\Data\\Setting\\"_s);
    touch(exe + u"foto.BMP"_s);
    EXPECT_EQ(ModuleFolders::settingsFolder(exe, host), exe);
}

// A file the dealer's copy spells in other letters is the one read and
// written, and the files of a working folder are found however the folder
// was handed over.
TEST(ModuleFolders, OwnFilesAreFoundInTheirLetterCaseAndEndTheFolderWithASeparator)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u"/"_s;
    QDir().mkpath(exe + u"KORVEX_ZIP"_s);
    touch(exe + u"korvex.DDD"_s);
    touch(exe + u"KORVEX_ZIP/DATA.XML"_s);

    const QString working = ModuleFolders::workingFolder(exe);
    EXPECT_EQ(working, exe + u"KORVEX_ZIP/"_s);
    EXPECT_EQ(ModuleFolders::path(ModuleFile::SettingsFile, exe), exe + u"korvex.DDD"_s);
    EXPECT_EQ(ModuleFolders::path(ModuleFile::OfferList, working), exe + u"KORVEX_ZIP/DATA.XML"_s);
    EXPECT_EQ(ModuleFolders::path(ModuleFile::Archive, working), exe + u"KORVEX_ZIP/data.zip"_s);
    EXPECT_EQ(ModuleFolders::path(ModuleFile::Archive, working.chopped(1)), exe + u"KORVEX_ZIP/data.zip"_s);
    EXPECT_EQ(ModuleFolders::path(ModuleFile::SendLog, exe), exe + u"Korvex_log.txt"_s);

    // A folder yet to be made still ends in a separator.
    const QString fresh = dir.path() + u"/novy/"_s;
    EXPECT_EQ(ModuleFolders::workingFolder(fresh), fresh + u"Korvex_zip/"_s);
    // Without a folder the name is relative, not at the root.
    EXPECT_EQ(ModuleFolders::path(ModuleFile::InterchangeFile, QString()), u"ASCII_Nesta.TXT"_s);
}

TEST(WinPath, TheCachedResolverAgreesWithThePlainOne)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    touch(root + u"Data/FOTO/1_1_WEB.JPG"_s);
    touch(root + u"Data/FOTO/1_2_max.jpg"_s);
    touch(root + u"Data/FOTO/1_2_MAX.JPG"_s);
    touch(root + u"Data/FOTO/1_2_Max.jpg"_s);
    // Letters beyond ASCII, one of them outside the basic plane.
    touch(root + u"Data/FOTO/Čáp_\U00010400.jpg"_s);
    // Every letter case of "web" and of "max": the choice among them must not
    // depend on the order the folder lists them in.
    for (const QString &suffix : {u"web"_s, u"max"_s})
        for (int variant = 0; variant < 8; ++variant) {
            QString name = u"5_1_"_s + suffix + u".jpg"_s;
            for (int letter = 0; letter < 3; ++letter)
                if (variant & (1 << letter))
                    name[4 + letter] = name[4 + letter].toUpper();
            touch(root + u"Data/FOTO/"_s + name);
        }
    // Links count as what they point to.
    ASSERT_TRUE(QFile::link(root + u"Data/FOTO/1_1_WEB.JPG"_s, root + u"Data/FOTO/2_1_web.jpg"_s));
    ASSERT_TRUE(QFile::link(root + u"Data/FOTO"_s, root + u"Data/FOTO/3_1_web.jpg"_s));
    ASSERT_TRUE(QFile::link(root + u"Data/FOTO/nic.jpg"_s, root + u"Data/FOTO/4_1_web.jpg"_s));
    WinPath::CachedResolver cached;
    for (const QString &asked : {u"DATA\\foto\\1_1_web.jpg"_s, u"Data\\FOTO\\1_2_MAX.jpg"_s, u"Data\\FOTO\\1_2_max.JPG"_s,
                                 u"Data\\FOTO\\1_3_WEB.JPG"_s, u"data/nic/x.jpg"_s, u"Data\\FOTO\\2_1_WEB.JPG"_s,
                                 u"Data\\FOTO\\3_1_web.jpg"_s, u"Data\\FOTO\\4_1_web.jpg"_s}) {
        EXPECT_EQ(cached.resolve(root + asked), WinPath::resolve(root + asked)) << asked.toStdString();
        EXPECT_EQ(cached.isFile(root + asked), WinPath::isFile(root + asked)) << asked.toStdString();
    }
    EXPECT_EQ(cached.file(root + u"data\\foto\\1_2_mAX.jpg"_s), root + u"Data/FOTO/1_2_MAX.JPG"_s);
    EXPECT_EQ(cached.file(root + u"data\\foto\\2_1_WEB.jpg"_s), root + u"Data/FOTO/2_1_web.jpg"_s);
    EXPECT_EQ(cached.file(root + u"data\\foto\\5_1_Web.JPG"_s), root + u"Data/FOTO/5_1_WEB.jpg"_s);
    EXPECT_EQ(cached.file(root + u"data\\foto\\5_1_MAX.JPG"_s), root + u"Data/FOTO/5_1_MAX.jpg"_s);
    EXPECT_EQ(cached.file(root + u"data\\foto\\čÁP_\U00010428.JPG"_s), root + u"Data/FOTO/Čáp_\U00010400.jpg"_s);

    // Back and forth between many folders: each new listing is kept beside
    // the others, and the first stays right.
    for (int n = 0; n < 40; ++n) {
        touch(root + u"Dalsi/F%1/x.JPG"_s.arg(n));
        EXPECT_EQ(cached.file(root + u"dalsi\\f%1\\X.jpg"_s.arg(n)), root + u"Dalsi/F%1/x.JPG"_s.arg(n));
        EXPECT_EQ(cached.file(root + u"data\\foto\\1_1_web.jpg"_s), root + u"Data/FOTO/1_1_WEB.JPG"_s);
    }
}
