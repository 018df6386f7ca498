#pragma once

#include "platform/Packer.h"
#include "platform/ZipDirectory.h"
#include "widgets/ZipProgressDialog.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

namespace korvex {

// The archiver component: opens (and so creates) an archive, reads its
// directory and adds the files of a source folder that match the patterns,
// with a progress dialog that can cancel. A cancelled add restores the
// archive from a backup copy.
class TZip : public QObject, public Packer
{
    Q_OBJECT
public:
    explicit TZip(QObject *owner = nullptr);
    ~TZip() override;

    bool showProgressDialog() const { return m_showProgressDialog; }
    void setShowProgressDialog(bool on) { m_showProgressDialog = on; }
    const QString &archivePath() const { return m_archivePath; }
    QString sourceFolder() const { return m_sourceFolder; }
    void setSourceFolder(const QString &folder) { m_sourceFolder = folder; }
    QStringList &filePatterns() { return m_filePatterns; }
    const QString &scratchFolder() const { return m_scratchFolder; }
    const QString &archiveComment() const { return m_directory.comment; }
    bool oemNames() const { return m_directory.oemNames; }
    const std::vector<ZipEntryInfo> &files() const { return m_directory.entries; }
    const QByteArray &endRecord() const { return m_directory.endRecord; }
    bool cancelRequested() const { return m_cancelRequested; }
    ZipProgressDialog *progressDialog() const { return m_dialog; }

    // Shows the preconditions' messages; a message box by default.
    std::function<void(const QString &text)> preconditionMessage;

    // Throws ZipException with the archiver's texts.
    void OpenArchive(const QString &path);
    // The number of files packed; 0 when nothing ran.
    int AddFiles();

    void packFolder(const QString &archivePath, const QString &folder) override;
    bool lastRunCancelled() const override { return m_cancelRequested; }

Q_SIGNALS:
    void ZEDBeginFileEvent(const QString &fileName, qint64 fileSize, int batchCount, qint64 totalBytesInBatch);
    void ZEDProgressEvent(const QString &fileName, qint64 bytesDone, qint64 totalBytes);
    void ZEDEndBatchEvent(int skippedCount, int batchCount, qint64 totalBytesInBatch);
    void ContentsChanged();

private:
    int run();
    void readDirectory();

    bool m_showProgressDialog = true;
    QString m_archivePath;
    QString m_sourceFolder;
    QStringList m_filePatterns;
    QString m_scratchFolder;
    ZipDirectory m_directory;
    bool m_cancelRequested = false;
    QPointer<ZipProgressDialog> m_dialog; // the component's; its window may go first
};

} // namespace korvex
