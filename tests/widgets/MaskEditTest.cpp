#include "EditForm.h"
#include "widgets/MaskText.h"
#include "widgets/TKEdit.h"

#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace korvex::MaskText;
using namespace Qt::StringLiterals;

namespace {

const QDateTime kNow(QDate(2026, 12, 9), QTime(10, 11, 12));

class MaskForm : public test::TwoEditForm
{
protected:
    void SetUp() override
    {
        edit->EditType = TTypeEdit::teMask;
        edit->now = [] { return kNow; };
    }
};

} // namespace

TEST(MaskText, DateCorrections)
{
    EXPECT_EQ(correct(u"05.03.7___"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"05.03.2007"_s);
    EXPECT_EQ(correct(u"31.02.2024"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"29.02.2024"_s);
    EXPECT_EQ(correct(u"31.02.2023"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"28.02.2023"_s);
    EXPECT_EQ(correct(u"45.03.25"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"05.03.1925"_s);
    EXPECT_EQ(correct(u"__.__.____"_s, u"!99.99.9999"_s, Correction::RevisionSys, kNow), u"09.12.2026"_s);
    EXPECT_EQ(correct(u"45.13.85"_s, u"!99.99.99"_s, Correction::RevisionSys, kNow), u"09.12.85"_s);
    EXPECT_EQ(correct(u"__.__.____"_s, u"!99.99.9999"_s, Correction::System, kNow), u"09.12.2026"_s);
    EXPECT_EQ(correct(u"1.1.2000"_s, u"!99-99"_s, Correction::Revision, kNow), u"1.1.2000"_s);
}

TEST(MaskText, ATooLargeDayEndingInZeroBecomesTheFirst)
{
    EXPECT_EQ(correct(u"40.01.2024"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"01.01.2024"_s);
    EXPECT_EQ(correct(u"90.02.24"_s, u"!99.99.99"_s, Correction::Revision, kNow), u"01.02.24"_s);
    EXPECT_EQ(correct(u"50.07"_s, u"!99.99"_s, Correction::Revision, kNow), u"01.07"_s);
    EXPECT_EQ(correct(u"39.04.2024"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"09.04.2024"_s);
    // A month ending in zero is replaced by the current one, as before.
    EXPECT_EQ(correct(u"15.30.2024"_s, u"!99.99.9999"_s, Correction::Revision, kNow), u"15.12.2024"_s);
}

TEST(MaskText, TimeCorrections)
{
    EXPECT_EQ(correct(u"10:20"_s, u"!99:15"_s, Correction::Revision, kNow), u"10:__"_s);
    EXPECT_EQ(correct(u"10:45"_s, u"!99:15"_s, Correction::Revision, kNow), u"10:45"_s);
    EXPECT_EQ(correct(u"24:60"_s, u"!99:99"_s, Correction::Revision, kNow), u"24:60"_s);
    EXPECT_EQ(correct(u"25:7_"_s, u"!99:99"_s, Correction::Revision, kNow), u"05:07"_s);
    EXPECT_EQ(correct(u"__:__"_s, u"!99:99"_s, Correction::System, kNow), u"10:11"_s);
    EXPECT_EQ(correct(u"__:__:__"_s, u"!99:99:99"_s, Correction::System, kNow), u"10:11:12"_s);
}

TEST(MaskText, FixedAndShiftingEditing)
{
    const Mask shifting(u"99-99"_s);
    Edit e{QString(), 0};
    for (const QChar d : {u'1', u'2', u'3'})
        e = typeDigit(e, e.caret, e.caret, d, shifting);
    EXPECT_EQ(e.text, u"12-3_"_s);
    e = erase(e, e.caret, e.caret, false, shifting);
    EXPECT_EQ(e.text, u"12-__"_s);
    EXPECT_EQ(e.caret, 3);

    const Mask fixed(u"!99.99"_s);
    Edit f{u"12.34"_s, 1};
    f = typeDigit(f, 1, 1, u'9', fixed);
    EXPECT_EQ(f.text, u"19.34"_s);
    EXPECT_EQ(f.caret, 3); // past the digit and the literal after it
    f = erase(f, 3, 3, true, fixed);
    EXPECT_EQ(f.text, u"19.4_"_s);
    f = erase(f, 0, 4, false, fixed);
    EXPECT_EQ(f.text, u"__.__"_s);
    EXPECT_EQ(format(u"1"_s, fixed), u"1_.__"_s);
    EXPECT_EQ(format(u"123456"_s, fixed), u"12345"_s);
}

TEST_F(MaskForm, TypingAndLeavingCorrectTheDate)
{
    edit->MaskEdit.Mask = u"!99.99.9999"_s;
    edit->MaskEdit.MaskOnExit = TMaskOn::moRevision;
    show();
    EXPECT_EQ(edit->text(), u"__.__.____"_s);
    EXPECT_EQ(edit->cursorPosition(), 0);
    QTest::keyClicks(edit, u"05a037"_s);
    EXPECT_EQ(edit->text(), u"05.03.7___"_s);
    leave();
    EXPECT_EQ(edit->text(), u"05.03.2007"_s);
}

TEST_F(MaskForm, ShiftingMaskWithBackspace)
{
    edit->MaskEdit.Mask = u"99-99"_s;
    show();
    QTest::keyClicks(edit, u"123"_s);
    EXPECT_EQ(edit->text(), u"12-3_"_s);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), u"12-__"_s);
    EXPECT_EQ(edit->cursorPosition(), 3);
}

TEST_F(MaskForm, EnteringWithSystemGivesTodayAndAMaskWithoutNinesTakesNoDigits)
{
    edit->MaskEdit.Mask = u"!99.99.9999"_s;
    edit->MaskEdit.MaskOnEnter = TMaskOn::moSystem;
    show();
    EXPECT_EQ(edit->text(), u"09.12.2026"_s);
    edit->MaskEdit.Mask = u"00-00"_s;
    edit->setText(QString());
    QTest::keyClicks(edit, u"12"_s);
    EXPECT_EQ(edit->text(), QString());
}
