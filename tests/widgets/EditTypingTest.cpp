#include "Controls.h"
#include "EditForm.h"
#include "widgets/TKEdit.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

class Typing : public test::TwoEditForm
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Runs one action of the edit's context menu.
    void useMenu(const QString &action)
    {
        std::unique_ptr<QMenu> menu(test::openContextMenu(edit));
        ASSERT_NE(menu, nullptr);
        QAction *a = test::Control<QAction>(menu.get(), action);
        ASSERT_TRUE(a->isEnabled()) << action.toStdString();
        a->trigger();
    }

    static void setClipboard(const QString &text) { QGuiApplication::clipboard()->setText(text); }
};

} // namespace

TEST_F(Typing, KeyFirstInheritedKeepsTheRulesOfEachMode)
{
    edit->KeyFirstInherited = true;
    edit->EditType = TTypeEdit::teInteger;
    show();
    QTest::keyClicks(edit, u"1a-2"_s);
    EXPECT_EQ(edit->text(), u"12"_s);

    edit->EditType = TTypeEdit::teString;
    edit->setText(QString());
    edit->StringEdit.Filtr = u"abc "_s;
    edit->StringEdit.FiltrUse = true;
    edit->CaseMode = TCaseMode::cmUpperCase;
    QTest::keyClicks(edit, u"axb c"_s);
    EXPECT_EQ(edit->text(), u"AB C"_s);

    edit->EditType = TTypeEdit::teMask;
    edit->StringEdit.FiltrUse = false;
    edit->MaskEdit.Mask = u"!99.99.9999"_s;
    edit->setText(u"__.__.____"_s);
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_5);
    EXPECT_EQ(edit->text(), u"5_.__.____"_s);

    // The keys that move still move.
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), other);
}

TEST_F(Typing, DeleteWithItsControlCharacterDeletesAndTypesNothing)
{
    // Delete arrives with the text "\x7f" from some platforms' keyboards.
    const auto pressDelete = [this] {
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
        QApplication::sendEvent(edit, &del);
    };
    show();
    edit->setText(u"abc"_s);
    edit->setCursorPosition(0);
    pressDelete();
    EXPECT_EQ(edit->text(), u"bc"_s);

    edit->KeyFirstInherited = true;
    edit->EditType = TTypeEdit::teInteger;
    edit->setText(u"123"_s);
    edit->setCursorPosition(0);
    pressDelete();
    EXPECT_EQ(edit->text(), u"23"_s);
}

TEST_F(Typing, CutDeleteAndPasteEditTheMaskAsKeysDo)
{
    edit->EditType = TTypeEdit::teMask;
    edit->MaskEdit.Mask = u"!99.99.9999"_s;
    edit->MaskEdit.MaskOnExit = TMaskOn::moRevision;
    edit->setText(u"05.03.2024"_s);
    show();
    edit->setSelection(0, 4);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"05.0"_s);
    EXPECT_EQ(edit->text(), u"__._3.2024"_s);

    setClipboard(u"1a2"_s);
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), u"12._3.2024"_s);
    EXPECT_EQ(edit->cursorPosition(), 3);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier); // does nothing in a mask
    EXPECT_EQ(edit->text(), u"12._3.2024"_s);

    edit->selectAll();
    useMenu(u"edit-delete"_s);
    EXPECT_EQ(edit->text(), u"__.__.____"_s);
    setClipboard(u"0103"_s);
    edit->setCursorPosition(0);
    useMenu(u"edit-paste"_s);
    EXPECT_EQ(edit->text(), u"01.03.____"_s);
    edit->setSelection(3, 2);
    useMenu(u"edit-cut"_s);
    EXPECT_EQ(edit->text(), u"01.__.____"_s);

    // Deleting to the end of the line keeps the literals as well.
    edit->setCursorPosition(1);
    QKeyEvent toEnd(QEvent::KeyPress, Qt::Key_K, Qt::ControlModifier);
    if (toEnd.matches(QKeySequence::DeleteEndOfLine)) {
        QApplication::sendEvent(edit, &toEnd);
        EXPECT_EQ(edit->text(), u"0_.__.____"_s);
    }
    edit->setText(u"01.__.____"_s);
    edit->setCursorPosition(0);
    QTest::keyClick(edit, Qt::Key_Delete, Qt::ShiftModifier); // nothing to cut: a Delete
    EXPECT_EQ(edit->text(), u"1_.__.____"_s);
    leave();
    EXPECT_EQ(edit->text().size(), 10);
}

TEST_F(Typing, EveryWayInPassesTheNumberRules)
{
    edit->EditType = TTypeEdit::teFloat;
    edit->Number.NumberArea = TNumberArea::naOnlyPositive;
    show();
    setClipboard(u"-5"_s);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), u"5"_s);

    edit->clear();
    setClipboard(u"-1a2.5,3"_s);
    useMenu(u"edit-paste"_s);
    EXPECT_EQ(edit->text(), u"12,53"_s);

    edit->clear();
    QInputMethodEvent composed;
    composed.setCommitString(u"-8x"_s);
    QApplication::sendEvent(edit, &composed);
    EXPECT_EQ(edit->text(), u"8"_s);

    QMimeData dragged;
    dragged.setText(u"-7"_s);
    const QPoint end(edit->width() - 2, edit->height() / 2);
    QDragEnterEvent enter(end, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &enter);
    QDropEvent drop(end, Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit, &drop);
    EXPECT_EQ(edit->text(), u"87"_s);
}

TEST_F(Typing, PastedTextPassesTheFilterAndTheCaseOfTheTextMode)
{
    edit->StringEdit.Filtr = u"abcdefghijklmnopqrstuvwxyzáéíóúůýčďěňřšťž "_s;
    edit->StringEdit.FiltrUse = true;
    edit->CaseMode = TCaseMode::cmProperCase;
    show();
    setClipboard(u"nový 4x4\tvůz\n"_s);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), u"Nový Xvůz"_s);
}

TEST_F(Typing, APasswordIsNeitherCutNorCopiedFromTheMenu)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setText(u"tajné"_s);
    show();
    edit->selectAll();
    std::unique_ptr<QMenu> menu(test::openContextMenu(edit));
    ASSERT_NE(menu, nullptr);
    for (const QString &name : {u"edit-cut"_s, u"edit-copy"_s}) {
        EXPECT_FALSE(test::Control<QAction>(menu.get(), name)->isEnabled());
    }
}

TEST_F(Typing, EveryMenuActionHasItsOwnAccessKey)
{
    show();
    std::unique_ptr<QMenu> menu(test::openContextMenu(edit));
    ASSERT_NE(menu, nullptr);
    QString keys;
    for (const QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        const qsizetype amp = a->text().indexOf(u'&');
        ASSERT_GE(amp, 0) << a->text().toStdString();
        const QChar key = a->text().at(amp + 1).toLower();
        EXPECT_FALSE(keys.contains(key)) << a->text().toStdString();
        keys += key;
    }
}
