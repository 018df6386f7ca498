#include "platform/Dataset.h"
#include "platform/SqliteStore.h"
#include "widgets/TDbGridTarvo.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

TableDef carsDef()
{
    TableDef def;
    def.name = u"Cars"_s;
    def.fields = {FieldDef{u"PORADI"_s, FieldKind::AutoInc, 0, 0, {}, Qt::AlignLeft, true},
                  FieldDef{u"CJ"_s, FieldKind::Text, 20, 20, {}, Qt::AlignLeft, false},
                  FieldDef{u"NAJETO"_s, FieldKind::Text, 8, 8, u"!9999999\\ \\ \\km;1;_"_s, Qt::AlignRight, false}};
    return def;
}

class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SqliteStore::create(dir.filePath(u"Cars.DB"_s), carsDef());
        data.setFileName(dir.filePath(u"Cars.DB"_s));
        data.open();
        for (int i = 1; i <= 20; ++i) {
            data.append();
            data.setValue(u"CJ", u"V%1"_s.arg(i));
            data.setValue(u"NAJETO", QString::number(i * 1000));
            data.post();
        }
        data.first();
        grid.setDataset(&data);
        grid.setColumns({{u"Číslo"_s, u"CJ"_s, 60, Qt::AlignLeft, {}},
                         {u"Najeto"_s, u"NAJETO"_s, 90, Qt::AlignRight, u"!9999999\\ \\ \\km;1;_"_s}});
        grid.setKeyField(u"PORADI"_s);
        grid.message = [this](const QString &text) { messages.append(text); };
        grid.OnCheckRow = [this] { ++checkRows; };
        grid.resize(400, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QPoint indicatorCell(int row) const
    {
        return QPoint(grid.verticalHeader()->width() / 2,
                      grid.verticalHeader()->sectionViewportPosition(row) + grid.verticalHeader()->sectionSize(row) / 2);
    }

    int blackPixels(int row)
    {
        const QImage image = grid.verticalHeader()->viewport()->grab().toImage();
        const int top = grid.verticalHeader()->sectionViewportPosition(row);
        const int height = grid.verticalHeader()->sectionSize(row);
        int black = 0;
        for (int y = top; y < top + height; ++y)
            for (int x = 0; x < image.width(); ++x)
                black += image.pixelColor(x * image.devicePixelRatio(), y * image.devicePixelRatio()) == Qt::black;
        return black;
    }

    QTemporaryDir dir;
    Dataset data{carsDef()};
    TDbGridTarvo grid;
    QStringList messages;
    int checkRows = 0;
};

} // namespace

TEST_F(GridTest, TheModelFollowsTheDatasetAndPassesTheTester)
{
    QAbstractItemModelTester tester(&grid.gridModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(grid.gridModel().rowCount(), 20);
    EXPECT_EQ(grid.gridModel().index(2, 1).data().toString(), u"3000  km"_s);
    EXPECT_EQ(grid.gridModel().headerData(0, Qt::Horizontal).toString(), u"Číslo"_s);
    data.last();
    data.remove();
    EXPECT_EQ(grid.gridModel().rowCount(), 19);
    data.setRecNo(5);
    EXPECT_EQ(grid.currentIndex().row(), 5);
    grid.setCurrentIndex(grid.gridModel().index(7, 0));
    EXPECT_EQ(data.recNo(), 7);
    EXPECT_EQ(DatasetModel::applyMask(u"77"_s, u"!999\\ \\ \\kW;1;_"_s), u"77  kW"_s);
    EXPECT_EQ(DatasetModel::applyMask(u"1896"_s, u"!9999\\ \\cm3;1;_"_s), u"1896 cm3"_s);
}

TEST_F(GridTest, TogglingTwiceRestoresTheStoreAndFiresTwice)
{
    grid.setCheckEnabled(true);
    data.setRecNo(3);
    grid.ToggleCheck();
    EXPECT_TRUE(grid.IsKeyChecked(4));
    EXPECT_TRUE(grid.IsCurrentChecked());
    EXPECT_EQ(grid.CheckedCount(), 1);
    grid.ToggleCheck();
    EXPECT_EQ(grid.CheckedCount(), 0);
    EXPECT_EQ(checkRows, 2);
}

TEST_F(GridTest, WithCheckingOffNothingHappens)
{
    grid.ToggleCheck();
    grid.ClearChecks();
    EXPECT_EQ(checkRows, 0);
    grid.setCheckEnabled(true);
    grid.ToggleCheck();
    grid.setCheckEnabled(false);
    grid.ToggleCheck();
    grid.ClearChecks();
    EXPECT_EQ(grid.CheckedCount(), 1);
    EXPECT_EQ(checkRows, 1);
}

TEST_F(GridTest, CheckingNeedsAKeyField)
{
    TDbGridTarvo bare;
    QStringList shown;
    bare.message = [&](const QString &t) { shown.append(t); };
    bare.setCheckEnabled(true);
    EXPECT_FALSE(bare.CheckEnabled());
    EXPECT_EQ(shown, QStringList{u"Položka \"KeyField\" musí být definována"_s});
}

TEST_F(GridTest, ChangingTheKeyTypeEmptiesTheStoresAndStringKeysIgnoreCase)
{
    grid.setCheckEnabled(true);
    grid.ToggleCheck();
    grid.setKeyFieldType(TTvKeyFieldType::tktString);
    EXPECT_EQ(grid.CheckedCount(), 0);
    grid.setKeyField(u"CJ"_s);
    grid.ToggleCheck();
    EXPECT_TRUE(grid.IsStringKeyChecked(u"v1"_s));
    EXPECT_FALSE(grid.IsKeyChecked(1));
}

TEST_F(GridTest, AnIndicatorClickTogglesTheClickedRow)
{
    grid.setCheckEnabled(true);
    data.setRecNo(0);
    QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {}, indicatorCell(4));
    EXPECT_EQ(data.recNo(), 4);
    EXPECT_TRUE(grid.IsKeyChecked(5));
    EXPECT_FALSE(grid.IsKeyChecked(1));
    EXPECT_EQ(checkRows, 1);

    // Through the window, as the pointer does: a data row's indicator cell
    // toggles, the title row's (the corner) does nothing.
    const int frame = grid.frameWidth();
    const QPoint row2 = grid.verticalHeader()->viewport()->mapTo(&grid, indicatorCell(2));
    QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, row2);
    EXPECT_TRUE(grid.IsKeyChecked(3));
    EXPECT_EQ(checkRows, 2);
    const QPoint corner(frame + grid.verticalHeader()->width() / 2, frame + grid.horizontalHeader()->height() / 2);
    QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, corner);
    EXPECT_EQ(data.recNo(), 2);
    EXPECT_EQ(grid.CheckedCount(), 2);
    EXPECT_EQ(checkRows, 2);
}

