#pragma once

#include <QString>

namespace korvex::stub {

// Throw-away certificates for TLS on loopback, made afresh in a folder and
// valid for a day: an authority, a server certificate it signed for
// 127.0.0.1 and localhost, and one it signed for another host name. Both
// server certificates share one key.
class TestCertificates
{
public:
    explicit TestCertificates(const QString &folder);

    bool isValid() const { return m_valid; }
    QString authority() const { return m_folder + QStringLiteral("/ca.pem"); }
    QString key() const { return m_folder + QStringLiteral("/server.key"); }
    QString certificate() const { return m_folder + QStringLiteral("/server.pem"); }
    QString wrongHostCertificate() const { return m_folder + QStringLiteral("/elsewhere.pem"); }

private:
    QString m_folder;
    bool m_valid = false;
};

} // namespace korvex::stub
