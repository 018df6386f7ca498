// Every seed and every input that once found a fault, through the readers the
// fuzz targets drive: each is read or refused with an error naming what it
// could not read.
#include "FuzzTargets.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

struct Target
{
    const char *folder;
    std::function<QString(const QByteArray &)> read;
    QString named; // what an error text must name; empty: any text
};

void replay(const Target &target, int expectedAtLeast)
{
    int inputs = 0;
    for (const char *kind : {"corpus", "regressions"}) {
        const QDir dir(QStringLiteral(KORVEX_FUZZ_DATA) + u'/' + QString::fromLatin1(kind) + u'/'
                       + QString::fromLatin1(target.folder));
        for (const QFileInfo &file : dir.entryInfoList(QDir::Files)) {
            QFile f(file.absoluteFilePath());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QString error = target.read(f.readAll());
            if (!error.isEmpty() && !target.named.isEmpty()) {
                EXPECT_TRUE(error.contains(target.named)) << file.fileName().toStdString() << ": " << error.toStdString();
            }
            ++inputs;
        }
    }
    EXPECT_GE(inputs, expectedAtLeast) << target.folder;
}

} // namespace

TEST(FuzzRegression, HostTables) { replay({"paradox", fuzz::Paradox, u"fuzz.DB"_s}, 4); }
TEST(FuzzRegression, ZipDirectories) { replay({"zipdirectory", fuzz::ZipDirectory, {}}, 2); }
TEST(FuzzRegression, InterchangeFiles) { replay({"interchange", fuzz::Interchange, u"ASCII_Nesta.TXT"_s}, 3); }
TEST(FuzzRegression, ListingReplies) { replay({"listing", fuzz::ListingReply, {}}, 2); }
TEST(FuzzRegression, SettingsFiles) { replay({"settings", fuzz::SettingsFiles, {}}, 3); }

TEST(FuzzRegression, TheSeedWithEveryFieldTypeReadsWithoutError)
{
    QFile f(QStringLiteral(KORVEX_FUZZ_DATA "/corpus/paradox/Typy"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(fuzz::Paradox(f.readAll()), QString());
}

TEST(FuzzRegression, ReadersAcceptWhatTheModuleWrites)
{
    EXPECT_EQ(fuzz::SettingsFiles("1\r\n0\r\n150\r\nDEMO\r\nheslo\r\nftp\r\nx\r\ny\r\n\r\n"), QString());
    EXPECT_EQ(fuzz::ListingReply("<cars>\r\n\t<picture name=\"a_1_max.jpg\"/>\r\n</cars>\r\n"), QString());
    EXPECT_FALSE(fuzz::Interchange("jen jeden radek\r\n").isEmpty());
}