TEST_F(GridTest, TheCheckGlyphShowsOnlyWithSignum)
{
    grid.setCheckEnabled(true);
    data.setRecNo(2);
    grid.ToggleCheck();
    data.setRecNo(0);
    QApplication::processEvents();
    EXPECT_EQ(blackPixels(2), 0); // checked, not current, signum off: colour only
    EXPECT_GT(blackPixels(0), 0); // the current row's triangle
    grid.setCheckedSignum(true);
    QApplication::processEvents();
    EXPECT_GT(blackPixels(2), 0);
    EXPECT_EQ(blackPixels(5), 0);
}

TEST_F(GridTest, TitleClicksOutsideTheResizeBandActivateTheTitle)
{
    grid.setClickTitleEnabled(true);
    QString clicked;
    int titleIndex = -1;
    grid.OnClickTitle = [&](const QString &field, int index) {
        clicked = field;
        titleIndex = index;
    };
    QHeaderView *titles = grid.horizontalHeader();
    const int border = titles->sectionViewportPosition(0) + titles->sectionSize(0);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(border - 2, titles->height() / 2));
    EXPECT_EQ(grid.ActiveTitleIndex(), 0);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(border + 20, titles->height() / 2));
    EXPECT_EQ(grid.ActiveTitleIndex(), 2);
    EXPECT_EQ(clicked, u"NAJETO"_s);
    EXPECT_EQ(titleIndex, 1);
}

TEST_F(GridTest, ChecksSurviveACloseAndReopen)
{
    grid.setCheckEnabled(true);
    data.setRecNo(6);
    grid.ToggleCheck();
    data.close();
    data.open();
    EXPECT_TRUE(grid.IsKeyChecked(7));
    data.setRecNo(6);
    EXPECT_TRUE(grid.IsCurrentChecked());
}

TEST_F(GridTest, KeysFireTheirEvents)
{
    int enter = 0, del = 0, ins = 0;
    QString space;
    grid.OnClickEnter = [&] { ++enter; };
    grid.OnClickDel = [&] { ++del; };
    grid.OnClickIns = [&] { ++ins; };
    grid.OnClickSpace = [&](const QString &field) { space = field; };
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::keyClick(&grid, Qt::Key_Delete);
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_EQ(enter, 1);
    EXPECT_EQ(del, 1);
    EXPECT_EQ(ins, 1);
    EXPECT_EQ(space, u"CJ"_s);
    grid.setEnterIsTab(true);
    const int column = grid.currentIndex().column();
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(enter, 1);
    EXPECT_EQ(grid.currentIndex().column(), column + 1);
}

TEST_F(GridTest, OnSelectCellMayRefuseACell)
{
    grid.setCurrentIndex(grid.gridModel().index(0, 0));
    grid.OnSelectCell = [](int column, int row, bool &canSelect) { canSelect = !(column == 2 && row == 0); };
    grid.setCurrentIndex(grid.gridModel().index(0, 1));
    EXPECT_EQ(grid.currentIndex().column(), 0);
    grid.setCurrentIndex(grid.gridModel().index(3, 1));
    EXPECT_EQ(grid.currentIndex(), grid.gridModel().index(3, 1));
    EXPECT_EQ(data.recNo(), 3);
}

TEST(CheckedLists, KeepInsertionOrderAndToggle)
{
    TCheckedList ints;
    for (const qint64 k : {5, 3, 9, 3})
        ints.Toggle(k);
    EXPECT_EQ(ints.Keys(), (QList<qint64>{5, 9}));
    EXPECT_TRUE(ints.Contains(9));
    TCheckedStringList texts;
    texts.SetChecked(u"Abc"_s, true);
    texts.SetChecked(u"ABC"_s, true);
    EXPECT_EQ(texts.Count(), 1);
    texts.Toggle(u"abc"_s);
    EXPECT_EQ(texts.Count(), 0);
}
