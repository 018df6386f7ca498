#pragma once

#include "platform/UserDialogs.h"

#include <QList>
#include <QString>

namespace korvex::test {

// UserDialogs for tests: records every call and answers questions from a
// queue (No once the queue is empty).
class ScriptedDialogs : public UserDialogs
{
public:
    enum class Kind { Notice, AsideNotice, Question, Error };
    struct Call
    {
        Kind kind;
        QString caption;
        QString text;
        Alignment alignment;
        bool defaultNo = false;
    };

    void notify(const QString &caption, const QString &text, Alignment alignment = Alignment::Left) override;
    void notifyAside(const QString &caption, const QString &text) override;
    bool ask(const QString &caption, const QString &text) override;
    bool askDefaultNo(const QString &caption, const QString &text) override;
    void showError(const QString &text) override;

    void queueAnswer(bool yes) { m_answers.append(yes); }

    QList<Call> calls;

private:
    QList<bool> m_answers;
};

} // namespace korvex::test
