#pragma once

#include "export/GuardSettings.h"

#include <QWidget>

class QCheckBox;
class QLabel;

namespace korvex {

class GuardSettingsGroup;
class TKComboBox;
class TKEdit;
struct ModuleSettings;

// The second tab of the main window, "Nastavení parametrů": the portal
// account, the proxy label, the FTP mode and the hidden stored settings.
// Its controls are bound both ways to the live settings object: every
// change of a control is in the object at once.
class SettingsTab : public QWidget
{
    Q_OBJECT
public:
    SettingsTab(ModuleSettings &settings, QWidget *parent = nullptr);

    // Puts the values of the settings object into the controls.
    void showSettings();
    // The withdrawal guard's group, below the other groups: its file is its
    // own, not "Korvex.ddd". Shown without reporting a change.
    void showGuardSettings(const GuardSettings &settings);

Q_SIGNALS:
    // The focus went from a control of the tab to one outside it.
    void tabLeft();
    // "Zavřít -  ULOŽIT NASTAVENÍ".
    void saveAndCloseRequested();
    // The hidden "Vytvoř databází".
    void createDatabaseRequested();
    // The dealer changed the withdrawal guard.
    void guardSettingsChanged(const korvex::GuardSettings &settings);

private:
    void buildAccountGroup();
    void buildHiddenControls();
    TKEdit *edit(QWidget *parent, const char16_t *name, const QRect &where, bool password);
    void focusChanged(QWidget *old, QWidget *now);

    ModuleSettings &m_settings;
    TKEdit *m_userName = nullptr;
    TKEdit *m_password = nullptr;
    QLabel *m_proxy = nullptr;
    QCheckBox *m_passiveFtp = nullptr;
    QCheckBox *m_downloadPhotos = nullptr;
    QCheckBox *m_firstPhotoOnly = nullptr;
    TKComboBox *m_maxModules = nullptr;
    TKEdit *m_ftpServer = nullptr;
    TKEdit *m_ftpUser = nullptr;
    TKEdit *m_ftpPassword = nullptr;
    GuardSettingsGroup *m_guard = nullptr;
};

} // namespace korvex
