#include "platform/DatabaseSession.h"

#include "platform/ModuleError.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString withSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

} // namespace

DatabaseSession DatabaseSession::load(const QString &executableFolder)
{
    const QString fromEnv = qEnvironmentVariable("KORVEX_DB_CONFIG");
    return fromFile(fromEnv.isEmpty() ? executableFolder + u"aliases.ini"_s : fromEnv);
}

DatabaseSession DatabaseSession::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return DatabaseSession();
    return fromText(QString::fromUtf8(file.readAll()));
}

DatabaseSession DatabaseSession::fromText(const QString &iniText)
{
    DatabaseSession session;
    QString section;
    const QStringList lines = iniText.split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = line.mid(1, line.size() - 2).trimmed().toUpper();
            session.m_params.insert(section, QStringList());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (section.isEmpty() || eq <= 0)
            continue;
        const QString name = line.left(eq).trimmed().toUpper();
        const QString param = name + u'=' + line.mid(eq + 1).trimmed();
        QStringList &params = session.m_params[section];
        if (name == u"PATH")
            params.prepend(param);
        else
            params.append(param);
    }
    return session;
}

bool DatabaseSession::isKnownAlias(const QString &alias) const
{
    return m_params.contains(alias.toUpper());
}

QStringList DatabaseSession::aliasParams(const QString &alias) const
{
    return m_params.value(alias.toUpper());
}

QString DatabaseSession::aliasFolder(const QString &alias) const
{
    if (!isKnownAlias(alias))
        throw ModuleError(QStringLiteral("Neznámý alias databáze: %1").arg(alias));
    const QStringList params = aliasParams(alias);
    for (const QString &param : params)
        if (param.startsWith(u"PATH="))
            return withSeparator(param.mid(5));
    throw ModuleError(QStringLiteral("Alias databáze %1 nemá parametr PATH").arg(alias));
}

void WorkingTablePath(const DatabaseSession &session, const QString &alias, QString &path)
{
    if (!session.isKnownAlias(alias))
        return;
    // The first parameter line is PATH=<folder>; its first five characters
    // are the parameter name and the equals sign.
    path = withSeparator(session.aliasParams(alias).value(0).mid(5));
}

} // namespace korvex
