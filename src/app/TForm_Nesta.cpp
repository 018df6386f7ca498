#include "app/TForm_Nesta.h"

#include "app/SettingsTab.h"
#include "export/OfferList.h"
#include "export/SendPreview.h"
#include "import/WorkingTable.h"
#include "platform/ModuleFolders.h"
#include "platform/UserActionGuard.h"
#include "platform/UserDialogs.h"
#include "selection/SendPreviewDialog.h"
#include "selection/TForm_Foto.h"
#include "selection/TransferPanel.h"
#include "selection/VehicleListTab.h"
#include "widgets/HourGlass.h"
#include "widgets/TZip.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace korvex {

TForm_Nesta::TForm_Nesta(const NestaLaunch &launch, QWidget *parent)
    : QWidget(parent)
    , m_launch(launch)
    , m_dialogs(*launch.dialogs)
    , m_query(NestaTableDef())
{
    setObjectName(u"Form_Nesta"_s);
    setWindowTitle(u"Exportní modul pro inzertni server  Korvex"_s);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(798, 603);

    auto *pages = new QTabWidget(this);
    pages->setObjectName(u"PageControl1"_s);
    pages->setGeometry(6, 6, 786, 591);
    m_list = new VehicleListTab(m_query, m_dialogs);
    m_settingsTab = new SettingsTab(m_settings);
    pages->addTab(m_list, u"Příprava inzerce Korvex"_s);
    pages->addTab(m_settingsTab, u"Nastavení parametrů"_s);

    // The window's own actions: an error ends the action and is shown; the
    // window stays open.
    const auto guarded = [this](auto action) {
        return [this, action] { RunUserAction(m_dialogs, action); };
    };
    m_list->onlyFirstPhoto = [this] { return m_settings.stored.jenPrvniFoto; };
    connect(m_list, &VehicleListTab::sendRequested, this, guarded([this] { SendOffer(); }));
    connect(m_list, &VehicleListTab::closeRequested, this, guarded([this] { close(); }));
    connect(m_list, &VehicleListTab::photosRequested, this, guarded([this] { ShowPhotos(); }));
    connect(m_list, &VehicleListTab::previewRequested, this, guarded([this] { ShowSendPreview(); }));
    connect(m_list, &VehicleListTab::loadDataRequested, this, guarded([this] { LoadData(); }));
    connect(m_list, &VehicleListTab::asciiRequested, this, guarded([this] { CreateAscii(); }));
    connect(m_list, &VehicleListTab::xmlRequested, this, guarded([this] { GenerateXml(); }));
    connect(m_list, &VehicleListTab::createDatabaseRequested, this, guarded([this] { CreateDatabase(); }));
    connect(m_list->Panel1(), &TransferPanel::stopRequested, this, [this] { m_client.abort(); });

    m_retry = new QPushButton(u"Načíst znovu"_s, m_list);
    m_retry->setObjectName(u"ButtonNactiZnovu"_s);
    m_retry->setGeometry(514, 528, 256, 26);
    m_retry->hide();
    connect(m_retry, &QPushButton::clicked, this, &TForm_Nesta::RetryStartUp);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &TForm_Nesta::applicationStateChanged);

    connect(m_settingsTab, &SettingsTab::tabLeft, this, guarded([this] { SaveSettings(); }));
    connect(m_settingsTab, &SettingsTab::saveAndCloseRequested, this, [this] {
        if (RunUserAction(m_dialogs, [this] { SaveSettings(); }))
            close();
    });
    connect(m_settingsTab, &SettingsTab::createDatabaseRequested, this, guarded([this] { CreateDatabase(); }));
    m_settingsTab->showGuardSettings(LoadGuardSettings(m_launch.executableFolder));
    connect(m_settingsTab, &SettingsTab::guardSettingsChanged, this, [this](const GuardSettings &guard) {
        RunUserAction(m_dialogs, [this, &guard] { SaveGuardSettings(guard, m_launch.executableFolder); });
    });

    // The network calls let the window breathe, so that it repaints and STOP
    // can end the upload.
    m_client.onIdle = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    m_client.onWorkBegin = [this](WorkDirection direction, std::int64_t announced) {
        m_list->Panel1()->workBegin(direction, announced);
    };
    m_client.onWork = [this](WorkDirection direction, std::int64_t done) { m_list->Panel1()->work(direction, done); };

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TForm_Nesta::~TForm_Nesta() = default;

