#include "export/HttpClient.h"

#include "export/CurlProxy.h"
#include "export/CurlTrust.h"
#include "export/StallWatch.h"
#include "export/TransportErrorText.h"
#include "platform/ModuleError.h"

#include <QElapsedTimer>
#include <QList>
#include <QUrl>

#include <curl/curl.h>

#ifdef __linux__
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif

#include <mutex>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr int kIdleMilliseconds = 10;
constexpr int kRepeatMilliseconds = 500;

// Bytes handed to the socket that the peer has not acknowledged yet. Where
// the system cannot tell, every byte handed over counts as delivered.
std::int64_t unacknowledged(curl_socket_t socket)
{
#ifdef __linux__
    int pending = 0;
    if (socket != CURL_SOCKET_BAD && ::ioctl(socket, SIOCOUTQ, &pending) == 0)
        return pending;
#else
    Q_UNUSED(socket);
#endif
    return 0;
}

} // namespace

void EnsureHttpReady()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// The state of one request, shared with libcurl's callbacks.
struct HttpClient::Transfer
{
    HttpClient &client;
    CURL *curl;
    const RequestBody *body;
    QByteArray reply;
    QByteArray statusLine;
    QElapsedTimer clock;
    // Sockets libcurl has open; of several tried at once (IPv6 and IPv4)
    // only the one that connected stays.
    QList<curl_socket_t> sockets;
    bool replyBegun = false;
    std::int64_t lastReported = -1;
    qint64 lastReportedAt = 0;

    // Body bytes the server has acknowledged.
    std::int64_t delivered() const
    {
        curl_off_t handed = 0;
        curl_easy_getinfo(curl, CURLINFO_SIZE_UPLOAD_T, &handed);
        const curl_socket_t socket = sockets.size() == 1 ? sockets.constFirst() : CURL_SOCKET_BAD;
        return std::max<std::int64_t>(0, std::int64_t(handed) - unacknowledged(socket));
    }

    std::int64_t received() const
    {
        curl_off_t bytes = 0;
        curl_easy_getinfo(curl, CURLINFO_SIZE_DOWNLOAD_T, &bytes);
        return bytes;
    }

    // Each change, and the same count again now and then, so that a display
    // can tell a stall from silence.
    void report(qint64 nowMs)
    {
        const std::int64_t done = replyBegun ? received() : delivered();
        if (done == lastReported && nowMs - lastReportedAt < kRepeatMilliseconds)
            return;
        if (client.onWork)
            client.onWork(replyBegun ? WorkDirection::Receiving : WorkDirection::Sending, done);
        lastReported = done;
        lastReportedAt = nowMs;
    }

    void beginReply(std::int64_t announced)
    {
        // The last body bytes may have been acknowledged since the last report.
        report(clock.elapsed());
        replyBegun = true;
        lastReported = -1;
        if (client.onWorkBegin)
            client.onWorkBegin(WorkDirection::Receiving, announced > 0 ? announced : 0);
    }

    static size_t onWrite(char *data, size_t size, size_t count, void *self)
    {
        auto *t = static_cast<Transfer *>(self);
        const auto bytes = qsizetype(size * count);
        const qsizetype room = qsizetype(t->client.m_replyLimit) - t->reply.size();
        if (room > 0)
            t->reply.append(data, std::min(room, bytes));
        return size * count;
    }

    static size_t onHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *t = static_cast<Transfer *>(self);
        const QByteArray line(data, qsizetype(size * count));
        if (line.startsWith("HTTP/")) {
            t->statusLine = line.trimmed();
        } else if (line == "\r\n" || line == "\n") {
            // End of a header block; an interim 1xx reply is not the reply.
            const int status = t->statusLine.split(' ').value(1).toInt();
            if (status < 100 || status > 199) {
                curl_off_t length = -1;
                curl_easy_getinfo(t->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
                t->beginReply(length);
            }
        }
        return size * count;
    }

    // libcurl names the socket of a running transfer only here.
    static int onSocketOpened(void *self, curl_socket_t socket, curlsocktype purpose)
    {
        if (purpose == CURLSOCKTYPE_IPCXN)
            static_cast<Transfer *>(self)->sockets.append(socket);
        return CURL_SOCKOPT_OK;
    }

    static int onSocketClosed(void *self, curl_socket_t socket)
    {
        static_cast<Transfer *>(self)->sockets.removeOne(socket);
        return ::close(socket);
    }

    static size_t onRead(char *buffer, size_t size, size_t count, void *self)
    {
        auto *t = static_cast<Transfer *>(self);
        const std::int64_t got = t->body->read(buffer, std::int64_t(size * count));
        return got < 0 ? CURL_READFUNC_ABORT : size_t(got);
    }
};

