#include "PhotoStaging.h"

#include "Dataset.h"
#include "ModuleError.h"
#include "TextFile.h"
#include "WinPath.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

constexpr int kLastExtraPhoto = 30;

void copyPhoto(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw ModuleError(u"Fotografii \"%1\" nelze přečíst: %2"_s.arg(source, in.errorString()));
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw ModuleError(u"Soubor \"%1\" nelze vytvořit: %2"_s.arg(target, out.errorString()));
    char buffer[1 << 16];
    for (qint64 n; (n = in.read(buffer, sizeof buffer)) > 0;)
        if (out.write(buffer, n) != n)
            throw ModuleError(u"Soubor \"%1\" nelze zapsat: %2"_s.arg(target, out.errorString()));
    if (in.error() != QFileDevice::NoError)
        throw ModuleError(u"Fotografii \"%1\" nelze přečíst: %2"_s.arg(source, in.errorString()));
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
    for (const QString &line : TextFile::readLines(executableFolder + u"Obr_FTP_List.txt"_s).value_or(QStringList()))
        names.insert(line.toLower());
    return names;
}

PhotoStaging::PhotoStaging(QString workingFolder, QSet<QString> portalPictures, bool onlyFirstPhoto)
    : m_workingFolder(std::move(workingFolder))
    , m_portal(std::move(portalPictures))
    , m_onlyFirst(onlyFirstPhoto)
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
    if (resend || !m_portal.contains(name)) {
        if (m_files.isFile(photo)) {
            copyPhoto(m_files.resolve(photo), m_workingFolder + name);
            m_copied.insert(name);
        }
    }
}

QStringList PhotoStaging::copiedNames() const
{
    QStringList names(m_copied.begin(), m_copied.end());
    names.sort();
    return names;
}

QStringList PhotoStaging::stage(const Dataset &query)
{
    QStringList names;
    const bool resend = query.text(u"REZERVA4") == u"1";
    for (int n = 1; n <= 6; ++n) {
        const QString photo = n > 1 && m_onlyFirst ? QString() : query.text(u"FOTO%1"_s.arg(n));
        if (!photo.isEmpty() && query.boolean(u"ZOB_FOTO%1"_s.arg(n)) && m_files.isFile(photo))
            offer(photo, resend, names);
    }

    // Photos 7 to 30 are found by name from the first one; a first photo
    // that does not follow the host's naming has none.
    QString base = query.text(u"FOTO1").toLower();
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
