#include "ConnectFront.h"

#include <QList>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace korvex::stub {
namespace {

constexpr int kPollMs = 50;
constexpr qsizetype kLongestHead = 64 * 1024;

int connectTo(const QByteArray &host, const QByteArray &port)
{
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.constData(), port.constData(), &hints, &found) != 0)
        return -1;
    int sock = ::socket(found->ai_family, found->ai_socktype, found->ai_protocol);
    if (sock >= 0 && ::connect(sock, found->ai_addr, found->ai_addrlen) != 0) {
        ::close(sock);
        sock = -1;
    }
    freeaddrinfo(found);
    return sock;
}

bool sendAll(int sock, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t sent = ::send(sock, data, size_t(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

} // namespace

ConnectFront::ConnectFront(int innerPort, std::function<void(const QByteArray &)> onConnect)
    : m_innerPort(innerPort)
    , m_onConnect(std::move(onConnect))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (m_listener < 0 || ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(m_listener, 16) != 0
        || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptLoop(); });
}

ConnectFront::~ConnectFront()
{
    m_stopping = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (std::thread &connection : m_connections)
        connection.join();
    if (m_listener >= 0)
        ::close(m_listener);
}

void ConnectFront::acceptLoop()
{
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = ::accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::lock_guard lock(m_mutex);
        m_connections.emplace_back([this, client] { serve(client); });
    }
}

void ConnectFront::serve(int client)
{
    QByteArray received;
    qsizetype headEnd = -1;
    while (!m_stopping && headEnd < 0 && received.size() < kLongestHead) {
        pollfd waiting{client, POLLIN, 0};
        if (::poll(&waiting, 1, kPollMs) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        received.append(buffer, got);
        headEnd = received.indexOf("\r\n\r\n");
    }
    if (headEnd < 0) {
        ::close(client);
        return;
    }

    int upstream = -1;
    if (received.startsWith("CONNECT ")) {
        const QByteArray head = received.left(headEnd + 4);
        received.remove(0, head.size());
        m_onConnect(head);
        // CONNECT host:port HTTP/1.1
        const QByteArray target = head.left(head.indexOf("\r\n")).split(' ').value(1);
        const qsizetype colon = target.lastIndexOf(':');
        upstream = colon > 0 ? connectTo(target.left(colon), target.mid(colon + 1)) : -1;
        const QByteArray answer = upstream >= 0 ? "HTTP/1.1 200 Connection established\r\n\r\n"
                                                : "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n";
        sendAll(client, answer.constData(), answer.size());
    } else {
        upstream = connectTo("127.0.0.1", QByteArray::number(m_innerPort));
    }
    if (upstream >= 0 && sendAll(upstream, received.constData(), received.size()))
        relay(client, upstream);
    if (upstream >= 0)
        ::close(upstream);
    ::close(client);
}

// Until either side closes or the proxy stops.
void ConnectFront::relay(int a, int b) const
{
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    while (!m_stopping) {
        pollfd both[2] = {{a, POLLIN, 0}, {b, POLLIN, 0}};
        if (::poll(both, 2, kPollMs) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if (!(both[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::recv(both[i].fd, buffer.data(), size_t(buffer.size()), 0);
            if (got <= 0 || !sendAll(both[1 - i].fd, buffer.constData(), got))
                return;
        }
    }
}

} // namespace korvex::stub
