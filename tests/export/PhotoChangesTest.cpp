#include "ErrorText.h"
#include "SafeSendFixture.h"

#include "export/ChangedPhotos.h"
#include "export/EmptyWorkingFolder.h"
#include "export/GuardSettings.h"
#include "export/OfferDigest.h"
#include "export/OfferList.h"
#include "export/SendPreview.h"
#include "export/SendPreviewReport.h"
#include "platform/ZipDirectory.h"

#include <QDateTime>
#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

using PhotoSendTest = test::SafeSendTest;

QStringList archiveNames(const QByteArray &archive)
{
    QStringList names;
    for (const auto &e : ZipDirectory::read(archive, u"data.zip"_s).entries)
        names.append(e.name);
    return names;
}

// Rewrites the photo with other content and moves its time on, as a photo
// program saving a retaken picture does.
void retake(const QString &path, char fill, int secondsLater = 60)
{
    test::writeFile(path, test::FixturePhoto(fill));
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime().addSecs(secondsLater), QFileDevice::FileModificationTime);
}

// The modification time of the archive's first entry, from its local header.
QDateTime firstEntryTime(const QByteArray &archive)
{
    auto word = [&archive](int at) { return int(quint8(archive[at])) | int(quint8(archive[at + 1])) << 8; };
    const int time = word(10), date = word(12);
    return QDateTime(QDate(1980 + (date >> 9), (date >> 5) & 15, date & 31),
                     QTime(time >> 11, (time >> 5) & 63, (time & 31) * 2));
}

nlink_t linkCount(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_nlink : 0;
}

// A folder whose names cannot be removed, not even by root, while it lives.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(const QString &path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY))
    {
        int flags = 0;
        if (m_fd < 0 || ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) != 0)
            return;
        flags |= FS_IMMUTABLE_FL;
        m_set = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ~ImmutableFolder()
    {
        int flags = 0;
        if (m_set && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ImmutableFolder(const ImmutableFolder &) = delete;
    ImmutableFolder &operator=(const ImmutableFolder &) = delete;
    bool isSet() const { return m_set; }

private:
    int m_fd;
    bool m_set = false;
};

} // namespace

TEST_F(PhotoSendTest, ARetakenPhotoIsSentAgainOnceThenNot)
{
    context.automaticMode = true;
    const QString photo1 = dir.path() + u"/Data/FOTO/1_1_WEB.JPG"_s;
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")),
              (QStringList{u"1_1_web.jpg"_s, u"3_1_web.jpg"_s, u"Data.xml"_s}));
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), QStringList{u"Data.xml"_s});

    retake(photo1, 'x');
    const SendPreview preview = PreviewSend(query, exe, false);
    EXPECT_EQ(preview.changedPictures, QStringList{u"1_1_web.jpg"_s});
    EXPECT_TRUE(PreviewText(preview).contains(u"  1_1_web.jpg  2000 B  změněná\n"_s))
        << PreviewText(preview).toStdString();
    EXPECT_TRUE(PreviewJson(preview).contains("\"reason\": \"změněná\""));

    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), (QStringList{u"1_1_web.jpg"_s, u"Data.xml"_s}));
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), QStringList{u"Data.xml"_s});

    // Switched off, a retaken photo stays as the portal has it.
    GuardSettings off;
    off.resendChangedPhotos = false;
    SaveGuardSettings(off, exe);
    retake(dir.path() + u"/Data/FOTO/3_1_WEB.JPG"_s, 'y');
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), QStringList{u"Data.xml"_s});
    EXPECT_TRUE(PreviewSend(query, exe, false).changedPictures.isEmpty());
}

TEST_F(PhotoSendTest, APictureTheHistoryDoesNotKnowIsTakenAsSent)
{
    // The portal holds the pictures from before the history existed.
    stub.addPictures("autobazar", {u"1_1_web.jpg"_s, u"3_1_web.jpg"_s});
    context.automaticMode = true;
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), QStringList{u"Data.xml"_s});
    // Their digests are recorded now, so a later retake is seen.
    EXPECT_EQ(SendHistory(history, SendHistory::Mode::Read).photoFiles().size(), 2);
    retake(dir.path() + u"/Data/FOTO/3_1_WEB.JPG"_s, 'z');
    Send(context);
    EXPECT_EQ(archiveNames(stub.archive("autobazar")), (QStringList{u"3_1_web.jpg"_s, u"Data.xml"_s}));
}

