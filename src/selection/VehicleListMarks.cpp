// The vehicle list's behaviour: marks and counters, the only-marked filter,
// the flags of the current vehicle, the detail panel and the row colours.
#include "selection/VehicleListTab.h"

#include "platform/Dataset.h"
#include "widgets/HourGlass.h"
#include "import/ListCounters.h"
#include "widgets/TDBNavigatorTarvo.h"
#include "widgets/TDbGridTarvo.h"
#include "platform/UnfilteredView.h"

#include <QCheckBox>
#include <QLabel>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

const QColor kGray(128, 128, 128);
const QColor kBlue(0, 0, 255);
const QColor kNavy(0, 0, 128);

} // namespace

bool VehicleListTab::hasCurrentRecord() const
{
    return m_query.isOpen() && m_query.recNo() >= 0;
}

void VehicleListTab::UpdateMarkedLabel()
{
    m_marked->setText(korvex::UpdateMarkedLabel(m_grid->CheckedCount()));
}

void VehicleListTab::UpdateTotalLabel()
{
    m_total->setText(korvex::UpdateTotalLabel(m_query.isOpen() ? m_query.recordCount() : 0));
}

void VehicleListTab::CheckRow()
{
    m_query.edit();
    if (!RestoringMarks)
        m_query.setValue(m_oznaceno, !m_query.value(m_oznaceno).toBool());
    m_query.post();
    UpdateMarkedLabel();
}

void VehicleListTab::RestoreMarks()
{
    {
        Dataset::Batch batch(m_query);
        m_query.first();
        while (!m_query.eof()) {
            if (m_query.value(m_oznaceno).toBool())
                m_grid->ToggleCheck();
            m_query.next();
        }
        batch.commit();
    }
    m_query.first();
}

void VehicleListTab::ToggleCurrentMark()
{
    if (hasCurrentRecord())
        m_grid->ToggleCheck();
}

void VehicleListTab::MarkAll()
{
    HourGlass hourGlass;
    const Dataset::DisplaySuspended suspended(m_query);
    if (!m_query.isOpen())
        m_query.open();
    {
        UnfilteredView unfiltered(m_query);
        Dataset::Batch batch(m_query);
        m_query.first();
        while (!m_query.eof()) {
            if (!m_grid->IsCurrentChecked())
                m_grid->ToggleCheck();
            m_query.edit();
            m_query.setValue(m_oznaceno, true);
            m_query.next();
        }
        batch.commit();
        m_query.close();
    }
    UpdateMarkedLabel();
    m_query.open();
    UpdateTotalLabel();
}

void VehicleListTab::UnmarkAll()
{
    const Dataset::DisplaySuspended suspended(m_query);
    HourGlass hourGlass;
    if (!m_query.isOpen())
        m_query.open();
    m_grid->ClearChecks();
    {
        UnfilteredView unfiltered(m_query);
        Dataset::Batch batch(m_query);
        m_query.first();
        while (!m_query.eof()) {
            if (m_query.value(m_oznaceno).toBool()) {
                m_query.edit();
                m_query.setValue(m_oznaceno, false);
            }
            m_query.next();
        }
        batch.commit();
        m_query.close();
    }
    UpdateMarkedLabel();
    m_query.open();
    UpdateTotalLabel();
}

void VehicleListTab::DeleteCurrentVehicle()
{
    if (!hasCurrentRecord() || !m_navigator->confirm(u"Delete record?"_s))
        return;
    m_grid->ForgetCurrentKey();
    m_query.remove();
    UpdateMarkedLabel();
    UpdateTotalLabel();
}

void VehicleListTab::ToggleOnlyMarked()
{
    m_onlyMarked = m_onlyMarkedButton->isChecked();
    m_onlyMarkedButton->setText(m_onlyMarked ? u"Jen vybrané"_s : u"Zobr.všechny"_s);
    m_query.refresh();
    m_grid->viewport()->update();
    UpdateMarkedLabel();
    UpdateTotalLabel();
}

void VehicleListTab::toggleTextFlag(const QString &field)
{
    m_query.edit();
    m_query.setValue(field, m_query.text(field) == u"1" ? u"0"_s : u"1"_s);
    m_query.post();
}

void VehicleListTab::ToggleResendPhotos()
{
    if (hasCurrentRecord() && !m_query.text(u"ODESLI_FOTO").isEmpty())
        toggleTextFlag(u"REZERVA4"_s);
}

void VehicleListTab::ToggleMagazine()
{
    if (hasCurrentRecord())
        toggleTextFlag(u"REZERVA6"_s);
}

void VehicleListTab::afterScroll()
{
    if (hasCurrentRecord())
        for (const auto &[box, field] : m_flagBoxes)
            box->setChecked(m_query.text(field) == u"1");
    showDetail();
}

void VehicleListTab::showDetail()
{
    const bool current = hasCurrentRecord();
    for (const DetailField &detail : m_detailFields) {
        const QString text = current ? m_query.text(detail.field) : QString();
        detail.label->setText(detail.displayFormat.isEmpty() || text.isEmpty()
                                  ? text
                                  : DatasetModel::applyMask(text, detail.displayFormat));
    }
}

void VehicleListTab::drawCell(int row, int column, bool focused, TGridCellLook &look)
{
    const bool marked = m_query.valueAt(row, m_oznaceno).toBool();
    if (!marked)
        look.text = kGray;
    if (m_query.valueAt(row, m_rezerva6).toString() == u"1") {
        look.text = Qt::white;
        look.bold = true;
        look.background = kBlue;
    }
    if (focused && marked) {
        look.text = Qt::white;
        look.bold = true;
        look.background = kNavy;
    }
    if (column != m_photoColumn)
        return;
    look.pictureCell = true; // the icon, never the path
    if (!m_query.valueAt(row, m_foto1).toString().isEmpty())
        look.picture = m_icons.picture(m_settingsFolder + u"Foto.bmp"_s);
    if (m_query.valueAt(row, m_rezerva4).toString() == u"1")
        look.picture = m_icons.picture(m_executableFolder + u"Data_Off_LIne\\No_Foto.bmp"_s);
}

} // namespace korvex
