#include "EditForm.h"
#include "widgets/TKEdit.h"
#include "widgets/TKListBox.h"

#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Two edits, a combo box and a last edit, in this tab order; every entry and
// exit is counted.
class FocusForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&form);
        for (auto *w : std::initializer_list<QWidget *>{first, second, combo, last})
            layout->addWidget(w);
        combo->addItems({u"50"_s, u"100"_s});
        for (TKEdit *e : {first, second}) {
            QObject::connect(e, &TKEdit::entered, [this, e] { events.append(e->objectName() + u" enter"_s); });
            QObject::connect(e, &TKEdit::exited, [this, e] { events.append(e->objectName() + u" exit"_s); });
        }
        QObject::connect(combo, &TKComboBox::entered, [this] { events.append(u"combo enter"_s); });
        QObject::connect(combo, &TKComboBox::exited, [this] { events.append(u"combo exit"_s); });
        first->setObjectName(u"first"_s);
        second->setObjectName(u"second"_s);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        first->setFocus();
        QApplication::processEvents();
        events.clear();
    }

    // Answers every message box with OK and counts them.
    void answerMessageBoxes()
    {
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxes.append(box->text());
                box->done(QMessageBox::Ok);
            }
        });
        closer.start(5);
    }

    QWidget *focused() const { return QApplication::focusWidget(); }

    QStringList events;
    QStringList boxes;
    QTimer closer;
    QWidget form;
    TKEdit *first = new TKEdit(&form);
    TKEdit *second = new TKEdit(&form);
    TKComboBox *combo = new TKComboBox(&form);
    TKEdit *last = new TKEdit(&form);
};

} // namespace

TEST_F(FocusForm, TwoRequiredEditsDoNotPassTheRefusalBackAndForth)
{
    QStringList firstErrors, secondErrors;
    first->Required = second->Required = true;
    first->OnError = [&](const QString &m) { firstErrors.append(m); };
    second->OnError = [&](const QString &m) { secondErrors.append(m); };
    QTest::keyClick(first, Qt::Key_Tab);
    QTest::qWait(50);
    EXPECT_EQ(firstErrors, QStringList{u"Zadání položky je povinné !"_s});
    EXPECT_TRUE(secondErrors.isEmpty());
    EXPECT_EQ(focused(), first);
    EXPECT_FALSE(events.contains(u"second enter"_s));
    EXPECT_FALSE(events.contains(u"first exit"_s));
}

TEST_F(FocusForm, ARequiredEditAndARefusedNumberEachReportOnceInTheirBox)
{
    answerMessageBoxes();
    first->Required = true;
    second->EditType = TTypeEdit::teFloat;
    second->Number.Valid = true;
    second->Number.NumberArea = TNumberArea::naOnlyPositive;
    QTest::keyClick(first, Qt::Key_Tab);
    QTest::qWait(100);
    EXPECT_EQ(boxes, QStringList{u"Zadání položky je povinné !"_s});
    EXPECT_EQ(form.focusWidget(), first);
    form.activateWindow(); // no window manager gives it back after the box
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // The number refuses its empty text (a zero) and keeps the focus, while
    // the filled required edit is not asked again.
    first->setText(u"x"_s);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_EQ(focused(), second);
    QTest::keyClick(second, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::qWait(100);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1], u"Zadání je pouze pro kladná čísla.\n0,00 nevyhovuje."_s.replace(u',', QLocale().decimalPoint()));
    EXPECT_EQ(form.focusWidget(), second);
    EXPECT_EQ(events.count(u"first exit"_s), 1);
}

TEST_F(FocusForm, MenusAndOtherWindowsNeitherLeaveNorEnterAnEdit)
{
    QStringList errors;
    first->Required = true;
    first->OnError = [&](const QString &m) { errors.append(m); };

    QMenu *menu = test::openContextMenu(first);
    ASSERT_NE(menu, nullptr);
    QApplication::processEvents();
    delete menu;
    QApplication::processEvents();

    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_EQ(first->palette().color(QPalette::Base), QColor(255, 255, 153)); // still the entered field
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    EXPECT_TRUE(errors.isEmpty());
    EXPECT_TRUE(events.isEmpty()) << events.join(u", ").toStdString();
    EXPECT_EQ(focused(), first);

    // A real move still leaves, and checks.
    QTest::keyClick(first, Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(FocusForm, AComboDropDownNeitherLeavesNorEntersTheCombo)
{
    combo->setFocus();
    QApplication::processEvents();
    events.clear();
    combo->showPopup();
    QApplication::processEvents();
    combo->hidePopup();
    QApplication::processEvents();
    EXPECT_TRUE(events.isEmpty()) << events.join(u", ").toStdString();
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(255, 255, 153));
    last->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(events, QStringList{u"combo exit"_s});
}
