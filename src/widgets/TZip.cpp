#include "widgets/TZip.h"

#include "platform/ZipPacker.h"
#include "widgets/ZipException.h"
#include "widgets/ZipProgressDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace korvex {

TZip::TZip(QObject *owner)
    : QObject(owner)
    , m_scratchFolder(QDir::tempPath())
{
    m_directory.endRecord = ZipDirectory::emptyArchive();
    preconditionMessage = [](const QString &text) {
        QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
    };
}

TZip::~TZip()
{
    delete m_dialog;
}

void TZip::readDirectory()
{
    try {
        m_directory = ZipDirectory::readFile(m_archivePath);
    } catch (const ModuleError &e) {
        m_directory.entries.clear();
        throw ZipException(e.text());
    }
}

void TZip::OpenArchive(const QString &path)
{
    m_directory = ZipDirectory();
    m_directory.endRecord = ZipDirectory::emptyArchive();
    m_archivePath = path;
    if (!path.isEmpty()) {
        if (!QFile::exists(path)) {
            QFile file(path);
            const QByteArray empty = ZipDirectory::emptyArchive();
            if (!file.open(QIODevice::WriteOnly) || file.write(empty) != empty.size())
                throw ZipException(u"Unable to create \n\"%1\""_s.arg(path));
        }
        readDirectory();
    }
    Q_EMIT ContentsChanged();
}

int TZip::AddFiles()
{
    // The archive as it was, to put back when the user cancels.
    QTemporaryFile backup(m_scratchFolder + u"/zzzXXXXXX"_s);
    const bool backedUp = !m_archivePath.isEmpty() && QFile::exists(m_archivePath) && backup.open();
    if (backedUp) {
        QFile archive(m_archivePath);
        if (archive.open(QIODevice::ReadOnly))
            while (!archive.atEnd())
                backup.write(archive.read(1 << 20));
        backup.flush();
    }
    const int result = run();
    if (m_cancelRequested && backedUp) {
        backup.seek(0);
        QFile archive(m_archivePath);
        if (archive.open(QIODevice::WriteOnly | QIODevice::Truncate))
            while (!backup.atEnd())
                archive.write(backup.read(1 << 20));
    }
    m_sourceFolder.clear();
    return result;
}

int TZip::run()
{
    if (m_archivePath.isEmpty()) {
        preconditionMessage(u"A Zip file must be openned or created before\nAdding, Deleting or Extracting files."_s);
        return 0;
    }
    if (m_filePatterns.isEmpty()) {
        preconditionMessage(u"No files have been selected."_s);
        return 0;
    }
    m_cancelRequested = false;

    if (m_showProgressDialog && !m_dialog) {
        QWidget *window = QApplication::activeWindow();
        m_dialog = new ZipProgressDialog(window);
        connect(m_dialog, &ZipProgressDialog::cancelRequested, this, [this] { m_cancelRequested = true; });
    }
    if (m_showProgressDialog) {
        m_dialog->setFileName(u"wait ..."_s);
        m_dialog->setPosition(0);
        m_dialog->show();
    }

    int batchCount = 0;
    int counted = 0;
    int skipped = 0;
    qint64 batchBytes = 0;
    qint64 bytesDone = 0;
    double scale = 1;
    QString current;
    ZipProgress progress;
    progress.batchCount = [&](int n) { batchCount = n; };
    progress.batchStart = [&](std::int64_t total) {
        batchBytes = total;
        bytesDone = 0;
        counted = skipped = 0;
        scale = total > 0 ? 65535.0 / double(total) : 1;
    };
    progress.fileBegin = [&](const QString &name, std::int64_t size) {
        current = name;
        Q_EMIT ZEDBeginFileEvent(name, size, batchCount, batchBytes);
        if (m_dialog && m_showProgressDialog)
            m_dialog->setFileName(name);
    };
    progress.bytesDone = [&](std::int64_t n) {
        bytesDone += n;
        Q_EMIT ZEDProgressEvent(current, n, batchBytes);
        if (m_dialog && m_showProgressDialog)
            m_dialog->setPosition(int(double(bytesDone) * scale));
    };
    progress.fileDone = [&](int code) {
        ++counted;
        if (code >= 4 && code <= 9)
            ++skipped;
    };
    progress.batchEnd = [&] {
        Q_EMIT ZEDEndBatchEvent(skipped, counted, batchBytes);
        if (m_dialog)
            m_dialog->hide();
    };
    // Every step lets the window process its messages, so that Cancel works.
    progress.cancelled = [this] {
        QCoreApplication::processEvents();
        return m_cancelRequested;
    };

    int result = 0;
    try {
        result = PackFolder(m_archivePath, m_sourceFolder, m_filePatterns, progress);
    } catch (const ModuleError &e) {
        if (m_dialog)
            m_dialog->hide();
        m_filePatterns.clear();
        throw ZipException(e.text());
    }
    if (m_dialog)
        m_dialog->hide();
    m_filePatterns.clear();
    if (result > 0) {
        readDirectory();
        Q_EMIT ContentsChanged();
    }
    return result;
}

void TZip::packFolder(const QString &archivePath, const QString &folder)
{
    QFile::remove(archivePath);
    OpenArchive(archivePath);
    setSourceFolder(folder.endsWith(u'/') ? folder : folder + u'/');
    m_filePatterns.append(u"*.*"_s);
    AddFiles();
}

} // namespace korvex
