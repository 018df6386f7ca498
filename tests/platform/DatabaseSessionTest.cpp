#include "platform/DatabaseSession.h"
#include "platform/ModuleError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

TEST(DatabaseSession, ReadsAliasesWithTheirPathFirst)
{
    const auto session = DatabaseSession::fromText(
        u"; host aliases\n[BAZAR]\nTYPE=STANDARD\nPATH=/srv/host/Data\n\n[bazar2]\nPATH = /srv/host/Data2/\n"_s);
    EXPECT_TRUE(session.isKnownAlias(u"BAZAR"_s));
    EXPECT_TRUE(session.isKnownAlias(u"Bazar2"_s));
    EXPECT_FALSE(session.isKnownAlias(u"BAZAR1"_s));
    EXPECT_EQ(session.aliasParams(u"BAZAR"_s), (QStringList{u"PATH=/srv/host/Data"_s, u"TYPE=STANDARD"_s}));
    EXPECT_EQ(session.aliasFolder(u"bazar"_s), u"/srv/host/Data/"_s);
    EXPECT_EQ(session.aliasFolder(u"BAZAR2"_s), u"/srv/host/Data2/"_s);
}

TEST(DatabaseSession, UnknownAliasNamesTheAlias)
{
    const auto session = DatabaseSession::fromText(u"[BAZAR1]\nPATH=/x\n"_s);
    try {
        session.aliasFolder(u"BAZAR4"_s);
        FAIL();
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(u"BAZAR4"_s));
    }
}

TEST(DatabaseSession, WorkingTablePathFollowsAliasBazarOrKeepsThePath)
{
    QString path = u"/opt/prg/"_s;
    WorkingTablePath(DatabaseSession::fromText(u"[BAZAR]\nPATH=/srv/data\n"_s), u"BAZAR"_s, path);
    EXPECT_EQ(path, u"/srv/data/"_s);

    path = u"/opt/prg/"_s;
    WorkingTablePath(DatabaseSession::fromText(u"[BAZAR1]\nPATH=/srv/data\n"_s), u"BAZAR"_s, path);
    EXPECT_EQ(path, u"/opt/prg/"_s);
}

TEST(DatabaseSession, LoadsFromTheEnvironmentOrBesideTheExecutable)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    QFile beside(exe + u"aliases.ini"_s);
    beside.open(QIODevice::WriteOnly);
    beside.write("[BAZAR]\nPATH=/beside\n");
    beside.close();
    QFile other(exe + u"other.ini"_s);
    other.open(QIODevice::WriteOnly);
    other.write("[BAZAR]\nPATH=/other\n");
    other.close();

    qunsetenv("KORVEX_DB_CONFIG");
    EXPECT_EQ(DatabaseSession::load(exe).aliasFolder(u"BAZAR"_s), u"/beside/"_s);
    qputenv("KORVEX_DB_CONFIG", QFile::encodeName(exe + u"other.ini"_s));
    EXPECT_EQ(DatabaseSession::load(exe).aliasFolder(u"BAZAR"_s), u"/other/"_s);
    qunsetenv("KORVEX_DB_CONFIG");
    EXPECT_FALSE(DatabaseSession::load(exe + u"none/"_s).isKnownAlias(u"BAZAR"_s));
}
