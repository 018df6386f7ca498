#include "platform/AtomicWrite.h"

#include "platform/AtomicFileWriter.h"

namespace korvex {

void WriteFileAtomically(const QString &path, const QByteArray &bytes, bool ownerOnly)
{
    AtomicFileWriter file(path, ownerOnly);
    file.write(bytes);
    file.commit();
}

} // namespace korvex
