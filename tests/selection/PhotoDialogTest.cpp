// The photo dialog over a vehicle of the working table: which boxes it
// offers, what each click writes, what closing writes, and how it copes with
// photos that are missing, broken or cut short.
#include "Controls.h"
#include "JpegWriter.h"
#include "ScriptedDialogs.h"
#include "VehicleTable.h"
#include "selection/JpegThumbnail.h"
#include "selection/TForm_Foto.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class PhotoDialog : public ::testing::Test
{
protected:
    QString photo(int n, int width = 640, int height = 480)
    {
        const QString path = table.path(u"foto_%1_max.jpg"_s.arg(n));
        fixture::writeJpeg(path, width, height, unsigned(n));
        return path;
    }

    void vehicle(const QHash<QString, QVariant> &fields)
    {
        table.add(fields);
        table.query.first();
    }

    bool flag(int n) const { return table.query.boolean(u"ZOB_FOTO%1"_s.arg(n)); }
    template<class T>
    T *control(const QString &name) const
    {
        return test::Control<T>(&dialog, name);
    }
    QCheckBox *box(int n) const { return control<QCheckBox>(u"CheckBoxFoto%1"_s.arg(n)); }
    QLabel *image(int n) const { return control<QLabel>(u"Image%1"_s.arg(n)); }
    QCheckBox *all() const { return control<QCheckBox>(u"CheckBoxVsechny"_s); }
    QCheckBox *none() const { return control<QCheckBox>(u"CheckBoxZadnou"_s); }
    bool framed(int n) const { return !image(n)->isHidden() && !image(n)->pixmap().isNull(); }

    test::VehicleTable table;
    test::ScriptedDialogs dialogs;
    TForm_Foto dialog{table.query, dialogs};
};

TEST_F(PhotoDialog, UncheckingAPhotoWritesAtOnceAndClosingCounts)
{
    vehicle({{u"FOTO1"_s, photo(1)}, {u"FOTO2"_s, photo(2)}, {u"FOTO3"_s, photo(3)}, {u"ZOB_FOTO1"_s, true},
             {u"ZOB_FOTO2"_s, true}, {u"ZOB_FOTO3"_s, true}, {u"ODESLI_FOTO"_s, u"3"_s}});
    dialog.show();
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(box(n)->isEnabled() && box(n)->isChecked()) << n;
        EXPECT_TRUE(framed(n)) << n;
    }
    EXPECT_FALSE(box(4)->isEnabled());
    EXPECT_TRUE(image(4)->isHidden());

    QTest::mouseClick(box(2), Qt::LeftButton);
    EXPECT_FALSE(flag(2));
    control<QPushButton>(u"BitBtn1"_s)->click();
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"2"_s);
    EXPECT_TRUE(dialogs.calls.isEmpty());
}

TEST_F(PhotoDialog, TheKeyboardTogglesAPhotoToo)
{
    vehicle({{u"FOTO1"_s, photo(1)}, {u"ZOB_FOTO1"_s, true}});
    dialog.show();
    box(1)->setFocus();
    QTest::keyClick(box(1), Qt::Key_Space);
    EXPECT_FALSE(box(1)->isChecked());
    EXPECT_FALSE(flag(1));
}

TEST_F(PhotoDialog, OpeningAndClosingCorrectsTheCount)
{
    vehicle({{u"FOTO1"_s, photo(1)}, {u"ZOB_FOTO1"_s, true}, {u"ODESLI_FOTO"_s, u"5"_s}});
    dialog.show();
    dialog.close();
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"1"_s);
}

