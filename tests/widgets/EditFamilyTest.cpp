#include "widgets/TKEdit.h"
#include "widgets/TKListBox.h"

#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Types text the way a keyboard does, Czech letters included.
void type(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c == u' ' ? Qt::Key_Space : Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

// A form of three edits, a list box and a combo box, in this tab order.
class EditForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&form);
        for (auto *w : std::initializer_list<QWidget *>{first, second, third, list, combo, last})
            layout->addWidget(w);
        list->addItems({u"a"_s, u"b"_s, u"c"_s});
        list->setCurrentRow(0);
        combo->addItems({u"50"_s, u"100"_s, u"150"_s, u"200"_s});
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        first->setFocus();
        QApplication::processEvents();
    }

    QWidget *focused() const { return QApplication::focusWidget(); }

    QWidget form;
    TKEdit *first = new TKEdit(&form);
    TKEdit *second = new TKEdit(&form);
    TKEdit *third = new TKEdit(&form);
    TKListBox *list = new TKListBox(&form);
    TKComboBox *combo = new TKComboBox(&form);
    TKEdit *last = new TKEdit(&form);
};

} // namespace

TEST_F(EditForm, EnterDownAndUpMoveLikeTab)
{
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(focused(), second);
    QTest::keyClick(second, Qt::Key_Down);
    EXPECT_EQ(focused(), third);
    QTest::keyClick(third, Qt::Key_Up);
    EXPECT_EQ(focused(), second);
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_EQ(focused(), third);
}

TEST_F(EditForm, TheFocusedEditIsLightYellowAndReturnsToItsLoadedColour)
{
    EXPECT_EQ(first->palette().color(QPalette::Base), QColor(255, 255, 153));
    const QColor loaded = second->palette().color(QPalette::Base);
    QPalette p = first->palette();
    p.setColor(QPalette::Base, Qt::red);
    first->setPalette(p);
    second->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(first->palette().color(QPalette::Base), loaded);
}

TEST_F(EditForm, ARequiredEmptyEditKeepsTheFocusAndReportsOnce)
{
    QStringList errors;
    first->Required = true;
    first->OnError = [&](const QString &m) { errors.append(m); };
    int exits = 0;
    QObject::connect(first, &TKEdit::exited, [&] { ++exits; });
    second->setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(errors, QStringList{u"Zadání položky je povinné !"_s});
    EXPECT_EQ(focused(), first);
    EXPECT_EQ(exits, 0);
    first->setText(u"x"_s);
    second->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(exits, 1);
}

TEST_F(EditForm, ProperCaseFilterAndLeftPadding)
{
    first->CaseMode = TCaseMode::cmProperCase;
    type(first, u"nový vůz"_s);
    EXPECT_EQ(first->text(), u"Nový Vůz"_s);

    second->setFocus();
    second->StringEdit.Filtr = u"0123456789"_s;
    second->StringEdit.FiltrUse = true;
    second->StringEdit.AlignLeftChar = u'0';
    second->setMaxLength(6);
    type(second, u"4a2"_s);
    EXPECT_EQ(second->text(), u"42"_s);
    third->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(second->text(), u"000042"_s);
}

TEST_F(EditForm, AnEmptyFilterIsSwitchedOffOnEntry)
{
    second->StringEdit.FiltrUse = true;
    second->setFocus();
    type(second, u"abc"_s);
    EXPECT_EQ(second->text(), u"abc"_s);
    EXPECT_FALSE(second->StringEdit.FiltrUse);
}

TEST_F(EditForm, FocusControlDownIsSkippedWhenDisabled)
{
    first->FocusControl.Down = third;
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_EQ(focused(), third);
    third->setEnabled(false);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_EQ(focused(), second);
    // Enter never consults FocusControl.
    third->setEnabled(true);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(focused(), second);
}

TEST_F(EditForm, ListBoxInLineMovesOnlyFromItsEdges)
{
    list->KeyLikeTab.keyInLine = true;
    list->setFocus();
    list->setCurrentRow(1);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(focused(), list);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(focused(), combo);
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(focused(), combo);
}

TEST_F(EditForm, TheSettingsComboMovesOnPlainKeysAndChangesOnCtrl)
{
    combo->setFocus();
    combo->setCurrentIndex(2);
    QTest::keyClick(combo, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(combo->currentText(), u"200"_s);
    EXPECT_EQ(focused(), combo);
    QTest::keyClick(combo, Qt::Key_Return);
    EXPECT_EQ(focused(), last);
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(focused(), last);
}

TEST_F(EditForm, BoxesAreTintedWhileFocusedAndGiveTheirColourBack)
{
    const QColor before = list->palette().color(QPalette::Base);
    list->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(255, 255, 153));
    combo->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(list->palette().color(QPalette::Base), before);
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(255, 255, 153));

    TKListBox disabled;
    disabled.setEnabled(false);
    disabled.Loaded();
    EXPECT_EQ(disabled.palette().color(QPalette::Base), disabled.ColorOnDisabled);
}

TEST_F(EditForm, TheSideButtonStandsInsideTheRightEdge)
{
    first->resize(200, 24);
    EXPECT_EQ(first->ButtonFont(), first->font());
    first->setButtonWidth(40); // no button yet: no effect
    EXPECT_EQ(first->ButtonWidth(), 15);
    first->setButtonVisible(true);
    first->setButtonWidth(40);
    EXPECT_EQ(first->sideButton()->geometry(), QRect(200 - 4 - 40, 2, 40, 20));
    EXPECT_EQ(first->sideButton()->text(), u"··"_s);
    QFont bold = first->font();
    bold.setBold(true);
    first->setButtonFont(bold);
    EXPECT_TRUE(first->sideButton()->font().bold());
    EXPECT_FALSE(first->font().bold());
    int clicks = 0;
    first->OnClickButton = [&] { ++clicks; };
    first->ButtonShortCut = QKeySequence(Qt::Key_F4);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_F4);
    EXPECT_EQ(clicks, 1);
    first->setVersion(u"3.0"_s);
    EXPECT_EQ(first->Version(), u"2.67"_s);
    EXPECT_EQ(combo->Version(), u"1.18"_s);
}
