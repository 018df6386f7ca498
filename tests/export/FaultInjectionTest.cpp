// Faults on the way to the portal: STOP at every stage of the upload and a
// connection the gateway resets during the listing. Each ends with its
// message, and nothing already there is lost.
#include "ErrorText.h"
#include "PortalStub.h"
#include "ScriptedDialogs.h"
#include "export/GatewayClient.h"
#include "export/HttpClient.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

using namespace korvex;
using namespace Qt::StringLiterals;
using korvex::test::errorOf;

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Accepts connections on 127.0.0.1 and resets each at once, as a gateway
// that falls over does.
class ResettingServer
{
public:
    ResettingServer()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length);
        ::listen(m_socket, 4);
        ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            for (;;) {
                const int connection = ::accept(m_socket, nullptr, nullptr);
                if (connection < 0)
                    return;
                const linger reset{1, 0};
                ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                ::close(connection);
            }
        });
    }
    ~ResettingServer()
    {
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        m_thread.join();
    }
    QByteArray address() const { return "http://127.0.0.1:" + QByteArray::number(m_port); }

private:
    int m_socket = -1;
    int m_port = 0;
    std::thread m_thread;
};

class UploadFaults : public ::testing::TestWithParam<int>
{
protected:
    // The stub finishes reading the broken-off body at full speed.
    void TearDown() override { stub.setFault(stub::Fault()); }

    void SetUp() override
    {
        qputenv("KORVEX_GATEWAY_URL", stub.address());
        working = dir.path() + u"/Korvex_zip"_s;
        QDir().mkpath(working);
        archive = working + u"/data.zip"_s;
        QFile f(archive);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(1 << 20, 'z'));
        settings.stored.uzivJmeno = u"autobazar"_s;
        client.setLowSpeedTimeout(5);
    }

    stub::PortalStub stub;
    QTemporaryDir dir;
    QString working;
    QString archive;
    ModuleSettings settings;
    HttpClient client;
    test::ScriptedDialogs dialogs;
};

} // namespace

// STOP pressed at 0 %, 50 % and 100 % of the request body.
TEST_P(UploadFaults, StopEndsTheUploadWithTheWarningAndKeepsTheArchive)
{
    stub::Fault slow;
    slow.slowReadMs = 30;
    stub.setFault(slow);
    const int percent = GetParam();
    std::int64_t total = 0;
    std::int64_t sent = 0;
    bool stopped = false;
    client.onWorkBegin = [&](WorkDirection, std::int64_t announced) {
        if (total == 0)
            total = announced;
    };
    client.onWork = [&](WorkDirection, std::int64_t done) { sent = done; };
    client.onIdle = [&] {
        if (!stopped && total > 0 && sent * 100 >= total * percent) {
            stopped = true;
            client.abort();
        }
    };
    UploadContext context;
    context.archivePath = archive;
    context.workingFolder = working;
    context.dialogs = &dialogs;
    int closed = 0;
    context.closeWindow = [&] { ++closed; };

    EXPECT_EQ(errorOf([&] { UploadArchive(client, settings, context); }), u"Přenos dat byl přerušen."_s);
    ASSERT_EQ(dialogs.calls.size(), 1);
    EXPECT_EQ(dialogs.calls[0].text, u"Došlo k chybě při komunikaci se serverem Korvex"_s);
    EXPECT_EQ(closed, 0);
    EXPECT_FALSE(QFile::exists(working + u"/Response.htm"_s));
    EXPECT_EQ(contents(archive), QByteArray(1 << 20, 'z'));
    EXPECT_TRUE(stub.archive("autobazar").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(AtEveryStage, UploadFaults, ::testing::Values(0, 50, 100));

TEST(ListingFaults, AResetConnectionFailsAndKeepsTheOldPictureList)
{
    ResettingServer gateway;
    qputenv("KORVEX_GATEWAY_URL", gateway.address());
    QTemporaryDir dir;
    const QString exe = dir.path() + u'/';
    QFile old(exe + u"Obr_FTP_List.txt"_s);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("a_1_max.jpg\r\n");
    old.close();
    ModuleSettings settings;
    HttpClient client;
    client.setConnectTimeout(2);
    const QString error = errorOf([&] { ListPortalPictures(client, settings, exe); });
    // A reset right after the accept may reach libcurl while it connects.
    EXPECT_TRUE(error.startsWith(u"Spojení se serverem bylo přerušeno. ("_s)
                || error.startsWith(u"K serveru se nelze připojit, zkontrolujte připojení k internetu. ("_s))
        << error.toStdString();
    EXPECT_EQ(contents(exe + u"Obr_FTP_List.txt"_s), QByteArray("a_1_max.jpg\r\n"));
    EXPECT_FALSE(QFile::exists(exe + u"Korvex_Foto.txt"_s));
}
