#pragma once

#include "widgets/TKEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace korvex::test {

// Opens the edit's context menu as the menu key does; the menu is the
// caller's to delete.
inline QMenu *openContextMenu(QWidget *edit)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &event);
    return edit->findChild<QMenu *>();
}

// A small form of two edits for driving one of them offscreen.
class TwoEditForm : public ::testing::Test
{
protected:
    TwoEditForm()
    {
        auto *layout = new QVBoxLayout(&form);
        layout->addWidget(edit);
        layout->addWidget(other);
    }

    void show()
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        edit->setFocus();
        QApplication::processEvents();
    }

    void leave()
    {
        other->setFocus();
        QApplication::processEvents();
        QApplication::processEvents();
    }

    // Declared first, so that it outlives the form: closing the form leaves
    // the edit, which may report once more.
    QStringList errors;
    QWidget form;
    TKEdit *edit = new TKEdit(&form);
    TKEdit *other = new TKEdit(&form);
};

} // namespace korvex::test
