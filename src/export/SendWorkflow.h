#pragma once

#include "export/SendOutcome.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

namespace korvex {

class Dataset;
class HttpClient;
class NotificationPing;
class Packer;
class UserDialogs;
struct ModuleSettings;

// Everything one send needs from the window around it.
struct SendContext
{
    QString executableFolder;
    Dataset *query = nullptr;
    ModuleSettings *settings = nullptr;
    UserDialogs *dialogs = nullptr;
    HttpClient *client = nullptr;
    Packer *packer = nullptr;
    NotificationPing *ping = nullptr;
    int markedCount = 0;        // the grid's checked rows
    bool automaticMode = false;
    std::function<void(bool)> busy;         // the hourglass cursor on and off
    std::function<void()> showProgress;     // the transfer panel
    std::function<void()> closeWindow;
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    std::function<void()> onIdle;           // lets the window breathe during the clock check
};

// The archive size as the question shows it: "1024 kB" below 1 MB, "1,0 MB"
// from 1048576 bytes on.
QString ArchiveSizeText(qint64 bytes);

// The send: empty the working folder, tell the user, list the portal's
// pictures, write the offer list with its pictures, pack, check the clock,
// refuse the placeholder user "DEMO", ask (unless automatic) and upload.
// Errors of the steps go on to the caller; refusals end it quietly. The line
// of "Korvex_log.txt" is written before any box tells how the send ended.
SendOutcome Send(const SendContext &context);

} // namespace korvex
