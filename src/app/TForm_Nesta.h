#pragma once

#include "app/RunEnd.h"
#include "export/ClockCheck.h"
#include "export/HttpClient.h"
#include "import/HostExtraction.h"
#include "platform/DatabaseSession.h"
#include "platform/Dataset.h"
#include "platform/ModuleSettings.h"
#include "selection/TForm_Foto.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <memory>

class QPushButton;

namespace korvex {

class SettingsTab;
class TZip;
class UserDialogs;
class VehicleListTab;

// What the main window is started with.
struct NestaLaunch
{
    QString executableFolder;   // with a trailing separator
    QStringList arguments;      // the command line without the program
    UserDialogs *dialogs = nullptr;
    // Nobody at the screen: the window closes after the automatic steps, or
    // after a failed start-up, whatever their outcome.
    bool endAfterAutomaticSteps = false;
};

// The main window: the vehicle list and the settings tab. Its first
// activation runs the start-up (settings, working table, import, marks);
// in automatic mode the send and "Vyber vše" follow once.
class TForm_Nesta : public QWidget
{
    Q_OBJECT
public:
    explicit TForm_Nesta(const NestaLaunch &launch, QWidget *parent = nullptr);
    ~TForm_Nesta() override;

    // The photo dialog that "  Zobraz FOTO" shows.
    void setPhotoDialog(TForm_Foto *dialog) { m_photos = dialog; }

    // Runs on every activation of the window.
    void FormActivate();
    // The send of "Odeslat inzerci na Korvex"; false when it ended with an
    // error. A send that is already running is not started again.
    bool SendOffer();
    // How the automatic steps (or the start-up before them) ended.
    RunEnd runEnd() const { return m_runEnd; }

    bool AutomaticMode = false;
    bool StartupDone = false;
    QString HostRoot;
    QString SettingsFolder;

    Dataset &Query_Nesta() { return m_query; }
    ModuleSettings &Settings() { return m_settings; }
    HttpClient &Client() { return m_client; }

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void StartUp();
    void RetryStartUp();
    void applicationStateChanged(Qt::ApplicationState state);
    void RunAutomaticSteps();
    void SaveSettings();
    void ShowPhotos();
    void ShowSendPreview();
    void CreateDatabase();
    // The interchange import: the start-up's and "Načti data"'s.
    void LoadData();
    void CreateAscii();
    void GenerateXml();
    void queueActivation();
    ExtractionSettings extractionSettings();

    NestaLaunch m_launch;
    UserDialogs &m_dialogs;
    DatabaseSession m_session;
    Dataset m_query;
    ModuleSettings m_settings;
    HttpClient m_client;
    NotificationPing m_ping;
    TZip *m_zip = nullptr;
    VehicleListTab *m_list;
    SettingsTab *m_settingsTab;
    // "Načíst znovu": shown while the start-up has failed; runs it again.
    QPushButton *m_retry;
    // The settings as the file holds them, to tell what the dealer changed.
    StoredSettings m_savedSettings;
    QPointer<TForm_Foto> m_photos;
    bool m_activating = false;
    bool m_startupFailed = false;
    bool m_awayAfterFailure = false;
    bool m_activationQueued = false;
    bool m_automaticDone = false;
    bool m_sending = false;
    bool m_closeAfterSend = false;
    SendOutcome m_sendOutcome = SendOutcome::Uploaded;
    RunEnd m_runEnd = RunEnd::Closed;
};

} // namespace korvex
