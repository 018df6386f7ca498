#include "SafeSendFixture.h"

#include "export/SendPreview.h"
#include "export/SendPreviewReport.h"
#include "platform/TextFile.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Every file under the folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, test::readFile(path));
    }
    return files;
}

class PreviewTest : public test::SafeSendTest
{
protected:
    void SetUp() override
    {
        SafeSendTest::SetUp();
        // Vehicle 1's picture is on the portal but is to be sent again.
        query.first();
        query.edit();
        query.setValue(u"REZERVA4", u"1"_s);
        query.post();
        TextFile::writeLines(exe + u"Obr_FTP_List.txt"_s, {u"1_1_web.jpg"_s});
        stub.addPictures("autobazar", {u"1_1_web.jpg"_s});
        test::writeFile(exe + u"Korvex_Foto.txt"_s, "old listing");
        test::writeFile(exe + u"Korvex_zip/data.zip"_s, "previous archive");
        test::writeFile(exe + u"Korvex_zip/stary.jpg"_s, "previous picture");

        SendRecord last;
        last.when = QDateTime(QDate(2026, 12, 1), QTime(10, 0));
        last.offers = {{u"1"_s, u"Škoda"_s, u"x"_s}, {u"2"_s, u"Škoda"_s, u"y"_s}, {u"9"_s, u"Tatra"_s, u"z"_s}};
        SendHistory(history, SendHistory::Mode::Write).record(last);
    }

    QStringList numbers(const QList<SentOffer> &offers)
    {
        QStringList out;
        for (const SentOffer &o : offers)
            out.append(o.cj + u' ' + o.make);
        return out;
    }
};

} // namespace

TEST_F(PreviewTest, ShowsTheSendAgainstTheLastOneAndChangesNothing)
{
    query.setRecNo(1);
    const auto before = snapshot(dir.path());
    // A view that follows the cursor (the list's flag boxes write what they
    // show) must see no other record than the one it stood on.
    QList<int> shown;
    QObject view;
    QObject::connect(&query, &Dataset::afterScroll, &view, [&] { shown.append(query.recNo()); });
    const SendPreview preview = PreviewSend(query, exe, false);

    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_EQ(query.recNo(), 1);
    EXPECT_EQ(shown, QList<int>{1});
    query.first();
    EXPECT_EQ(query.text(u"REZERVA4"), u"1"_s);
    EXPECT_TRUE(stub.requests().isEmpty());

    EXPECT_EQ(preview.offers.size(), 2);
    EXPECT_EQ(numbers(preview.changes.added), QStringList{u"3 Škoda"_s});
    EXPECT_EQ(numbers(preview.changes.changed), QStringList{u"1 Škoda"_s});
    EXPECT_EQ(numbers(preview.changes.withdrawn), (QStringList{u"2 Škoda"_s, u"9 Tatra"_s}));
    ASSERT_EQ(preview.pictures.size(), 2);
    EXPECT_EQ(preview.pictures[0].name, u"1_1_web.jpg"_s);
    EXPECT_EQ(preview.pictures[1].size, 2000);
    EXPECT_FALSE(preview.guard.stop); // two of three, under five vehicles

    // The send that follows packs the same archive the preview measured.
    dialogs.queueAnswer(false);
    Send(context);
    EXPECT_EQ(QFileInfo(exe + u"Korvex_zip/data.zip"_s).size(), preview.archiveBytes);
}

TEST_F(PreviewTest, TheJsonFormReadsBackAndHoldsNoPassword)
{
    const SendPreview preview = PreviewSend(query, exe, false);
    const QByteArray json = PreviewJson(preview);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(json, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();

    EXPECT_EQ(root[u"offers"_s].toInt(), 2);
    EXPECT_EQ(root[u"archive_bytes"_s].toInteger(), preview.archiveBytes);
    EXPECT_GT(preview.archiveBytes, 0);
    EXPECT_EQ(root[u"new"_s].toArray()[0].toObject()[u"cj"_s].toString(), u"3"_s);
    EXPECT_EQ(root[u"changed"_s].toArray().size(), 1);
    const QJsonArray withdrawn = root[u"withdrawn"_s].toArray();
    ASSERT_EQ(withdrawn.size(), 2);
    EXPECT_EQ(withdrawn[1].toObject()[u"make"_s].toString(), u"Tatra"_s);
    const QJsonArray pictures = root[u"pictures"_s].toArray();
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_EQ(pictures[1].toObject()[u"name"_s].toString(), u"3_1_web.jpg"_s);
    EXPECT_EQ(pictures[1].toObject()[u"bytes"_s].toInteger(), 2000);
    EXPECT_EQ(root[u"last_send"_s].toObject()[u"offers"_s].toInt(), 3);
    EXPECT_TRUE(root[u"guard"_s].toObject()[u"enabled"_s].toBool());
    EXPECT_FALSE(root.contains(u"history_error"_s));

    const QString text = PreviewText(preview);
    EXPECT_TRUE(text.contains(u"Stažené z portálu (2):\n  2  Škoda\n  9  Tatra\n"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"  3_1_web.jpg  2000 B\n"_s));
    for (const QByteArray &out : {json, text.toUtf8()})
        EXPECT_FALSE(out.contains(settings.stored.uzivHeslo.toUtf8()));
}

TEST_F(PreviewTest, WithoutHistoryEveryOfferIsNewAndAnEmptyListWouldBeStopped)
{
    QFile::remove(history);
    markOnly({});
    const SendPreview preview = PreviewSend(query, exe, false);
    EXPECT_TRUE(preview.offers.isEmpty());
    EXPECT_FALSE(preview.lastSend);
    EXPECT_TRUE(preview.guard.stop);
    EXPECT_FALSE(QFile::exists(history));

    markOnly({u"1"_s, u"2"_s});
    test::writeFile(history, QByteArray(4096, 'x'));
    const SendPreview damaged = PreviewSend(query, exe, false);
    EXPECT_EQ(damaged.changes.added.size(), 2);
    EXPECT_TRUE(damaged.historyProblem.contains(history)) << damaged.historyProblem.toStdString();
}
