// The lock a window takes while a send runs: what it disables and what it
// gives back.
#include "widgets/ControlLock.h"
#include "widgets/NavigatorButton.h"
#include "widgets/TDBNavigatorTarvo.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace korvex;

TEST(ControlLock, GivesBackExactlyWhatItTook)
{
    QWidget window;
    auto *button = new QPushButton(&window);
    auto *edit = new QLineEdit(&window);
    auto *label = new QLabel(&window);
    auto *offByDesign = new QPushButton(&window);
    offByDesign->setEnabled(false);
    auto *kept = new QWidget(&window);
    auto *stop = new QPushButton(kept);
    auto *gone = new QPushButton(&window);
    auto *navigator = new TDBNavigatorTarvo(&window);
    NavigatorButton *first = navigator->button(NavigateButton::nbFirst);
    ASSERT_NE(first, nullptr);
    first->setEnabled(true);

    {
        ControlLock lock(&window, kept);
        EXPECT_FALSE(button->isEnabled());
        EXPECT_FALSE(edit->isEnabled());
        EXPECT_FALSE(navigator->isEnabled());
        EXPECT_TRUE(label->isEnabled());
        EXPECT_TRUE(stop->isEnabled());
        // The navigator switches its buttons as the record moves, also
        // while it is locked.
        first->setEnabled(false);
        delete gone;
    }
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(navigator->isEnabled());
    EXPECT_FALSE(offByDesign->isEnabled());
    EXPECT_FALSE(first->isEnabled());
}

// Ctrl+Tab turns the pages of a tab widget whose bar is disabled; the page
// with STOP must stay in front.
TEST(ControlLock, KeepsThePageInFront)
{
    QWidget window;
    auto *tabs = new QTabWidget(&window);
    auto *page = new QWidget;
    auto *stop = new QPushButton(page);
    tabs->addTab(page, QStringLiteral("odeslání"));
    tabs->addTab(new QWidget, QStringLiteral("nastavení"));
    tabs->addTab(new QWidget, QStringLiteral("vypnutá"));
    tabs->setTabEnabled(2, false);
    window.show();
    stop->setFocus();
    {
        ControlLock lock(&window, page);
        QTest::keyClick(stop, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), 0);
        QTest::keyClick(stop, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(tabs->currentIndex(), 0);
    }
    EXPECT_TRUE(tabs->isTabEnabled(1));
    EXPECT_FALSE(tabs->isTabEnabled(2));
    QTest::keyClick(stop, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 1);
}
