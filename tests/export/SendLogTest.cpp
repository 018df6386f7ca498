// The send log: one Windows-1250 line per send, secrets never written.
#include "export/SendLog.h"
#include "platform/Win1250.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

TEST(SendLog, OneLinePerSendWithoutSecrets)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    SendLogEntry entry;
    entry.when = QDateTime(QDate(2026, 12, 9), QTime(14, 5, 31));
    entry.automatic = true;
    entry.offers = 36;
    entry.pictures = 87;
    entry.problems = 2;
    entry.archiveBytes = 730937;
    entry.outcome = u"odesláno, HTTP 200"_s;
    AppendSendLog(exe, entry, {u"tajné"_s});

    entry.automatic = false;
    entry.archiveBytes = -1;
    entry.problems = -1;
    entry.outcome = u"chyba: proxy tajné@host\r\nodmítla spojení"_s;
    AppendSendLog(exe, entry, {u"tajné"_s, QString()});

    QFile f(exe + u"Korvex_log.txt"_s);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes,
              Win1250::encode(u"09.12.2026 14:05:31;automaticky;nabídek 36;obrázků 87;problémů 2;archiv 730937 "
                              u"B;odesláno, HTTP 200\r\n"
                              u"09.12.2026 14:05:31;ručně;nabídek 36;obrázků 87;problémů -;archiv -;chyba: proxy "
                              u"***@host  odmítla spojení\r\n"_s));
}

TEST(SendLog, AnUnwritableLogIsLeftOut)
{
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    QDir().mkpath(exe + u"Korvex_log.txt"_s);
    SendLogEntry entry;
    entry.when = QDateTime::currentDateTime();
    AppendSendLog(exe, entry, {});
    EXPECT_TRUE(QFileInfo(exe + u"Korvex_log.txt"_s).isDir());
}
