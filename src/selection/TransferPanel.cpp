#include "selection/TransferPanel.h"

#include "selection/TGauge.h"
#include "widgets/FormText.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The speed is the average of the last few seconds, so that it follows the
// line as it is now; a shorter span gives figures that jump about.
constexpr qint64 kSpeedWindowMs = 5000;
constexpr qint64 kShortestSpanMs = 1000;

QLabel *label(QWidget *parent, const QString &text, const QRect &where, bool emphasised, const char16_t *name)
{
    QLabel *l = PlaceLabel(parent, text, where);
    l->setObjectName(QString::fromUtf16(name));
    if (emphasised)
        SetTextLook(l, QColor(255, 0, 0), true);
    return l;
}

} // namespace

QString TransferAmountText(qint64 bytes)
{
    return QString::number(bytes / 1024) + u" kB"_s;
}

QString TransferTimeText(qint64 seconds)
{
    return QString::number(seconds) + u"s"_s;
}

QString TransferSpeedText(double bytesPerSecond)
{
    return QString::number(bytesPerSecond / 1024.0, 'f', 1).replace(u'.', u',') + u" kB/s"_s;
}

TransferPanel::TransferPanel(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(u"Panel1"_s);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto *shape = new QFrame(this);
    shape->setObjectName(u"Shape2"_s);
    shape->setGeometry(0, 0, 408, 54);
    shape->setStyleSheet(u"QFrame#Shape2 { background: rgb(255, 255, 225); border: 1px solid black; }"_s);

    m_gauge = new TGauge(this);
    m_gauge->setObjectName(u"Gauge1"_s);
    m_gauge->setGeometry(6, 5, 324, 18);

    label(this, u"Přeneseno:"_s, QRect(6, 27, 62, 12), false, u"Label28");
    m_amount = label(this, u"Přeneseno:"_s, QRect(68, 27, 70, 12), true, u"LabelPreneseno");
    label(this, u"Zbývající čas:"_s, QRect(140, 27, 72, 12), false, u"Label29");
    // Both reach to the gauge's right edge, room for the longer texts.
    m_timeLeft = label(this, u"Čas"_s, QRect(214, 27, 116, 12), true, u"LabelZbyvCas");
    label(this, u"Přenos:"_s, QRect(6, 39, 62, 12), false, u"Label30");
    m_speed = label(this, u"Rychlost"_s, QRect(68, 39, 262, 12), true, u"LabelRychlost");

    auto *stop = new QPushButton(u"STOP"_s, this);
    stop->setObjectName(u"BitBtnStop"_s);
    stop->setToolTip(u"Přerušit přenos dat na Nesta"_s);
    stop->setGeometry(336, 5, 66, 44);
    connect(stop, &QPushButton::clicked, this, &TransferPanel::stopRequested);

    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    clock = [steady] { return steady->elapsed(); };
    resize(408, 54);
    hide();
}

void TransferPanel::workBegin(WorkDirection direction, qint64 announced)
{
    // The upload's reply is a few hundred bytes: the panel keeps showing the
    // body and the wait for that reply.
    if (direction == WorkDirection::Receiving)
        return;
    m_gauge->setMaxValue(announced > 0 ? announced : 0);
    m_gauge->setProgress(0);
    m_amount->setText(TransferAmountText(0));
    m_timeLeft->setText(u"Čas"_s);
    m_speed->setText(u"Rychlost"_s);
    m_waiting = false;
    m_samples.clear();
    m_samples.push_back({clock(), 0});
}

void TransferPanel::work(WorkDirection direction, qint64 done)
{
    if (direction == WorkDirection::Receiving || m_waiting)
        return;
    m_gauge->setProgress(done);
    m_amount->setText(TransferAmountText(m_gauge->Progress()));
    if (m_gauge->MaxValue() > 0 && m_gauge->Progress() == m_gauge->MaxValue()) {
        showWaiting();
        return;
    }

    const qint64 now = clock();
    m_samples.push_back({now, m_gauge->Progress()});
    // Keep one sample from before the window as its starting point.
    while (m_samples.size() > 1 && m_samples[1].at <= now - kSpeedWindowMs)
        m_samples.pop_front();
    const Sample &from = m_samples.front();
    const qint64 span = now - from.at;
    if (span < kShortestSpanMs)
        return;
    const double speed = double(m_gauge->Progress() - from.bytes) * 1000.0 / double(span);
    m_speed->setText(TransferSpeedText(speed));
    if (m_gauge->MaxValue() == 0)
        return;
    const qint64 left = m_gauge->MaxValue() - m_gauge->Progress();
    m_timeLeft->setText(speed > 0 ? TransferTimeText(qint64(std::ceil(double(left) / speed))) : u"neznámý"_s);
}

void TransferPanel::transferFailed()
{
    m_waiting = false;
    m_samples.clear();
    m_timeLeft->setText(u"Čas"_s);
    m_speed->setText(u"nezdařil se"_s);
}

void TransferPanel::showWaiting()
{
    m_waiting = true;
    m_samples.clear();
    m_timeLeft->setText(TransferTimeText(0));
    m_speed->setText(u"dokončen, čekám na odpověď portálu"_s);
}

} // namespace korvex
