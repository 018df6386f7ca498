#pragma once

#include <QColor>
#include <QWidget>

namespace korvex {

// A horizontal progress gauge that shows its percentage as text. The
// position is held to the maximum; a maximum of 0 shows 0 %.
class TGauge : public QWidget
{
    Q_OBJECT
public:
    explicit TGauge(QWidget *parent = nullptr);

    qint64 MaxValue() const { return m_max; }
    void setMaxValue(qint64 max);
    qint64 Progress() const { return m_progress; }
    void setProgress(qint64 position);
    int PercentDone() const;

    QColor ForeColor = QColor(0, 0, 128);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint64 m_max = 100;
    qint64 m_progress = 0;
};

} // namespace korvex