TEST_F(PhotoDialog, CommandBoxesLeaveDisabledPhotosAlone)
{
    // Photo 4 has no path but is chosen; photo 5's file is gone.
    vehicle({{u"FOTO1"_s, photo(1)}, {u"FOTO2"_s, photo(2)}, {u"ZOB_FOTO4"_s, true},
             {u"FOTO5"_s, table.path(u"gone_5_max.jpg"_s)}});
    dialog.show();
    EXPECT_TRUE(box(4)->isChecked());
    EXPECT_FALSE(box(4)->isEnabled());
    EXPECT_TRUE(box(5)->isEnabled());
    EXPECT_FALSE(framed(5));

    QTest::mouseClick(all(), Qt::LeftButton);
    EXPECT_TRUE(flag(1) && flag(2) && flag(5));
    EXPECT_FALSE(flag(3));

    QTest::mouseClick(none(), Qt::LeftButton);
    EXPECT_FALSE(all()->isChecked());
    EXPECT_FALSE(flag(1) || flag(2) || flag(5));
    EXPECT_TRUE(flag(4));
    dialog.close();
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"1"_s);

    // A second click on "all" removes its own mark but chooses again.
    dialog.show();
    QTest::mouseClick(all(), Qt::LeftButton);
    QTest::mouseClick(all(), Qt::LeftButton);
    EXPECT_FALSE(all()->isChecked());
    EXPECT_TRUE(flag(1) && flag(2) && flag(5));
}

TEST_F(PhotoDialog, BrokenAndShortenedPhotos)
{
    const QString broken = table.path(u"broken_1_max.jpg"_s);
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\xFF\xD8\xFF\xE0 this is no picture", 24) + QByteArray(500, 'x'));
    f.close();
    QFile whole(photo(2, 800, 600));
    ASSERT_TRUE(whole.open(QIODevice::ReadWrite));
    whole.resize(whole.size() / 2);
    whole.close();

    // A count that disagrees with the flags shows any write before closing.
    vehicle({{u"FOTO1"_s, broken}, {u"FOTO2"_s, photo(2)}, {u"ZOB_FOTO1"_s, true}, {u"ODESLI_FOTO"_s, u"5"_s}});
    table.query.edit();
    table.query.setValue(u"FOTO2", whole.fileName());
    table.query.post();
    dialog.show();
    EXPECT_TRUE(box(1)->isEnabled());
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_TRUE(image(1)->pixmap().isNull());
    EXPECT_TRUE(framed(2));
    EXPECT_TRUE(flag(1));
    EXPECT_FALSE(flag(2));
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"5"_s);
    EXPECT_TRUE(dialogs.calls.isEmpty());
    dialog.close();
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"1"_s);
}

TEST_F(PhotoDialog, WithoutAVehicleNothingIsOfferedOrWritten)
{
    // The list filtered down to nothing: the vehicle exists but is not current.
    vehicle({{u"FOTO1"_s, photo(1)}, {u"ODESLI_FOTO"_s, u"5"_s}});
    table.query.setFilter([](const DatasetRecord &) { return false; });
    table.query.setFiltered(true);
    ASSERT_EQ(table.query.recordCount(), 0);
    dialog.show();
    for (int n = 1; n <= 6; ++n)
        EXPECT_FALSE(box(n)->isEnabled()) << n;
    QTest::mouseClick(all(), Qt::LeftButton);
    dialog.close();
    EXPECT_TRUE(dialogs.calls.isEmpty());

    table.query.setFiltered(false);
    ASSERT_EQ(table.query.recordCount(), 1);
    EXPECT_FALSE(flag(1));
    EXPECT_EQ(table.query.text(u"ODESLI_FOTO"), u"5"_s);
}

TEST(JpegThumbnail, DecodesAtTheSmallestScaleThatFillsTheFrame)
{
    QTemporaryDir dir;
    const QString big = dir.filePath(u"big.jpg"_s);
    fixture::writeJpeg(big, 1600, 1200, 7);
    const QImage image = DecodeJpegForFrame(big, QSize(201, 150));
    EXPECT_EQ(image.size(), QSize(400, 300));

    const QString small = dir.filePath(u"small.jpg"_s);
    fixture::writeJpeg(small, 120, 90, 7);
    EXPECT_EQ(DecodeJpegForFrame(small, QSize(201, 150)).size(), QSize(120, 90));

    const std::vector<QImage> images = DecodeJpegsForFrame({big, QString(), dir.filePath(u"none.jpg"_s), small},
                                                           QSize(201, 150));
    ASSERT_EQ(images.size(), 4u);
    EXPECT_FALSE(images[0].isNull());
    EXPECT_TRUE(images[1].isNull());
    EXPECT_TRUE(images[2].isNull());
    EXPECT_FALSE(images[3].isNull());
}

} // namespace