TEST(ChangedPhotos, ATouchedButUnchangedPhotoIsDigestedOnce)
{
    QTemporaryDir dir;
    const QString photo = dir.path() + u"/a_1_web.jpg"_s;
    const QString history = dir.path() + u"/Korvex_historie.db"_s;
    test::writeFile(photo, "photo");
    {
        ChangedPhotos first({});
        SendRecord send;
        send.when = QDateTime::currentDateTime();
        send.photoFiles = first.filesToRecord({{u"a_1_web.jpg"_s, photo}}, {});
        SendHistory(history, SendHistory::Mode::Write).record(send);
    }
    // The same content saved again: only the time moves.
    test::writeFile(photo, "photo");
    {
        QFile file(photo);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addSecs(120), QFileDevice::FileModificationTime);
    }

    ChangedPhotos second(SendHistory(history, SendHistory::Mode::Read).photoFiles());
    EXPECT_FALSE(second.changed(u"a_1_web.jpg"_s, photo));
    EXPECT_FALSE(second.changed(u"a_1_web.jpg"_s, photo));
    EXPECT_EQ(second.digestsComputed(), 1);
    SendRecord send;
    send.when = QDateTime::currentDateTime();
    send.photoFiles = second.filesToRecord({{u"a_1_web.jpg"_s, photo}}, {});
    ASSERT_EQ(send.photoFiles.size(), 1); // the new time, with the same digest
    SendHistory(history, SendHistory::Mode::Write).record(send);

    ChangedPhotos third(SendHistory(history, SendHistory::Mode::Read).photoFiles());
    EXPECT_FALSE(third.changed(u"a_1_web.jpg"_s, photo));
    EXPECT_EQ(third.digestsComputed(), 0);
    EXPECT_TRUE(third.filesToRecord({{u"a_1_web.jpg"_s, photo}}, {}).isEmpty());

    // A missing photo and an unknown name are never "changed".
    EXPECT_FALSE(third.changed(u"a_1_web.jpg"_s, dir.path() + u"/chybi.jpg"_s));
    EXPECT_FALSE(third.changed(u"b_1_web.jpg"_s, photo));
}

class StagingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exe = test::WriteSendInstallation(query, dir.path());
        working = exe + u"Korvex_zip"_s;
        photo1 = dir.path() + u"/Data/FOTO/1_1_WEB.JPG"_s;
    }

    OfferListResult write(const QString &folder, bool link = true)
    {
        OfferListSettings settings{exe, folder, false};
        settings.linkPhotos = link;
        return WriteOfferList(query, settings);
    }

    QTemporaryDir dir;
    Dataset query{NestaTableDef()};
    QString exe, working, photo1;
};

TEST_F(StagingTest, ALinkedPictureLeavesTheArchiveAndTheOriginalIntact)
{
    const QByteArray original = test::readFile(photo1);
    write(working);
    ASSERT_EQ(linkCount(photo1), 2u) << "staged as a hard link";
    EXPECT_EQ(test::readFile(working + u"/1_1_web.jpg"_s), original);
    test::PlainPacker().packFolder(working + u"/data.zip"_s, working);
    const QByteArray archive = test::readFile(working + u"/data.zip"_s);

    // The photo program saves over the original in place, then the next
    // send empties the working folder.
    test::writeFile(photo1, "retaken");
    EXPECT_EQ(test::readFile(working + u"/data.zip"_s), archive);
    EmptyWorkingFolder(working);
    EXPECT_EQ(test::readFile(photo1), QByteArray("retaken"));
    EXPECT_EQ(linkCount(photo1), 1u);

    // Linked or copied, the offer list and the staged bytes are the same.
    const OfferListResult linked = write(working);
    QTemporaryDir copied;
    const OfferListResult copy = write(copied.path(), false);
    EXPECT_EQ(linked.document, copy.document);
    EXPECT_EQ(linked.copiedPictures, copy.copiedPictures);
    for (const QString &name : copy.copiedPictures)
        EXPECT_EQ(test::readFile(copied.path() + u'/' + name), test::readFile(working + u'/' + name))
            << name.toStdString();
    EXPECT_EQ(linkCount(copied.path() + u"/1_1_web.jpg"_s), 1u);
}

// A copy is archived with the time it was made; a link, whose times are the
// original's, with the same, and the original keeps its own.
TEST_F(StagingTest, ALinkedPictureIsArchivedWithTheTimeOfStaging)
{
    const QDateTime taken(QDate(2001, 5, 4), QTime(10, 20, 30));
    {
        QFile file(photo1);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
    }
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    for (const bool link : {false, true}) {
        QTemporaryDir folder;
        write(folder.path(), link);
        ASSERT_EQ(linkCount(photo1), link ? 2u : 1u);
        test::PlainPacker().packFolder(folder.path() + u"/data.zip"_s, folder.path());
        const QDateTime entry = firstEntryTime(test::readFile(folder.path() + u"/data.zip"_s));
        EXPECT_GE(entry, before) << link;
        EXPECT_LE(entry, QDateTime::currentDateTime().addSecs(2)) << link;
    }
    EXPECT_EQ(QFileInfo(photo1).lastModified(), taken);
}

