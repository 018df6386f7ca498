#include "export/SendPreviewReport.h"

#include "export/SendWorkflow.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QString guardText(const SendPreview &p)
{
    if (!p.guardEnabled)
        return u"Ochrana před stažením nabídek: vypnuta"_s;
    if (!p.guard.stop)
        return u"Ochrana před stažením nabídek: odeslání proběhne bez varování"_s;
    return u"Ochrana před stažením nabídek: automatické odeslání bude zastaveno, při ručním odeslání se zeptá "
           u"(staženo %1 z %2 nabídek)"_s.arg(p.guard.withdrawn)
        .arg(p.guard.lastOffers);
}

void appendOffers(QStringList &lines, const QString &title, const QList<SentOffer> &offers)
{
    lines.append(u"%1 (%2):"_s.arg(title).arg(offers.size()));
    for (const SentOffer &o : offers)
        lines.append(u"  %1  %2"_s.arg(o.cj, o.make));
}

QJsonArray offerArray(const QList<SentOffer> &offers)
{
    QJsonArray array;
    for (const SentOffer &o : offers)
        array.append(QJsonObject{{u"cj"_s, o.cj}, {u"make"_s, o.make}});
    return array;
}

} // namespace

QString PreviewText(const SendPreview &p)
{
    QStringList lines;
    lines.append(u"Náhled odeslání inzerce"_s);
    lines.append(u"Nabídek k odeslání: %1"_s.arg(p.offers.size()));
    if (p.lastSend)
        lines.append(u"Minulé odeslání: %1, nabídek %2"_s.arg(p.lastSend->when.toString(u"dd.MM.yyyy HH:mm:ss"_s))
                         .arg(p.lastSend->offers.size()));
    else
        lines.append(u"Minulé odeslání: žádné v historii"_s);
    if (!p.historyProblem.isEmpty())
        lines.append(u"Historii odeslání nelze přečíst: "_s + p.historyProblem);
    appendOffers(lines, u"Nové nabídky"_s, p.changes.added);
    appendOffers(lines, u"Změněné nabídky"_s, p.changes.changed);
    appendOffers(lines, u"Stažené z portálu"_s, p.changes.withdrawn);
    qint64 pictureBytes = 0;
    for (const SentPicture &picture : p.pictures)
        pictureBytes += picture.size;
    lines.append(u"Obrázky k odeslání (%1, celkem %2 B):"_s.arg(p.pictures.size()).arg(pictureBytes));
    for (const SentPicture &picture : p.pictures)
        lines.append(u"  %1  %2 B"_s.arg(picture.name).arg(picture.size)
                     + (p.changedPictures.contains(picture.name) ? u"  změněná"_s : QString()));
    lines.append(u"Velikost archivu: %1 (%2 B)"_s.arg(ArchiveSizeText(p.archiveBytes)).arg(p.archiveBytes));
    lines.append(guardText(p));
    lines.append(u"Vozidla s problémem (%1):"_s.arg(p.checks.size()));
    for (const VehicleCheck &check : p.checks)
        lines.append(u"  %1  %2: %3"_s.arg(check.cj, check.make, check.problems.join(u", "_s)));
    return lines.join(u'\n') + u'\n';
}

QByteArray PreviewJson(const SendPreview &p)
{
    QJsonArray pictures;
    for (const SentPicture &picture : p.pictures) {
        QJsonObject item{{u"name"_s, picture.name}, {u"bytes"_s, picture.size}};
        if (p.changedPictures.contains(picture.name))
            item.insert(u"reason"_s, u"změněná"_s);
        pictures.append(item);
    }
    QJsonArray problems;
    for (const VehicleCheck &check : p.checks)
        problems.append(QJsonObject{{u"cj"_s, check.cj},
                                    {u"make"_s, check.make},
                                    {u"problems"_s, QJsonArray::fromStringList(check.problems)}});
    QJsonObject root{
        {u"offers"_s, p.offers.size()},
        {u"archive_bytes"_s, p.archiveBytes},
        {u"new"_s, offerArray(p.changes.added)},
        {u"changed"_s, offerArray(p.changes.changed)},
        {u"withdrawn"_s, offerArray(p.changes.withdrawn)},
        {u"pictures"_s, pictures},
        {u"problems"_s, problems},
        {u"last_send"_s, p.lastSend ? QJsonValue(QJsonObject{{u"time"_s, p.lastSend->when.toString(Qt::ISODate)},
                                                             {u"offers"_s, p.lastSend->offers.size()}})
                                    : QJsonValue()},
        {u"guard"_s, QJsonObject{{u"enabled"_s, p.guardEnabled},
                                 {u"stop"_s, p.guard.stop},
                                 {u"withdrawn"_s, p.guard.withdrawn}}},
    };
    if (!p.historyProblem.isEmpty())
        root.insert(u"history_error"_s, p.historyProblem);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace korvex
