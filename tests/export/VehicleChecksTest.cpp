#include "SafeSendFixture.h"

#include "export/OfferList.h"
#include "export/SendLog.h"
#include "export/SendPreview.h"
#include "export/SendPreviewReport.h"
#include "export/VehicleChecks.h"
#include "platform/Win1250.h"

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class VehicleChecksTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        exe = test::WriteSendInstallation(query, dir.path());
        photos = dir.path() + u"/Data/FOTO/"_s;
        good = photos + u"1_1_WEB.JPG"_s;
    }

    // A complete car, marked, changed by the given fields.
    void add(const QString &cj, const std::vector<std::pair<const char16_t *, QVariant>> &fields)
    {
        query.append();
        const std::vector<std::pair<const char16_t *, QVariant>> complete = {
            {u"CJ", cj}, {u"ZNACKA", u"Škoda"_s}, {u"MODEL", u"Fabia"_s}, {u"DRUH_VOZIDLA", u"osobni"_s},
            {u"NAJETO", u"120000"_s}, {u"CENA_VOZIDLA", u"99000"_s}, {u"FOTO1", good}, {u"ZOB_FOTO1", true},
            {u"OZNACENO", true}};
        for (const auto &[name, value] : complete)
            query.setValue(QStringView(name), value);
        for (const auto &[name, value] : fields)
            query.setValue(QStringView(name), value);
        query.post();
    }

    // Vehicle number: its findings, as the send's walk gives them.
    QMap<QString, QStringList> findings(const OfferListResult &written)
    {
        QMap<QString, QStringList> byVehicle;
        for (const VehicleCheck &check : written.checks)
            byVehicle.insert(check.cj, check.problems);
        return byVehicle;
    }

    QTemporaryDir dir;
    Dataset query{NestaTableDef()};
    QString exe, photos, good;
};

} // namespace

TEST_F(VehicleChecksTest, EachCheckFindsItsProblemAndChangesNothingSent)
{
    const QByteArray jpeg = test::readFile(good);
    test::writeFile(photos + u"cut.jpg"_s, jpeg.left(40));
    test::writeFile(photos + u"text.jpg"_s, "not a picture at all");
    test::writeFile(photos + u"empty.jpg"_s, QByteArray());
    add(u"ok"_s, {});
    add(u"zero"_s, {{u"CENA_VOZIDLA", u"0"_s}});
    add(u"noprice"_s, {{u"CENA_VOZIDLA", QString()}});
    add(u"nophoto"_s, {{u"ZOB_FOTO1", false}});
    add(u"missing"_s, {{u"FOTO2", photos + u"chybi.jpg"_s}, {u"ZOB_FOTO2", true}});
    add(u"damaged"_s, {{u"FOTO1", photos + u"cut.jpg"_s}, {u"FOTO2", photos + u"text.jpg"_s}, {u"ZOB_FOTO2", true},
                       {u"FOTO3", photos + u"empty.jpg"_s}, {u"ZOB_FOTO3", true}});
    add(u"nomake"_s, {{u"ZNACKA", QString()}});
    add(u"nomodel"_s, {{u"MODEL", u"-"_s}});
    add(u"nokm"_s, {{u"NAJETO", QString()}});
    add(u"bike"_s, {{u"NAJETO", QString()}, {u"DRUH_VOZIDLA", u"motocykl, kolo"_s}});
    add(u"unmarked"_s, {{u"CENA_VOZIDLA", QString()}, {u"OZNACENO", false}});

    const QString working = exe + u"Korvex_zip"_s;
    const OfferListResult written = WriteOfferList(query, OfferListSettings{exe, working, false});
    const QMap<QString, QStringList> found = findings(written);
    EXPECT_EQ(found.value(u"ok"_s), QStringList());
    EXPECT_EQ(found.value(u"zero"_s), QStringList{u"bez ceny"_s});
    EXPECT_EQ(found.value(u"noprice"_s), QStringList{u"bez ceny"_s});
    EXPECT_EQ(found.value(u"nophoto"_s), QStringList{u"bez fotografie"_s});
    EXPECT_EQ(found.value(u"missing"_s), QStringList{u"chybí soubor fotografie "_s + photos + u"chybi.jpg"_s});
    EXPECT_EQ(found.value(u"damaged"_s), (QStringList{u"fotografie není čitelný JPEG "_s + photos + u"cut.jpg"_s,
                                                      u"fotografie není čitelný JPEG "_s + photos + u"text.jpg"_s,
                                                      u"fotografie není čitelný JPEG "_s + photos + u"empty.jpg"_s}));
    EXPECT_EQ(found.value(u"nomake"_s), QStringList{u"bez značky nebo modelu"_s});
    EXPECT_EQ(found.value(u"nomodel"_s), QStringList{u"bez značky nebo modelu"_s});
    EXPECT_EQ(found.value(u"nokm"_s), QStringList{u"bez stavu km"_s});
    EXPECT_FALSE(found.contains(u"bike"_s));
    EXPECT_FALSE(found.contains(u"unmarked"_s));
    // The fixture's own two marked vehicles are complete.
    EXPECT_EQ(written.checks.size(), 8);
    EXPECT_EQ(written.problemKinds,
              (QList<VehicleProblem>{VehicleProblem::NoPrice, VehicleProblem::NoPhoto, VehicleProblem::MissingPhoto,
                                     VehicleProblem::DamagedPhoto, VehicleProblem::NoMakeOrModel,
                                     VehicleProblem::NoMileage}));
    // A damaged photo is still named and staged: the checks only tell.
    EXPECT_TRUE(written.document.contains("<picture>cut.jpg</picture>"));
    EXPECT_TRUE(QFile::exists(working + u"/cut.jpg"_s));

    // The list asks row by row and finds the same.
    VehicleChecker checker(false);
    for (query.first(); !query.eof(); query.next()) {
        QStringList texts;
        for (const VehicleFinding &f : checker.checkRow(query, query.recNo()))
            texts.append(FindingText(f));
        if (query.boolean(u"OZNACENO")) {
            EXPECT_EQ(texts, found.value(query.text(u"CJ"))) << query.text(u"CJ").toStdString();
        }
    }
    // With the first photo only, the others are not looked at.
    query.first();
    while (query.text(u"CJ") != u"damaged")
        query.next();
    EXPECT_EQ(VehicleChecker(true).check(query).size(), 1);
}

