#pragma once

#include "platform/UserDialogs.h"

#include <QStringList>

#include <functional>

namespace korvex {

// The module's messages where nobody can answer a box: each goes to standard
// error and to "Korvex_log.txt" as one line, and a question takes its safe
// answer, No. Nothing waits, so an automatic run always ends.
class UnattendedDialogs : public UserDialogs
{
public:
    explicit UnattendedDialogs(QString executableFolder);

    // True when no one can answer a box: the Qt platform "offscreen" or
    // "minimal", or KORVEX_UNATTENDED=1. Needs the application object.
    static bool applies();

    // The passwords of the moment, never written out.
    void setSecrets(std::function<QStringList()> secrets) { m_secrets = std::move(secrets); }

    void notify(const QString &caption, const QString &text, Alignment alignment = Alignment::Left) override;
    void notifyAside(const QString &caption, const QString &text) override;
    bool ask(const QString &caption, const QString &text) override;
    void showError(const QString &text) override;

private:
    void record(const QString &message);

    QString m_executableFolder;
    std::function<QStringList()> m_secrets;
};

} // namespace korvex
