// The upload's progress panel fed with work events.
#include "Controls.h"
#include "selection/TGauge.h"
#include "selection/TransferPanel.h"
#include "widgets/ControlLock.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

namespace {

constexpr auto Sending = WorkDirection::Sending;
constexpr auto Receiving = WorkDirection::Receiving;

struct Panel
{
    Panel() { panel.clock = [this] { return now; }; }
    QString label(const char *name) const { return test::Control<QLabel>(&panel, name)->text(); }
    QString figures() const
    {
        return u"%1 %|%2|%3|%4"_s.arg(test::Control<TGauge>(&panel, "Gauge1")->PercentDone())
            .arg(label("LabelPreneseno"), label("LabelZbyvCas"), label("LabelRychlost"));
    }
    TransferPanel panel;
    qint64 now = 1000;
};

} // namespace

TEST(TransferPanel, BarAmountSpeedAndTimeLeftAgree)
{
    Panel p;
    EXPECT_TRUE(p.panel.isHidden());
    EXPECT_EQ(p.figures(), u"0 %|Přeneseno:|Čas|Rychlost"_s);

    p.panel.workBegin(Sending, 1024000);
    EXPECT_EQ(p.figures(), u"0 %|0 kB|Čas|Rychlost"_s);
    // Within the first second no speed is guessed from a few bytes.
    p.now += 200;
    p.panel.work(Sending, 51200);
    EXPECT_EQ(p.figures(), u"5 %|50 kB|Čas|Rychlost"_s);
    p.now += 1800;
    p.panel.work(Sending, 204800);
    EXPECT_EQ(p.figures(), u"20 %|200 kB|8s|100,0 kB/s"_s);
}

TEST(TransferPanel, TheSpeedFollowsTheLastSecondsOnly)
{
    Panel p;
    p.panel.workBegin(Sending, 10240000);
    // Ten seconds at 100 kB/s, then the line slows down to 10 kB/s.
    for (int s = 1; s <= 10; ++s) {
        p.now += 1000;
        p.panel.work(Sending, s * 102400);
    }
    EXPECT_EQ(p.label("LabelRychlost"), u"100,0 kB/s"_s);
    for (int s = 1; s <= 6; ++s) {
        p.now += 1000;
        p.panel.work(Sending, 1024000 + s * 10240);
    }
    EXPECT_EQ(p.figures(), u"10 %|1060 kB|894s|10,0 kB/s"_s);

    // Nothing moves: the same count repeated, the speed falls to zero.
    for (int s = 1; s <= 6; ++s) {
        p.now += 1000;
        p.panel.work(Sending, 1085440);
    }
    EXPECT_EQ(p.figures(), u"10 %|1060 kB|neznámý|0,0 kB/s"_s);
}

TEST(TransferPanel, AWholeBodyWaitsForTheAnswerAndTheReplyLeavesItAlone)
{
    Panel p;
    p.panel.workBegin(Sending, 731136);
    p.now += 3000;
    p.panel.work(Sending, 731136);
    EXPECT_TRUE(p.panel.Waiting());
    const QString waiting = u"100 %|714 kB|0s|dokončen, čekám na odpověď portálu"_s;
    EXPECT_EQ(p.figures(), waiting);
    // The portal's short answer neither restarts the bar nor the figures.
    p.panel.workBegin(Receiving, 45);
    p.panel.work(Receiving, 45);
    EXPECT_EQ(p.figures(), waiting);
}

TEST(TransferPanel, EachUploadStartsFromZero)
{
    Panel p;
    p.panel.workBegin(Sending, 409600);
    p.now += 2000;
    p.panel.work(Sending, 204800);
    ASSERT_EQ(p.figures(), u"50 %|200 kB|2s|100,0 kB/s"_s);

    // STOPped there; the next send starts with nothing of the old figures.
    p.now += 60000;
    p.panel.workBegin(Sending, 409600);
    EXPECT_EQ(p.figures(), u"0 %|0 kB|Čas|Rychlost"_s);
    p.now += 1000;
    p.panel.work(Sending, 10240);
    EXPECT_EQ(p.figures(), u"2 %|10 kB|39s|10,0 kB/s"_s);

    // A finished upload, then a new one: no longer waiting.
    p.panel.work(Sending, 409600);
    ASSERT_TRUE(p.panel.Waiting());
    p.panel.workBegin(Sending, 409600);
    EXPECT_FALSE(p.panel.Waiting());
    p.now += 1000;
    p.panel.work(Sending, 102400);
    EXPECT_EQ(p.figures(), u"25 %|100 kB|3s|100,0 kB/s"_s);
}

// STOP is the one control left usable while a send locks the window.
TEST(TransferPanel, StopWorksWhileTheWindowIsLocked)
{
    QWidget window;
    auto *send = new QPushButton(&window);
    auto *panel = new TransferPanel(&window);
    int stops = 0;
    QObject::connect(panel, &TransferPanel::stopRequested, [&] { ++stops; });
    ControlLock lock(&window, panel);
    EXPECT_FALSE(send->isEnabled());
    auto *stop = test::Control<QPushButton>(panel, "BitBtnStop");
    stop->click();
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(stop->toolTip(), u"Přerušit přenos dat na Nesta"_s);
}
