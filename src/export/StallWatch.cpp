#include "export/StallWatch.h"

using namespace Qt::StringLiterals;

namespace korvex {

StallWatch::StallWatch(int lowSpeedSeconds, int answerSeconds, std::int64_t bodySize, std::int64_t nowMs)
    : m_lowSpeedSeconds(lowSpeedSeconds)
    , m_answerSeconds(answerSeconds)
    , m_bodySize(bodySize)
    , m_lastMove(nowMs)
{
}

bool StallWatch::update(std::int64_t nowMs, std::int64_t delivered, std::int64_t received)
{
    if (delivered != m_delivered || received != m_received) {
        m_delivered = delivered;
        m_received = received;
        m_lastMove = nowMs;
        return true;
    }
    m_answerExpired = bodyDelivered();
    const std::int64_t window = std::int64_t(m_answerExpired ? m_answerSeconds : m_lowSpeedSeconds) * 1000;
    return nowMs - m_lastMove < window;
}

QString StallWatch::reason() const
{
    if (m_answerExpired)
        return u"Server neodpověděl do %1 s od převzetí odeslaných dat."_s.arg(m_answerSeconds);
    // The wording libcurl's own low-speed limit has always given.
    return u"Operation too slow. Less than 1 bytes/sec transferred the last %1 seconds"_s.arg(m_lowSpeedSeconds);
}

} // namespace korvex