void TForm_Nesta::queueActivation()
{
    if (m_activationQueued)
        return;
    m_activationQueued = true;
    // Out of the window system's event: the start-up shows dialogs and runs
    // network calls.
    QTimer::singleShot(0, this, [this] {
        m_activationQueued = false;
        if (isVisible())
            FormActivate();
    });
}

void TForm_Nesta::RetryStartUp()
{
    // Never under a running send: the import would rewrite the table the
    // send walks. A later return or the button tries again.
    if (m_sending)
        return;
    m_startupFailed = false;
    queueActivation();
}

void TForm_Nesta::applicationStateChanged(Qt::ApplicationState state)
{
    // The dealer coming back from another application may have mended the
    // cause of a failed start-up (a host table restored, say). Only a return
    // after the failure counts: the module's own first activation may be
    // reported after its start-up has already failed.
    if (state != Qt::ApplicationActive) {
        m_awayAfterFailure = m_startupFailed;
        return;
    }
    if (m_awayAfterFailure && m_startupFailed && !m_activating)
        RetryStartUp();
    m_awayAfterFailure = false;
}

void TForm_Nesta::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Without a window manager the window may never be activated.
    if (!StartupDone)
        queueActivation();
}

void TForm_Nesta::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        queueActivation();
}

void TForm_Nesta::closeEvent(QCloseEvent *event)
{
    // The send works on the query; it ends (or is stopped) before the window.
    if (m_sending) {
        event->ignore();
        m_dialogs.notifyAside(Caption::Notice, u"Probíhá odesílání inzerce na Korvex. Program lze zavřít až po jeho "
                                               u"dokončení nebo po přerušení tlačítkem STOP."_s);
        return;
    }
    // Typed settings are kept even when the tab was never left. A failure of
    // either step is shown, and the window closes all the same.
    if (m_settings.stored != m_savedSettings)
        RunUserAction(m_dialogs, [this] { SaveSettings(); });
    RunUserAction(m_dialogs, [this] { m_query.close(); });
    event->accept();
}

void TForm_Nesta::SaveSettings()
{
    SaveModuleSettings(m_settings, m_launch.executableFolder);
    m_savedSettings = m_settings.stored;
}

void TForm_Nesta::ShowPhotos()
{
    if (m_photos)
        m_photos->exec();
}

void TForm_Nesta::ShowSendPreview()
{
    RunUserAction(m_dialogs, [this] {
        std::optional<SendPreview> preview;
        {
            HourGlass hourGlass;
            preview = PreviewSend(m_query, m_launch.executableFolder, m_settings.stored.jenPrvniFoto);
        }
        SendPreviewDialog dialog(*preview, this);
        dialog.exec();
    });
}

void TForm_Nesta::CreateDatabase()
{
    CreateWorkingTable(m_query, m_session);
    m_list->ShowNewTable();
}

ExtractionSettings TForm_Nesta::extractionSettings()
{
    ExtractionSettings extraction;
    extraction.executableFolder = m_launch.executableFolder;
    extraction.hostRoot = HostRoot;
    extraction.onlyWithPhotos = m_settings.onlyWithPhotos;
    extraction.onlyWithPrice = m_settings.onlyWithPrice;
    extraction.progress = [this](const QString &caption) { setWindowTitle(caption); };
    return extraction;
}

void TForm_Nesta::CreateAscii()
{
    {
        HourGlass hourGlass;
        ExtractHostVehicles(m_session, extractionSettings());
    }
    m_dialogs.notify(Caption::Notice, u"Soubor ASCII_Nesta.TXT byl vytvořen."_s);
}

void TForm_Nesta::GenerateXml()
{
    const QString working = ModuleFolders::workingFolder(m_launch.executableFolder);
    WriteOfferList(m_query, OfferListSettings{m_launch.executableFolder, working, m_settings.stored.jenPrvniFoto});
}

} // namespace korvex
