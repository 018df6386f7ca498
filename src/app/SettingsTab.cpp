#include "app/SettingsTab.h"

#include "app/GuardSettingsGroup.h"
#include "platform/ModuleSettings.h"
#include "widgets/FormText.h"
#include "widgets/TKEdit.h"
#include "widgets/TKListBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace korvex {
namespace {

// The tab's texts wrap within their places.
QLabel *text(QWidget *parent, const QString &caption, const QRect &where)
{
    QLabel *l = PlaceLabel(parent, caption, where);
    l->setWordWrap(true);
    return l;
}

QCheckBox *checkBox(QWidget *parent, const QString &caption, const char16_t *name, const QRect &where)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromUtf16(name));
    box->setGeometry(where);
    return box;
}

} // namespace

SettingsTab::SettingsTab(ModuleSettings &settings, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
{
    setObjectName(u"TabSheetNastaveni"_s);
    QLabel *heading = text(this, u"Nastavení modulu pro export vozidel na server"_s, QRect(16, 12, 440, 24));
    QFont big = heading->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    heading->setFont(big);
    QLabel *portal = text(this, u"Korvex"_s, QRect(460, 12, 120, 24));
    portal->setFont(big);
    SetTextLook(portal, QColor(0, 0, 128), true);

    buildAccountGroup();
    buildHiddenControls();
    m_guard = new GuardSettingsGroup(this);
    m_guard->setGeometry(16, 304, 560, 116);
    connect(m_guard, &GuardSettingsGroup::settingsChanged, this, &SettingsTab::guardSettingsChanged);

    connect(qApp, &QApplication::focusChanged, this, &SettingsTab::focusChanged);
}

TKEdit *SettingsTab::edit(QWidget *parent, const char16_t *name, const QRect &where, bool password)
{
    auto *e = new TKEdit(parent);
    e->setObjectName(QString::fromUtf16(name));
    e->setGeometry(where);
    if (password)
        e->setPasswordChar(u'*');
    return e;
}

void SettingsTab::buildAccountGroup()
{
    auto *group = new QGroupBox(u" Nastavení parametrů pro přenos inzerce na Korvex  "_s, this);
    group->setObjectName(u"GroupBoxKorvex"_s);
    group->setGeometry(16, 48, 560, 250);
    text(group, u"Uživatelské jméno:"_s, QRect(16, 32, 120, 20));
    text(group, u"Uživatelské heslo:"_s, QRect(16, 60, 120, 20));
    m_userName = edit(group, u"KEdit_UzivJmeno", QRect(140, 30, 200, 22), false);
    m_password = edit(group, u"KEdit_UzivHeslo", QRect(140, 58, 200, 22), true);
    m_userName->FocusControl.Down = m_password;
    m_password->FocusControl.Up = m_userName;
    connect(m_userName, &QLineEdit::textChanged, this, [this](const QString &t) { m_settings.stored.uzivJmeno = t; });
    connect(m_password, &QLineEdit::textChanged, this, [this](const QString &t) { m_settings.stored.uzivHeslo = t; });

    QLabel *note = text(group, u"Bez správného nastavení parametrů nelze úspěšně odeslat inzerci na Korvex"_s,
                        QRect(16, 92, 530, 20));
    SetTextLook(note, QColor(255, 0, 0), false);
    text(group, u"Pro správné nastavení kontaktujte  Korvex"_s, QRect(16, 114, 530, 20));
    text(group,
         u"Pokud je třeba pro  komunikaci HTTP nastavit server PROXY, proveďte toto nastavení v menu programu SLUŽBY -  "
         u"PROVĚŘENÍ DLE VIN VOZIDLA - NASTAVENÍ"_s,
         QRect(16, 144, 530, 40));
    m_proxy = text(group, m_settings.labelProxy, QRect(16, 192, 200, 20));
    m_proxy->setObjectName(u"LabelProxy"_s);
    SetTextLook(m_proxy, QColor(0, 0, 0), true);

    m_passiveFtp = checkBox(group, u"Pasivní režim přenosu"_s, u"CheckBox_FTPrezim", QRect(16, 218, 200, 20));
    m_passiveFtp->setEnabled(false);

    auto *save = new QPushButton(u"Zavřít -  ULOŽIT NASTAVENÍ"_s, this);
    save->setObjectName(u"BitBtnUlozit"_s);
    save->setGeometry(16, 460, 240, 34);
    connect(save, &QPushButton::clicked, this, &SettingsTab::saveAndCloseRequested);
}

void SettingsTab::buildHiddenControls()
{
    // Stored and restored with the settings file, but not offered to the
    // dealer.
    auto *hidden = new QWidget(this);
    hidden->setObjectName(u"PanelSkryte"_s);
    hidden->setGeometry(16, 300, 740, 150);
    hidden->hide();

    m_downloadPhotos = checkBox(hidden, u"použít komunikaci přes serever PROXY"_s, u"CheckBoxStahovatFoto",
                                QRect(0, 0, 260, 20));
    m_firstPhotoOnly = checkBox(hidden, u"Odesílat jen první FOTO (přednastavení)"_s, u"CheckBox_JenPrvniFoto",
                                QRect(0, 22, 260, 20));
    m_maxModules = new TKComboBox(hidden);
    m_maxModules->setObjectName(u"KComboBoxMaxModulu"_s);
    m_maxModules->setEditable(true);
    m_maxModules->addItems({u"50"_s, u"100"_s, u"150"_s, u"200"_s});
    m_maxModules->setGeometry(0, 46, 80, 22);
    connect(m_downloadPhotos, &QCheckBox::toggled, this, [this](bool on) { m_settings.stored.stahovatFoto = on; });
    connect(m_firstPhotoOnly, &QCheckBox::toggled, this, [this](bool on) { m_settings.stored.jenPrvniFoto = on; });
    connect(m_maxModules, &QComboBox::currentTextChanged, this,
            [this](const QString &t) { m_settings.stored.maxModulu = t; });

    text(hidden, u"FTP server:"_s, QRect(280, 0, 70, 20));
    text(hidden, u"FTP jméno:"_s, QRect(280, 24, 70, 20));
    text(hidden, u"FTP heslo:"_s, QRect(280, 48, 70, 20));
    m_ftpServer = edit(hidden, u"KEdit_FTPserver", QRect(352, 0, 160, 22), false);
    m_ftpServer->setEnabled(false);
    m_ftpUser = edit(hidden, u"KEdit_FTPJmeno", QRect(352, 24, 160, 22), true);
    m_ftpUser->setEnabled(false);
    m_ftpPassword = edit(hidden, u"KEdit_FTPHeslo", QRect(352, 48, 160, 22), true);
    connect(m_ftpServer, &QLineEdit::textChanged, this, [this](const QString &t) { m_settings.stored.ftpServer = t; });
    connect(m_ftpUser, &QLineEdit::textChanged, this, [this](const QString &t) { m_settings.stored.ftpJmeno = t; });
    connect(m_ftpPassword, &QLineEdit::textChanged, this, [this](const QString &t) { m_settings.stored.ftpHeslo = t; });

    auto *basic = new QGroupBox(u" Základní nastavení  "_s, hidden);
    basic->setGeometry(520, 0, 220, 150);
    text(basic, u"Rezervace početu vozidel v inzerci"_s, QRect(8, 18, 204, 28));
    text(basic, u"Nastavení jen pro inzerenty serveru Pelanto"_s, QRect(8, 48, 204, 28));
    text(basic, u"U všech vozidel bude odeslána jen první fotografie"_s, QRect(8, 78, 204, 28));
    text(basic, u"Upozorní uživatele na překročení přednastaveného počtu"_s, QRect(8, 108, 204, 36));

    auto *create = new QPushButton(u"Vytvoř databází"_s, hidden);
    create->setObjectName(u"ButtonVytvorDatabaziNastaveni"_s);
    create->setGeometry(0, 76, 120, 24);
    connect(create, &QPushButton::clicked, this, &SettingsTab::createDatabaseRequested);
}

void SettingsTab::showSettings()
{
    // Each control writes its value back as it is set; the copy keeps the
    // values exactly as read.
    const StoredSettings stored = m_settings.stored;
    m_downloadPhotos->setChecked(stored.stahovatFoto);
    m_firstPhotoOnly->setChecked(stored.jenPrvniFoto);
    m_maxModules->setCurrentText(stored.maxModulu);
    m_userName->setText(stored.uzivJmeno);
    m_password->setText(stored.uzivHeslo);
    m_ftpServer->setText(stored.ftpServer);
    m_ftpUser->setText(stored.ftpJmeno);
    m_ftpPassword->setText(stored.ftpHeslo);
    m_settings.stored = stored;
    m_proxy->setText(m_settings.labelProxy);
    m_passiveFtp->setChecked(m_settings.ftpPassive);
}

void SettingsTab::showGuardSettings(const GuardSettings &settings)
{
    m_guard->setSettings(settings);
}

void SettingsTab::focusChanged(QWidget *old, QWidget *now)
{
    // Only a move to another control of the window leaves the tab: a message
    // box (the save's own error among them) or another application does not.
    if (old && now && isAncestorOf(old) && !isAncestorOf(now) && now != this && now->window() == window())
        Q_EMIT tabLeft();
}

} // namespace korvex
