// The vehicle list's grid over a working table of a few thousand rows,
// driven the way a dealer drives it: indicator clicks, keys, title clicks,
// scrolling with locked columns.
#include "import/WorkingTable.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "widgets/TDbGridTarvo.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class VehicleGrid : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CreateWorkingTable(query, DatabaseSession::fromText(u"[BAZAR]\nPATH="_s + dir.path() + u'\n'));
        query.startTransaction();
        for (int i = 0; i < 3000; ++i) {
            query.append();
            query.setValue(u"CJ", u"A%1"_s.arg(10000 + i));
            query.setValue(u"ZNACKA_TYP", u"Škoda Octavia 1.9 TDI"_s);
            query.setValue(u"NAJETO", QString::number(1000 + i));
            query.setValue(u"CENA_VOZIDLA", QString::number(100000 + i));
            query.post();
        }
        query.commit();
        query.first();
        std::vector<DatasetColumn> columns;
        for (const FieldDef &f : NestaTableDef().fields)
            columns.push_back({f.name, f.name, 80, f.alignment | Qt::AlignVCenter, f.displayFormat});
        grid.setObjectName(u"DbGridTarvo1"_s);
        grid.setDataset(&query);
        grid.setColumns(columns);
        grid.setKeyField(u"PORADI"_s);
        grid.setCheckEnabled(true);
        grid.setClickTitleEnabled(true);
        grid.setActiveColumnBold(true);
        grid.resize(700, 400);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QPoint indicatorCell(int row) const
    {
        QHeaderView *h = grid.verticalHeader();
        return QPoint(h->width() / 2, h->sectionViewportPosition(row) + h->sectionSize(row) / 2);
    }

    QTemporaryDir dir;
    Dataset query{NestaTableDef()};
    TDbGridTarvo grid;
};

} // namespace

TEST_F(VehicleGrid, MarksRowsByClicksAndKeysAcrossScrolling)
{
    QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {}, indicatorCell(3));
    EXPECT_TRUE(grid.IsKeyChecked(4));
    EXPECT_EQ(query.text(u"CJ"), u"A10003"_s);

    grid.setFocus();
    for (int i = 0; i < 40; ++i)
        QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(query.recNo(), 43);
    grid.ToggleCheck();
    EXPECT_TRUE(grid.IsKeyChecked(44));

    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(query.recNo(), 2999);
    const int row = query.recNo();
    QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, {}, indicatorCell(row));
    EXPECT_TRUE(grid.IsKeyChecked(3000));
    EXPECT_EQ(grid.CheckedCount(), 3);

    // The checked, not current row shows the check colour.
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    QApplication::processEvents();
    const QImage image = grid.verticalHeader()->viewport()->grab().toImage();
    const QPoint at = indicatorCell(3) * image.devicePixelRatio();
    EXPECT_EQ(image.pixelColor(2, at.y()), grid.CheckedColor());
}

TEST_F(VehicleGrid, TitleClicksMakeTheColumnActive)
{
    int clicks = 0;
    grid.OnClickTitle = [&](const QString &field, int) {
        ++clicks;
        EXPECT_EQ(field, u"CJ"_s);
    };
    QHeaderView *titles = grid.horizontalHeader();
    const int x = titles->sectionViewportPosition(1) + 20;
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(x, titles->height() / 2));
    EXPECT_EQ(grid.ActiveTitleIndex(), 2);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, QPoint(x, titles->height() / 2));
    EXPECT_EQ(clicks, 1); // the same title again changes nothing
}

TEST_F(VehicleGrid, LockedColumnsStayWhileTheRestScrolls)
{
    grid.setLockedCols(2);
    ASSERT_NE(grid.lockedView(), nullptr);
    EXPECT_FALSE(grid.lockedView()->isColumnHidden(1));
    EXPECT_TRUE(grid.lockedView()->isColumnHidden(2));
    const QPoint before = grid.lockedView()->pos();
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(grid.lockedView()->pos(), before);
    grid.verticalScrollBar()->setValue(500);
    EXPECT_EQ(grid.lockedView()->verticalScrollBar()->value(), 500);
    // Entering a locked column brings in the first scrollable one.
    grid.setCurrentIndex(grid.gridModel().index(10, 0));
    EXPECT_EQ(grid.currentIndex().column(), 2);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(query.recNo(), 10);
    grid.setLockedCols(0);
    EXPECT_EQ(grid.lockedView(), nullptr);
}
