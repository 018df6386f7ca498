#include "platform/Dataset.h"
#include "platform/SqliteStore.h"
#include "widgets/TDBMemoTarvo.h"
#include "widgets/TDBNavigatorTarvo.h"

#include <QLineEdit>
#include <QPushButton>
#include "widgets/NavigatorButton.h"
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

TableDef notesDef()
{
    TableDef def;
    def.name = u"Notes"_s;
    def.fields = {FieldDef{u"ID"_s, FieldKind::AutoInc, 0, 0, {}, Qt::AlignLeft, true},
                  FieldDef{u"NAZEV"_s, FieldKind::Text, 40, 40, {}, Qt::AlignLeft, false},
                  FieldDef{u"VYBAVA"_s, FieldKind::Memo, 0, 0, {}, Qt::AlignLeft, false}};
    return def;
}

class WidgetsOverData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SqliteStore::create(dir.filePath(u"n.DB"_s), notesDef());
        data.setFileName(dir.filePath(u"n.DB"_s));
        data.open();
        for (const QString &n : {u"první"_s, u"druhý"_s, u"třetí"_s}) {
            data.append();
            data.setValue(u"NAZEV", n);
            data.setValue(u"VYBAVA", u"rádio;alarm;"_s);
            data.post();
        }
        data.first();
    }

    QList<int> widths(const TDBNavigatorTarvo &nav) const
    {
        QList<int> out;
        for (int i = 0; i < TDBNavigatorTarvo::kButtons; ++i)
            if (nav.isButtonVisible(NavigateButton(i)))
                out.append(nav.button(NavigateButton(i))->width());
        return out;
    }

    QTemporaryDir dir;
    Dataset data{notesDef()};
};

} // namespace

TEST_F(WidgetsOverData, NavigatorLayoutArithmetic)
{
    TDBNavigatorTarvo all;
    all.setVisibleButtons({NavigateButton::nbFirst, NavigateButton::nbPrior, NavigateButton::nbNext,
                           NavigateButton::nbLast, NavigateButton::nbInsert, NavigateButton::nbDelete,
                           NavigateButton::nbEdit, NavigateButton::nbPost, NavigateButton::nbCancel,
                           NavigateButton::nbRefresh});
    EXPECT_EQ(all.arrange(QSize(402, 28)), QSize(400, 28));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(all.button(NavigateButton(i))->x(), 40 * i);

    TDBNavigatorTarvo aligned;
    aligned.setAligned(true);
    EXPECT_EQ(aligned.arrange(QSize(400, 25)), QSize(400, 25));
    EXPECT_EQ(widths(aligned), (QList<int>{67, 66, 67, 67, 66, 67}));
    EXPECT_EQ(aligned.button(NavigateButton::nbFirst)->x(), 401); // hidden: just past the right edge

    TDBNavigatorTarvo vertical;
    vertical.setNavigOrientation(TNavigOrientation::noVertical);
    EXPECT_EQ(vertical.arrange(QSize(15, 50)), QSize(20, 108));
    EXPECT_EQ(vertical.button(NavigateButton::nbDelete)->geometry(), QRect(0, 18, 20, 18));
}

TEST_F(WidgetsOverData, PictureAndCaptionFollowLayoutMarginAndSpacing)
{
    TDBNavigatorTarvo nav;
    NavigatorButton *b = nav.button(NavigateButton::nbDelete);
    b->resize(100, 40);
    const int t = b->fontMetrics().size(Qt::TextShowMnemonic, b->text()).width();
    auto place = [&] { return b->placement(b->rect()); };

    EXPECT_EQ(place().glyph.left(), 4); // left, margin 4, spacing centres the caption
    EXPECT_EQ(place().caption.left(), 4 + 12 + (100 - 4 - 12 - t) / 2);
    nav.setButtonLayout(TButtonLayout::blGlyphRight);
    EXPECT_EQ(place().glyph.left(), 100 - 4 - 12);
    EXPECT_LT(place().caption.right(), place().glyph.left());
    nav.setButtonMargin(-1);
    nav.setButtonLayout(TButtonLayout::blGlyphLeft);
    const int gap = (100 - 12 - t) / 3;
    EXPECT_EQ(place().glyph.left(), gap);
    EXPECT_EQ(place().caption.left(), gap + 12 + gap);
    nav.setButtonMargin(2);
    nav.setButtonSpacing(3);
    nav.setButtonLayout(TButtonLayout::blGlyphTop);
    EXPECT_EQ(place().glyph.top(), 2);
    EXPECT_EQ(place().caption.top(), 2 + 12 + 3);
}

