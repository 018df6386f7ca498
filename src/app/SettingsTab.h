#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

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

    // The focus went from a control of the tab to one outside it.
    std::function<void()> onLeave;
    // "Zavřít -  ULOŽIT NASTAVENÍ" and the hidden "Vytvoř databází".
    std::function<void()> onSaveAndClose, onCreateDatabase;

    TKEdit *KEdit_UzivJmeno;
    TKEdit *KEdit_UzivHeslo;
    QLabel *LabelProxy;
    QCheckBox *CheckBox_FTPrezim;
    QPushButton *BitBtnUlozit;
    QCheckBox *CheckBoxStahovatFoto;
    QCheckBox *CheckBox_JenPrvniFoto;
    TKComboBox *KComboBoxMaxModulu;
    TKEdit *KEdit_FTPserver;
    TKEdit *KEdit_FTPJmeno;
    TKEdit *KEdit_FTPHeslo;
    // Below the other groups; its file is its own, not "Korvex.ddd".
    GuardSettingsGroup *GroupBoxOchrana;

private:
    void buildAccountGroup();
    void buildHiddenControls();
    TKEdit *edit(QWidget *parent, const char16_t *name, const QRect &where, bool password);
    void focusChanged(QWidget *old, QWidget *now);

    ModuleSettings &m_settings;
};

} // namespace korvex
