#include "ErrorText.h"
#include "export/PortalPictureList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;
using korvex::test::errorOf;

TEST(PortalPictureList, TakesTheNameBetweenExactlyTwoQuotes)
{
    EXPECT_EQ(PortalPictureNames({u"<picture name=\"Abc_1_WEB.jpg\">"_s}), QStringList{u"abc_1_web.jpg"_s});
    EXPECT_EQ(PortalPictureNames({u"<picture name=\"a.jpg\" size=\"12\">"_s}), QStringList());
    EXPECT_EQ(PortalPictureNames({u"\t<PICTURE NAME=\"x\ty_1_web.jpg\">"_s}), QStringList{u"xy_1_web.jpg"_s});
    EXPECT_EQ(PortalPictureNames({u"<cars user=\"DEMO\">"_s, u"no pictures here"_s}), QStringList());
    EXPECT_EQ(PortalPictureNames({u"picture name=\"Čtvrtá_1_web.jpg\""_s}), QStringList{u"čtvrtá_1_web.jpg"_s});
}

TEST(PortalPictureList, RewritesTheListFromTheSavedReply)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    QFile reply(exe + u"Korvex_Foto.txt"_s);
    reply.open(QIODevice::WriteOnly);
    reply.write("<html>\r\n<picture name=\"A_1_WEB.JPG\">\r\n<picture name=\"b_2_web.jpg\">\n</html>");
    reply.close();
    BuildPortalPictureList(exe);
    QFile list(exe + u"Obr_FTP_List.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("a_1_web.jpg\r\nb_2_web.jpg\r\n"));
    list.close();

    // Without a reply the list stays as it was, but is not used: the send
    // stops naming the file.
    QFile::remove(exe + u"Korvex_Foto.txt"_s);
    EXPECT_TRUE(errorOf([&] { BuildPortalPictureList(exe); }).contains(u"Korvex_Foto.txt"_s));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QByteArray("a_1_web.jpg\r\nb_2_web.jpg\r\n"));
}

TEST(PortalPictureList, AListThatCannotBeRewrittenStopsTheSend)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    QFile reply(exe + u"Korvex_Foto.txt"_s);
    ASSERT_TRUE(reply.open(QIODevice::WriteOnly));
    reply.write("<picture name=\"a_1_web.jpg\">\r\n");
    reply.close();
    // The list's place is taken by a folder.
    QDir().mkpath(exe + u"Obr_FTP_List.txt"_s);
    const QString error = errorOf([&] { BuildPortalPictureList(exe); });
    EXPECT_TRUE(error.startsWith(u"Soubor \""_s + exe + u"Obr_FTP_List.txt\" nelze zapsat: "_s)) << error.toStdString();
}
