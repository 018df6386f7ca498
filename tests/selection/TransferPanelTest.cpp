// The upload's progress panel fed with work events.
#include "TGauge.h"
#include "TransferPanel.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace korvex;
using namespace Qt::StringLiterals;

TEST(TransferPanel, GaugeAndFiguresFollowTheWorkEvents)
{
    TransferPanel panel;
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(panel.LabelZbyvCas->text(), u"Čas"_s);
    qint64 now = 1000;
    panel.clock = [&] { return now; };

    panel.workBegin(409600);
    now += 2000;
    panel.work(204800);
    EXPECT_EQ(panel.Gauge1->PercentDone(), 50);
    EXPECT_EQ(panel.LabelPreneseno->text(), u"200 kB"_s);
    EXPECT_EQ(panel.LabelRychlost->text(), u"100,0 kB/s"_s);
    EXPECT_EQ(panel.LabelZbyvCas->text(), u"2s"_s);

    // More than announced is held to the maximum.
    panel.work(500000);
    EXPECT_EQ(panel.Gauge1->PercentDone(), 100);

    // A reply without a length: the bar stays at 0 %.
    panel.workBegin(0);
    panel.work(12345);
    EXPECT_EQ(panel.Gauge1->MaxValue(), 0);
    EXPECT_EQ(panel.Gauge1->PercentDone(), 0);
}

TEST(TransferPanel, StopIsReported)
{
    TransferPanel panel;
    int stops = 0;
    panel.onStop = [&] { ++stops; };
    panel.BitBtnStop->click();
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(panel.BitBtnStop->toolTip(), u"Přerušit přenos dat na Nesta"_s);
}
