#include "platform/ModuleFolders.h"

#include "platform/WinPath.h"

#include <QCoreApplication>

#include <iterator>

using namespace Qt::StringLiterals;

namespace korvex::ModuleFolders {
namespace {

struct FileName
{
    ModuleFile file;
    const char16_t *name;
};

// Each of the module's file names, spelled here only, in the order of ModuleFile.
constexpr FileName kFileNames[] = {
    {ModuleFile::OfferList, u"Data.xml"},
    {ModuleFile::Archive, u"data.zip"},
    {ModuleFile::Reply, u"Response.htm"},
    {ModuleFile::PortalListing, u"Korvex_Foto.txt"},
    {ModuleFile::PortalPictureList, u"Obr_FTP_List.txt"},
    {ModuleFile::InterchangeFile, u"ASCII_Nesta.TXT"},
    {ModuleFile::SettingsFile, u"Korvex.ddd"},
    {ModuleFile::SendLog, u"Korvex_log.txt"},
    {ModuleFile::SendHistory, u"Korvex_historie.db"},
    {ModuleFile::GuardSettings, u"Korvex_ochrana.ddd"},
    {ModuleFile::ClockReference, u"Datum_new.txt"},
};
static_assert([] {
    for (size_t i = 0; i < std::size(kFileNames); ++i)
        if (kFileNames[i].file != ModuleFile(i))
            return false;
    return std::size(kFileNames) == size_t(ModuleFile::ClockReference) + 1;
}());

QString inFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || WinPath::hasTrailingSeparator(folder))
        return WinPath::resolve(folder + name);
    return WinPath::resolve(folder + u'\\' + name);
}

} // namespace

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
    return inFolder(executableFolder, u"Korvex_zip\\"_s);
}

QString path(ModuleFile file, const QString &folder)
{
    return inFolder(folder, QString::fromUtf16(kFileNames[size_t(file)].name));
}

} // namespace korvex::ModuleFolders
