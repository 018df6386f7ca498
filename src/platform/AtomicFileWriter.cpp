#include "platform/AtomicFileWriter.h"

#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/WinPath.h"

using namespace Qt::StringLiterals;

namespace korvex {

AtomicFileWriter::AtomicFileWriter(const QString &path, bool ownerOnly)
    : m_path(path)
    , m_file(WinPath::resolve(path))
{
    if (!m_file.open(QIODevice::WriteOnly)
        || (ownerOnly && !m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)))
        fail();
}

void AtomicFileWriter::write(QByteArrayView bytes)
{
    if (m_file.write(bytes.data(), bytes.size()) != bytes.size())
        fail();
}

void AtomicFileWriter::commit()
{
    if (!m_file.commit())
        fail();
}

void AtomicFileWriter::fail() const
{
    throw ModuleError(u"Soubor \"%1\" nelze zapsat: %2"_s.arg(m_path, FileErrorText(m_file)));
}

} // namespace korvex
