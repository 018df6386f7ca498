#include "selection/TGauge.h"

#include <QPainter>

#include <algorithm>

namespace korvex {

TGauge::TGauge(QWidget *parent)
    : QWidget(parent)
{
}

void TGauge::setMaxValue(qint64 max)
{
    m_max = std::max<qint64>(0, max);
    m_progress = std::min(m_progress, m_max);
    update();
}

void TGauge::setProgress(qint64 position)
{
    m_progress = std::clamp<qint64>(position, 0, m_max);
    update();
}

int TGauge::PercentDone() const
{
    return m_max > 0 ? int(m_progress * 100 / m_max) : 0;
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
    const int filled = m_max > 0 ? int(qint64(width()) * m_progress / m_max) : 0;
    painter.fillRect(QRect(0, 0, filled, height()), ForeColor);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1 %").arg(PercentDone()));
}

} // namespace korvex
