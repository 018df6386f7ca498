#include "app/GuardSettingsGroup.h"

#include "widgets/FormText.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace korvex {

GuardSettingsGroup::GuardSettingsGroup(QWidget *parent)
    : QGroupBox(u" Ochrana před stažením nabídek z portálu  "_s, parent)
{
    setObjectName(u"GroupBoxOchrana"_s);
    m_enabled = new QCheckBox(u"Zastavit odeslání, které by z portálu stáhlo mnoho nabídek"_s, this);
    m_enabled->setObjectName(u"CheckBoxOchrana"_s);
    m_enabled->setGeometry(16, 24, 520, 20);

    PlaceLabel(this, u"Stahuje-li více než"_s, QRect(16, 54, 120, 20));
    m_percent = new QSpinBox(this);
    m_percent->setObjectName(u"SpinEditOchranaProcent"_s);
    m_percent->setRange(0, 100);
    m_percent->setSuffix(u" %"_s);
    m_percent->setGeometry(140, 52, 64, 22);
    PlaceLabel(this, u"nabídek minulého odeslání a alespoň"_s, QRect(212, 54, 220, 20));
    m_minimum = new QSpinBox(this);
    m_minimum->setObjectName(u"SpinEditOchranaPocet"_s);
    m_minimum->setRange(0, 1000000);
    m_minimum->setGeometry(436, 52, 64, 22);
    PlaceLabel(this, u"vozidel"_s, QRect(506, 54, 50, 20));

    setSettings(GuardSettings());
    connect(m_enabled, &QCheckBox::toggled, this, &GuardSettingsGroup::changed);
    connect(m_percent, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
    connect(m_minimum, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
}

void GuardSettingsGroup::setSettings(const GuardSettings &settings)
{
    m_showing = true;
    m_enabled->setChecked(settings.enabled);
    m_percent->setValue(settings.percent);
    m_minimum->setValue(settings.minimum);
    m_percent->setEnabled(settings.enabled);
    m_minimum->setEnabled(settings.enabled);
    m_showing = false;
}

GuardSettings GuardSettingsGroup::settings() const
{
    return {m_enabled->isChecked(), m_percent->value(), m_minimum->value()};
}

void GuardSettingsGroup::changed()
{
    m_percent->setEnabled(m_enabled->isChecked());
    m_minimum->setEnabled(m_enabled->isChecked());
    if (!m_showing)
        Q_EMIT settingsChanged(settings());
}

} // namespace korvex
