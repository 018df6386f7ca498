#include "PortalStub.h"

#include "ConnectFront.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <httplib.h>
#include <zip.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace korvex::stub {
namespace {

// Serves on a thread of its own and returns once the server accepts
// connections: a stop() that came before would be lost, and the listening
// thread would then wait in accept() for ever.
std::thread serveInBackground(httplib::Server &server, int port)
{
    if (port <= 0)
        return std::thread();
    std::thread thread([&server] { server.listen_after_bind(); });
    while (!server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return thread;
}

constexpr qsizetype kRecordedBody = 16 * 1024 * 1024;
const char *const kGatewayPath = "/iec/Upload-upload";
const char *const kOriginalType = "X-Stub-Original-Content-Type";

RecordedRequest record(const httplib::Request &req, const QByteArray &body)
{
    RecordedRequest r;
    r.method = QByteArray::fromStdString(req.method);
    r.target = QByteArray::fromStdString(req.target);
    r.version = QByteArray::fromStdString(req.version);
    for (const auto &[name, value] : req.headers) {
        const QByteArray key = QByteArray::fromStdString(name).toLower();
        if (key == "content-type" && req.has_header(kOriginalType))
            continue;
        // The server's notes on the connection, not headers the client sent.
        if (key == "remote_addr" || key == "remote_port" || key == "local_addr" || key == "local_port")
            continue;
        r.headers.insert(key == QByteArray(kOriginalType).toLower() ? QByteArray("content-type") : key,
                         QByteArray::fromStdString(value));
    }
    r.body = body.left(kRecordedBody);
    return r;
}

// A request head as a proxy sees it: the request line and header lines.
RecordedRequest recordHead(const QByteArray &head)
{
    RecordedRequest r;
    const QList<QByteArray> lines = head.trimmed().split('\n');
    const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
    r.method = request.value(0);
    r.target = request.value(1);
    r.version = request.value(2);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            r.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
    }
    return r;
}

// The names of the pictures inside a ZIP archive.
QStringList picturesIn(const QString &archive)
{
    QStringList names;
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error);
    if (!zip)
        return names;
    const zip_int64_t count = zip_get_num_entries(zip, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(zip_get_name(zip, zip_uint64_t(i), 0));
        if (name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive))
            names.append(name);
    }
    zip_close(zip);
    return names;
}

// Checks the upload form byte for byte; returns why it is wrong, or nothing
// and the user, password and the archive's place in the body.
struct Form
{
    QByteArray user;
    QByteArray password;
    qint64 dataStart = 0;
    qint64 dataSize = 0;
};

QByteArray checkForm(const QByteArray &contentType, QFile &body, Form &form)
{
    static const QRegularExpression type(QStringLiteral("^multipart/form-data; boundary=(--------\\d{15})$"));
    const auto match = type.match(QString::fromLatin1(contentType));
    if (!match.hasMatch())
        return "bad content type: " + contentType;
    const QByteArray boundary = match.captured(1).toLatin1();

    body.seek(0);
    const QByteArray head = body.read(64 * 1024);
    qsizetype pos = 0;
    auto expect = [&](const QByteArray &text) {
        if (head.mid(pos, text.size()) != text)
            return false;
        pos += text.size();
        return true;
    };
    auto value = [&](QByteArray &out) {
        const qsizetype end = head.indexOf("\r\n", pos);
        if (end < 0)
            return false;
        out = head.mid(pos, end - pos);
        pos = end + 2;
        return true;
    };
    const char *const fields[] = {"action", "upload", "up_user", "up_passwd", "delete_way"};
    const QByteArray expected[] = {"upload_cars", "1", QByteArray(), QByteArray(), "3"};
    for (int i = 0; i < 5; ++i) {
        QByteArray v;
        if (!expect("--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + fields[i] + "\"\r\n\r\n")
            || !value(v))
            return QByteArray("bad part ") + fields[i];
        if (i == 2)
            form.user = v;
        else if (i == 3)
            form.password = v;
        else if (v != expected[i])
            return QByteArray("bad value of ") + fields[i];
    }
    QByteArray filename;
    if (!expect("--" + boundary + "\r\nContent-Disposition: form-data; name=\"xfile\"; filename=\"")
        || !value(filename) || !filename.endsWith('"') || !expect("Content-Type: application/octet-stream\r\n\r\n"))
        return "bad file part";
    const QByteArray tail = "\r\n--" + boundary + "--\r\n";
    if (body.size() < pos + tail.size())
        return "body too short";
    body.seek(body.size() - tail.size());
    if (body.read(tail.size()) != tail)
        return "bad closing boundary";
    form.dataStart = pos;
    form.dataSize = body.size() - pos - tail.size();
    return QByteArray();
}

} // namespace

