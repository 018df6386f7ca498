#include "export/PortalPictureList.h"

#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"

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
    // A list left from an earlier send would keep back pictures the portal
    // has lost since: without a fresh list there is no send.
    const QString replyPath = ModuleFolders::path(ModuleFile::PortalListing, executableFolder);
    const auto reply = TextFile::readLines(replyPath);
    if (!reply)
        throw ModuleError(u"Soubor \"%1\" nelze přečíst, seznam fotografií na portálu nelze obnovit."_s.arg(replyPath));
    TextFile::writeLines(
        ModuleFolders::path(ModuleFile::PortalPictureList, executableFolder), PortalPictureNames(*reply));
}

} // namespace korvex
