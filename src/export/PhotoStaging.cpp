#include "export/PhotoStaging.h"

#include "export/ChangedPhotos.h"
#include "import/NestaFields.h"
#include "platform/Dataset.h"
#include "platform/FileErrorText.h"
#include "platform/ModuleError.h"
#include "platform/ModuleFolders.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr int kLastExtraPhoto = 30;

void copyPhoto(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw ModuleError(u"Fotografii \"%1\" nelze přečíst: %2"_s.arg(source, FileErrorText(in)));
    // Unbuffered: a write the disk takes only in part must come back here,
    // where the next write tells why; a buffered one would fail later at the
    // flush or the close without a reason.
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw ModuleError(u"Soubor \"%1\" nelze vytvořit: %2"_s.arg(target, FileErrorText(out)));
    char buffer[1 << 16];
    for (qint64 n; (n = in.read(buffer, sizeof buffer)) > 0;)
        for (qint64 done = 0, written; done < n; done += written)
            if ((written = out.write(buffer + done, n - done)) <= 0)
                throw ModuleError(u"Soubor \"%1\" nelze zapsat: %2"_s.arg(target, FileErrorText(out)));
    if (in.error() != QFileDevice::NoError)
        throw ModuleError(u"Fotografii \"%1\" nelze přečíst: %2"_s.arg(source, FileErrorText(in)));
}

// A staged name left from before may be a link that shares the original
// photo's data: writing over it would write into the photo, so a name that
// cannot be removed stops the staging.
void removeSharedTarget(const QString &target)
{
    struct stat st;
    if (::lstat(QFile::encodeName(target).constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink < 2)
        return;
    QFile shared(target);
    if (!shared.remove())
        throw ModuleError(u"Soubor \"%1\" nelze nahradit: %2"_s.arg(target, FileErrorText(shared)));
}

void stagePhoto(const QString &source, const QString &target, bool mayLink)
{
    const QByteArray to = QFile::encodeName(target);
    removeSharedTarget(target);
    // A link fails across file systems, on those that know none, and where
    // the name is taken; a copy then does what a link would.
    if (mayLink && ::link(QFile::encodeName(source).constData(), to.constData()) == 0)
        return;
    copyPhoto(source, target);
}

} // namespace

QString PictureName(const QString &path)
{
    qsizetype cut = path.size();
    while (cut > 0 && path[cut - 1] != u'\\' && path[cut - 1] != u'/' && path[cut - 1] != u':')
        --cut;
    return path.mid(cut).toLower();
}

QSet<QString> LoadPortalPictureList(const QString &executableFolder)
{
    QSet<QString> names;
    const QString list = ModuleFolders::path(ModuleFile::PortalPictureList, executableFolder);
    for (const QString &line : TextFile::readLines(list).value_or(QStringList()))
        names.insert(line.toLower());
    return names;
}

PhotoStaging::PhotoStaging(QString workingFolder, QSet<QString> portalPictures, bool onlyFirstPhoto,
                           ChangedPhotos *changes, bool linkPhotos)
    : m_workingFolder(std::move(workingFolder))
    , m_portal(std::move(portalPictures))
    , m_onlyFirst(onlyFirstPhoto)
    , m_changes(changes)
    , m_link(linkPhotos)
{
    if (!m_workingFolder.endsWith(u'/'))
        m_workingFolder += u'/';
}

void PhotoStaging::offer(const QString &photo, bool resend, QStringList &names)
{
    const QString name = PictureName(photo);
    if (name.isEmpty())
        return;
    names.append(name);
    const QString source = m_files.resolve(photo);
    m_named.insert(name, source);
    bool stage = resend || !m_portal.contains(name);
    if (!stage && m_changes && m_changes->changed(name, source)) {
        stage = true;
        m_changed.insert(name);
    }
    if (stage && m_files.isFile(photo)) {
        stagePhoto(source, m_workingFolder + name, m_link);
        m_copied.insert(name);
    }
}

QStringList PhotoStaging::copiedNames() const
{
    QStringList names(m_copied.begin(), m_copied.end());
    names.sort();
    return names;
}

QStringList PhotoStaging::changedNames() const
{
    QStringList names(m_changed.begin(), m_changed.end());
    names.sort();
    return names;
}

QStringList PhotoStaging::stage(const Dataset &query)
{
    QStringList names;
    const bool resend = query.text(nesta::Rezerva4) == u"1";
    for (int n = 1; n <= 6; ++n) {
        const QString photo = n > 1 && m_onlyFirst ? QString() : query.text(u"FOTO%1"_s.arg(n));
        if (!photo.isEmpty() && query.boolean(u"ZOB_FOTO%1"_s.arg(n)) && m_files.isFile(photo))
            offer(photo, resend, names);
    }

    // Photos 7 to 30 are found by name from the first one; a first photo
    // that does not follow the host's naming has none.
    QString base = query.text(nesta::Foto1).toLower();
    if (!base.contains(u"_1_max.jpg"_s) && !base.contains(u"_1_web.jpg"_s))
        return names;
    base.replace(u"_1_max.jpg"_s, u"_1_web.jpg"_s);
    for (int k = 7; k <= kLastExtraPhoto; ++k) {
        const QString candidate = QString(base).replace(u"_1_web.jpg"_s, u"_%1_web.jpg"_s.arg(k));
        if (m_files.isFile(candidate))
            offer(candidate, resend, names);
    }
    return names;
}

} // namespace korvex
