#include "Controls.h"
#include "Files.h"
#include "widgets/TZip.h"
#include "widgets/ZipException.h"
#include "widgets/ZipProgressDialog.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;
using korvex::test::writeFile;
using namespace Qt::StringLiterals;

namespace {

class TZipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = dir.path() + u"/Korvex_zip/"_s;
        QDir().mkpath(folder);
        archive = folder + u"data.zip"_s;
        zip.preconditionMessage = [this](const QString &text) { messages.append(text); };
    }

    QString errorOf(const QString &path)
    {
        try {
            zip.OpenArchive(path);
        } catch (const ZipException &e) {
            return e.text();
        }
        return QString();
    }

    QTemporaryDir dir;
    QString folder;
    QString archive;
    TZip zip;
    QStringList messages;
};

} // namespace

TEST_F(TZipTest, OpeningAMissingFileCreatesTheEmptyArchive)
{
    QSignalSpy changed(&zip, &TZip::ContentsChanged);
    zip.OpenArchive(archive);
    EXPECT_EQ(readFile(archive), QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    EXPECT_TRUE(zip.files().empty());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(errorOf(dir.path() + u"/chybi/data.zip"_s), u"Unable to create \n\""_s + dir.path() + u"/chybi/data.zip\""_s);
}

TEST_F(TZipTest, GarbageAndTruncatedArchivesAreRefused)
{
    writeFile(archive, "Toto není archiv.");
    EXPECT_EQ(errorOf(archive), u"\""_s + archive + u"\"\nis not a valid Zip file."_s);

    writeFile(folder + u"a.txt"_s, "a");
    QFile::remove(archive);
    zip.packFolder(archive, folder);
    QByteArray cut = readFile(archive);
    cut.remove(cut.size() - 22 - 40, 30);
    writeFile(archive, cut);
    EXPECT_EQ(errorOf(archive), u"Error reading CentralFileHeader."_s);
    EXPECT_TRUE(zip.files().empty());
}

TEST_F(TZipTest, AddFilesPacksTheSourceFolderAndClearsItsSettings)
{
    writeFile(folder + u"Data.xml"_s, "<offer-list/>");
    writeFile(folder + u"1_1_web.jpg"_s, QByteArray(5000, 'j'));
    zip.setShowProgressDialog(false);
    zip.OpenArchive(archive);
    QSignalSpy begun(&zip, &TZip::ZEDBeginFileEvent);
    QSignalSpy ended(&zip, &TZip::ZEDEndBatchEvent);
    zip.setSourceFolder(folder);
    zip.filePatterns().append(u"*.*"_s);
    EXPECT_EQ(zip.AddFiles(), 2);
    ASSERT_EQ(zip.files().size(), 2u);
    EXPECT_EQ(zip.files()[0].name, u"1_1_web.jpg"_s);
    EXPECT_EQ(zip.files()[1].name, u"Data.xml"_s);
    EXPECT_EQ(begun.count(), 2);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended[0][1].toInt(), 2);
    EXPECT_TRUE(zip.sourceFolder().isEmpty());
    EXPECT_TRUE(zip.filePatterns().isEmpty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TZipTest, PreconditionsShowTheirMessagesAndPackNothing)
{
    EXPECT_EQ(zip.AddFiles(), 0);
    zip.OpenArchive(archive);
    EXPECT_EQ(zip.AddFiles(), 0);
    EXPECT_EQ(messages, (QStringList{u"A Zip file must be openned or created before\nAdding, Deleting or Extracting files."_s,
                                     u"No files have been selected."_s}));
}

TEST_F(TZipTest, CancelInTheDialogRestoresTheArchive)
{
    writeFile(folder + u"a.jpg"_s, "a");
    zip.packFolder(archive, folder);
    const QByteArray before = readFile(archive);
    for (int i = 0; i < 4; ++i)
        writeFile(folder + u"f%1.jpg"_s.arg(i), QByteArray(100000, char('a' + i)));

    QObject::connect(&zip, &TZip::ZEDBeginFileEvent, [this](const QString &, qint64, int, qint64) {
        test::Control<QPushButton>(zip.progressDialog(), "CancelButton")->click();
    });
    zip.setSourceFolder(folder);
    zip.filePatterns().append(u"*.*"_s);
    EXPECT_EQ(zip.AddFiles(), 0);
    EXPECT_TRUE(zip.lastRunCancelled());
    EXPECT_EQ(readFile(archive), before);
    EXPECT_FALSE(zip.progressDialog()->isVisible());
}
