#include "EditForm.h"
#include "widgets/NumberText.h"
#include "widgets/TKEdit.h"

#include <QLocale>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

void type(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

constexpr qint64 units(qint64 whole)
{
    return whole * 10000;
}

class NumberEdit : public test::TwoEditForm
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        edit->OnError = [this](const QString &m) { errors.append(m); };
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST_F(NumberEdit, CurrencyShowsGroupedWithItsTextWhileUnfocused)
{
    edit->EditType = TTypeEdit::teCurrency;
    show();
    type(edit, u"1234.5"_s);
    EXPECT_EQ(edit->text(), u"1234,5"_s);
    type(edit, u","_s);
    EXPECT_EQ(edit->text(), u"1234,5"_s); // a second separator is refused
    leave();
    EXPECT_EQ(edit->Value(), 12345000);
    EXPECT_EQ(edit->numberDisplay(), u"1 234,5 Kč"_s);
    edit->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(edit->text(), u"1234,5"_s);
}

TEST_F(NumberEdit, NormalFormWithoutConversion)
{
    EXPECT_EQ(NumberText::normalForm(u"5,129"_s, 2, 2, u','), u"5,12"_s);
    EXPECT_EQ(NumberText::normalForm(u"05,5"_s, 2, 2, u','), u"5,50"_s);
    EXPECT_EQ(NumberText::normalForm(u"-0"_s, 2, 2, u','), u"0,00"_s);
    EXPECT_EQ(NumberText::normalForm(u",5"_s, 0, 1, u','), u"0,0"_s);
    edit->EditType = TTypeEdit::teFloat;
    edit->Number.NumberTextToValue = false;
    show();
    type(edit, u"05,5"_s);
    leave();
    EXPECT_EQ(edit->text(), u"5,50"_s);
}

TEST_F(NumberEdit, RangeChecksWithTheirMessages)
{
    edit->EditType = TTypeEdit::teFloat;
    edit->Number.Valid = true;
    edit->Number.ValueMin = units(-10);
    show();
    type(edit, u"5"_s);
    leave();
    EXPECT_EQ(errors, QStringList{u"Maximální číselná hodnota je \"0\""_s});
    EXPECT_EQ(edit->text(), QString()); // the text before the last typed character
    EXPECT_TRUE(edit->hasFocus());

    errors.clear();
    edit->Number.ValueMax = units(100);
    edit->setText(QString());
    type(edit, u"150"_s);
    leave();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(edit->Value(), units(100));
    EXPECT_EQ(edit->text(), u"100"_s);
}

TEST_F(NumberEdit, OnlyPositiveRefusesZero)
{
    edit->EditType = TTypeEdit::teFloat;
    edit->Number.Valid = true;
    edit->Number.NumberArea = TNumberArea::naOnlyPositive;
    show();
    type(edit, u"-0"_s);
    EXPECT_EQ(edit->text(), u"0"_s); // no minus sign for positive numbers
    leave();
    EXPECT_EQ(errors, QStringList{u"Zadání je pouze pro kladná čísla.\n0,00 nevyhovuje."_s});
}

TEST_F(NumberEdit, WithoutBoundsTheMinusIsAllowedAndNothingIsChecked)
{
    edit->EditType = TTypeEdit::teFloat;
    edit->Number.Valid = true;
    show();
    type(edit, u"-42"_s);
    leave();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(edit->Value(), units(-42));
}

TEST_F(NumberEdit, IntegersTakeNoSeparatorAndRoundTheirValue)
{
    edit->EditType = TTypeEdit::teInteger;
    show();
    type(edit, u"12,7"_s);
    EXPECT_EQ(edit->text(), u"127"_s);
    edit->setValue(127000);
    EXPECT_EQ(edit->text(), u"13"_s);
}

TEST_F(NumberEdit, GroupingKeepsTheSignBeforeTheFirstDigit)
{
    EXPECT_EQ(NumberText::grouped(u"-123"_s, 3, u','), u"-123"_s);
    EXPECT_EQ(NumberText::grouped(u"-1234"_s, 3, u','), u"-1 234"_s);
    EXPECT_EQ(NumberText::grouped(u"1234567,89"_s, 3, u','), u"1 234 567,89"_s);
    EXPECT_EQ(NumberText::forMessage(-12345670000, u','), u"-1 234 567,00"_s);
    EXPECT_EQ(NumberText::toValue(u"1,23456"_s, u','), 12346);
    EXPECT_EQ(NumberText::toValue(u"x"_s, u','), std::nullopt);
    EXPECT_EQ(NumberText::plain(12345000, u',', false), u"1234,5"_s);
}

TEST_F(NumberEdit, EmptyingTheTextSetsValueToZero)
{
    edit->EditType = TTypeEdit::teFloat;
    edit->setValue(units(7));
    qint64 seen = -1;
    QObject::connect(edit, &QLineEdit::textChanged, [&] { seen = edit->Value(); });
    edit->clear();
    EXPECT_EQ(seen, 0);
}
