#include "platform/Win1250.h"

#include <gtest/gtest.h>

using namespace korvex;

TEST(Win1250, EveryByteSurvivesTheRoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Win1250::decode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(Win1250::encode(text), all);
    EXPECT_TRUE(Win1250::canEncode(text));
}

TEST(Win1250, CzechLettersHaveTheirCodePageBytes)
{
    const QString czech = QStringLiteral("ěščřžýáíéúůťďňĚŠČŘŽÝÁÍÉÚŮŤĎŇ");
    const QByteArray bytes = Win1250::encode(czech);
    EXPECT_EQ(bytes, QByteArray("\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xFA\xF9\x9D\xEF\xF2"
                                "\xCC\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xDA\xD9\x8D\xCF\xD2"));
    EXPECT_EQ(Win1250::decode(bytes), czech);
}

TEST(Win1250, UndefinedBytesMapToTheirC1Controls)
{
    for (const unsigned char b : {0x81, 0x83, 0x88, 0x90, 0x98}) {
        const QString decoded = Win1250::decode(QByteArray(1, char(b)));
        EXPECT_EQ(decoded.at(0).unicode(), b);
    }
    EXPECT_EQ(Win1250::decode(QByteArray("\x80")), QStringLiteral("€"));
}

TEST(Win1250, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    const QString text = QStringLiteral("a\u00C5\u4E2Db"); // Å and a CJK character
    EXPECT_FALSE(Win1250::canEncode(text));
    EXPECT_EQ(Win1250::encode(text), QByteArray("a??b"));

    // Around the last letter of the code page below U+0300 (U+02DD).
    QByteArray out("x");
    EXPECT_TRUE(Win1250::appendEncoded(out, u"\u02DD\u02D9"));
    EXPECT_FALSE(Win1250::appendEncoded(out, u"\u02DE\u02E0\u20AC"));
    EXPECT_EQ(out, QByteArray("x\xBD\xFF??\x80"));
}
