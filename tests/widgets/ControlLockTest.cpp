// The lock a window takes while a send runs: what it disables and what it
// gives back.
#include "ControlLock.h"
#include "NavigatorButton.h"
#include "TDBNavigatorTarvo.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    }
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(edit->isEnabled());
    EXPECT_TRUE(navigator->isEnabled());
    EXPECT_FALSE(offByDesign->isEnabled());
    EXPECT_FALSE(first->isEnabled());
}
