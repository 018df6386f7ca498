#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

QString writeRaw(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("f.ddd"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

QByteArray readRaw(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(TextFileRead, AcceptsCrLfAndLfAndAMissingFinalBreak)
{
    QTemporaryDir dir;
    EXPECT_EQ(*TextFile::readLines(writeRaw(dir, "a\r\nb\nc")), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(*TextFile::readLines(writeRaw(dir, "a\r\n\r\nb\r\n")), (QStringList{u"a"_s, QString(), u"b"_s}));
    EXPECT_EQ(*TextFile::readLines(writeRaw(dir, "")), QStringList());
    // A lone CR is part of the value.
    EXPECT_EQ(*TextFile::readLines(writeRaw(dir, "a\rb\r\n")), (QStringList{QStringLiteral("a\rb")}));
}

TEST(TextFileRead, DecodesWindows1250AndReportsAMissingFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(TextFile::readLines(writeRaw(dir, "\x9Akoda\r\n"))->value(0), QStringLiteral("škoda"));
    EXPECT_FALSE(TextFile::readLines(dir.filePath(QStringLiteral("missing.ddd"))).has_value());
}

TEST(TextFileRead, MissingLinesReadAsEmpty)
{
    const QStringList lines{QStringLiteral("1")};
    EXPECT_EQ(TextFile::lineAt(lines, 0), QStringLiteral("1"));
    EXPECT_EQ(TextFile::lineAt(lines, 5), QString());
    EXPECT_EQ(TextFile::lineAt(lines, -1), QString());
}

TEST(TextFileWrite, WritesWindows1250WithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    TextFile::writeLines(path, {QStringLiteral("Žluťoučký"), QString(), QStringLiteral("x")});
    EXPECT_EQ(readRaw(path), QByteArray("\x8Elu\x9Dou\xE8k\xFD\r\n\r\nx\r\n"));
    TextFile::writeLines(path, {QStringLiteral("y")});
    EXPECT_EQ(readRaw(path), QByteArray("y\r\n"));
}

TEST(TextFileWrite, AtomicWriteReplacesTheFileAndCanBeOwnerOnly)
{
    QTemporaryDir dir;
    const QString path = writeRaw(dir, "old\r\n");
    TextFile::writeLinesAtomic(path, {QStringLiteral("new")}, true);
    EXPECT_EQ(readRaw(path), QByteArray("new\r\n"));
    EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteOther), 0);
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOwner);
}

TEST(TextFileWrite, AFailedWriteNamesTheFileAndKeepsTheOldOne)
{
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("no/such/folder/Korvex.ddd"));
    try {
        TextFile::writeLinesAtomic(blocked, {QStringLiteral("x")});
        FAIL() << "expected an error";
    } catch (const ModuleError &e) {
        EXPECT_TRUE(e.text().contains(blocked)) << e.what();
    }
    EXPECT_THROW(TextFile::writeLines(blocked, {}), ModuleError);

    // A folder in the way of the file: the rename fails, the folder stays.
    const QString path = dir.filePath(QStringLiteral("taken"));
    QDir(dir.path()).mkdir(QStringLiteral("taken"));
    QFile(path + QStringLiteral("/keep")).open(QIODevice::WriteOnly);
    EXPECT_THROW(TextFile::writeLinesAtomic(path, {QStringLiteral("x")}), ModuleError);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral("/keep")));
}

// The dealer reads why in Czech; the system's text stays for the support.
TEST(TextFileWrite, TheReasonIsCzechWithTheSystemsText)
{
    QTemporaryDir dir;
    const QString blocked = dir.filePath(QStringLiteral("chybi/Obr_FTP_List.txt"));
    try {
        TextFile::writeLines(blocked, {QStringLiteral("x")});
        FAIL() << "expected an error";
    } catch (const ModuleError &e) {
        EXPECT_EQ(e.text(), u"Soubor \""_s + blocked
                      + u"\" nelze zapsat: soubor nebo složka neexistuje (No such file or directory)"_s);
    }
    EXPECT_EQ(FileErrorText(u"No space left on device"_s), u"na disku není dost místa (No space left on device)"_s);
    EXPECT_EQ(FileErrorText(u"Permission denied"_s), u"přístup byl odepřen (Permission denied)"_s);
    // A text without a Czech sentence is shown as it is, not lost.
    EXPECT_EQ(FileErrorText(u"Stale file handle"_s), u"Stale file handle"_s);
}
