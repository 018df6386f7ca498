// The vehicle list driven through its buttons, boxes and grid: marks and
// counters, the only-marked filter, the flags of the current vehicle and the
// row colours.
#include "Controls.h"
#include "JpegWriter.h"
#include "ScriptedDialogs.h"
#include "VehicleTable.h"
#include "platform/SqliteStore.h"
#include "selection/VehicleListTab.h"
#include "widgets/NavigatorButton.h"
#include "widgets/TDBMemoTarvo.h"
#include "widgets/TDBNavigatorTarvo.h"
#include "widgets/TDbGridTarvo.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class VehicleList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 5; ++i)
            table.add({});
        tab = std::make_unique<VehicleListTab>(table.query, dialogs);
        tab->setIconFolders(table.path(u"Setting/"_s), table.path(u"PRG/"_s));
        tab->EnableMarks();
        table.query.first();
    }

    template<class T>
    T *control(const char *name) const
    {
        return test::Control<T>(tab.get(), name);
    }
    TDbGridTarvo *grid() const { return control<TDbGridTarvo>("DbGridTarvo1"); }
    TDBNavigatorTarvo *navigator() const { return control<TDBNavigatorTarvo>("DBNavigatorTarvo1"); }
    void click(const char *name) const { control<QAbstractButton>(name)->click(); }
    QString text(const char *name) const { return control<QLabel>(name)->text(); }

    TGridCellLook draw(int row, int column, bool focused = false) const
    {
        TGridCellLook look;
        look.text = Qt::black;
        look.background = Qt::white;
        grid()->OnDrawColumnCell(row, column, focused, look);
        return look;
    }

    bool marked(int row) const { return table.query.valueAt(row, table.query.fieldIndex(u"OZNACENO")).toBool(); }
    void markRow(int row)
    {
        table.query.setRecNo(row);
        click("Button7");
    }
    // OZNACENO as the file holds it, for every vehicle, past the list's filter.
    std::vector<bool> storedMarks() const
    {
        const int field = table.query.fieldIndex(u"OZNACENO");
        std::vector<bool> marks;
        for (const auto &row : SqliteStore(table.query.fileName(), table.query.definition()).loadAll())
            marks.push_back(row.value(table.query.definition(), field).toBool());
        return marks;
    }

    test::VehicleTable table;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<VehicleListTab> tab;
};

