// The tests' one way to a form's controls: a control that cannot be driven
// fails the test with its name instead of crashing it or driving another.
#include "Controls.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

// Whether finding the control ended the test's step.
template<class T>
bool refused(const QWidget &form, const char *name)
{
    try {
        test::Control<T>(&form, name);
    } catch (const std::runtime_error &) {
        return true;
    }
    return false;
}

} // namespace

TEST(Control, FindsOneControlOfTheTypeAndNamesEveryOtherCase)
{
    QWidget form;
    form.setObjectName(u"TabSheetSeznam"_s);
    auto *frame = new QWidget(&form);
    auto *send = new QPushButton(frame);
    send->setObjectName(u"BitBtn3"_s);
    for (int i = 0; i < 2; ++i)
        (new QLabel(&form))->setObjectName(u"Label15"_s);

    EXPECT_EQ(test::Control<QAbstractButton>(&form, "BitBtn3"), send);
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(refused<QPushButton>(form, "BitBtn4")),
                            "\"BitBtn4\" under \"TabSheetSeznam\": missing");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(refused<QLabel>(form, "BitBtn3")), "a QPushButton, not a QLabel");
    EXPECT_NONFATAL_FAILURE(EXPECT_TRUE(refused<QLabel>(form, "Label15")), "2 controls have that name");
}
