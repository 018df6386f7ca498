#include "Files.h"
#include "platform/ModuleError.h"
#include "platform/ZipDirectory.h"
#include "platform/ZipPacker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <zip.h>
#include <zlib.h>

#include <gtest/gtest.h>

using namespace korvex;
using korvex::test::readFile;
using korvex::test::writeFile;
using namespace Qt::StringLiterals;

namespace {

QByteArray sample(int n)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((i * 31 + i / 7) % 251));
    return b;
}

qsizetype deflatedSize(const QByteArray &input)
{
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(input.size()))), '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
    z.avail_in = uInt(input.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    deflateEnd(&z);
    return qsizetype(z.total_out);
}

QString errorOf(const QByteArray &bytes)
{
    try {
        ZipDirectory::read(bytes, u"/x/data.zip"_s);
    } catch (const ModuleError &e) {
        return e.text();
    }
    return QString();
}

} // namespace

TEST(ZipPacker, PacksEveryMatchingFileUnderItsBareNameAtLevel9)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString archive = folder + u"/data.zip"_s;
    writeFile(archive, ZipDirectory::emptyArchive());
    writeFile(folder + u"/Data.xml"_s, "<offer-list/>");
    writeFile(folder + u"/12345_1_web.jpg"_s, sample(300000));
    writeFile(folder + u"/bez_tecky"_s, "x");
    QDir().mkpath(folder + u"/podslozka"_s);

    std::vector<int> actions;
    ZipProgress progress;
    progress.batchCount = [&](int n) { actions.push_back(5); EXPECT_EQ(n, 3); };
    progress.batchStart = [&](std::int64_t) { actions.push_back(6); };
    progress.fileBegin = [&](const QString &, std::int64_t) { actions.push_back(1); };
    progress.bytesDone = [&](std::int64_t) { actions.push_back(2); };
    progress.fileDone = [&](int) { actions.push_back(11); };
    progress.batchEnd = [&] { actions.push_back(3); };
    EXPECT_EQ(PackFolder(archive, folder + u'/', {u"*.*"_s}, progress), 3);
    EXPECT_EQ(actions, (std::vector<int>{5, 6, 1, 2, 11, 1, 2, 11, 1, 2, 11, 3}));

    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    ASSERT_NE(zip, nullptr) << error;
    ASSERT_EQ(zip_get_num_entries(zip, 0), 3);
    QStringList names;
    for (zip_int64_t i = 0; i < 3; ++i) {
        zip_stat_t st;
        zip_stat_index(zip, zip_uint64_t(i), 0, &st);
        names.append(QString::fromUtf8(st.name));
        EXPECT_EQ(st.comp_method, ZIP_CM_DEFLATE);
        EXPECT_EQ(st.encryption_method, ZIP_EM_NONE);
        const QByteArray original = readFile(folder + u'/' + names.last());
        EXPECT_EQ(qsizetype(st.comp_size), deflatedSize(original)) << st.name;
        QByteArray content(qsizetype(st.size), '\0');
        zip_file_t *f = zip_fopen_index(zip, zip_uint64_t(i), 0);
        EXPECT_EQ(zip_fread(f, content.data(), st.size), zip_int64_t(st.size));
        zip_fclose(f);
        EXPECT_EQ(content, original);
    }
    zip_close(zip);
    EXPECT_EQ(names, (QStringList{u"12345_1_web.jpg"_s, u"Data.xml"_s, u"bez_tecky"_s}));

    const ZipDirectory read = ZipDirectory::read(readFile(archive), archive);
    ASSERT_EQ(read.entries.size(), 3u);
    EXPECT_FALSE(read.oemNames);
}

TEST(ZipPacker, ACancelledRunLeavesTheArchiveAsItWas)
{
    QTemporaryDir dir;
    const QString archive = dir.path() + u"/data.zip"_s;
    writeFile(archive, ZipDirectory::emptyArchive());
    for (int i = 0; i < 5; ++i)
        writeFile(dir.path() + u"/f%1.jpg"_s.arg(i), sample(10000));
    int files = 0;
    ZipProgress progress;
    progress.fileDone = [&](int) { ++files; };
    progress.cancelled = [&] { return files >= 2; };
    EXPECT_EQ(PackFolder(archive, dir.path(), {u"*.*"_s}, progress), 0);
    EXPECT_EQ(readFile(archive), ZipDirectory::emptyArchive());
    EXPECT_FALSE(QFile::exists(archive + u".part"_s));
}

TEST(ZipPacker, WildcardsMatchTheWindowsWay)
{
    EXPECT_TRUE(MatchesWildcard(u"bez_tecky"_s, u"*.*"_s));
    EXPECT_TRUE(MatchesWildcard(u"A_1_WEB.JPG"_s, u"*.jpg"_s));
    EXPECT_FALSE(MatchesWildcard(u"Data.xml"_s, u"*.jpg"_s));
}

TEST(ZipDirectory, EmptyGarbageAndTruncatedArchives)
{
    EXPECT_TRUE(ZipDirectory::read(ZipDirectory::emptyArchive(), u"a.zip"_s).entries.empty());
    EXPECT_EQ(errorOf(QByteArray("not a zip at all, just text")), u"\"/x/data.zip\"\nis not a valid Zip file."_s);
    EXPECT_EQ(errorOf(QByteArray()), u"\"/x/data.zip\"\nis not a valid Zip file."_s);

    QTemporaryDir dir;
    writeFile(dir.path() + u"/a.txt"_s, "obsah");
    const QString archive = dir.path() + u"/data.zip"_s;
    PackFolder(archive, dir.path(), {u"*.*"_s});
    const QByteArray whole = readFile(archive);
    // An end record whose directory lies outside the file.
    QByteArray cut = whole;
    cut.remove(cut.size() - 22 - 60, 40);
    EXPECT_EQ(errorOf(cut), u"Error reading CentralFileHeader."_s);
    // A comment after the end record moves it; it is still found.
    QByteArray commented = whole;
    commented[commented.size() - 2] = 5;
    commented.append("ahoj!");
    const ZipDirectory d = ZipDirectory::read(commented, archive);
    EXPECT_EQ(d.comment, u"ahoj!"_s);
    ASSERT_EQ(d.entries.size(), 1u);
    EXPECT_EQ(d.entries[0].name, u"a.txt"_s);
}
