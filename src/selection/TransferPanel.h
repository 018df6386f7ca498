#pragma once

#include "export/HttpClient.h"

#include <QFrame>

#include <deque>
#include <functional>

class QLabel;

namespace korvex {

class TGauge;

// The upload's progress panel: a gauge fed by the HTTP client's work events,
// the amount delivered, the time left and the speed, and STOP. It follows
// the request body; once the portal holds all of it, the panel says that the
// module waits for the portal's answer.
class TransferPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TransferPanel(QWidget *parent = nullptr);

    // A new operation of the client: 0 when its size is not announced.
    void workBegin(WorkDirection direction, qint64 announced);
    void work(WorkDirection direction, qint64 done);
    // The portal holds the whole body and has not answered yet.
    bool Waiting() const { return m_waiting; }
    // The upload ended with an error or STOP: no figure may suggest that it
    // still runs.
    void transferFailed();

    // Milliseconds on a steady clock, for the speed.
    std::function<qint64()> clock;

Q_SIGNALS:
    // STOP pressed.
    void stopRequested();

private:
    struct Sample
    {
        qint64 at;
        qint64 bytes;
    };
    void showWaiting();

    TGauge *m_gauge = nullptr;
    QLabel *m_amount = nullptr;
    QLabel *m_timeLeft = nullptr;
    QLabel *m_speed = nullptr;
    std::deque<Sample> m_samples;
    bool m_waiting = false;
};

// The panel's texts: "512 kB", "12s", "25,6 kB/s".
QString TransferAmountText(qint64 bytes);
QString TransferTimeText(qint64 seconds);
QString TransferSpeedText(double bytesPerSecond);

} // namespace korvex
