#include "platform/FileErrorText.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace korvex {

QString FileErrorText(const QString &systemText)
{
    // The texts Qt and the C library give in the C locale, which the module's
    // own file operations see.
    static const QHash<QString, QString> czech{
        {u"No such file or directory"_s, u"soubor nebo složka neexistuje"_s},
        {u"Permission denied"_s, u"přístup byl odepřen"_s},
        {u"Operation not permitted"_s, u"operace není povolena"_s},
        {u"No space left on device"_s, u"na disku není dost místa"_s},
        {u"Disk quota exceeded"_s, u"byla překročena kvóta disku"_s},
        {u"Read-only file system"_s, u"disk je jen pro čtení"_s},
        {u"Is a directory"_s, u"v cestě je složka místo souboru"_s},
        {u"Not a directory"_s, u"část cesty není složka"_s},
        {u"File too large"_s, u"soubor je příliš velký"_s},
        {u"File name too long"_s, u"název souboru je příliš dlouhý"_s},
        {u"Too many open files"_s, u"je otevřeno příliš mnoho souborů"_s},
        {u"Input/output error"_s, u"chyba čtení nebo zápisu na disk"_s},
        {u"Unknown error"_s, u"neznámá chyba"_s},
    };
    const auto found = czech.constFind(systemText);
    if (found == czech.constEnd())
        return systemText;
    return *found + u" ("_s + systemText + u')';
}

QString FileErrorText(const QFileDevice &file)
{
    return FileErrorText(file.errorString());
}

} // namespace korvex