TEST_F(WidgetsOverData, CaptionsRelabelOnlyTheButtonsTheyName)
{
    TDBNavigatorTarvo nav;
    EXPECT_EQ(nav.button(NavigateButton::nbDelete)->text(), u"Smazat"_s);
    nav.setCaptions({u"A"_s, u"B"_s, u"C"_s});
    EXPECT_EQ(nav.button(NavigateButton::nbFirst)->text(), u"A"_s);
    EXPECT_EQ(nav.button(NavigateButton::nbNext)->text(), u"C"_s);
    EXPECT_EQ(nav.button(NavigateButton::nbLast)->text(), u"Posled"_s);
}

TEST_F(WidgetsOverData, DeleteAsksUnlessItsEventReplacesIt)
{
    TDBNavigatorTarvo nav;
    nav.setDataset(&data);
    QStringList asked;
    bool answer = false;
    nav.confirm = [&](const QString &q) {
        asked.append(q);
        return answer;
    };
    nav.button(NavigateButton::nbDelete)->click();
    EXPECT_EQ(asked, QStringList{u"Delete record?"_s});
    EXPECT_EQ(data.recordCount(), 3);
    answer = true;
    nav.button(NavigateButton::nbDelete)->click();
    EXPECT_EQ(data.recordCount(), 2);

    int replaced = 0;
    nav.OnClickDelete = [&] { ++replaced; };
    nav.button(NavigateButton::nbDelete)->click();
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(data.recordCount(), 2);
}

TEST_F(WidgetsOverData, ButtonsFollowTheDatasetState)
{
    TDBNavigatorTarvo nav;
    nav.setDataset(&data);
    EXPECT_FALSE(nav.button(NavigateButton::nbFirst)->isEnabled());
    EXPECT_TRUE(nav.button(NavigateButton::nbNext)->isEnabled());
    EXPECT_FALSE(nav.button(NavigateButton::nbPost)->isEnabled());
    nav.button(NavigateButton::nbLast)->click();
    EXPECT_EQ(data.recNo(), 2);
    EXPECT_FALSE(nav.button(NavigateButton::nbNext)->isEnabled());
    EXPECT_TRUE(nav.button(NavigateButton::nbPrior)->isEnabled());
}

TEST_F(WidgetsOverData, AReadOnlyMemoShowsTheRecordAndNeverWritesIt)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *memo = new TDBMemoTarvo(&window);
    auto *next = new QLineEdit(&window);
    layout->addWidget(memo);
    layout->addWidget(next);
    memo->setReadOnly(true);
    memo->setDataset(&data, u"NAZEV"_s); // a plain text field, which an editable memo would write
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(memo->toPlainText(), u"první"_s);
    data.next();
    EXPECT_EQ(memo->toPlainText(), u"druhý"_s);

    memo->setFocus();
    data.edit();
    QTest::keyClicks(memo, u"xyz"_s);
    memo->setPlainText(u"jiný název"_s);
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    data.post();
    EXPECT_EQ(data.text(u"NAZEV"), u"druhý"_s);
}

TEST_F(WidgetsOverData, AMemoOnAPlainFieldWritesItsTextWhenLeft)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *memo = new TDBMemoTarvo(&window);
    auto *next = new QLineEdit(&window);
    auto *ok = new QPushButton(u"OK"_s, &window);
    ok->setDefault(true);
    int okClicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
    layout->addWidget(memo);
    layout->addWidget(next);
    layout->addWidget(ok);
    memo->setDataset(&data, u"NAZEV"_s);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(okClicks, 1); // Enter goes to the window's default button first
    data.edit();
    memo->setPlainText(u"nový název"_s);
    next->setFocus();
    QApplication::processEvents();
    data.post();
    data.first();
    EXPECT_EQ(data.text(u"NAZEV"), u"nový název"_s);
}
