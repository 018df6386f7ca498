#include "selection/SendPreviewDialog.h"

#include "export/SendWorkflow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QTableWidget *table(QWidget *parent, const char16_t *name, const QStringList &titles)
{
    auto *t = new QTableWidget(0, int(titles.size()), parent);
    t->setObjectName(QString::fromUtf16(name));
    t->setHorizontalHeaderLabels(titles);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void addRow(QTableWidget *t, const QStringList &cells)
{
    const int row = t->rowCount();
    t->insertRow(row);
    for (int c = 0; c < cells.size(); ++c)
        t->setItem(row, c, new QTableWidgetItem(cells[c]));
}

QString guardLine(const SendPreview &p)
{
    if (!p.guardEnabled)
        return u"Ochrana před stažením nabídek je vypnuta."_s;
    if (!p.guard.stop)
        return u"Ochrana před stažením nabídek: odeslání proběhne bez varování."_s;
    return u"Ochrana před stažením nabídek: automatické odeslání bude zastaveno, ruční se zeptá."_s;
}

} // namespace

SendPreviewDialog::SendPreviewDialog(const SendPreview &p, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Form_Nahled"_s);
    setWindowTitle(u"Náhled odeslání"_s);
    resize(640, 480);
    auto *layout = new QVBoxLayout(this);

    const QString last = p.lastSend ? u"Minulé odeslání: %1, nabídek %2."_s
                                          .arg(p.lastSend->when.toString(u"dd.MM.yyyy HH:mm"_s))
                                          .arg(p.lastSend->offers.size())
                                    : u"V historii zatím není žádné odeslání."_s;
    layout->addWidget(new QLabel(last, this));
    if (!p.historyProblem.isEmpty()) {
        auto *problem = new QLabel(u"Historii odeslání nelze přečíst: "_s + p.historyProblem, this);
        problem->setWordWrap(true);
        layout->addWidget(problem);
    }

    QTableWidget *offers = table(this, u"TableNabidky", {u"Změna"_s, u"č. zak."_s, u"Značka"_s});
    const struct
    {
        QString state;
        const QList<SentOffer> &offers;
    } groups[] = {{u"nová"_s, p.changes.added}, {u"změněná"_s, p.changes.changed}, {u"stažená"_s, p.changes.withdrawn}};
    for (const auto &group : groups)
        for (const SentOffer &o : group.offers)
            addRow(offers, {group.state, o.cj, o.make});
    offers->resizeColumnToContents(0);
    offers->resizeColumnToContents(1);
    layout->addWidget(offers, 3);

    QTableWidget *pictures = table(this, u"TableObrazky", {u"Obrázek k odeslání"_s, u"Velikost (B)"_s});
    qint64 pictureBytes = 0;
    for (const SentPicture &picture : p.pictures) {
        addRow(pictures, {picture.name, QString::number(picture.size)});
        pictureBytes += picture.size;
    }
    // The names whole: they are what the dealer checks here.
    pictures->resizeColumnToContents(0);
    layout->addWidget(pictures, 2);

    auto *summary = new QLabel(this);
    summary->setObjectName(u"LabelSouhrn"_s);
    summary->setWordWrap(true);
    summary->setText(u"Nabídek k odeslání: %1 (nové %2, změněné %3, stažené z portálu %4). "
                     u"Obrázků k odeslání: %5 (%6 B). Velikost archivu: %7.\n"_s.arg(p.offers.size())
                         .arg(p.changes.added.size())
                         .arg(p.changes.changed.size())
                         .arg(p.changes.withdrawn.size())
                         .arg(p.pictures.size())
                         .arg(pictureBytes)
                         .arg(ArchiveSizeText(p.archiveBytes))
                     + guardLine(p));
    layout->addWidget(summary);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = buttons->addButton(u"Zavřít"_s, QDialogButtonBox::RejectRole);
    close->setObjectName(u"ButtonZavrit"_s);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace korvex
