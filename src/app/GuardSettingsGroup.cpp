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
    CheckBoxOchrana = new QCheckBox(u"Zastavit odeslání, které by z portálu stáhlo mnoho nabídek"_s, this);
    CheckBoxOchrana->setObjectName(u"CheckBoxOchrana"_s);
    CheckBoxOchrana->setGeometry(16, 24, 520, 20);

    PlaceLabel(this, u"Stahuje-li více než"_s, QRect(16, 54, 120, 20));
    SpinEditOchranaProcent = new QSpinBox(this);
    SpinEditOchranaProcent->setObjectName(u"SpinEditOchranaProcent"_s);
    SpinEditOchranaProcent->setRange(0, 100);
    SpinEditOchranaProcent->setSuffix(u" %"_s);
    SpinEditOchranaProcent->setGeometry(140, 52, 64, 22);
    PlaceLabel(this, u"nabídek minulého odeslání a alespoň"_s, QRect(212, 54, 220, 20));
    SpinEditOchranaPocet = new QSpinBox(this);
    SpinEditOchranaPocet->setObjectName(u"SpinEditOchranaPocet"_s);
    SpinEditOchranaPocet->setRange(0, 1000000);
    SpinEditOchranaPocet->setGeometry(436, 52, 64, 22);
    PlaceLabel(this, u"vozidel"_s, QRect(506, 54, 50, 20));
    CheckBoxZmeneneFoto =
        new QCheckBox(u"Znovu odeslat fotografie, které se od minulého odeslání změnily"_s, this);
    CheckBoxZmeneneFoto->setObjectName(u"CheckBoxZmeneneFoto"_s);
    CheckBoxZmeneneFoto->setGeometry(16, 84, 520, 20);

    setSettings(GuardSettings());
    connect(CheckBoxOchrana, &QCheckBox::toggled, this, &GuardSettingsGroup::changed);
    connect(SpinEditOchranaProcent, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
    connect(SpinEditOchranaPocet, &QSpinBox::valueChanged, this, &GuardSettingsGroup::changed);
    connect(CheckBoxZmeneneFoto, &QCheckBox::toggled, this, &GuardSettingsGroup::changed);
}

void GuardSettingsGroup::setSettings(const GuardSettings &settings)
{
    m_showing = true;
    CheckBoxOchrana->setChecked(settings.enabled);
    SpinEditOchranaProcent->setValue(settings.percent);
    SpinEditOchranaPocet->setValue(settings.minimum);
    CheckBoxZmeneneFoto->setChecked(settings.resendChangedPhotos);
    SpinEditOchranaProcent->setEnabled(settings.enabled);
    SpinEditOchranaPocet->setEnabled(settings.enabled);
    m_showing = false;
}

GuardSettings GuardSettingsGroup::settings() const
{
    return {CheckBoxOchrana->isChecked(), SpinEditOchranaProcent->value(), SpinEditOchranaPocet->value(),
            CheckBoxZmeneneFoto->isChecked()};
}

void GuardSettingsGroup::changed()
{
    SpinEditOchranaProcent->setEnabled(CheckBoxOchrana->isChecked());
    SpinEditOchranaPocet->setEnabled(CheckBoxOchrana->isChecked());
    if (!m_showing && onChanged)
        onChanged();
}

} // namespace korvex
