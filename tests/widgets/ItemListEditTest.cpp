#include "EditForm.h"
#include "widgets/TKEdit.h"

#include <QListWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class ItemForm : public test::TwoEditForm
{
protected:
    void SetUp() override
    {
        edit->EditType = TTypeEdit::teComboBox;
        edit->ComboBox.Items = u"CZ‡Česko|SK‡Slovensko||D‡Německo"_s;
    }
};

} // namespace

TEST_F(ItemForm, TheListShowsValueAndDescriptionAndChoosingSetsTheValue)
{
    edit->ComboBox.ItemIndex = 2;
    show();
    EXPECT_EQ(edit->text(), u"D"_s);
    EXPECT_TRUE(edit->isReadOnly());
    ASSERT_NE(edit->sideButton(), nullptr);
    edit->sideButton()->click();
    QListWidget *list = edit->itemList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(0)->text(), u"CZČesko"_s);
    EXPECT_EQ(list->item(1)->text(), u"SKSlovensko"_s);
    EXPECT_EQ(list->item(2)->text(), u"DNěmecko"_s);
    EXPECT_EQ(list->currentRow(), 2); // the current value is preselected
    EXPECT_EQ(edit->palette().color(QPalette::Base), edit->ComboBox.ColorEditOnFocus);
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(edit->text(), u"SK"_s);
    EXPECT_EQ(edit->itemList(), nullptr);
}

TEST_F(ItemForm, EscapeDismissesWithoutChange)
{
    show();
    EXPECT_EQ(edit->text(), QString());
    edit->sideButton()->click();
    ASSERT_NE(edit->itemList(), nullptr);
    QTest::keyClick(edit->itemList(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(ItemForm, AnOutOfRangeDropDownCountBecomesSix)
{
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many.append(u"P%1"_s.arg(i));
    edit->ComboBox.Items = many.join(u'|');
    edit->ComboBox.DropDownCount = 30;
    show();
    edit->sideButton()->click();
    EXPECT_EQ(edit->ComboBox.DropDownCount, 6);
    ASSERT_NE(edit->itemList(), nullptr);
    EXPECT_EQ(edit->itemList()->height(), 6 * (QFontInfo(edit->font()).pixelSize() + 5) + 10);
    edit->itemList()->close();
}

TEST_F(ItemForm, TypedLettersPickItemsAndDeleteEmpties)
{
    edit->ComboBox.Items = u"Audi|Alfa|BMW|Aro"_s;
    show();
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->text(), u"Aro"_s); // from an empty text: the last match
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->text(), u"Audi"_s); // from the last match back to the first
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->text(), u"Aro"_s);
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(edit->text(), u"BMW"_s);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(edit->text(), u"BMW"_s);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QString());
    QTest::keyClick(edit, Qt::Key_B);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier); // a Delete too, though it cuts elsewhere
    EXPECT_EQ(edit->text(), QString());
    edit->ComboBox.OffDelKey = true;
    QTest::keyClick(edit, Qt::Key_B);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), u"BMW"_s);
}
