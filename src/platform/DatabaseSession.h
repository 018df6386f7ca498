#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace korvex {

// The database configuration: named aliases, each pointing at a folder of
// tables. Read from an INI file with one section per alias and a line
// PATH=<folder>.
class DatabaseSession
{
public:
    DatabaseSession() = default;

    // $KORVEX_DB_CONFIG when set, else "aliases.ini" in the executable folder.
    // A missing file gives a session without aliases.
    static DatabaseSession load(const QString &executableFolder);
    static DatabaseSession fromFile(const QString &path);
    static DatabaseSession fromText(const QString &iniText);

    // Alias names are matched without regard to case.
    bool isKnownAlias(const QString &alias) const;

    // The alias's parameters as name=value lines, PATH first.
    QStringList aliasParams(const QString &alias) const;

    // The alias's folder with a trailing separator. Throws ModuleError naming
    // the alias when the session does not know it.
    QString aliasFolder(const QString &alias) const;

private:
    QHash<QString, QStringList> m_params; // keyed by upper-case alias
};

// Sets path to the alias's folder followed by a separator; leaves path
// exactly as passed when the session does not know the alias.
void WorkingTablePath(const DatabaseSession &session, const QString &alias, QString &path);

} // namespace korvex
