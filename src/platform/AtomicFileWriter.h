#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

namespace korvex {

// Replaces a file whole, written piece by piece: the bytes go to a temporary
// file beside it, which is renamed over the file only by commit(), so a
// failure before that, or a writer dropped without it, leaves the old file
// as it was. The path is Windows-style and goes through WinPath. Failures
// throw ModuleError naming the file as given, with the reason in Czech. With
// ownerOnly the new file is readable and writable by its owner alone.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(const QString &path, bool ownerOnly = false);

    void write(QByteArrayView bytes);
    void commit();

private:
    [[noreturn]] void fail() const;

    QString m_path;
    QSaveFile m_file;
};

} // namespace korvex
