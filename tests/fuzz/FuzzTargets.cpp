#include "FuzzTargets.h"

#include "export/PortalPictureList.h"
#include "import/InterchangeFile.h"
#include "platform/ModuleError.h"
#include "platform/ModuleSettings.h"
#include "platform/ParadoxTable.h"
#include "platform/ZipDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace korvex::fuzz {
namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

template<typename Read>
QString errorOf(Read read)
{
    try {
        read();
    } catch (const ModuleError &e) {
        return e.text().isEmpty() ? u"(prázdná chyba)"_s : e.text();
    }
    return QString();
}

} // namespace

QString scratchFolder()
{
    static QTemporaryDir dir;
    static const bool made = QDir().mkpath(dir.path() + u"/WWW_Export/Data"_s);
    Q_UNUSED(made);
    return dir.path() + u'/';
}

QString Paradox(const QByteArray &input)
{
    const qsizetype split = input.indexOf("MEMOFILE");
    std::optional<QByteArray> memo;
    QByteArray table = input;
    if (split >= 0) {
        table = input.left(split);
        memo = input.mid(split + 8);
    }
    return errorOf([&] {
        const ParadoxTable t = ParadoxTable::parse(table, memo, u"fuzz.DB"_s);
        for (int r = 0; r < t.recordCount(); ++r)
            for (int f = 0; f < int(t.fields().size()); ++f)
                t.text(r, f);
    });
}

QString ZipDirectory(const QByteArray &input)
{
    return errorOf([&] { korvex::ZipDirectory::read(input, u"fuzz.zip"_s); });
}

QString Interchange(const QByteArray &input)
{
    const QString path = scratchFolder() + u"ASCII_Nesta.TXT"_s;
    put(path, input);
    return errorOf([&] {
        const InterchangeRecords records = ReadInterchangeFile(path);
        for (size_t r = 0; r < records.size(); ++r)
            records.at(r);
    });
}

QString ListingReply(const QByteArray &input)
{
    put(scratchFolder() + u"Korvex_Foto.txt"_s, input);
    return errorOf([&] { BuildPortalPictureList(scratchFolder()); });
}

QString SettingsFiles(const QByteArray &input)
{
    const QString folder = scratchFolder();
    put(folder + u"Korvex.ddd"_s, input);
    put(folder + u"Patrani.ddd"_s, input);
    put(folder + u"WWW_Export/Data/Rezim_Pr.ddd"_s, input);
    put(folder + u"WWW_Export/Pelanto_dod.ddd"_s, input);
    return errorOf([&] {
        ModuleSettings settings;
        LoadFtpMode(settings, folder);
        LoadExtractionFlags(settings, folder + u"WWW_Export/"_s);
        QString proxyError;
        try {
            LoadHostProxy(settings, folder);
        } catch (const ModuleError &e) {
            proxyError = e.text();
        }
        LoadModuleSettings(settings, folder);
        if (!proxyError.isEmpty())
            throw ModuleError(proxyError);
    });
}

} // namespace korvex::fuzz