TEST_F(VehicleList, MarksFollowTheButtonsAndTheCounter)
{
    EXPECT_EQ(text("Label15"), u"Celkem"_s);
    EXPECT_EQ(text("Label16"), u"Vybráno"_s);
    markRow(0);
    markRow(2);
    markRow(4);
    EXPECT_EQ(text("Label16"), u"3   vybráno "_s);
    EXPECT_TRUE(marked(0) && marked(2) && marked(4));
    EXPECT_FALSE(marked(1));

    markRow(2);
    EXPECT_EQ(text("Label16"), u"2   vybráno "_s);
    EXPECT_FALSE(marked(2));

    click("Button8");
    EXPECT_EQ(text("Label16"), u"5   vybráno "_s);
    for (int row = 0; row < 5; ++row)
        EXPECT_TRUE(marked(row)) << row;
    EXPECT_EQ(grid()->CheckedCount(), 5);

    click("Button6");
    EXPECT_EQ(text("Label16"), u"0   vybráno "_s);
    EXPECT_EQ(grid()->CheckedCount(), 0);
    for (int row = 0; row < 5; ++row)
        EXPECT_FALSE(marked(row)) << row;
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

// A post drops a vehicle from the only-marked view under the walk; the
// buttons must still reach every vehicle, shown or not.
TEST_F(VehicleList, MarkButtonsReachEveryVehicleWithOnlyMarkedShown)
{
    click("Button8");
    click("SpeedButtonVybrane");
    ASSERT_TRUE(tab->OnlyMarkedShown());
    click("Button6");
    EXPECT_EQ(storedMarks(), std::vector<bool>(5, false));
    EXPECT_EQ(grid()->CheckedCount(), 0);
    EXPECT_EQ(table.query.recordCount(), 0);
    EXPECT_EQ(text("Label15"), u"0    celkem "_s);

    click("SpeedButtonVybrane");
    markRow(1);
    markRow(3);
    click("SpeedButtonVybrane");
    ASSERT_EQ(table.query.recordCount(), 2);
    click("Button8");
    EXPECT_EQ(storedMarks(), std::vector<bool>(5, true));
    EXPECT_EQ(grid()->CheckedCount(), 5);
    EXPECT_EQ(text("Label16"), u"5   vybráno "_s);
    EXPECT_EQ(table.query.recordCount(), 5);
    EXPECT_EQ(text("Label15"), u"5    celkem "_s);
    EXPECT_EQ(table.query.recNo(), 0);
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(VehicleList, RestoringMarksLeavesTheStoredMarksAlone)
{
    table.query.setRecNo(1);
    table.query.edit();
    table.query.setValue(u"OZNACENO", true);
    table.query.post();
    tab->RestoringMarks = true;
    tab->RestoreMarks();
    tab->RestoringMarks = false;
    // Back on the first vehicle, where "Zobraz FOTO" is expected to start.
    EXPECT_EQ(table.query.recNo(), 0);
    EXPECT_TRUE(marked(1));
    EXPECT_FALSE(marked(0));
    EXPECT_EQ(grid()->CheckedCount(), 1);
    EXPECT_TRUE(grid()->IsKeyChecked(table.query.valueAt(1, 0).toLongLong()));
}

TEST_F(VehicleList, OnlyMarkedFilterListsTheMarkedAndCountsThem)
{
    markRow(1);
    markRow(3);
    EXPECT_EQ(control<QToolButton>("SpeedButtonVybrane")->text(), u"Jen vybrané"_s);
    click("SpeedButtonVybrane");
    EXPECT_TRUE(tab->OnlyMarkedShown());
    EXPECT_EQ(table.query.recordCount(), 2);
    EXPECT_EQ(text("Label15"), u"2    celkem "_s);
    EXPECT_EQ(control<QToolButton>("SpeedButtonVybrane")->text(), u"Jen vybrané"_s);

    click("SpeedButtonVybrane");
    EXPECT_FALSE(tab->OnlyMarkedShown());
    EXPECT_EQ(table.query.recordCount(), 5);
    EXPECT_EQ(text("Label15"), u"5    celkem "_s);
    EXPECT_EQ(control<QToolButton>("SpeedButtonVybrane")->text(), u"Zobr.všechny"_s);
}

TEST_F(VehicleList, FlagBoxesFollowTheRecordAndStoreOneOrZero)
{
    table.query.setRecNo(0);
    table.query.edit();
    table.query.setValue(u"LPG", u"1"_s);
    table.query.post();
    table.query.setRecNo(1);
    table.query.edit();
    table.query.setValue(u"LPG", u"ano"_s);
    table.query.post();

    table.query.setRecNo(0);
    EXPECT_TRUE(control<QCheckBox>("CheckBoxLPG")->isChecked());
    table.query.setRecNo(1);
    EXPECT_FALSE(control<QCheckBox>("CheckBoxLPG")->isChecked());
    EXPECT_EQ(table.query.text(u"LPG"), u"0"_s);

    click("CheckBoxServisKn");
    EXPECT_EQ(table.query.text(u"SERVIS_KN"), u"1"_s);
    click("CheckBoxServisKn");
    EXPECT_EQ(table.query.text(u"SERVIS_KN"), u"0"_s);
}

TEST_F(VehicleList, ResendNeedsPhotosAndMagazineToggles)
{
    table.query.setRecNo(0);
    click("BitBtn1");
    EXPECT_EQ(table.query.text(u"REZERVA4"), QString());

    table.query.edit();
    table.query.setValue(u"ODESLI_FOTO", u"2"_s);
    table.query.post();
    click("BitBtn1");
    EXPECT_EQ(table.query.text(u"REZERVA4"), u"1"_s);
    tab->ToggleResendPhotos();
    EXPECT_EQ(table.query.text(u"REZERVA4"), u"0"_s);

    click("BitBtn_Tisk");
    EXPECT_EQ(table.query.text(u"REZERVA6"), u"1"_s);
    click("BitBtn_Tisk");
    EXPECT_EQ(table.query.text(u"REZERVA6"), u"0"_s);
}

TEST_F(VehicleList, DeletingAMarkedVehicleTakesItsMarkAlong)
{
    markRow(2);
    markRow(3);
    navigator()->confirm = [](const QString &) { return true; };
    table.query.setRecNo(2);
    navigator()->button(NavigateButton::nbDelete)->click();
    EXPECT_EQ(table.query.recordCount(), 4);
    EXPECT_EQ(grid()->CheckedCount(), 1);
    EXPECT_EQ(text("Label16"), u"1   vybráno "_s);
    EXPECT_EQ(text("Label15"), u"4    celkem "_s);

    // Ctrl+Delete in the grid asks the same question; No keeps the vehicle.
    int asked = 0;
    navigator()->confirm = [&](const QString &) { return ++asked == 2; };
    table.query.setRecNo(2);
    QTest::keyClick(grid(), Qt::Key_Delete);
    EXPECT_EQ(asked, 0);
    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.query.recordCount(), 4);
    QTest::keyClick(grid(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.query.recordCount(), 3);
    EXPECT_EQ(grid()->CheckedCount(), 0);
    EXPECT_EQ(text("Label16"), u"0   vybráno "_s);
}

TEST_F(VehicleList, RowsAreColouredByMarkAndMagazine)
{
    EXPECT_EQ(draw(0, 1, false).text, QColor(128, 128, 128));

    markRow(0);
    TGridCellLook plain = draw(0, 1, false);
    EXPECT_EQ(plain.text, QColor(Qt::black));
    TGridCellLook focused = draw(0, 1, true);
    EXPECT_EQ(focused.background, QColor(0, 0, 128));
    EXPECT_TRUE(focused.bold);

    table.query.setRecNo(1);
    click("BitBtn_Tisk");
    TGridCellLook magazine = draw(1, 1, false);
    EXPECT_EQ(magazine.background, QColor(0, 0, 255));
    EXPECT_EQ(magazine.text, QColor(Qt::white));
}

TEST_F(VehicleList, PhotoColumnShowsTheIconsAndReadsEachFileOnce)
{
    QDir().mkpath(table.path(u"Setting"_s));
    QDir().mkpath(table.path(u"PRG/Data_Off_LIne"_s));
    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(table.path(u"Setting/Foto.bmp"_s)));
    QImage red(6, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(table.path(u"PRG/Data_Off_LIne/No_Foto.bmp"_s)));

    EXPECT_TRUE(draw(0, 2).pictureCell);
    EXPECT_TRUE(draw(0, 2).picture.isNull());

    table.query.setRecNo(0);
    table.query.edit();
    table.query.setValue(u"FOTO1", u"C:\\FOTO\\a_1_max.jpg"_s);
    table.query.post();
    EXPECT_EQ(draw(0, 2).picture.width(), 4);
    QFile::remove(table.path(u"Setting/Foto.bmp"_s));
    EXPECT_EQ(draw(0, 2).picture.width(), 4);

    // The resend icon, with or without a first photo.
    table.query.setRecNo(1);
    table.query.edit();
    table.query.setValue(u"REZERVA4", u"1"_s);
    table.query.post();
    EXPECT_EQ(draw(1, 2).picture.width(), 6);
}

TEST_F(VehicleList, MissingIconsDrawNothing)
{
    table.query.edit();
    table.query.setValue(u"FOTO1", u"C:\\FOTO\\a_1_max.jpg"_s);
    table.query.post();
    const TGridCellLook look = draw(0, 2);
    EXPECT_TRUE(look.pictureCell);
    EXPECT_TRUE(look.picture.isNull());

    // Painted, the cell is bare background: neither an icon nor the path.
    tab->resize(770, 525);
    TDbGridTarvo *list = grid();
    const QImage shot = list->viewport()->grab().toImage();
    const QRect cell = list->visualRect(list->model()->index(0, 2)).adjusted(1, 1, -2, -2);
    ASSERT_FALSE(cell.isEmpty());
    const QRgb background = shot.pixel(cell.topLeft());
    int otherPixels = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x)
            otherPixels += shot.pixel(x, y) != background ? 1 : 0;
    EXPECT_EQ(otherPixels, 0);
}

