#include "export/SendLog.h"

#include "platform/ModuleFolders.h"
#include "platform/Win1250.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace korvex {

namespace {

void appendLine(const QString &executableFolder, const QString &line)
{
    QFile file(ModuleFolders::path(ModuleFile::SendLog, executableFolder));
    if (!file.open(QIODevice::Append))
        return;
    file.write(Win1250::encode(line) + "\r\n");
}

} // namespace

QString MaskSecrets(QString text, const QStringList &secrets)
{
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    for (const QString &secret : secrets)
        if (!secret.isEmpty())
            text.replace(secret, u"***"_s);
    return text;
}

QString SendLogLine(const SendLogEntry &entry, const QStringList &secrets)
{
    const QString outcome = MaskSecrets(entry.outcome, secrets);
    const QString archive = entry.archiveBytes < 0 ? u"archiv -"_s : u"archiv %1 B"_s.arg(entry.archiveBytes);
    return QStringList{entry.when.toString(u"dd.MM.yyyy HH:mm:ss"_s),
                       entry.automatic ? u"automaticky"_s : u"ručně"_s,
                       u"nabídek %1"_s.arg(entry.offers),
                       u"obrázků %1"_s.arg(entry.pictures),
                       entry.problems < 0 ? u"problémů -"_s : u"problémů %1"_s.arg(entry.problems),
                       archive,
                       outcome}
        .join(u';');
}

void AppendSendLog(const QString &executableFolder, const SendLogEntry &entry, const QStringList &secrets)
{
    appendLine(executableFolder, SendLogLine(entry, secrets));
}

void AppendLogMessage(const QString &executableFolder, const QDateTime &when, const QString &message,
                      const QStringList &secrets)
{
    appendLine(executableFolder,
               when.toString(u"dd.MM.yyyy HH:mm:ss"_s) + u";bez obsluhy;"_s + MaskSecrets(message, secrets));
}

} // namespace korvex
