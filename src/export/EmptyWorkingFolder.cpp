#include "export/EmptyWorkingFolder.h"

#include "platform/ModuleError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace korvex {

void EmptyWorkingFolder(const QString &workingFolder)
{
    // A link would make the send delete files of some other folder. With a
    // trailing separator the check would look through the link.
    const QString folder = QDir::cleanPath(workingFolder);
    if (QFileInfo(folder).isSymLink())
        throw ModuleError(u"Pracovní složka \"%1\" je symbolický odkaz na jinou složku, odeslání neproběhne. "
                          u"Nahraďte ji obyčejnou složkou."_s.arg(folder));
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries)
        if (entry.isSymLink() || entry.isFile())
            QFile::remove(entry.absoluteFilePath());
}

} // namespace korvex
