#include "export/TransportErrorText.h"

#include <curl/curl.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString withOriginal(const QString &sentence, const QString &original)
{
    return sentence + u" ("_s + original + u')';
}

} // namespace

QString TransportErrorText(int curlCode, const QString &original, bool viaProxy, const QString &host)
{
    switch (curlCode) {
    case CURLE_COULDNT_RESOLVE_PROXY:
        return withOriginal(u"Název proxy serveru nebyl nalezen."_s, original);
    case CURLE_COULDNT_RESOLVE_HOST:
        return withOriginal(u"Název serveru nebyl nalezen, zkontrolujte připojení k internetu."_s, original);
    case CURLE_COULDNT_CONNECT:
        return withOriginal(viaProxy ? u"K proxy serveru se nelze připojit."_s
                                     : u"K serveru se nelze připojit, zkontrolujte připojení k internetu."_s,
                            original);
    case CURLE_OPERATION_TIMEDOUT:
        return withOriginal(u"Server neodpověděl včas, spojení bylo ukončeno."_s, original);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return withOriginal(u"Spojení se serverem bylo přerušeno."_s, original);
    case CURLE_PROXY:
        return withOriginal(u"Proxy server odmítl požadavek."_s, original);
    case CURLE_SSL_CONNECT_ERROR:
        return withOriginal(u"Zabezpečené spojení se serverem %1 nelze navázat."_s.arg(host), original);
    case CURLE_PEER_FAILED_VERIFICATION:
        return withOriginal(u"Certifikát serveru %1 nelze ověřit."_s.arg(host), original);
    default:
        return original;
    }
}

QString StatusErrorText(long status, const QString &statusLine)
{
    if (status == 407)
        return withOriginal(u"Proxy server odmítl požadavek, zkontrolujte jméno a heslo pro proxy."_s, statusLine);
    return statusLine;
}

} // namespace korvex
