#pragma once

#include "platform/ModuleSettings.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace korvex {

// Which way the bytes of a request go.
enum class WorkDirection { Sending, Receiving };

// What the client sends as a request body: its size, and a reader that fills
// a buffer and returns the bytes given (0 at the end, -1 on failure).
struct RequestBody
{
    QByteArray contentType;
    std::int64_t size = 0;
    std::function<std::int64_t(char *buffer, std::int64_t capacity)> read;
};

// The module's HTTP client on libcurl, with the gateway's fixed settings:
// Accept "text/html, */*", the module's User-Agent, cookies kept for the
// run, the host's proxy when switched on, no redirects followed, any status
// outside 200-299 a failure. Calls block, but while they wait the idle hook
// runs about every 10 ms, so that the window repaints and STOP (abort) can
// end a request at once. Every request has a connect timeout and stall
// limits (see StallWatch), so an unattended run never hangs.
class HttpClient
{
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    // An empty host with the proxy switched on is passed on as it is.
    void setProxy(const ProxySettings &proxy, bool enabled);
    const ProxySettings &proxy() const { return m_proxy; }
    bool proxyEnabled() const { return m_proxyEnabled; }
    void setConnectTimeout(int seconds) { m_connectTimeout = seconds; }
    // The request fails when no byte moves for this long while its body is
    // sent, or at any time for a request without a body.
    void setLowSpeedTimeout(int seconds) { m_lowSpeedTimeout = seconds; }
    // How long a server that holds the whole request body may stay silent.
    void setAnswerTimeout(int seconds) { m_answerTimeout = seconds; }
    // Reply bodies longer than this are cut (the rest is read and dropped).
    void setReplyLimit(std::int64_t bytes) { m_replyLimit = bytes; }

    // Progress: sending the request and reading the reply each begin anew.
    // Body bytes count once the server has acknowledged them, not when they
    // are handed to the socket, whose buffers may hold megabytes.
    std::function<void(WorkDirection, std::int64_t announced)> onWorkBegin; // 0 when unknown
    std::function<void(WorkDirection, std::int64_t done)> onWork;
    // Called about every 10 ms while a request waits.
    std::function<void()> onIdle;

    // STOP: the running request fails at once. Safe from the idle hook.
    void abort() { m_abort = true; }

    // Throws ModuleError with the client's message on any failure.
    QByteArray get(const QByteArray &url);
    QByteArray postHttp10(const QByteArray &url, const RequestBody &body);
    // The status of the last request that got an answer; 0 before any.
    long lastStatus() const { return m_lastStatus; }

private:
    struct Transfer;
    QByteArray perform(const QByteArray &url, const RequestBody *body);

    void *m_share = nullptr;
    ProxySettings m_proxy;
    bool m_proxyEnabled = false;
    int m_connectTimeout = 30;
    int m_lowSpeedTimeout = 60;
    int m_answerTimeout = 600;
    std::int64_t m_replyLimit = 8 * 1024 * 1024;
    std::atomic<bool> m_abort{false};
    long m_lastStatus = 0;
};

// Prepares libcurl once per process; every user of libcurl calls it first.
void EnsureHttpReady();

// Bytes outside the RFC 3986 unreserved characters written as %XX.
QByteArray PercentEncode(const QByteArray &bytes);

} // namespace korvex
