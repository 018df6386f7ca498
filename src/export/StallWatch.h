#pragma once

#include <QString>

#include <cstdint>

namespace korvex {

// Decides when a request has stood still too long. While the request body is
// on its way, no byte may stand still for the low-speed window. Once the
// server holds the whole body it may take the long answer window to work on
// it and answer: an upload the server has received is not broken off just
// because a large import keeps the server busy.
class StallWatch
{
public:
    // bodySize < 0: a request without a body, the low-speed window throughout.
    StallWatch(int lowSpeedSeconds, int answerSeconds, std::int64_t bodySize, std::int64_t nowMs);

    // Bytes of the body the server has acknowledged and bytes of the reply
    // received so far. Returns false once the request has to be given up.
    bool update(std::int64_t nowMs, std::int64_t delivered, std::int64_t received);

    // The whole body has reached the server.
    bool bodyDelivered() const { return m_bodySize >= 0 && m_delivered >= m_bodySize; }
    // Why the request was given up.
    QString reason() const;

private:
    int m_lowSpeedSeconds;
    int m_answerSeconds;
    std::int64_t m_bodySize;
    std::int64_t m_delivered = 0;
    std::int64_t m_received = 0;
    std::int64_t m_lastMove;
    bool m_answerExpired = false;
};

} // namespace korvex