TEST_F(StagingTest, AcrossFileSystemsThePictureIsCopied)
{
    struct stat photos, shm;
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(photo1).constData(), &photos) != 0
        || shm.st_dev == photos.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    QTemporaryDir other(u"/dev/shm/korvex-XXXXXX"_s);
    ASSERT_TRUE(other.isValid());
    const OfferListResult written = write(other.path());
    EXPECT_EQ(written.copiedPictures, (QStringList{u"1_1_web.jpg"_s, u"3_1_web.jpg"_s}));
    EXPECT_EQ(test::readFile(other.path() + u"/1_1_web.jpg"_s), test::readFile(photo1));
    EXPECT_EQ(linkCount(photo1), 1u);
}

// A staged name left over from before may still share another photo's data:
// staging over it must replace it, never write into that photo.
TEST_F(StagingTest, ALeftoverLinkIsNeverWrittenThrough)
{
    const QString unrelated = dir.path() + u"/jina.jpg"_s;
    test::writeFile(unrelated, "someone else's photo");
    for (const bool link : {false, true}) {
        QFile::remove(working + u"/1_1_web.jpg"_s);
        ASSERT_EQ(::link(QFile::encodeName(unrelated).constData(),
                         QFile::encodeName(working + u"/1_1_web.jpg"_s).constData()),
                  0);
        write(working, link);
        EXPECT_EQ(test::readFile(unrelated), QByteArray("someone else's photo")) << link;
        EXPECT_EQ(test::readFile(working + u"/1_1_web.jpg"_s), test::readFile(photo1)) << link;
    }

    // A leftover link that cannot be removed stops the staging instead.
    QFile::remove(working + u"/1_1_web.jpg"_s);
    ::link(QFile::encodeName(unrelated).constData(), QFile::encodeName(working + u"/1_1_web.jpg"_s).constData());
    QString error;
    {
        const ImmutableFolder locked(working);
        if (!locked.isSet())
            GTEST_SKIP() << "the working folder cannot be locked here";
        error = test::errorOf([this] { write(working, false); });
    }
    EXPECT_EQ(test::readFile(unrelated), QByteArray("someone else's photo"));
    EXPECT_TRUE(error.startsWith(u"Soubor \""_s + working + u"/1_1_web.jpg\" nelze nahradit: "_s))
        << error.toStdString();
}

// The header check of a large stock rests on what the history recorded, but
// only while the file is as it was then.
TEST(ChangedPhotos, AHeaderVerdictHoldsWhileTheFileDoes)
{
    QTemporaryDir dir;
    const QString photo = dir.path() + u"/a_1_web.jpg"_s;
    const QString history = dir.path() + u"/Korvex_historie.db"_s;
    test::writeFile(photo, "no picture");
    SendRecord send;
    send.when = QDateTime::currentDateTime();
    send.photoFiles = ChangedPhotos({}).filesToRecord({{u"a_1_web.jpg"_s, photo}}, {});
    SendHistory(history, SendHistory::Mode::Write).record(send);

    ChangedPhotos known(SendHistory(history, SendHistory::Mode::Read).photoFiles());
    EXPECT_EQ(known.knownJpeg(u"a_1_web.jpg"_s, photo), std::optional<bool>(false));
    EXPECT_EQ(known.knownJpeg(u"b_1_web.jpg"_s, photo), std::nullopt);

    retake(photo, 'j');
    ChangedPhotos after(SendHistory(history, SendHistory::Mode::Read).photoFiles());
    EXPECT_EQ(after.knownJpeg(u"a_1_web.jpg"_s, photo), std::nullopt);
}

TEST(ChangedPhotos, APhotoGoneBeforeTheRecordIsLeftForLater)
{
    QTemporaryDir dir;
    const QString kept = dir.path() + u"/a_1_web.jpg"_s;
    const QString gone = dir.path() + u"/b_1_web.jpg"_s;
    test::writeFile(kept, "a");
    test::writeFile(gone, "b");
    ChangedPhotos changes({});
    ASSERT_TRUE(changes.isFile(gone)); // seen while the offers were written
    QFile::remove(gone);
    QList<SentPhotoFile> files;
    EXPECT_NO_THROW(files = changes.filesToRecord({{u"a_1_web.jpg"_s, kept}, {u"b_1_web.jpg"_s, gone}},
                                                  {{u"a_1_web.jpg"_s, 1, OfferDigest("a")}}));
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].name, u"a_1_web.jpg"_s);
}
