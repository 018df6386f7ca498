#include "platform/AtomicWrite.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/WinPath.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace korvex {

void WriteFileAtomically(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    QSaveFile file(WinPath::resolve(path));
    if (!file.open(QIODevice::WriteOnly)
        || (ownerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        || file.write(bytes) != bytes.size() || !file.commit())
        throw ModuleError(u"Soubor \"%1\" nelze zapsat: %2"_s.arg(path, FileErrorText(file)));
}

} // namespace korvex
