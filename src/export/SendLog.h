#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace korvex {

// What one send did, for "Korvex_log.txt" beside the executable: where a
// support technician looks first, since automatic runs show nothing.
struct SendLogEntry
{
    QDateTime when;
    bool automatic = false;
    int offers = 0;
    int pictures = 0;
    int problems = -1;          // marked vehicles with a problem; -1: not checked
    qint64 archiveBytes = -1;   // -1: no archive was made
    QString outcome;
};

// "09.12.2026 14:05:31;automaticky;nabídek 36;obrázků 87;problémů 2;archiv 730937 B;odesláno, HTTP 200"
// Every text in secrets is written as "***".
QString SendLogLine(const SendLogEntry &entry, const QStringList &secrets);

// Every text in secrets replaced by "***", line breaks by blanks.
QString MaskSecrets(QString text, const QStringList &secrets);

// Appends the line (Windows-1250, CR LF). A log that cannot be written is
// left out: it must never stop a send.
void AppendSendLog(const QString &executableFolder, const SendLogEntry &entry, const QStringList &secrets);

// A message that a run without anyone at the screen could not show, as one
// line of the same log: "09.12.2026 14:05:31;bez obsluhy;Varování ... Došlo k chybě".
void AppendLogMessage(const QString &executableFolder, const QDateTime &when, const QString &message,
                      const QStringList &secrets);

} // namespace korvex
