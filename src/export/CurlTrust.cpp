#include "export/CurlTrust.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"

#include <QFile>

#include <curl/curl.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// libcurl takes either a bundle file or a bundle in memory, and the second
// replaces the first: the added authority goes in with the system's bundle.
QByteArray bundleWith(CURL *curl, const QString &caFile)
{
    QFile extra(caFile);
    if (!extra.open(QIODevice::ReadOnly))
        throw ModuleError(u"Soubor certifikační autority \"%1\" (KORVEX_CA_FILE) nelze přečíst: %2"_s
                              .arg(caFile, FileErrorText(extra)));
    const QByteArray added = extra.readAll();
    if (!added.contains("-----BEGIN CERTIFICATE-----"))
        throw ModuleError(u"Soubor certifikační autority \"%1\" (KORVEX_CA_FILE) neobsahuje žádný certifikát ve "
                          u"formátu PEM."_s.arg(caFile));

    QByteArray bundle;
    char *systemBundle = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_CAINFO, &systemBundle) == CURLE_OK && systemBundle) {
        QFile system(QFile::decodeName(systemBundle));
        if (system.open(QIODevice::ReadOnly))
            bundle = system.readAll();
    }
    if (!bundle.isEmpty() && !bundle.endsWith('\n'))
        bundle += '\n';
    return bundle + added;
}

} // namespace

void ApplyTrust(void *handle)
{
    CURL *curl = static_cast<CURL *>(handle);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_PROXY_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY_SSL_VERIFYHOST, 2L);
    const QString caFile = qEnvironmentVariable("KORVEX_CA_FILE");
    if (caFile.isEmpty())
        return;
    QByteArray bundle = bundleWith(curl, caFile);
    curl_blob blob{bundle.data(), size_t(bundle.size()), CURL_BLOB_COPY};
    curl_easy_setopt(curl, CURLOPT_CAINFO_BLOB, &blob);
    curl_easy_setopt(curl, CURLOPT_PROXY_CAINFO_BLOB, &blob);
}

} // namespace korvex