HttpClient::HttpClient()
{
    EnsureHttpReady();
    // Each request gets a handle of its own; the cookies of the run live in
    // the share.
    m_share = curl_share_init();
    if (m_share)
        curl_share_setopt(static_cast<CURLSH *>(m_share), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
}

HttpClient::~HttpClient()
{
    curl_share_cleanup(static_cast<CURLSH *>(m_share));
}

void HttpClient::setProxy(const ProxySettings &proxy, bool enabled)
{
    m_proxy = proxy;
    m_proxyEnabled = enabled;
}

QByteArray HttpClient::get(const QByteArray &url)
{
    return perform(url, nullptr);
}

QByteArray HttpClient::postHttp10(const QByteArray &url, const RequestBody &body)
{
    return perform(url, &body);
}

QByteArray HttpClient::perform(const QByteArray &url, const RequestBody *body)
{
    CURL *curl = m_share ? curl_easy_init() : nullptr;
    if (!curl)
        throw ModuleError(u"Klienta HTTP nelze vytvořit"_s);
    const std::unique_ptr<CURL, void (*)(CURL *)> handle(curl, curl_easy_cleanup);
    m_abort = false;
    // libcurl refuses an address longer than its input limit and then
    // reports only "No URL set". The address is not shown: it may carry the
    // password.
    if (curl_easy_setopt(curl, CURLOPT_URL, url.constData()) != CURLE_OK)
        throw ModuleError(u"Adresa požadavku je příliš dlouhá (%1 bajtů), požadavek nelze odeslat."_s.arg(url.size()));
    ApplyTrust(curl);
    Transfer transfer{*this, curl, body, {}, {}, {}, {}};
    transfer.clock.start();
    char error[CURL_ERROR_SIZE] = {};

    curl_slist *headers = nullptr;
    headers = curl_slist_append(headers, "Accept: text/html, */*");
    headers = curl_slist_append(headers, body ? ("Content-Type: " + body->contentType).constData()
                                              : "Content-Type: text/html");
    headers = curl_slist_append(headers, "Expect:");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
    curl_easy_setopt(curl, CURLOPT_SHARE, m_share);
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(m_connectTimeout));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Transfer::onWrite);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTFUNCTION, &Transfer::onSocketOpened);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &Transfer::onSocketClosed);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, &transfer);

    ApplyProxy(curl, m_proxy, m_proxyEnabled);

    if (body) {
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(body->size));
        curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Transfer::onRead);
        curl_easy_setopt(curl, CURLOPT_READDATA, &transfer);
        curl_easy_setopt(curl, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024L);
    } else {
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    }

    if (onWorkBegin)
        onWorkBegin(WorkDirection::Sending, body ? body->size : 0);

    CURLM *multi = curl_multi_init();
    curl_multi_add_handle(multi, curl);
    CURLcode result = CURLE_OK;
    int running = 1;
    const QElapsedTimer &clock = transfer.clock;
    StallWatch watch(m_lowSpeedTimeout, m_answerTimeout, body ? body->size : -1, clock.elapsed());
    qint64 lastIdle = 0;
    QByteArray stallReason;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK)
            break;
        transfer.report(clock.elapsed());
        if (!running)
            break;
        if (!watch.update(clock.elapsed(), transfer.delivered(), transfer.received())) {
            result = CURLE_OPERATION_TIMEDOUT;
            stallReason = watch.reason().toUtf8();
            break;
        }
        curl_multi_poll(multi, nullptr, 0, kIdleMilliseconds, nullptr);
        if (clock.elapsed() - lastIdle >= kIdleMilliseconds) {
            if (onIdle)
                onIdle();
            lastIdle = clock.elapsed();
        }
        if (m_abort) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
    }
    if (result == CURLE_OK) {
        int left = 0;
        result = CURLE_RECV_ERROR;
        while (CURLMsg *msg = curl_multi_info_read(multi, &left))
            if (msg->msg == CURLMSG_DONE)
                result = msg->data.result;
    }
    curl_multi_remove_handle(multi, curl);
    // Closes every connection the request opened, through onSocketClosed,
    // while the transfer state still lives; the connections keep their own
    // copy of that callback, so it cannot be unset on the handle.
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
    // Written only now: libcurl owns its error buffer until the handle is removed.
    if (!stallReason.isEmpty())
        qstrncpy(error, stallReason.constData(), CURL_ERROR_SIZE);

    if (result == CURLE_ABORTED_BY_CALLBACK && m_abort)
        throw ModuleError(u"Přenos dat byl přerušen."_s);
    // The portal holds the whole body and never answered: that reason is
    // already the dealer's own sentence.
    if (!stallReason.isEmpty() && watch.bodyDelivered())
        throw ModuleError(QString::fromUtf8(stallReason));
    if (result != CURLE_OK)
        throw ModuleError(TransportErrorText(result, QString::fromUtf8(error[0] ? error : curl_easy_strerror(result)),
                                             m_proxyEnabled && !m_proxy.host.isEmpty(),
                                             QUrl::fromEncoded(url).host()));
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    m_lastStatus = status;
    if (status < 200 || status > 299)
        throw ModuleError(StatusErrorText(
            status, QString::fromLatin1(transfer.statusLine.isEmpty() ? QByteArray("HTTP ") + QByteArray::number(status)
                                                                      : transfer.statusLine)));
    return transfer.reply;
}

QByteArray PercentEncode(const QByteArray &bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.'
            || b == '_' || b == '~') {
            out.append(c);
        } else {
            out.append('%');
            out.append(hex[b >> 4]);
            out.append(hex[b & 15]);
        }
    }
    return out;
}

} // namespace korvex
