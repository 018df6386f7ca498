#include "platform/ModuleFolders.h"

#include "platform/WinPath.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace korvex::ModuleFolders {

QString executableFolder()
{
    return QCoreApplication::applicationDirPath() + u'/';
}

QString hostRoot(const QString &executableFolder)
{
#ifdef Q_OS_WIN
    const QString upper = executableFolder.toUpper();
    if (upper.endsWith(u"PRG\\"))
        return upper.chopped(4);
    return QString();
#else
    // The folder keeps its own letter case: upper-casing it would name a
    // folder that does not exist on a case-sensitive file system.
    if (executableFolder.size() >= 4 && executableFolder.right(4).compare(u"PRG/", Qt::CaseInsensitive) == 0)
        return executableFolder.chopped(4);
    return QString();
#endif
}

QString settingsFolder(const QString &executableFolder, const QString &hostRoot)
{
    if (WinPath::isFile(executableFolder + u"Foto.bmp"_s))
        return executableFolder;
    return hostRoot + u"WWW_Export\\Data\\Setting\\"_s;
}

QString workingFolder(const QString &executableFolder)
{
    return executableFolder + u"Korvex_zip"_s;
}

} // namespace korvex::ModuleFolders