struct PortalStub::State
{
    std::unique_ptr<httplib::Server> server;
    bool tls = false;
    std::thread thread;
    int port = 0;
    QTemporaryDir tempDir;
    QString dataFolder;

    mutable std::mutex mutex;
    QMap<QByteArray, QStringList> pictures;
    QList<RecordedRequest> requests;
    QByteArray dateFile = "1.1.2000";
    bool dateMissing = false;
    Fault fault;
    QByteArray lastUploadError;
    std::atomic<bool> stopping{false};
    std::atomic<qint64> uploadBytesRead{0};

    Fault currentFault() const
    {
        std::lock_guard lock(mutex);
        return fault;
    }

    // Sleeps, but wakes when the stub stops.
    void pauseUntil(std::chrono::steady_clock::time_point until) const
    {
        while (!stopping && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    void remember(const RecordedRequest &r)
    {
        std::lock_guard lock(mutex);
        requests.append(r);
    }

    // Applies the status, redirect and stall faults; true when the request is answered.
    bool misbehave(httplib::Response &res)
    {
        while (currentFault().stall && !stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const Fault f = currentFault();
        if (f.redirect) {
            res.status = 302;
            res.set_header("Location", "http://127.0.0.1:1/elsewhere");
            return true;
        }
        if (f.status) {
            res.status = f.status;
            res.set_content("<html><body>error</body></html>", "text/html");
            return true;
        }
        return false;
    }

    void reply(httplib::Response &res, const QByteArray &content, const char *type)
    {
        if (!currentFault().noLength) {
            res.set_content(content.toStdString(), type);
            return;
        }
        const std::string text = content.toStdString();
        res.set_chunked_content_provider(type, [text](size_t offset, httplib::DataSink &sink) {
            if (offset < text.size())
                sink.write(text.data() + offset, text.size() - offset);
            else
                sink.done();
            return true;
        });
    }

    void listing(const httplib::Request &req, httplib::Response &res)
    {
        remember(record(req, QByteArray()));
        if (misbehave(res))
            return;
        const QByteArray user = QByteArray::fromStdString(req.get_param_value("up_user"));
        QByteArray body = "<html><body>\r\n<cars user=\"" + user.toPercentEncoding() + "\">\r\n";
        for (const QString &name : pictures.value(user))
            body += "\t<picture name=\"" + name.toUtf8() + "\"></picture>\r\n";
        body += "</cars>\r\n</body></html>\r\n";
        res.set_header("Set-Cookie", "KORVEXSESSION=s3ss10n; Path=/");
        reply(res, body, "text/html");
    }

    void upload(const httplib::Request &req, httplib::Response &res, const httplib::ContentReader &reader)
    {
        QTemporaryFile body(dataFolder + QStringLiteral("/upload-XXXXXX"));
        body.open();
        QByteArray recorded;
        qint64 received = 0;
        const Fault f = currentFault();
        const auto started = std::chrono::steady_clock::now();
        const bool complete = reader([&](const char *data, size_t length) {
            body.write(data, qint64(length));
            if (recorded.size() < kRecordedBody)
                recorded.append(data, std::min<qsizetype>(qsizetype(length), kRecordedBody - recorded.size()));
            received += qint64(length);
            uploadBytesRead += qint64(length);
            // Read again each time, so that clearing the fault speeds up a
            // body that is still arriving.
            const Fault now = currentFault();
            if (now.slowReadMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(now.slowReadMs));
            if (now.readRate > 0)
                pauseUntil(started + std::chrono::milliseconds(received * 1000 / now.readRate));
            return f.dropAfter < 0 || received < f.dropAfter;
        });
        remember(record(req, recorded));
        if (!complete)
            return;
        pauseUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(currentFault().replyDelayMs));
        if (misbehave(res))
            return;
        body.flush();

        Form form;
        const QByteArray error = checkForm(QByteArray::fromStdString(req.get_header_value(kOriginalType)), body, form);
        {
            std::lock_guard lock(mutex);
            lastUploadError = error;
        }
        if (!error.isEmpty()) {
            res.status = 400;
            reply(res, "<html><body>" + error + "</body></html>", "text/html");
            return;
        }
        const QString folder = dataFolder + u'/' + QString::fromLatin1(form.user.toHex());
        QDir().mkpath(folder);
        QFile archive(folder + QStringLiteral("/data.zip"));
        archive.open(QIODevice::WriteOnly | QIODevice::Truncate);
        body.seek(form.dataStart);
        for (qint64 left = form.dataSize; left > 0;) {
            const QByteArray chunk = body.read(std::min<qint64>(left, 1 << 20));
            if (chunk.isEmpty())
                break;
            archive.write(chunk);
            left -= chunk.size();
        }
        archive.close();
        const QStringList learnt = picturesIn(archive.fileName());
        {
            std::lock_guard lock(mutex);
            for (const QString &name : learnt)
                if (!pictures[form.user].contains(name))
                    pictures[form.user].append(name);
        }
        reply(res, "<html><body>Inzerce přijata.</body></html>", "text/html; charset=utf-8");
    }
};

PortalStub::PortalStub(int port, const QString &dataFolder, const TlsFiles &tls)
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    s.tls = !tls.certificate.isEmpty();
    if (s.tls)
        s.server = std::make_unique<httplib::SSLServer>(QFile::encodeName(tls.certificate).constData(),
                                                        QFile::encodeName(tls.key).constData());
    else
        s.server = std::make_unique<httplib::Server>();
    if (!s.server->is_valid()) {
        s.port = -1;
        return;
    }
    s.dataFolder = dataFolder.isEmpty() ? s.tempDir.path() : dataFolder;
    QDir().mkpath(s.dataFolder);
    s.server->set_read_timeout(5);
    // A receive buffer as small as a distant portal's share of the line: on
    // loopback the kernel grows it to megabytes, and an upload would look
    // delivered while it still sits there unread.
    s.server->set_socket_options([](socket_t sock) {
        httplib::default_socket_options(sock);
        const int size = 256 * 1024;
        setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    });
    // The form must be checked byte for byte, so the server's own multipart
    // parser is kept away from it: the body is read raw and the original
    // content type travels in a header of its own.
    s.server->set_pre_routing_handler([](const httplib::Request &req, httplib::Response &) {
        auto &headers = const_cast<httplib::Headers &>(req.headers);
        const auto type = headers.find("Content-Type");
        if (type != headers.end() && type->second.rfind("multipart/", 0) == 0) {
            const std::string original = type->second;
            headers.erase(type);
            headers.emplace("Content-Type", "application/octet-stream");
            headers.emplace(kOriginalType, original);
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.server->Get(kGatewayPath, [&s](const httplib::Request &req, httplib::Response &res) { s.listing(req, res); });
    s.server->Post(kGatewayPath, [&s](const httplib::Request &req, httplib::Response &res,
                                     const httplib::ContentReader &reader) { s.upload(req, res, reader); });
    s.server->Get("/Datum.txt", [&s](const httplib::Request &req, httplib::Response &res) {
        s.remember(record(req, QByteArray()));
        std::lock_guard lock(s.mutex);
        if (s.dateMissing) {
            res.status = 404;
            return;
        }
        res.set_content(s.dateFile.toStdString(), "text/plain");
    });
    s.server->Get("/akt_dat.php", [&s](const httplib::Request &req, httplib::Response &res) {
        s.remember(record(req, QByteArray()));
        res.set_content("<html><body>Aktualizace</body></html>", "text/html");
    });
    s.port = port == 0 ? s.server->bind_to_any_port("127.0.0.1")
                       : (s.server->bind_to_port("127.0.0.1", port) ? port : -1);
    s.thread = serveInBackground(*s.server, s.port);
}

PortalStub::~PortalStub()
{
    m_state->stopping = true;
    m_state->server->stop();
    if (m_state->thread.joinable())
        m_state->thread.join();
}

int PortalStub::port() const
{
    return m_state->port;
}

QByteArray PortalStub::address() const
{
    return (m_state->tls ? "https://127.0.0.1:" : "http://127.0.0.1:") + QByteArray::number(m_state->port);
}

void PortalStub::addPictures(const QByteArray &user, const QStringList &names)
{
    std::lock_guard lock(m_state->mutex);
    m_state->pictures[user] += names;
}

QStringList PortalStub::pictures(const QByteArray &user) const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->pictures.value(user);
}

void PortalStub::setDateFile(const QByteArray &content, bool missing)
{
    std::lock_guard lock(m_state->mutex);
    m_state->dateFile = content;
    m_state->dateMissing = missing;
}

void PortalStub::setFault(const Fault &fault)
{
    std::lock_guard lock(m_state->mutex);
    m_state->fault = fault;
}

QList<RecordedRequest> PortalStub::requests() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

qint64 PortalStub::uploadBytesRead() const
{
    return m_state->uploadBytesRead;
}

QByteArray PortalStub::archive(const QByteArray &user) const
{
    QFile f(m_state->dataFolder + u'/' + QString::fromLatin1(user.toHex()) + QStringLiteral("/data.zip"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray PortalStub::lastUploadError() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->lastUploadError;
}

struct ProxyStub::State
{
    httplib::Server server; // absolute-form requests, reached through the front
    std::thread thread;
    int innerPort = 0;
    std::unique_ptr<ConnectFront> front;
    mutable std::mutex mutex;
    QList<RecordedRequest> requests;
};

ProxyStub::ProxyStub()
    : m_state(std::make_unique<State>())
{
    State &s = *m_state;
    s.server.Get(".*", [&s](const httplib::Request &req, httplib::Response &res) {
        {
            std::lock_guard lock(s.mutex);
            s.requests.append(record(req, QByteArray()));
        }
        // Absolute form: http://host:port/path?query
        static const QRegularExpression target(QStringLiteral("^http://([^/:]+):(\\d+)(/.*)$"));
        const auto m = target.match(QString::fromStdString(req.target));
        if (!m.hasMatch()) {
            res.status = 400;
            return;
        }
        httplib::Client upstream(m.captured(1).toStdString(), m.captured(2).toInt());
        httplib::Headers headers;
        for (const auto &[name, value] : req.headers)
            if (name != "Proxy-Authorization" && name != "Host" && name != "Proxy-Connection")
                headers.emplace(name, value);
        auto answer = upstream.Get(m.captured(3).toStdString(), headers);
        if (!answer) {
            res.status = 502;
            return;
        }
        res.status = answer->status;
        for (const auto &[name, value] : answer->headers)
            if (name == "Set-Cookie")
                res.set_header(name, value);
        res.set_content(answer->body, answer->get_header_value("Content-Type"));
    });
    s.innerPort = s.server.bind_to_any_port("127.0.0.1");
    s.thread = serveInBackground(s.server, s.innerPort);
    s.front = std::make_unique<ConnectFront>(s.innerPort, [&s](const QByteArray &head) {
        std::lock_guard lock(s.mutex);
        s.requests.append(recordHead(head));
    });
}

ProxyStub::~ProxyStub()
{
    m_state->front.reset();
    m_state->server.stop();
    if (m_state->thread.joinable())
        m_state->thread.join();
}

int ProxyStub::port() const
{
    return m_state->front->port();
}

QList<RecordedRequest> ProxyStub::requests() const
{
    std::lock_guard lock(m_state->mutex);
    return m_state->requests;
}

} // namespace korvex::stub
