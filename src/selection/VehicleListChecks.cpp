// The vehicle list's checks: which marked vehicles would go out without a
// price, a photo or a readable photo, shown in the grid and counted.
#include "selection/VehicleListTab.h"

#include "export/ChangedPhotos.h"
#include "export/SendHistory.h"
#include "export/VehicleChecks.h"
#include "platform/Dataset.h"
#include "platform/ModuleFolders.h"
#include "widgets/FormText.h"
#include "widgets/TDbGridTarvo.h"

#include <QHelpEvent>
#include <QLabel>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace korvex {

VehicleListTab::~VehicleListTab() = default;

void VehicleListTab::buildProblemMarker()
{
    // Between the heading and the version line: the band's one free place.
    m_problemLabel = PlaceLabel(this, QString(), QRect(512, 9, 126, 18));
    m_problemLabel->setObjectName(u"LabelProblemy"_s);
    SetTextLook(m_problemLabel, QColor(255, 140, 0), true);
    m_problemLabel->setToolTip(u"Vybraná vozidla bez ceny, fotografie, značky, modelu nebo stavu km"_s);
    m_grid->viewport()->installEventFilter(this);
    // An edit of the current vehicle (its photos chosen in the dialog) is
    // checked again when it is next looked at.
    connect(&m_query, &Dataset::dataChanged, this, [this] {
        if (hasCurrentRecord())
            m_problems.remove(m_query.value(m_poradi).toLongLong());
    });
}

void VehicleListTab::RecheckVehicles()
{
    m_problems.clear();
    m_checker.reset();
    m_knownPhotos.reset();
    UpdateProblemLabel();
    m_grid->viewport()->update();
}

QStringList VehicleListTab::rowProblems(int row)
{
    if (!m_query.valueAt(row, m_oznaceno).toBool())
        return {};
    const qlonglong key = m_query.valueAt(row, m_poradi).toLongLong();
    const auto known = m_problems.constFind(key);
    if (known != m_problems.cend())
        return *known;
    if (!m_checker) {
        QHash<QString, SentPhotoFile> sent;
        if (!m_executableFolder.isEmpty()) {
            try {
                const QString history = ModuleFolders::path(ModuleFile::SendHistory, m_executableFolder);
                sent = SendHistory(history, SendHistory::Mode::Read).photoFiles();
            } catch (const std::exception &) {
                // Without the history every header is read.
            }
        }
        m_knownPhotos = std::make_unique<ChangedPhotos>(std::move(sent));
        m_checker = std::make_unique<VehicleChecker>(onlyFirstPhoto && onlyFirstPhoto(), m_knownPhotos.get());
    }
    QStringList texts;
    for (const VehicleFinding &finding : m_checker->checkRow(m_query, row))
        texts.append(FindingText(finding));
    m_problems.insert(key, texts);
    return texts;
}

void VehicleListTab::UpdateProblemLabel()
{
    m_problemCountPending = false;
    int vehicles = 0;
    // Every marked vehicle is among the rows, with the filter or without.
    if (m_query.isOpen())
        for (int row = 0; row < m_query.recordCount(); ++row)
            if (!rowProblems(row).isEmpty())
                ++vehicles;
    m_problemLabel->setText(u"s problémem %1"_s.arg(vehicles));
}

bool VehicleListTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_grid->viewport() && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int row = m_grid->indexAt(help->pos()).row();
        const QStringList texts = row >= 0 ? rowProblems(row) : QStringList();
        if (texts.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), texts.join(u'\n'), m_grid->viewport());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace korvex
