#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <memory>

namespace korvex::stub {

// One request as the stub received it.
struct RecordedRequest
{
    QByteArray method;
    QByteArray target;   // path and query, as sent
    QByteArray version;
    QMultiMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;     // the first 16 MiB
};

// How the stub misbehaves, for tests of the client's failure handling.
struct Fault
{
    int status = 0;             // answer every gateway request with this status
    bool redirect = false;      // answer with 302 and a Location
    bool stall = false;         // never answer (until the stub stops or the fault is cleared)
    qint64 dropAfter = -1;      // close the connection after this many body bytes of an upload
    int slowReadMs = 0;         // pause after every piece of an upload body
    qint64 readRate = 0;        // read an upload body at most this many bytes a second
    int replyDelayMs = 0;       // work this long on a received upload before answering
    bool noLength = false;      // send replies without Content-Length
};

// A certificate and its private key, PEM files, for serving over TLS.
struct TlsFiles
{
    QString certificate;
    QString key;
};

// A stand-in for the portal's dealer gateway and the maker's web server on
// 127.0.0.1, over plain HTTP or TLS: the picture listing, the multipart
// upload (checked byte for byte, archives stored per user, their pictures
// learnt), "/Datum.txt" and "/akt_dat.php". Records every request.
class PortalStub
{
public:
    // Listens on an ephemeral port (or the given one); uploads are kept
    // under dataFolder, a temporary folder when empty. Given tls files it
    // speaks HTTPS only; files it cannot load leave port() at -1.
    explicit PortalStub(int port = 0, const QString &dataFolder = QString(), const TlsFiles &tls = TlsFiles());
    ~PortalStub();
    PortalStub(const PortalStub &) = delete;
    PortalStub &operator=(const PortalStub &) = delete;

    int port() const;
    QByteArray address() const; // http://127.0.0.1:port, or https://

    void addPictures(const QByteArray &user, const QStringList &names);
    QStringList pictures(const QByteArray &user) const;

    // The first line of "/Datum.txt"; with missing set the file is not found.
    void setDateFile(const QByteArray &content, bool missing = false);
    void setFault(const Fault &fault);

    QList<RecordedRequest> requests() const;
    // Bytes of upload bodies read so far, the one being read included.
    qint64 uploadBytesRead() const;
    // The archive of the last accepted upload of the user.
    QByteArray archive(const QByteArray &user) const;
    // Why the last upload was refused; empty when it was accepted.
    QByteArray lastUploadError() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// A forward HTTP proxy on 127.0.0.1 that records request lines and the
// Proxy-Authorization header, passes GET requests on and tunnels CONNECT
// requests (HTTPS) to their target.
class ProxyStub
{
public:
    ProxyStub();
    ~ProxyStub();
    int port() const;
    QList<RecordedRequest> requests() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace korvex::stub
