#pragma once

#include "export/GuardSettings.h"

#include <QGroupBox>

class QCheckBox;
class QSpinBox;

namespace korvex {

// The settings tab's group for the withdrawal guard: the switch, the share
// and the least number of vehicles. Every change by the user is reported at
// once, so the file beside the executable always holds what the tab shows.
class GuardSettingsGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit GuardSettingsGroup(QWidget *parent = nullptr);

    // Shows the values without reporting a change.
    void setSettings(const GuardSettings &settings);
    GuardSettings settings() const;

Q_SIGNALS:
    void settingsChanged(const korvex::GuardSettings &settings);

private:
    void changed();

    QCheckBox *m_enabled = nullptr;
    QSpinBox *m_percent = nullptr;
    QSpinBox *m_minimum = nullptr;
    bool m_showing = false;
};

} // namespace korvex
