#include "ScriptedDialogs.h"

namespace korvex::test {

void ScriptedDialogs::notify(const QString &caption, const QString &text, Alignment alignment)
{
    calls.append({Kind::Notice, caption, text, alignment});
}

void ScriptedDialogs::notifyAside(const QString &caption, const QString &text)
{
    calls.append({Kind::AsideNotice, caption, text, Alignment::Left});
}

bool ScriptedDialogs::ask(const QString &caption, const QString &text)
{
    calls.append({Kind::Question, caption, text, Alignment::Left});
    return m_answers.isEmpty() ? false : m_answers.takeFirst();
}

bool ScriptedDialogs::askDefaultNo(const QString &caption, const QString &text)
{
    const bool yes = ask(caption, text);
    calls.last().defaultNo = true;
    return yes;
}

void ScriptedDialogs::showError(const QString &text)
{
    calls.append({Kind::Error, QString(), text, Alignment::Left});
}

} // namespace korvex::test
