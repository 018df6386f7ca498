#include "export/CurlProxy.h"

#include <curl/curl.h>

namespace korvex {

void ApplyProxy(void *handle, const ProxySettings &proxy, bool enabled)
{
    // libcurl copies the strings it is given.
    CURL *curl = static_cast<CURL *>(handle);
    const QByteArray host = enabled ? proxy.host.toUtf8() : QByteArray();
    curl_easy_setopt(curl, CURLOPT_PROXY, host.constData());
    if (!enabled || host.isEmpty())
        return;
    curl_easy_setopt(curl, CURLOPT_PROXYPORT, long(proxy.port));
    curl_easy_setopt(curl, CURLOPT_PROXYAUTH, long(CURLAUTH_BASIC));
    if (!proxy.user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxy.user.toUtf8().constData());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxy.password.toUtf8().constData());
    }
}

} // namespace korvex
