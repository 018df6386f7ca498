#pragma once

#include "export/HttpClient.h"
#include "platform/ModuleSettings.h"
#include "platform/UserDialogs.h"

#include <QDateTime>

#include <functional>

namespace korvex {

// Asks the gateway which pictures it holds for the dealer, saves the reply
// to "Korvex_Foto.txt" and rebuilds "Obr_FTP_List.txt" from it. The user
// name and password travel percent-encoded. Failures propagate.
void ListPortalPictures(HttpClient &client, const ModuleSettings &settings, const QString &executableFolder);

// Everything the upload needs besides the client and the settings.
struct UploadContext
{
    QString archivePath;    // Korvex_zip/data.zip
    QString workingFolder;  // where "Response.htm" is saved
    bool automaticMode = false;
    UserDialogs *dialogs = nullptr;
    std::function<void()> showProgress;
    std::function<void()> closeWindow;
    // Run before the box that tells the user how the upload ended.
    std::function<void()> onUploaded;
    std::function<void(const QString &error)> onFailed;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// Posts the archive as the gateway's multipart form. On success saves the
// reply to "Response.htm", tells the user (unless in automatic mode) and
// closes the window; on failure warns and lets the error go on. An archive
// that cannot be opened raises at once, without the warning.
void UploadArchive(HttpClient &client, const ModuleSettings &settings, const UploadContext &context);

} // namespace korvex