using ProblemSendTest = test::SafeSendTest;

TEST_F(ProblemSendTest, AnInteractiveSendAsksOnceBeforePacking)
{
    query.first();
    query.edit();
    query.setValue(u"CENA_VOZIDLA", QString());
    query.post();

    Send(context);
    ASSERT_EQ(dialogs.calls.size(), 2);
    EXPECT_EQ(dialogs.calls[1].kind, test::ScriptedDialogs::Kind::Question);
    EXPECT_EQ(dialogs.calls[1].caption, u"Dotaz ..."_s);
    EXPECT_FALSE(dialogs.calls[1].defaultNo);
    EXPECT_EQ(dialogs.calls[1].text, u"1 vybraných vozidel má problém (bez ceny). Pokračovat?"_s);
    EXPECT_FALSE(QFile::exists(exe + u"Korvex_zip/data.zip"_s));
    EXPECT_TRUE(QFile::exists(exe + u"Korvex_zip/Data.xml"_s));

    // Yes goes on to the usual question; automatically nothing is asked.
    dialogs.calls.clear();
    dialogs.queueAnswer(true);
    dialogs.queueAnswer(true);
    Send(context);
    ASSERT_GE(dialogs.calls.size(), 3);
    EXPECT_TRUE(dialogs.calls[2].text.startsWith(u"Inzerce je připravena k odeslání"_s));
    EXPECT_EQ(uploads(), 1);
    dialogs.calls.clear();
    context.automaticMode = true;
    Send(context);
    for (const auto &call : dialogs.calls)
        EXPECT_NE(call.kind, test::ScriptedDialogs::Kind::Question) << call.text.toStdString();
    EXPECT_EQ(uploads(), 2);

    const QStringList lines =
        Win1250::decode(test::readFile(exe + u"Korvex_log.txt"_s)).split(u"\r\n"_s, Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(u";nabídek 2;obrázků 2;problémů 1;archiv -;"_s)) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith(u";odeslání odmítnuto uživatelem: vozidla s problémem"_s));
    EXPECT_TRUE(lines[2].contains(u";problémů 1;"_s));

    // The preview shows the same.
    const SendPreview preview = PreviewSend(query, exe, false);
    ASSERT_EQ(preview.checks.size(), 1);
    EXPECT_EQ(preview.checks[0].cj, u"1"_s);
    EXPECT_TRUE(PreviewText(preview).contains(u"Vozidla s problémem (1):\n  1  Škoda: bez ceny\n"_s));
    EXPECT_TRUE(PreviewJson(preview).contains("\"problems\": [\n                \"bez ceny\""))
        << PreviewJson(preview).constData();
}

TEST(VehicleChecks, TheQuestionListsEachKindOnce)
{
    EXPECT_EQ(ProblemQuestion(3, {VehicleProblem::NoPrice, VehicleProblem::NoPhoto, VehicleProblem::NoMileage}),
              u"3 vybraných vozidel má problém (bez ceny, bez fotografie, bez stavu km). Pokračovat?"_s);
}