TEST_F(VehicleList, EquipmentMemosAreReadOnly)
{
    table.query.edit();
    table.query.setValue(u"VYBAVA", u"rádio"_s);
    table.query.post();
    tab->show();
    for (TDBMemoTarvo *memo : {control<TDBMemoTarvo>("DBMemoTarvo1"), control<TDBMemoTarvo>("DBMemoTarvo2")}) {
        EXPECT_TRUE(memo->isReadOnly()) << memo->objectName().toStdString();
        memo->setFocus();
        QTest::keyClicks(memo, u"klimatizace"_s);
        EXPECT_EQ(memo->toPlainText(), u"rádio"_s);
    }
    EXPECT_EQ(table.query.text(u"VYBAVA"), u"rádio"_s);
}

} // namespace

TEST_F(VehicleList, MarkedVehiclesWithAProblemShowItAndAreCounted)
{
    const QString photo = table.path(u"1_1_web.jpg"_s);
    fixture::writeJpeg(photo, 8, 8, 1);
    table.add({{u"ZNACKA"_s, u"Škoda"_s}, {u"MODEL"_s, u"Fabia"_s}, {u"CENA_VOZIDLA"_s, u"99000"_s},
               {u"FOTO1"_s, photo}, {u"ZOB_FOTO1"_s, true}});
    tab->UpdateMarkedLabel();
    QCoreApplication::processEvents();
    EXPECT_EQ(text("LabelProblemy"), u"s problémem 0"_s);

    markRow(0);
    markRow(5);
    QCoreApplication::processEvents();
    EXPECT_EQ(text("LabelProblemy"), u"s problémem 1"_s);
    EXPECT_EQ(draw(0, 0).background, QColor(255, 140, 0));
    EXPECT_EQ(draw(0, 1).background, QColor(Qt::white));
    EXPECT_EQ(draw(5, 0).background, QColor(Qt::white));
    EXPECT_EQ(draw(1, 0).background, QColor(Qt::white)); // unmarked: not looked at

    tab->show();
    QWidget *viewport = grid()->viewport();
    const QPoint at = grid()->visualRect(grid()->model()->index(0, 1)).center();
    QHelpEvent help(QEvent::ToolTip, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &help);
    EXPECT_EQ(QToolTip::text(), u"bez ceny\nbez fotografie\nbez značky nebo modelu"_s);

    // Removing the photo of the complete vehicle is seen once it is checked again.
    QFile::remove(photo);
    tab->RecheckVehicles();
    EXPECT_EQ(text("LabelProblemy"), u"s problémem 2"_s);
    markRow(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(text("LabelProblemy"), u"s problémem 1"_s);
}
