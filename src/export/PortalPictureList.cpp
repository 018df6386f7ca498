#include "PortalPictureList.h"

#include "ModuleError.h"
#include "TextFile.h"

using namespace Qt::StringLiterals;

namespace korvex {

QStringList PortalPictureNames(const QStringList &replyLines)
{
    QStringList names;
    for (QString line : replyLines) {
        line.remove(u'\t');
        line = line.toLower();
        if (!line.contains(u"picture name=\""_s))
            continue;
        QString name;
        int quotes = 0;
        for (const QChar c : line) {
            if (c == u'"')
                ++quotes;
            else if (quotes == 1)
                name += c;
        }
        if (quotes == 2)
            names.append(name);
    }
    return names;
}

void BuildPortalPictureList(const QString &executableFolder)
{
    const auto reply = TextFile::readLines(executableFolder + u"Korvex_Foto.txt"_s);
    if (!reply)
        return;
    try {
        TextFile::writeLines(executableFolder + u"Obr_FTP_List.txt"_s, PortalPictureNames(*reply));
    } catch (const ModuleError &) {
        // The list cannot be created: it stays as it was, without a message.
    }
}

} // namespace korvex
