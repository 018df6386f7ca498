#include "app/UnattendedDialogs.h"

#include "export/SendLog.h"

#include <QDateTime>
#include <QGuiApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace korvex {

UnattendedDialogs::UnattendedDialogs(QString executableFolder)
    : m_executableFolder(std::move(executableFolder))
{
}

bool UnattendedDialogs::applies()
{
    if (qEnvironmentVariable("KORVEX_UNATTENDED") == u"1")
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == u"offscreen" || platform == u"minimal";
}

void UnattendedDialogs::notify(const QString &caption, const QString &text, Alignment)
{
    record(caption + u' ' + text);
}

void UnattendedDialogs::notifyAside(const QString &caption, const QString &text)
{
    record(caption + u' ' + text);
}

bool UnattendedDialogs::ask(const QString &caption, const QString &text)
{
    record(caption + u' ' + text + u" -> Ne"_s);
    return false;
}

void UnattendedDialogs::showError(const QString &text)
{
    record(u"Chyba: "_s + text);
}

void UnattendedDialogs::record(const QString &message)
{
    const QStringList secrets = m_secrets ? m_secrets() : QStringList();
    const QString line = MaskSecrets(message, secrets);
    std::fputs((u"Korvex_Export: "_s + line + u'\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    AppendLogMessage(m_executableFolder, QDateTime::currentDateTime(), line, secrets);
}

} // namespace korvex
