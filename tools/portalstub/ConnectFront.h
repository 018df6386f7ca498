#pragma once

#include <QByteArray>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace korvex::stub {

// The listening side of the forward proxy: a CONNECT request is answered
// with 200 and its connection tunnelled to the target; any other connection
// goes on, bytes unchanged, to the plain proxy server on innerPort.
class ConnectFront
{
public:
    // onConnect gets the head of each CONNECT request (up to the empty line).
    ConnectFront(int innerPort, std::function<void(const QByteArray &head)> onConnect);
    ~ConnectFront();
    ConnectFront(const ConnectFront &) = delete;
    ConnectFront &operator=(const ConnectFront &) = delete;

    int port() const { return m_port; }

private:
    void acceptLoop();
    void serve(int client);
    void relay(int a, int b) const;

    int m_innerPort;
    std::function<void(const QByteArray &)> m_onConnect;
    int m_listener = -1;
    int m_port = -1;
    std::atomic<bool> m_stopping{false};
    std::mutex m_mutex;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};

} // namespace korvex::stub
