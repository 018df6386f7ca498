#pragma once

#include "platform/ModuleSettings.h"
#include "platform/UserDialogs.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

namespace korvex {

// Requests the maker's notification page on a thread of its own: the caller
// never waits for it. An unfinished request is cut off when the object goes.
class NotificationPing
{
public:
    NotificationPing();
    ~NotificationPing();
    // Through the same proxy as the gateway's requests.
    void send(const QByteArray &url, const ProxySettings &proxy, bool proxyEnabled);

private:
    struct Worker;
    std::unique_ptr<Worker> m_worker;
};

struct ClockCheckContext
{
    QString executableFolder;
    UserDialogs *dialogs = nullptr;
    NotificationPing *ping = nullptr;
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<void()> onIdle;   // keeps the window alive during the download
    ProxySettings proxy;            // the gateway's proxy, for both requests
    bool proxyEnabled = false;
    std::function<void()> onRefused; // runs before the refusal's warning is shown
    int timeoutSeconds = 20;
};

// The short date of the Czech locale, day.month.year with one- or two-digit
// day and month and a four-digit year. Throws ModuleError
// "'x' is not a valid date" otherwise.
QDate ParseShortDate(const QString &text);

// Compares the PC's date with the maker's reference date "/Datum.txt":
// true when the send may go on. Refuses (with a warning) when they differ by
// more than seven days; passes when the reference cannot be fetched or reads
// "NEKONTROLOVAT". A stale local copy is deleted before the download.
bool CheckClock(const ClockCheckContext &context);

} // namespace korvex
