#include "app/GuardSettingsGroup.h"

#include "widgets/FormText.h"

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &text, const QRect &where)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setGeometry(where);
    return box;
}

QSpinBox *spinBox(QWidget *parent, const QString &name, int maximum, const QRect &where)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, maximum);
    box->setGeometry(where);
    return box;
}

} // namespace

GuardSettingsGroup::GuardSettingsGroup(QWidget *parent)
    : QGroupBox(u" Ochrana před stažením nabídek z portálu  "_s, parent)
{
    setObjectName(u"GroupBoxOchrana"_s);
    m_enabled = checkBox(this, u"CheckBoxOchrana"_s, u"Zastavit odeslání, které by z portálu stáhlo mnoho nabídek"_s,
                         QRect(16, 24, 520, 20));
    PlaceLabel(this, u"Stahuje-li více než"_s, QRect(16, 54, 120, 20));
    m_percent = spinBox(this, u"SpinEditOchranaProcent"_s, 100, QRect(140, 52, 64, 22));
    m_percent->setSuffix(u" %"_s);
    PlaceLabel(this, u"nabídek minulého odeslání a alespoň"_s, QRect(212, 54, 220, 20));
    m_minimum = spinBox(this, u"SpinEditOchranaPocet"_s, 1000000, QRect(436, 52, 64, 22));
    PlaceLabel(this, u"vozidel"_s, QRect(506, 54, 50, 20));
    m_resendChanged = checkBox(this, u"CheckBoxZmeneneFoto"_s,
                               u"Znovu odeslat fotografie, které se od minulého odeslání změnily"_s,
                               QRect(16, 84, 520, 20));

    setSettings(GuardSettings());
    connect(m_enabled, &QCheckBox::toggled, this, &GuardSettingsGroup::changed);
    connect(m_percent, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
    connect(m_minimum, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
    connect(m_resendChanged, &QCheckBox::toggled, this, &GuardSettingsGroup::changed);
}

void GuardSettingsGroup::setSettings(const GuardSettings &settings)
{
    m_showing = true;
    m_enabled->setChecked(settings.enabled);
    m_percent->setValue(settings.percent);
    m_minimum->setValue(settings.minimum);
    m_resendChanged->setChecked(settings.resendChangedPhotos);
    m_percent->setEnabled(settings.enabled);
    m_minimum->setEnabled(settings.enabled);
    m_showing = false;
}

GuardSettings GuardSettingsGroup::settings() const
{
    return {m_enabled->isChecked(), m_percent->value(), m_minimum->value(), m_resendChanged->isChecked()};
}

void GuardSettingsGroup::changed()
{
    m_percent->setEnabled(m_enabled->isChecked());
    m_minimum->setEnabled(m_enabled->isChecked());
    if (!m_showing)
        Q_EMIT settingsChanged(settings());
}

} // namespace korvex
