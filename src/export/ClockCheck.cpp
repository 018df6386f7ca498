#include "export/ClockCheck.h"

#include "export/CurlProxy.h"
#include "export/CurlTrust.h"
#include "export/GatewayAddress.h"
#include "export/HttpClient.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"

#include <QFile>
#include <QRegularExpression>

#include <curl/curl.h>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace korvex {

struct NotificationPing::Worker
{
    std::atomic<bool> stop{false};
    std::thread thread;
};

NotificationPing::NotificationPing()
    : m_worker(std::make_unique<Worker>())
{
}

NotificationPing::~NotificationPing()
{
    m_worker->stop = true;
    if (m_worker->thread.joinable())
        m_worker->thread.join();
}

void NotificationPing::send(const QByteArray &url, const ProxySettings &proxy, bool proxyEnabled)
{
    if (m_worker->thread.joinable())
        return; // one notification a run is enough
    EnsureHttpReady();
    m_worker->thread = std::thread([url, proxy, proxyEnabled, worker = m_worker.get()] {
        CURL *curl = curl_easy_init();
        if (!curl)
            return;
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        ApplyProxy(curl, proxy, proxyEnabled);
        try {
            ApplyTrust(curl);
        } catch (const ModuleError &) {
            // Nobody looks at the ping's result.
            curl_easy_cleanup(curl);
            return;
        }
        curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, +[](char *, size_t size, size_t n, void *) { return size * n; });
        curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(curl, CURLOPT_XFERINFODATA, worker);
        curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION,
                         +[](void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
                             return static_cast<Worker *>(self)->stop ? 1 : 0;
                         });
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
    });
}

QDate ParseShortDate(const QString &text)
{
    static const QRegularExpression form(u"^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"_s);
    const auto m = form.match(text);
    const QDate date = m.hasMatch() ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt())
                                    : QDate();
    if (!date.isValid())
        throw ModuleError(u"'%1' is not a valid date"_s.arg(text));
    return date;
}

bool CheckClock(const ClockCheckContext &context)
{
    if (context.ping)
        context.ping->send(MakerAddress() + "/akt_dat.php", context.proxy, context.proxyEnabled);

    // A copy left by an earlier run must not stand in for a failed download.
    const QString local = ModuleFolders::path(ModuleFile::ClockReference, context.executableFolder);
    QFile::remove(local);
    try {
        HttpClient client;
        client.setConnectTimeout(context.timeoutSeconds);
        client.setLowSpeedTimeout(context.timeoutSeconds);
        client.setProxy(context.proxy, context.proxyEnabled);
        client.onIdle = context.onIdle;
        const QByteArray reference = client.get(MakerAddress() + "/Datum.txt");
        QFile file(local);
        if (file.open(QIODevice::WriteOnly))
            file.write(reference);
    } catch (const ModuleError &) {
        // No reference date: the check passes.
    }

    const auto lines = TextFile::readLines(local);
    if (!lines)
        return true;
    const QString first = TextFile::lineAt(*lines, 0);
    QFile::remove(local);
    if (first == u"NEKONTROLOVAT")
        return true;

    const QDate reference = ParseShortDate(first);
    const QDate today = context.today();
    if (reference.addDays(7) < today || today.daysTo(reference) > 7) {
        if (context.onRefused)
            context.onRefused();
        context.dialogs->notify(Caption::Warning,
                                u"Datum ve Vašem počítači není zřejmě správně nastaven, proveďte proto jeho nastaveni. "
                                u"V případě problémů kontaktujte autory programu."_s);
        return false;
    }
    return true;
}

} // namespace korvex
