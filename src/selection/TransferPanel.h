#pragma once

#include <QFrame>

#include <functional>

class QLabel;
class QPushButton;

namespace korvex {

class TGauge;

// The upload's progress panel: a gauge fed by the HTTP client's work events,
// the amount moved, the time left and the speed, and STOP.
class TransferPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TransferPanel(QWidget *parent = nullptr);

    // A new operation of the client: 0 when its size is not announced.
    void workBegin(qint64 announced);
    void work(qint64 done);

    TGauge *Gauge1;
    QLabel *LabelPreneseno;
    QLabel *LabelZbyvCas;
    QLabel *LabelRychlost;
    QPushButton *BitBtnStop;

    // STOP pressed.
    std::function<void()> onStop;
    // Milliseconds on a steady clock, for the speed.
    std::function<qint64()> clock;

private:
    qint64 m_started = 0;
};

// The panel's texts: "512 kB", "12s", "25,6 kB/s".
QString TransferAmountText(qint64 bytes);
QString TransferTimeText(qint64 seconds);
QString TransferSpeedText(double bytesPerSecond);

} // namespace korvex
